// The command-line walker, run as a program against the fake agent.
#include "support/FakeAgent.h"
#include "support/TempXdg.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using Request = CFakeAgent::CRequest;

struct ToolRun
{
    int nExit = -1;
    std::string strOut, strErr;
};

ToolRun RunWalker(const QStringList& args)
{
    const QString strTool = QCoreApplication::applicationDirPath() + "/../tools/orvex-walk/orvex-walk";
    ToolRun run;
    if (!QFileInfo(strTool).isExecutable()) {
        ADD_FAILURE() << "no " << strTool.toStdString() << ": build the orvex-walk target";
        return run;
    }
    QProcess process;
    process.start(strTool, args);
    if (!process.waitForFinished(30000))
        return run;
    run.nExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.strOut = process.readAllStandardOutput().toStdString();
    run.strErr = process.readAllStandardError().toStdString();
    return run;
}

} // namespace

TEST(OrvexWalkTool, PrintsEveryRecordWithItsSpecialBytesEscaped)
{
    CTempXdg xdg;  // settings from an empty hive: the defaults
    const std::vector<CFakeAgent::CVar> table = {
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "a\\b\r\nc"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.4.0", 0x04, "tab\there"),  // a TAB forces hex
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "caf\x80"),     // other bytes as they are
        CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 3),
    };
    CFakeAgent agent([&](const Request& request, std::size_t) { return CFakeAgent::NextFrom(table, request); });

    const ToolRun run = RunWalker({"--base", ".1.3.6.1.2.1.1", "--version", "2c", "--timeout", "2", "--retries", "0",
                               QString::fromStdString(agent.Address()), "public"});
    EXPECT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_EQ(run.strOut, ".1.3.6.1.2.1.1.1.0\tsystem.sysDescr.0\tOCTETSTRING\ta\\\\b\\r\\nc\n"
                          ".1.3.6.1.2.1.1.4.0\tsystem.sysContact.0\tOCTETSTRING\t 74 61 62 09 68 65 72 65\n"
                          ".1.3.6.1.2.1.1.5.0\tsystem.sysName.0\tOCTETSTRING\tcaf\x80\n");
    EXPECT_EQ(run.strErr, "");
    ASSERT_FALSE(agent.Requests().empty());
    EXPECT_EQ(agent.Requests()[0].nVersion, 1);  // --version 2c reached the wire
}

TEST(OrvexWalkTool, ExitCodesTellDoneErrorAndUsage)
{
    CTempXdg xdg;
    CFakeAgent agent([](const Request& request, std::size_t nIndex) {
        CFakeAgent::CAnswer answer = CFakeAgent::NextFrom({CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 100)}, request);
        if (nIndex == 1) {
            answer.nErrorStatus = 5;
            answer.nErrorIndex = 1;
        }
        return answer;
    });
    const QString strAgent = QString::fromStdString(agent.Address());

    ToolRun run = RunWalker({"--base", ".1.3.6.1.2.1.1", strAgent, "public"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strOut, ".1.3.6.1.2.1.1.3.0\tsystem.sysUpTime.0\tTIMETICKS\t1 Secs\n");
    EXPECT_EQ(run.strErr, "Error: errorStatus=5, errorIndex=1 \n");

    const QStringList usageErrors[] = {
        {strAgent},
        {strAgent, "public", "extra"},
        {"--version", "3", strAgent, "public"},
        {"--timeout", "soon", strAgent, "public"},
        {"--retries", "-1", strAgent, "public"},
        {"--colour", "red", strAgent, "public"},
    };
    for (const QStringList& args : usageErrors) {
        run = RunWalker(args);
        EXPECT_EQ(run.nExit, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.strErr.rfind("usage: orvex-walk", 0), 0u);
        EXPECT_EQ(run.strOut, "");
    }
}

// The command-line walker, run as a program against the fake agent.
#include "snmp/WalkOptions.h"
#include "support/FakeAgent.h"
#include "support/SnmpdFixture.h"
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

ToolRun RunWalker(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    const QString strTool = QCoreApplication::applicationDirPath() + "/../tools/orvex-walk/orvex-walk";
    ToolRun run;
    if (!QFileInfo(strTool).isExecutable()) {
        ADD_FAILURE() << "no " << strTool.toStdString() << ": build the orvex-walk target";
        return run;
    }
    QProcess process;
    process.setProcessEnvironment(env);
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

// The profile's options reach a real agent: v3 with passphrases from the
// environment, bulk size, an IPv6 address; the output is that of a v2c walk.
TEST(OrvexWalkTool, VersionThreeBulkAndIPv6OnARealAgent)
{
    CTempXdg xdg;
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    const QStringList base = {"--base", ".1.3.6.1.2.1.1", "--timeout", "5", "--retries", "0"};
    const ToolRun v2c = RunWalker(base + QStringList{"-v", "2c", "--max-repetitions", "3",
                                                      QString::fromStdString(agent.Address6()), "public"});
    EXPECT_EQ(v2c.nExit, 0) << v2c.strErr;
    EXPECT_NE(v2c.strOut.find(".1.3.6.1.2.1.1.1.0\tsystem.sysDescr.0\tOCTETSTRING\t"), std::string::npos);

    const CSnmpdFixture::CV3User& user = CSnmpdFixture::kV3Users[1];  // SHA/AES
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORVEX_AUTH_PASS", QString::fromStdString(user.AuthPass()));
    env.insert("ORVEX_PRIV_PASS", QString::fromStdString(user.PrivPass()));
    const ToolRun v3 = RunWalker(base + QStringList{"--snmp-version", "3", "--user", user.pszName, "--level", "authPriv",
                                                     "--auth", "SHA", "--priv", "AES",
                                                     QString::fromStdString(agent.Address())},
                                 env);
    EXPECT_EQ(v3.nExit, 0) << v3.strErr;
    const auto Oids = [](const std::string& strOut) {
        std::string strOids;
        for (std::size_t nStart = 0; nStart < strOut.size();) {
            const std::size_t nEnd = strOut.find('\n', nStart);
            strOids += strOut.substr(nStart, strOut.find('\t', nStart) - nStart) + "\n";
            nStart = nEnd == std::string::npos ? strOut.size() : nEnd + 1;
        }
        return strOids;
    };
    EXPECT_EQ(Oids(v3.strOut), Oids(v2c.strOut));

    const ToolRun help = RunWalker({"--help"});
    EXPECT_EQ(help.nExit, 0);
    EXPECT_NE(help.strOut.find(CWalkOptions::kOptionsHelp), std::string::npos);
    for (const char* pszOption : {"--snmp-version", "--user", "--level", "--auth-pass", "--priv-pass", "--context",
                                  "--max-repetitions", "ORVEX_AUTH_PASS", "ORVEX_PRIV_PASS", "[2001:db8::1]"})
        EXPECT_NE(help.strOut.find(pszOption), std::string::npos) << pszOption;
}

#include "app/HistoryTable.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/RegistryKeys.h"
#include "app/WalkCommand.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/FakeAgent.h"
#include "support/HostileMib.h"
#include "support/RegistryProbe.h"
#include "support/SnmpdEnvironment.h"
#include "support/TempXdg.h"
#include "support/WalkRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

[[maybe_unused]] auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

// A table whose values do not change between two walks.
constexpr const char* kStaticTable = ".1.3.6.1.2.1.1.9";

// "orvex --walk ARGS" run as a program, without a display.
CWalkResult RunProgram(const QStringList& args)
{
    const QString strProgram = QCoreApplication::applicationDirPath() + "/../app/orvex";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* pszName : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(pszName);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(strProgram, QStringList{"--walk"} + args);
    EXPECT_TRUE(process.waitForFinished(30000)) << strProgram.toStdString();
    return CWalkResult{process.exitCode(), process.readAllStandardOutput().toStdString(),
                       process.readAllStandardError().toStdString()};
}

class WalkCommand : public testing::Test
{
protected:
    void SetUp() override { AppSettings.Reset(); }
    void TearDown() override { AppSettings.Reset(); }
    CTempXdg m_xdg;
};

TEST_F(WalkCommand, PrintsWhatTheViewsCopyHoldsAfterTheSameQuery)
{
    const std::string strAgent = CSnmpdEnvironment::Agent().Address();
    const CWalkResult walk = Walk({"--base", kStaticTable, "--timeout", "3", strAgent, "public"});
    EXPECT_EQ(walk.nExit, kExitDone) << walk.strErr;
    EXPECT_EQ(walk.strErr, "");
    EXPECT_NE(walk.strOut.find("sysORID"), std::string::npos);
    // The options held for that run only.
    EXPECT_EQ(AppSettings.Timeout.load(), 16);

    AppSettings.SetBase(kStaticTable);
    g_history.Init("Host", 2, 30);
    COrvexDoc doc;
    COrvexView view(&doc);
    view.resize(800, 600);
    view.SetQuery(strAgent, "public");
    view.OnGo();
    QElapsedTimer timer;
    timer.start();
    while (view.Caption() != "Go" && timer.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(view.Grid().TreeAsText(), walk.strOut);
    g_history.Release();

    // The same over SNMPv3 authPriv and IPv6, the passphrases from the environment.
    const CSnmpdFixture::CV3User& user = CSnmpdFixture::kV3Users[0];  // MD5/DES
    setenv("ORVEX_AUTH_PASS", user.AuthPass().c_str(), 1);
    setenv("ORVEX_PRIV_PASS", user.PrivPass().c_str(), 1);
    const CWalkResult v3 = Walk({"--base", kStaticTable, "--snmp-version", "3", "--user", user.pszName, "--level",
                                 "authPriv", "--auth", "MD5", "--priv", "DES", "--max-repetitions", "2",
                                 CSnmpdEnvironment::Agent().Address6()});
    unsetenv("ORVEX_AUTH_PASS");
    unsetenv("ORVEX_PRIV_PASS");
    EXPECT_EQ(v3.nExit, kExitDone) << v3.strErr;
    EXPECT_EQ(v3.strOut, walk.strOut);
}

// An agent's values can neither split a node over several lines nor forge
// lines: every line holds one node's five fields.
TEST_F(WalkCommand, HostileAgentCannotSplitOrForgeLines)
{
    const std::vector<CFakeAgent::CVar> vars = HostileVars();
    CFakeAgent agent([&](const CFakeAgent::CRequest& request, std::size_t) { return CFakeAgent::NextFrom(vars, request); });
    const CWalkResult walk = Walk({"--timeout", "3", agent.Address(), "public"});
    EXPECT_EQ(walk.nExit, kExitDone) << walk.strErr;
    std::vector<std::string> lines;
    std::istringstream text(walk.strOut);
    for (std::string strLine; std::getline(text, strLine);) {
        EXPECT_EQ(std::count(strLine.begin(), strLine.end(), '\t'), 4) << strLine;
        EXPECT_NE(strLine.rfind("forged", 0), 0u) << strLine;
        lines.push_back(strLine);
    }
    for (const CHostileVar& v : HostileMib()) {
        const std::string strCells = "\t" + v.strType + "\t";
        const auto n = std::count_if(lines.begin(), lines.end(), [&](const std::string& strLine) {
            return strLine.find(strCells) != std::string::npos &&
                   strLine.ends_with("\t" + OidText(v.var.name) + "\t");
        });
        EXPECT_EQ(n, 1) << OidText(v.var.name);
    }
    EXPECT_NE(walk.strOut.find("\tLinux 6.1\\r\\nforged.0\\n\\\\\t"),
              std::string::npos);
    EXPECT_EQ(walk.strOut.rfind(".iso", 0), 0u);  // the first variable lies outside internet
}

TEST_F(WalkCommand, ErrorsAndUsage)
{
    const CWalkResult bad = Walk({"--timeout", "1", "--retries", "0", "nosuchhost.invalid", "public"});
    EXPECT_EQ(bad.nExit, kExitError);
    EXPECT_NE(bad.strErr, "");
    EXPECT_EQ(bad.strErr.back(), '\n');
    EXPECT_EQ(bad.strOut, "");

    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"127.0.0.1"},
        {"127.0.0.1", "public", "extra"},
        {"--timeout", "-1", "127.0.0.1", "public"},
        {"--timeout", "2x", "127.0.0.1", "public"},
        {"--version", "3", "127.0.0.1", "public"},
        {"--colour", "red", "127.0.0.1", "public"},
        {"--base", ".1.3", "127.0.0.1"},
        {"--snmp-version", "3", "127.0.0.1", "public"},
    };
    for (const auto& args : wrong) {
        const CWalkResult usage = Walk(args);
        EXPECT_EQ(usage.nExit, kExitUsage) << testing::PrintToString(args);
        EXPECT_EQ(usage.strErr, CWalkCommand::kUsage);
    }
    std::string strError;
    const std::optional<CWalkCommand> parsed =
        CWalkCommand::Parse({"--version", "2c", "--retries", "0", "h:1161", "c"}, strError);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->m_nVersion.value_or(0), 2u);
    EXPECT_EQ(parsed->m_nRetries.value_or(-1), 0);
    EXPECT_FALSE(parsed->m_nTimeout);
    EXPECT_EQ(parsed->m_strHost, "h:1161");

    // What version 3 lacks is said before the usage.
    const CWalkResult noUser = Walk({"--snmp-version", "3", "127.0.0.1"});
    EXPECT_EQ(noUser.nExit, kExitUsage);
    EXPECT_EQ(noUser.strErr, std::string("orvex --walk: SNMPv3 needs --user NAME\n") + CWalkCommand::kUsage);
}

// The program itself: no display, and standard error holds the query's text alone
// even where the toolkit would warn (no runtime folder here).
TEST_F(WalkCommand, ProgramNeedsNoDisplayAndWritesOnlyErrorTexts)
{
    const CWalkResult bad = RunProgram({"--timeout", "1", "--retries", "0", "nosuchhost.invalid", "public"});
    EXPECT_EQ(bad.nExit, kExitError);
    EXPECT_EQ(bad.strErr, Walk({"--timeout", "1", "--retries", "0", "nosuchhost.invalid", "public"}).strErr);
    const CWalkResult usage = RunProgram({});
    EXPECT_EQ(usage.nExit, kExitUsage);
    EXPECT_EQ(usage.strErr, CWalkCommand::kUsage);

}


// Neither walk command saves options, so neither creates or replaces a
// settings file: not on a first run, and not a linked one.
TEST_F(WalkCommand, WalkCommandsCreateAndReplaceNoSettingsFile)
{
    const QString strBuild = QCoreApplication::applicationDirPath() + "/..";
    const auto runBoth = [&] {
        for (const QStringList& command : {QStringList{strBuild + "/app/orvex", "--walk"},
                                           QStringList{strBuild + "/tools/orvex-walk/orvex-walk"}}) {
            QProcess process;
            process.start(command[0], command.mid(1) + QStringList{"--timeout", "1", "--retries", "0",
                                                                   "nosuchhost.invalid", "public"});
            EXPECT_TRUE(process.waitForFinished(30000)) << command[0].toStdString();
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << command[0].toStdString();
        }
    };
    runBoth();
    EXPECT_FALSE(QFileInfo::exists(m_xdg.UserHiveDir()));

    QTemporaryDir dotfiles;
    const QString strTarget = dotfiles.filePath("user.reg");
    QFile(strTarget).open(QIODevice::WriteOnly);  // an empty hive
    QDir().mkpath(m_xdg.UserHiveDir());
    ASSERT_TRUE(QFile::link(strTarget, m_xdg.UserHiveFile()));
    runBoth();
    EXPECT_TRUE(QFileInfo(m_xdg.UserHiveFile()).isSymLink());
    EXPECT_EQ(QFileInfo(strTarget).size(), 0);
    EXPECT_EQ(QDir(m_xdg.UserHiveDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"user.reg"});
}

// Labels shown in the Value cell reach the tree's text; orvex-walk keeps the
// numbers the agent sent, for scripts.
TEST_F(WalkCommand, EnumLabelsReachTheTreeTextButNotTheWalkersRecords)
{
    RegProbePut(HKEY_CURRENT_USER, kSettingsKey, "ShowEnumLabels", REG_BINARY, {1});
    // memSwapError, a UCDErrorFlag of Debian's UCD-SNMP-MIB: noError(0) or error(1).
    const QStringList args{"--mibs", "/usr/share/snmp/mibs", "--base", ".1.3.6.1.4.1.2021.4.100",
                           QString::fromStdString(CSnmpdEnvironment::Agent().Address()), "public"};
    const CWalkResult tree = RunProgram(args);
    EXPECT_EQ(tree.nExit, kExitDone) << tree.strErr;
    EXPECT_TRUE(QString::fromStdString(tree.strOut).contains(QRegularExpression("\\t(noError\\(0\\)|error\\(1\\))\\t")))
        << tree.strOut;

    QProcess walker;
    walker.start(QCoreApplication::applicationDirPath() + "/../tools/orvex-walk/orvex-walk", args);
    ASSERT_TRUE(walker.waitForFinished(30000));
    const QString strRecords = QString::fromUtf8(walker.readAllStandardOutput());
    EXPECT_TRUE(strRecords.contains(QRegularExpression("memSwapError\\.0\\tINTEGER\\t[01]\\n"))) << strRecords.toStdString();
}

// A timeout of 0 s is no timeout; a port with leading zeros is still a port.
TEST_F(WalkCommand, ProgramRefusesTimeoutZeroAndReadsAPortWithLeadingZeros)
{
    CFakeAgent agent([](const CFakeAgent::CRequest& request, std::size_t) {
        return CFakeAgent::NextFrom({CFakeAgent::Number(".1.3.6.1.2.1.1.7.0", 0x02, 72)}, request);
    });
    CWalkResult run = RunProgram({"--timeout", "0", QString::fromStdString(agent.Address()), "public"});
    EXPECT_EQ(run.nExit, kExitUsage);
    EXPECT_EQ(run.strErr, CWalkCommand::kUsage);
    EXPECT_EQ(agent.RequestCount(), 0u);

    for (const QString& strHost : {QString("127.0.0.1:0%1"), QString("localhost:000%1")}) {
        run = RunProgram({"--base", ".1.3.6.1.2.1.1", "--timeout", "5", "--retries", "0", strHost.arg(agent.Port()),
                          "public"});
        EXPECT_EQ(run.nExit, kExitDone) << strHost.toStdString() << ": " << run.strErr;
        EXPECT_NE(run.strOut.find("sysServices.0\tINTEGER\t72"), std::string::npos) << run.strOut;
    }
}

} // namespace

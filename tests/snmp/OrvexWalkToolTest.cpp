// The command-line walker, run as a program against the fake agent.
#include "snmp/WalkOptions.h"
#include "support/FakeAgent.h"
#include "support/SnmpdFixture.h"
#include "support/TempXdg.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Request = CFakeAgent::CRequest;

struct ToolRun
{
    int nExit = -1;
    std::string strOut, strErr;
};

QString WalkerPath()
{
    const QString strTool = QCoreApplication::applicationDirPath() + "/../tools/orvex-walk/orvex-walk";
    if (!QFileInfo(strTool).isExecutable())
        ADD_FAILURE() << "no " << strTool.toStdString() << ": build the orvex-walk target";
    return strTool;
}

ToolRun RunWalker(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    const QString strTool = WalkerPath();
    ToolRun run;
    if (!QFileInfo(strTool).isExecutable())
        return run;
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

// The walker with its standard output on a file of the test's choice: the slave
// side of a terminal (then in a session of its own, with that terminal as its
// controlling one, as a shell would start it) or a pipe.
class CWalkerProcess
{
public:
    CWalkerProcess(const std::vector<std::string>& args, const char* pszTerminal, int fdPipe)
    {
        const std::string strTool = WalkerPath().toStdString();
        std::vector<char*> argv{const_cast<char*>(strTool.c_str())};
        for (const std::string& strArg : args)
            argv.push_back(const_cast<char*>(strArg.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        if (pszTerminal) {
            posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, pszTerminal, O_RDWR, 0);
        } else {
            posix_spawn_file_actions_adddup2(&actions, fdPipe, STDOUT_FILENO);
        }
        if (posix_spawn(&m_pid, argv[0], &actions, &attr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    ~CWalkerProcess()
    {
        if (m_pid > 0 && m_nStatus < 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
    }
    bool Started() const { return m_pid > 0; }
    void Signal(int nSignal) const { kill(m_pid, nSignal); }
    // The status waitpid gives.
    int Wait()
    {
        if (m_nStatus < 0)
            waitpid(m_pid, &m_nStatus, 0);
        return m_nStatus;
    }

private:
    pid_t m_pid = -1;
    int m_nStatus = -1;
};

// Reads fd until it has given nLines lines or ends; its bytes as they came.
std::string ReadLines(int fd, int nLines, int nLimitMs = 30000)
{
    std::string text;
    for (pollfd poller{fd, POLLIN, 0}; std::count(text.begin(), text.end(), '\n') < nLines;) {
        if (poll(&poller, 1, nLimitMs) <= 0)
            break;
        char buffer[4096];
        const ssize_t nRead = read(fd, buffer, sizeof buffer);
        if (nRead <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(nRead));
    }
    return text;
}

// Three variables, then silence: the walk waits for its fourth answer.
CFakeAgent::Script ThreeThenSilence()
{
    return [](const Request& request, std::size_t nIndex) {
        static const std::vector<CFakeAgent::CVar> table = {
            CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 100),
            CFakeAgent::Number(".1.3.6.1.2.1.1.7.0", 0x02, 72),
            CFakeAgent::Number(".1.3.6.1.2.1.1.8.0", 0x43, 5),
            CFakeAgent::Number(".1.3.6.1.2.1.1.9.0", 0x02, 1),
        };
        CFakeAgent::CAnswer answer = CFakeAgent::NextFrom(table, request);
        if (nIndex >= 3)
            answer.eKind = CFakeAgent::CAnswer::Kind::Silent;
        return answer;
    };
}

constexpr const char* kThreeRecords = ".1.3.6.1.2.1.1.3.0\tsystem.sysUpTime.0\tTIMETICKS\t1 Secs\n"
                                      ".1.3.6.1.2.1.1.7.0\tsystem.sysServices.0\tINTEGER\t72\n"
                                      ".1.3.6.1.2.1.1.8.0\tsystem.sysORLastChange.0\tTIMETICKS\t0 Secs\n";

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
    for (const char* pszOption : {"--snmp-version", "--user", "--level", "--auth-pass", "--priv-pass", "--context",
                                  "--max-repetitions", "ORVEX_AUTH_PASS", "ORVEX_PRIV_PASS", "[2001:db8::1]"})
        EXPECT_NE(help.strOut.find(pszOption), std::string::npos) << pszOption;
}

// At a terminal each record shows as it arrives, and Ctrl-C ends the program
// as an interrupted one.
TEST(OrvexWalkTool, ShowsRecordsAtATerminalAsTheyArriveAndStopsOnCtrlC)
{
    CTempXdg xdg;
    CFakeAgent agent(ThreeThenSilence());
    const int fdMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fdMaster, 0);
    ASSERT_EQ(grantpt(fdMaster), 0);
    ASSERT_EQ(unlockpt(fdMaster), 0);
    const std::string strTerminal = ptsname(fdMaster);
    {
        // Lines as written (no CR added), Ctrl-C still a signal.
        const int fdSlave = open(strTerminal.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fdSlave, 0);
        termios mode{};
        tcgetattr(fdSlave, &mode);
        mode.c_oflag &= ~OPOST;
        mode.c_lflag &= ~ECHO;
        tcsetattr(fdSlave, TCSANOW, &mode);
        close(fdSlave);
    }
    CWalkerProcess walker({"--base", ".1.3.6.1.2.1.1", "--timeout", "60", "--retries", "0", agent.Address(), "public"},
                          strTerminal.c_str(), -1);
    ASSERT_TRUE(walker.Started());
    ASSERT_TRUE(agent.WaitForRequests(4, 30000));
    EXPECT_EQ(ReadLines(fdMaster, 3), kThreeRecords) << "while the walk waits";

    ASSERT_EQ(write(fdMaster, "\x03", 1), 1);  // Ctrl-C
    const int nStatus = walker.Wait();
    EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGINT) << nStatus;
    close(fdMaster);
}

// Into a pipe the records wait in a large buffer; SIGTERM flushes every record
// that has arrived before the program ends by it.
TEST(OrvexWalkTool, FlushesWhatArrivedWhenTerminated)
{
    CTempXdg xdg;
    CFakeAgent agent(ThreeThenSilence());
    int afdPipe[2];
    ASSERT_EQ(pipe2(afdPipe, O_CLOEXEC), 0);
    CWalkerProcess walker({"--base", ".1.3.6.1.2.1.1", "--timeout", "60", "--retries", "0", agent.Address(), "public"},
                          nullptr, afdPipe[1]);
    close(afdPipe[1]);
    ASSERT_TRUE(walker.Started());
    // The fourth request leaves after the third record was handed on.
    ASSERT_TRUE(agent.WaitForRequests(4, 30000));
    walker.Signal(SIGTERM);
    EXPECT_EQ(ReadLines(afdPipe[0], 4), kThreeRecords);
    const int nStatus = walker.Wait();
    EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGTERM) << nStatus;
    close(afdPipe[0]);
}

// A timeout of 0 s is no timeout; a port with leading zeros is still a port.
TEST(OrvexWalkTool, RefusesTimeoutZeroAndReadsAPortWithLeadingZeros)
{
    CTempXdg xdg;
    CFakeAgent agent([](const Request& request, std::size_t) {
        return CFakeAgent::NextFrom({CFakeAgent::Number(".1.3.6.1.2.1.1.7.0", 0x02, 72)}, request);
    });
    ToolRun run = RunWalker({"--timeout", "0", QString::fromStdString(agent.Address()), "public"});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_EQ(run.strErr.rfind("usage: orvex-walk", 0), 0u);
    EXPECT_EQ(agent.RequestCount(), 0u);

    for (const QString& strHost : {QString("127.0.0.1:0%1"), QString("localhost:000%1")}) {
        run = RunWalker({"--base", ".1.3.6.1.2.1.1", "--timeout", "5", "--retries", "0",
                         strHost.arg(agent.Port()), "public"});
        EXPECT_EQ(run.nExit, 0) << strHost.toStdString() << ": " << run.strErr;
        EXPECT_EQ(run.strOut, ".1.3.6.1.2.1.1.7.0\tsystem.sysServices.0\tINTEGER\t72\n");
    }
}

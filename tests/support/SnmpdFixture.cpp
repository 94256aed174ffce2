#include "SnmpdFixture.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{
constexpr const char* kSnmpd = "/usr/sbin/snmpd";
constexpr int kStartAttempts = 5;
constexpr auto kAnswerTimeout = std::chrono::seconds(10);
constexpr auto kStopTimeout = std::chrono::seconds(5);

}  // namespace

// snmpd may still lose the port to another process; Start() retries then.
int CSnmpdFixture::FreeUdpPort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int nPort = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        nPort = ntohs(addr.sin_port);
    close(fd);
    return nPort;
}

namespace
{

std::vector<char*> CStrings(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (auto& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Starts argv[0] (a path, or a name found on PATH) with the environment env;
// its stdout and stderr go to fdOut (or /dev/null when fdOut < 0).
pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> env, int fdOut)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (fdOut >= 0)
    {
        posix_spawn_file_actions_adddup2(&actions, fdOut, 1);
        posix_spawn_file_actions_adddup2(&actions, fdOut, 2);
    }
    else
    {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    auto cArgv = CStrings(argv);
    auto cEnv = CStrings(env);
    pid_t pid = -1;
    if (const int nError = posix_spawnp(&pid, cArgv[0], &actions, nullptr, cArgv.data(), cEnv.data()))
    {
        errno = nError;
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string ReadFile(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exited(pid_t pid)
{
    int nStatus = 0;
    const pid_t result = waitpid(pid, &nStatus, WNOHANG);
    return result == pid || (result < 0 && errno == ECHILD);
}
}  // namespace

CSnmpdFixture::CSnmpdFixture(const std::string& strExtraConfig)
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "orvex-snmpd-XXXXXX").string();
    if (!mkdtemp(strTemplate.data()))
        m_strError = "cannot create a temporary folder for snmpd";
    else
    {
        m_strDir = strTemplate;
        std::filesystem::create_directory(m_strDir + "/persist");
        std::filesystem::create_directory(m_strDir + "/mibs");
        Start(strExtraConfig);
    }
    if (!IsRunning())
        ADD_FAILURE() << "snmpd test agent: " << m_strError;
}

CSnmpdFixture::~CSnmpdFixture()
{
    Stop();
    if (!m_strDir.empty())
    {
        std::error_code ec;
        std::filesystem::remove_all(m_strDir, ec);
    }
}

std::string CSnmpdFixture::Address() const
{
    return "127.0.0.1:" + std::to_string(m_nPort);
}

std::string CSnmpdFixture::LogText() const
{
    return ReadFile(m_strDir + "/snmpd.log");
}

bool CSnmpdFixture::Start(const std::string& strExtraConfig)
{
    if (access(kSnmpd, X_OK) != 0)
    {
        m_strError = std::string(kSnmpd) + " is not installed (Debian package snmpd; run scripts/setup)";
        return false;
    }
    for (int i = 0; i < kStartAttempts; ++i)
    {
        bool bPortTaken = false;
        if (StartOnce(strExtraConfig, &bPortTaken))
            return true;
        if (!bPortTaken)
            return false;
    }
    m_strError = "no free UDP port could be bound after several attempts";
    return false;
}

bool CSnmpdFixture::StartOnce(const std::string& strExtraConfig, bool* pbPortTaken)
{
    m_nPort = FreeUdpPort();
    if (m_nPort == 0)
    {
        m_strError = "no free UDP port on 127.0.0.1";
        return false;
    }
    const std::string strConf = m_strDir + "/snmpd.conf";
    const std::string strLog = m_strDir + "/snmpd.log";
    {
        std::ofstream conf(strConf, std::ios::trunc);
        conf << "agentaddress udp:127.0.0.1:" << m_nPort << "\n"
             << "rocommunity " << kReadCommunity << " 127.0.0.1\n"
             << "rwcommunity " << kWriteCommunity << " 127.0.0.1\n"
             << "[snmp] persistentDir " << m_strDir << "/persist\n"
             << strExtraConfig << "\n";
    }
    std::filesystem::remove(strLog);
    // -I -smux: the SMUX listener would fight over TCP port 199 between agents.
    m_pid = Spawn({kSnmpd, "-f", "-Lf", strLog, "-C", "-c", strConf, "-p", m_strDir + "/snmpd.pid",
                   "-I", "-smux"},
                  ChildEnvironment(), -1);
    if (m_pid <= 0)
    {
        m_strError = std::string("cannot start ") + kSnmpd + ": " + std::strerror(errno);
        return false;
    }
    return WaitUntilAnswering(pbPortTaken);
}

bool CSnmpdFixture::WaitUntilAnswering(bool* pbPortTaken)
{
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (Exited(m_pid))
        {
            m_pid = -1;
            const std::string strLog = LogText();
            *pbPortTaken = strLog.find("Error opening specified endpoint") != std::string::npos;
            m_strError = "snmpd ended at start-up; its log:\n" + strLog;
            return false;
        }
        std::string strOut;
        if (RunTool("snmpget", {"-v2c", "-c", kReadCommunity, "-t", "0.2", "-r", "0", Address(),
                                ".1.3.6.1.2.1.1.3.0"},
                    &strOut) == 0)
            return true;
    }
    m_strError = "snmpd did not answer within 10 s; its log:\n" + LogText();
    Stop();
    return false;
}

void CSnmpdFixture::Stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    while (!Exited(m_pid))
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_pid = -1;
}

std::vector<std::string> CSnmpdFixture::ChildEnvironment() const
{
    std::vector<std::string> env;
    for (char** p = environ; *p; ++p)
    {
        const std::string_view entry(*p);
        if (!entry.starts_with("SNMP") && !entry.starts_with("MIB"))
            env.emplace_back(entry);
    }
    // Keep the agent and the tools off the system's and the user's net-snmp files.
    env.push_back("SNMP_PERSISTENT_DIR=" + m_strDir + "/persist");
    env.push_back("SNMPCONFPATH=" + m_strDir + "/persist");
    env.push_back("MIBDIRS=" + m_strDir + "/mibs");
    env.push_back("MIBS=");
    return env;
}

int CSnmpdFixture::RunTool(const std::string& strTool, const std::vector<std::string>& args,
                           std::string* pstrOut) const
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    std::vector<std::string> argv{strTool};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t pid = Spawn(argv, ChildEnvironment(), fds[1]);
    close(fds[1]);
    std::string strOut;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) != 0;)
    {
        if (n > 0)
            strOut.append(buf, static_cast<size_t>(n));
        else if (errno != EINTR)
            break;
    }
    close(fds[0]);
    if (pstrOut)
        *pstrOut = std::move(strOut);
    if (pid <= 0)
        return -1;
    int nStatus = 0;
    if (waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus))
        return -1;
    return WEXITSTATUS(nStatus);
}

std::string CSnmpdFixture::Get(const std::string& strOid, const std::string& strCommunity) const
{
    std::string strOut;
    RunTool("snmpget", {"-v2c", "-c", strCommunity, "-Oqv", Address(), strOid}, &strOut);
    while (!strOut.empty() && strOut.back() == '\n')
        strOut.pop_back();
    return strOut;
}

std::string CSnmpdFixture::Walk(const std::string& strOid) const
{
    std::string strOut;
    RunTool("snmpwalk", {"-v2c", "-c", kReadCommunity, "-On", Address(), strOid}, &strOut);
    return strOut;
}

#include "SnmpdFixture.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <arpa/inet.h>
#include <fstream>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
const QString kSnmpd = QStringLiteral("/usr/sbin/snmpd");
constexpr int kStartAttempts = 5;
constexpr int kAnswerTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 5000;

// Keeps the agent and the tools off the system's and the user's net-snmp files.
QProcessEnvironment ChildEnvironment(const std::string& strDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& strKey : env.keys())
        if (strKey.startsWith("SNMP") || strKey.startsWith("MIB"))
            env.remove(strKey);
    const QString strPersist = QString::fromStdString(strDir + "/persist");
    env.insert("SNMP_PERSISTENT_DIR", strPersist);
    env.insert("SNMPCONFPATH", strPersist);
    env.insert("MIBDIRS", QString::fromStdString(strDir + "/mibs"));
    env.insert("MIBS", "");
    return env;
}

QStringList Arguments(const std::vector<std::string>& args)
{
    QStringList list;
    for (const std::string& arg : args)
        list << QString::fromStdString(arg);
    return list;
}
}  // namespace

const std::vector<CSnmpdFixture::CV3User> CSnmpdFixture::kV3Users = {
    {"md5des", "authPriv", "MD5", "DES", false},
    {"shaaes", "authPriv", "SHA", "AES", true},
    {"sha256aes256", "authPriv", "SHA-256", "AES-256", false},
    {"sha512aes256", "authPriv", "SHA-512", "AES-256", false},
    {"sha224aes192", "authPriv", "SHA-224", "AES-192", false},
    {"authonly", "authNoPriv", "SHA-384", "", false},
    {"noauth", "noAuthNoPriv", "", "", false},
};

std::vector<std::string> CSnmpdFixture::CV3User::ToolOptions() const
{
    std::vector<std::string> options = {"-v3", "-u", pszName, "-l", pszLevel};
    if (*pszAuth)
        options.insert(options.end(), {"-a", pszAuth, "-A", AuthPass()});
    if (*pszPriv)
        options.insert(options.end(), {"-x", pszPriv, "-X", PrivPass()});
    return options;
}

namespace
{
// The users' lines of the agent's configuration: created at start-up, with
// read or write access at their own level.
std::string V3UserLines()
{
    std::string strLines;
    for (const CSnmpdFixture::CV3User& user : CSnmpdFixture::kV3Users)
    {
        strLines += std::string("createUser ") + user.pszName;
        if (*user.pszAuth)
            strLines += std::string(" ") + user.pszAuth + " " + user.AuthPass();
        if (*user.pszPriv)
            strLines += std::string(" ") + user.pszPriv + " " + user.PrivPass();
        const char* pszMinimum = *user.pszPriv ? "priv" : *user.pszAuth ? "auth" : "noauth";
        strLines += std::string("\n") + (user.bWrite ? "rwuser " : "rouser ") + user.pszName + " " + pszMinimum + "\n";
    }
    return strLines;
}
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

CSnmpdFixture::CSnmpdFixture() : m_dir(QDir::tempPath() + "/orvex-snmpd-XXXXXX")
{
    m_strDir = m_dir.path().toStdString();
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath("persist") || !QDir(m_dir.path()).mkpath("mibs"))
        m_strError = "cannot create a temporary folder for snmpd";
    else
        Start();
    if (!IsRunning())
        ADD_FAILURE() << "snmpd test agent: " << m_strError;
}

CSnmpdFixture::~CSnmpdFixture()
{
    Stop();
}

std::string CSnmpdFixture::Address() const
{
    return "127.0.0.1:" + std::to_string(m_nPort);
}

std::string CSnmpdFixture::Address6() const
{
    return "[::1]:" + std::to_string(m_nPort);
}

void CSnmpdFixture::Pause()
{
    if (m_pAgent)
        ::kill(static_cast<pid_t>(m_pAgent->processId()), SIGSTOP);
}

void CSnmpdFixture::Resume()
{
    if (m_pAgent)
        ::kill(static_cast<pid_t>(m_pAgent->processId()), SIGCONT);
}

std::string CSnmpdFixture::LogText() const
{
    QFile log(QString::fromStdString(m_strDir + "/snmpd.log"));
    return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
}

bool CSnmpdFixture::Start()
{
    if (!QFileInfo(kSnmpd).isExecutable())
    {
        m_strError = kSnmpd.toStdString() + " is not installed (Debian package snmpd; run scripts/setup)";
        return false;
    }
    for (int i = 0; i < kStartAttempts; ++i)
    {
        bool bPortTaken = false;
        if (StartOnce(&bPortTaken))
            return true;
        if (!bPortTaken)
            return false;
    }
    m_strError = "no free UDP port could be bound after several attempts";
    return false;
}

bool CSnmpdFixture::StartOnce(bool* pbPortTaken)
{
    m_nPort = FreeUdpPort();
    if (m_nPort == 0)
    {
        m_strError = "no free UDP port on 127.0.0.1";
        return false;
    }
    const std::string strConf = m_strDir + "/snmpd.conf";
    const std::string strLog = m_strDir + "/snmpd.log";
    std::ofstream(strConf, std::ios::trunc) << "agentaddress udp:127.0.0.1:" << m_nPort << ",udp6:[::1]:" << m_nPort
                                            << "\n"
                                            << "rocommunity " << kReadCommunity << " 127.0.0.1\n"
                                            << "rwcommunity " << kWriteCommunity << " 127.0.0.1\n"
                                            << "rocommunity6 " << kReadCommunity << " ::1\n"
                                            << "rwcommunity6 " << kWriteCommunity << " ::1\n"
                                            << V3UserLines() << "[snmp] persistentDir " << m_strDir << "/persist\n";
    QFile::remove(QString::fromStdString(strLog));

    auto pAgent = std::make_unique<QProcess>();
    pAgent->setProcessEnvironment(ChildEnvironment(m_strDir));
    pAgent->setStandardInputFile(QProcess::nullDevice());
    pAgent->setStandardOutputFile(QProcess::nullDevice());
    pAgent->setStandardErrorFile(QProcess::nullDevice());
    // -I -smux: the SMUX listener would fight over TCP port 199 between agents.
    pAgent->start(kSnmpd, Arguments({"-f", "-Lf", strLog, "-C", "-c", strConf, "-p", m_strDir + "/snmpd.pid",
                                     "-I", "-smux"}));
    if (!pAgent->waitForStarted())
    {
        m_strError = "cannot start " + kSnmpd.toStdString() + ": " + pAgent->errorString().toStdString();
        return false;
    }
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (!deadline.hasExpired())
    {
        if (pAgent->waitForFinished(0) || pAgent->state() == QProcess::NotRunning)
        {
            const std::string strLogText = LogText();
            *pbPortTaken = strLogText.find("Error opening specified endpoint") != std::string::npos;
            m_strError = "snmpd ended at start-up; its log:\n" + strLogText;
            return false;
        }
        std::string strOut;
        if (RunTool("snmpget", {"-v2c", "-c", kReadCommunity, "-t", "0.2", "-r", "0", Address(),
                                ".1.3.6.1.2.1.1.3.0"},
                    &strOut) == 0)
        {
            m_pAgent = std::move(pAgent);
            return true;
        }
    }
    m_strError = "snmpd did not answer within 10 s; its log:\n" + LogText();
    m_pAgent = std::move(pAgent);
    Stop();
    return false;
}

void CSnmpdFixture::Stop()
{
    if (!m_pAgent)
        return;
    m_pAgent->terminate();
    if (!m_pAgent->waitForFinished(kStopTimeoutMs))
    {
        m_pAgent->kill();
        m_pAgent->waitForFinished();
    }
    m_pAgent.reset();
}

int CSnmpdFixture::RunTool(const std::string& strTool, const std::vector<std::string>& args,
                           std::string* pstrOut) const
{
    QProcess tool;
    tool.setProcessEnvironment(ChildEnvironment(m_strDir));
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QString::fromStdString(strTool), Arguments(args));
    const bool bEnded = tool.waitForFinished(-1);
    if (pstrOut)
        *pstrOut = tool.readAll().toStdString();
    return bEnded && tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

std::string CSnmpdFixture::Get(const std::string& strOid, const std::string& strCommunity) const
{
    std::string strOut;
    RunTool("snmpget", {"-v2c", "-c", strCommunity, "-Oqv", Address(), strOid}, &strOut);
    while (!strOut.empty() && strOut.back() == '\n')
        strOut.pop_back();
    return strOut;
}

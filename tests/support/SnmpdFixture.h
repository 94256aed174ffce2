#pragma once
// A real net-snmp agent (/usr/sbin/snmpd) for tests: listens on 127.0.0.1 and
// [::1] on one free UDP port, with its configuration, log and persistent files
// in a fresh temporary folder. Communities: "public" read-only, "private"
// read-write, both from 127.0.0.1 and ::1 only. SNMPv3 users: kV3Users. Writable
// objects include sysContact.0, sysName.0, sysLocation.0 (OCTET STRING) and
// snmpEnableAuthenTraps.0 (INTEGER 1 or 2).
//
// Construction starts the agent and waits (up to about 10 s) until it answers;
// when it cannot start, a test failure is recorded, IsRunning() is false and
// Error() says why. Destruction stops it (SIGTERM, then SIGKILL after 5 s) and
// removes the folder. Starting takes roughly half a second; share one through
// CSnmpdEnvironment where tests do not change the agent's state.
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

class CSnmpdFixture
{
public:
    static constexpr const char* kReadCommunity = "public";
    static constexpr const char* kWriteCommunity = "private";

    // An SNMPv3 user of the agent, with its level and protocols as net-snmp's
    // tools name them ("-l", "-a", "-x"); passphrases are "<name>-auth-pass"
    // and "<name>-priv-pass".
    struct CV3User
    {
        const char* pszName;
        const char* pszLevel;  // noAuthNoPriv, authNoPriv, authPriv
        const char* pszAuth;   // MD5, SHA, SHA-224 ... (empty for noAuthNoPriv)
        const char* pszPriv;   // DES, AES, AES-192, AES-256 (empty below authPriv)
        bool bWrite;           // rwuser rather than rouser
        std::string AuthPass() const { return std::string(pszName) + "-auth-pass"; }
        std::string PrivPass() const { return std::string(pszName) + "-priv-pass"; }
        // The security options of net-snmp's tools for this user.
        std::vector<std::string> ToolOptions() const;
    };
    static const std::vector<CV3User> kV3Users;

    // A UDP port on 127.0.0.1 that nothing listened on a moment ago (not 161);
    // 0 when none could be had. Also gives tests a port where no agent answers.
    static int FreeUdpPort();

    CSnmpdFixture();
    ~CSnmpdFixture();
    CSnmpdFixture(const CSnmpdFixture&) = delete;
    CSnmpdFixture& operator=(const CSnmpdFixture&) = delete;

    bool IsRunning() const { return m_pAgent != nullptr; }
    const std::string& Error() const { return m_strError; }
    int Port() const { return m_nPort; }
    std::string Address() const;  // "127.0.0.1:<port>"
    std::string Address6() const;  // "[::1]:<port>"
    // Stops and continues the agent's process (SIGSTOP, SIGCONT): requests
    // wait meanwhile, to be answered after Resume.
    void Pause();
    void Resume();
    const std::string& Folder() const { return m_strDir; }

    // Runs one of net-snmp's command-line tools (snmpget, snmpwalk, snmpset...)
    // with the given arguments, isolated from the user's net-snmp files and
    // without MIB files; *pstrOut receives its standard output and error.
    // Returns the exit code (-1 when it could not be run). Blocks until it ends.
    int RunTool(const std::string& strTool, const std::vector<std::string>& args,
                std::string* pstrOut) const;
    // Value of one object as snmpget -v2c -Oqv prints it (trailing line end
    // removed), or the tool's error text.
    std::string Get(const std::string& strOid, const std::string& strCommunity = kReadCommunity) const;

private:
    bool Start();
    bool StartOnce(bool* pbPortTaken);
    std::string LogText() const;
    void Stop();

    QTemporaryDir m_dir;
    std::string m_strDir;
    std::string m_strError;
    int m_nPort = 0;
    std::unique_ptr<QProcess> m_pAgent;  // Owned; set while the agent answers.
};

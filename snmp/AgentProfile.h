#pragma once
// How to talk to one agent: version, port, timeout, retries, bulk size and,
// for SNMPv3, the user's security. A plain value: copied by whoever opens a
// session (the walk copies it when it starts), so it is safe on any thread.
// The settings record gives the defaults; an agent's own profile overrides them.
#include "platform/WinTypes.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include <cstdint>
#include <optional>
#include <string>

class CAgentProfile
{
public:
    static constexpr DWORD kVersion1 = 1, kVersion2c = 2, kVersion3 = 3;
    static constexpr int kDefaultPort = 161;

    // The defaults of the settings record, read now: Version, Timeout, Retries,
    // MaxRepetitions.
    static CAgentProfile FromSettings();

    // GetBulk size of a walk: 0 = GET-NEXT; v1 always walks with GET-NEXT.
    std::int32_t BulkRepetitions() const { return m_nVersion == kVersion1 ? 0 : m_nMaxRepetitions; }
    bool IsV3() const { return m_nVersion == kVersion3; }
    // The v3 parameters in the manager interface's form; the texts point into
    // this profile, which must outlive the result's use.
    SnmpMgrUsm Usm() const;

    DWORD m_nVersion = kVersion1;
    int m_nPort = kDefaultPort;           // used when the host text names no port
    std::int32_t m_nTimeout = 16;         // seconds
    std::int32_t m_nRetries = 3;
    std::int32_t m_nMaxRepetitions = 25;
    std::string m_strUser;
    SnmpSecurityLevel m_eLevel = SnmpSecurityLevel::NoAuthNoPriv;
    SnmpAuthProtocol m_eAuth = SnmpAuthProtocol::SHA;
    std::string m_strAuthPass;
    SnmpPrivProtocol m_ePriv = SnmpPrivProtocol::AES;
    std::string m_strPrivPass;
    std::string m_strContext;
};

// The names used on the command line, in the manual and in texts, both ways:
// "1" "2c" "3"; "noAuthNoPriv" "authNoPriv" "authPriv"; "MD5" "SHA" "SHA-224"
// "SHA-256" "SHA-384" "SHA-512"; "DES" "AES" "AES-192" "AES-256". Parsing is
// exact except for letter case.
std::optional<DWORD> ParseSnmpVersion(const std::string& strText);
std::optional<SnmpSecurityLevel> ParseSecurityLevel(const std::string& strText);
std::optional<SnmpAuthProtocol> ParseAuthProtocol(const std::string& strText);
std::optional<SnmpPrivProtocol> ParsePrivProtocol(const std::string& strText);
const char* SecurityLevelName(SnmpSecurityLevel eLevel);
const char* AuthProtocolName(SnmpAuthProtocol eAuth);
const char* PrivProtocolName(SnmpPrivProtocol ePriv);

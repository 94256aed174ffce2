#include "snmp/AgentProfile.h"
#include "snmp/AppSettings.h"
#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace {

template <typename T, std::size_t N>
using NameTable = std::array<std::pair<T, const char*>, N>;

constexpr NameTable<SnmpSecurityLevel, 3> kLevels = {{
    {SnmpSecurityLevel::NoAuthNoPriv, "noAuthNoPriv"},
    {SnmpSecurityLevel::AuthNoPriv, "authNoPriv"},
    {SnmpSecurityLevel::AuthPriv, "authPriv"},
}};
constexpr NameTable<SnmpAuthProtocol, 6> kAuths = {{
    {SnmpAuthProtocol::MD5, "MD5"},
    {SnmpAuthProtocol::SHA, "SHA"},
    {SnmpAuthProtocol::SHA224, "SHA-224"},
    {SnmpAuthProtocol::SHA256, "SHA-256"},
    {SnmpAuthProtocol::SHA384, "SHA-384"},
    {SnmpAuthProtocol::SHA512, "SHA-512"},
}};
constexpr NameTable<SnmpPrivProtocol, 4> kPrivs = {{
    {SnmpPrivProtocol::DES, "DES"},
    {SnmpPrivProtocol::AES, "AES"},
    {SnmpPrivProtocol::AES192, "AES-192"},
    {SnmpPrivProtocol::AES256, "AES-256"},
}};
constexpr NameTable<DWORD, 3> kVersions = {{
    {CAgentProfile::kVersion1, "1"},
    {CAgentProfile::kVersion2c, "2c"},
    {CAgentProfile::kVersion3, "3"},
}};

bool SameLetters(const std::string& strText, const char* pszName)
{
    const std::string strName(pszName);
    return std::equal(strText.begin(), strText.end(), strName.begin(), strName.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

template <typename T, std::size_t N>
std::optional<T> Parse(const NameTable<T, N>& table, const std::string& strText)
{
    for (const auto& [value, pszName] : table)
        if (SameLetters(strText, pszName))
            return value;
    return std::nullopt;
}

template <typename T, std::size_t N>
const char* Name(const NameTable<T, N>& table, T value)
{
    for (const auto& [entry, pszName] : table)
        if (entry == value)
            return pszName;
    return "";
}

} // namespace

CAgentProfile CAgentProfile::FromSettings()
{
    CAgentProfile profile;
    profile.m_nVersion = AppSettings.Version == kVersion2c || AppSettings.Version == kVersion3 ? AppSettings.Version.load()
                                                                                               : kVersion1;
    profile.m_nTimeout = AppSettings.Timeout;
    profile.m_nRetries = AppSettings.Retries;
    profile.m_nMaxRepetitions = static_cast<std::int32_t>(std::min<DWORD>(AppSettings.MaxRepetitions, INT32_MAX));
    return profile;
}

SnmpMgrUsm CAgentProfile::Usm() const
{
    SnmpMgrUsm usm;
    usm.user = m_strUser.c_str();
    usm.level = m_eLevel;
    usm.auth = m_eAuth;
    usm.authPass = m_strAuthPass.c_str();
    usm.priv = m_ePriv;
    usm.privPass = m_strPrivPass.c_str();
    usm.context = m_strContext.c_str();
    return usm;
}

std::optional<DWORD> ParseSnmpVersion(const std::string& strText) { return Parse(kVersions, strText); }
std::optional<SnmpSecurityLevel> ParseSecurityLevel(const std::string& strText) { return Parse(kLevels, strText); }
std::optional<SnmpAuthProtocol> ParseAuthProtocol(const std::string& strText) { return Parse(kAuths, strText); }
std::optional<SnmpPrivProtocol> ParsePrivProtocol(const std::string& strText) { return Parse(kPrivs, strText); }
const char* SecurityLevelName(SnmpSecurityLevel eLevel) { return Name(kLevels, eLevel); }
const char* AuthProtocolName(SnmpAuthProtocol eAuth) { return Name(kAuths, eAuth); }
const char* PrivProtocolName(SnmpPrivProtocol ePriv) { return Name(kPrivs, ePriv); }

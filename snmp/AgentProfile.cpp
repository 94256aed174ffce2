#include "snmp/AgentProfile.h"
#include "snmp/AppSettings.h"
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
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
    if (m_strAuthPass.empty()) {
        usm.authKey = m_authKey.data();
        usm.authKeyLen = m_authKey.size();
    }
    if (m_strPrivPass.empty()) {
        usm.privKey = m_privKey.data();
        usm.privKeyLen = m_privKey.size();
    }
    return usm;
}

bool CAgentProfile::NeedsSecrets() const
{
    const auto Missing = [](const std::string& strPass, const std::vector<BYTE>& key) {
        return strPass.empty() && key.empty();
    };
    if (!IsV3() || m_eLevel == SnmpSecurityLevel::NoAuthNoPriv)
        return false;
    return Missing(m_strAuthPass, m_authKey) ||
           (m_eLevel == SnmpSecurityLevel::AuthPriv && Missing(m_strPrivPass, m_privKey));
}

bool CAgentProfile::DeriveKeys()
{
    std::vector<BYTE> authKey = m_authKey, privKey = m_privKey;
    for (auto [pPass, pKey] : {std::pair{&m_strAuthPass, &authKey}, std::pair{&m_strPrivPass, &privKey}}) {
        if (pPass->empty())
            continue;
        BYTE key[SNMP_MGMTAPI_MAX_KEY];
        size_t nKey = sizeof key;
        if (!SnmpMgrMasterKey(m_eAuth, pPass->c_str(), key, &nKey))
            return false;
        pKey->assign(key, key + nKey);
    }
    m_authKey = std::move(authKey);
    m_privKey = std::move(privKey);
    return true;
}

void CAgentProfile::DropKeys()
{
    m_authKey.clear();
    m_privKey.clear();
}

std::optional<DWORD> ParseSnmpVersion(const std::string& strText) { return Parse(kVersions, strText); }
std::optional<SnmpSecurityLevel> ParseSecurityLevel(const std::string& strText) { return Parse(kLevels, strText); }
std::optional<SnmpAuthProtocol> ParseAuthProtocol(const std::string& strText) { return Parse(kAuths, strText); }
std::optional<SnmpPrivProtocol> ParsePrivProtocol(const std::string& strText) { return Parse(kPrivs, strText); }
const char* SecurityLevelName(SnmpSecurityLevel eLevel) { return Name(kLevels, eLevel); }
const char* AuthProtocolName(SnmpAuthProtocol eAuth) { return Name(kAuths, eAuth); }
const char* PrivProtocolName(SnmpPrivProtocol ePriv) { return Name(kPrivs, ePriv); }
const char* SnmpVersionName(DWORD nVersion) { return Name(kVersions, nVersion); }

namespace {

// The profile text's separators and the escape itself are written as %XX, as
// are control characters.
std::string Escaped(const std::string& strText)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string strOut;
    for (const char c : strText) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '%' || c == ';' || c == '=' || b < 0x20 || b == 0x7F)
            strOut += {'%', kDigits[b >> 4], kDigits[b & 0xF]};
        else
            strOut += c;
    }
    return strOut;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// A '%' not followed by two hexadecimal digits stays as it is.
std::string Unescaped(const std::string& strText)
{
    std::string strOut;
    for (std::size_t i = 0; i < strText.size(); ++i) {
        const int nHigh = i + 2 < strText.size() && strText[i] == '%' ? HexDigit(strText[i + 1]) : -1;
        const int nLow = nHigh >= 0 ? HexDigit(strText[i + 2]) : -1;
        if (nLow >= 0) {
            strOut += static_cast<char>(nHigh * 16 + nLow);
            i += 2;
        } else {
            strOut += strText[i];
        }
    }
    return strOut;
}

template <typename T>
void TakeNumber(const std::string& strText, T& value)
{
    T parsed{};
    const auto [pEnd, ec] = std::from_chars(strText.data(), strText.data() + strText.size(), parsed);
    if (ec == std::errc() && pEnd == strText.data() + strText.size())
        value = parsed;
}

template <typename T>
void TakeParsed(const std::optional<T>& parsed, T& value)
{
    if (parsed)
        value = *parsed;
}

} // namespace

std::string CAgentProfile::ToText() const
{
    return "version=" + std::string(SnmpVersionName(m_nVersion)) + ";port=" + std::to_string(m_nPort) +
           ";timeout=" + std::to_string(m_nTimeout) + ";retries=" + std::to_string(m_nRetries) +
           ";max-repetitions=" + std::to_string(m_nMaxRepetitions) + ";level=" + SecurityLevelName(m_eLevel) +
           ";auth=" + AuthProtocolName(m_eAuth) + ";priv=" + PrivProtocolName(m_ePriv) +
           ";remember=" + (m_bRememberKeys ? "1" : "0") + ";user=" + Escaped(m_strUser) +
           ";context=" + Escaped(m_strContext);
}

CAgentProfile CAgentProfile::FromText(const std::string& strText, const CAgentProfile& defaults)
{
    CAgentProfile profile = defaults;
    for (std::size_t nStart = 0; nStart < strText.size();) {
        const std::size_t nEnd = std::min(strText.find(';', nStart), strText.size());
        const std::string strField = strText.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        const std::size_t nEqual = strField.find('=');
        if (nEqual == std::string::npos)
            continue;
        const std::string strName = strField.substr(0, nEqual), strValue = strField.substr(nEqual + 1);
        if (strName == "version")
            TakeParsed(ParseSnmpVersion(strValue), profile.m_nVersion);
        else if (strName == "port")
            TakeNumber(strValue, profile.m_nPort);
        else if (strName == "timeout")
            TakeNumber(strValue, profile.m_nTimeout);
        else if (strName == "retries")
            TakeNumber(strValue, profile.m_nRetries);
        else if (strName == "max-repetitions")
            TakeNumber(strValue, profile.m_nMaxRepetitions);
        else if (strName == "user")
            profile.m_strUser = Unescaped(strValue);
        else if (strName == "level")
            TakeParsed(ParseSecurityLevel(strValue), profile.m_eLevel);
        else if (strName == "auth")
            TakeParsed(ParseAuthProtocol(strValue), profile.m_eAuth);
        else if (strName == "priv")
            TakeParsed(ParsePrivProtocol(strValue), profile.m_ePriv);
        else if (strName == "context")
            profile.m_strContext = Unescaped(strValue);
        else if (strName == "remember")
            profile.m_bRememberKeys = strValue == "1";
    }
    return profile;
}

std::string HexText(const std::vector<BYTE>& bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string strText;
    for (const BYTE b : bytes)
        strText += {kDigits[b >> 4], kDigits[b & 0xF]};
    return strText;
}

std::vector<BYTE> HexBytes(const std::string& strText)
{
    std::vector<BYTE> bytes;
    if (strText.size() % 2 != 0)
        return bytes;
    for (std::size_t i = 0; i < strText.size(); i += 2) {
        const int nHigh = HexDigit(strText[i]), nLow = HexDigit(strText[i + 1]);
        if (nHigh < 0 || nLow < 0)
            return {};
        bytes.push_back(static_cast<BYTE>(nHigh * 16 + nLow));
    }
    return bytes;
}

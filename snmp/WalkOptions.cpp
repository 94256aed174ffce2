#include "snmp/WalkOptions.h"
#include "snmp/AppSettings.h"
#include "mib/MibLoader.h"
#include "mib/MibPath.h"
#include <charconv>
#include <cstdlib>

namespace {

std::optional<std::int32_t> ReadCount(const std::string& strText, std::int32_t nMin = 0)
{
    std::int32_t nValue = 0;
    const char* pszEnd = strText.data() + strText.size();
    const auto result = std::from_chars(strText.data(), pszEnd, nValue);
    if (strText.empty() || result.ec != std::errc() || result.ptr != pszEnd || nValue < nMin)
        return std::nullopt;
    return nValue;
}

// Stores a parsed value; false when the text did not parse.
template <typename T>
bool Take(std::optional<T> parsed, T& target)
{
    if (parsed)
        target = *parsed;
    return parsed.has_value();
}

template <typename T>
bool Take(std::optional<T> parsed, std::optional<T>& target)
{
    target = parsed;
    return parsed.has_value();
}

// One option with its value; false for an unknown option or a bad value.
bool TakeOption(CWalkOptions& options, const std::string& strOption, const std::string& strValue)
{
    if (strOption == "--base") {
        options.m_strBase = strValue;
        return true;
    }
    if (strOption == "--format") {
        options.m_strFormat = strValue;
        return true;
    }
    if (strOption == "--mibs" && !options.m_bNoMibs) {
        options.m_strMibs = strValue;
        return true;
    }
    // A timeout of 0 s would leave the session its shortest wait and fail at random.
    if (strOption == "--timeout")
        return Take(ReadCount(strValue, 1), options.m_nTimeout);
    if (strOption == "--retries")
        return Take(ReadCount(strValue), options.m_nRetries);
    if (strOption == "--max-repetitions")
        return Take(ReadCount(strValue), options.m_nMaxRepetitions);
    if (strOption == "--snmp-version" || strOption == "-v" || strOption == "--version")
        return Take(ParseSnmpVersion(strValue), options.m_nVersion);
    if (strOption == "--level")
        return Take(ParseSecurityLevel(strValue), options.m_eLevel);
    if (strOption == "--auth")
        return Take(ParseAuthProtocol(strValue), options.m_eAuth);
    if (strOption == "--priv")
        return Take(ParsePrivProtocol(strValue), options.m_ePriv);
    std::string* pstrText = strOption == "--user"        ? &options.m_strUser
                            : strOption == "--auth-pass" ? &options.m_strAuthPass
                            : strOption == "--priv-pass" ? &options.m_strPrivPass
                            : strOption == "--context"   ? &options.m_strContext
                                                         : nullptr;
    if (pstrText)
        *pstrText = strValue;
    return pstrText != nullptr;
}

bool IsOption(const std::string& strArg)
{
    return strArg.rfind("--", 0) == 0 || strArg == "-v";
}

void TakeFromEnvironment(std::string& strPass, const char* pszName)
{
    if (const char* pszValue = std::getenv(pszName); strPass.empty() && pszValue)
        strPass = pszValue;
}

// What a version 3 walk still lacks; empty when it has all it needs.
std::string MissingForV3(const CWalkOptions& options)
{
    if (options.m_strUser.empty())
        return "SNMPv3 needs --user NAME";
    const bool bAuth = options.m_eLevel != SnmpSecurityLevel::NoAuthNoPriv;
    if (bAuth && options.m_strAuthPass.empty())
        return "this level needs --auth-pass TEXT or ORVEX_AUTH_PASS";
    if (options.m_eLevel == SnmpSecurityLevel::AuthPriv && options.m_strPrivPass.empty())
        return "authPriv needs --priv-pass TEXT or ORVEX_PRIV_PASS";
    return {};
}

} // namespace

std::optional<CWalkOptions> CWalkOptions::Parse(const std::vector<std::string>& args, std::string& strError)
{
    CWalkOptions options;
    std::size_t i = 0;
    for (; i + 1 < args.size() && IsOption(args[i]); i += 2) {
        if (args[i] == "--no-mibs" && !options.m_strMibs) {
            options.m_bNoMibs = true;
            --i;  // a flag: no value follows
            continue;
        }
        if (!TakeOption(options, args[i], args[i + 1]))
            return std::nullopt;
    }
    const bool bV3 = options.m_nVersion == CAgentProfile::kVersion3;
    const std::size_t nPositional = bV3 ? 1 : 2;
    if (args.size() - i != nPositional || IsOption(args[i]))
        return std::nullopt;
    options.m_strHost = args[i];
    options.m_strCommunity = bV3 ? std::string() : args[i + 1];
    TakeFromEnvironment(options.m_strAuthPass, "ORVEX_AUTH_PASS");
    TakeFromEnvironment(options.m_strPrivPass, "ORVEX_PRIV_PASS");
    if (bV3 && !(strError = MissingForV3(options)).empty())
        return std::nullopt;
    return options;
}

void CWalkOptions::ApplyToSettings() const
{
    if (m_strBase)
        AppSettings.SetBase(*m_strBase);
}

CAgentProfile CWalkOptions::Profile() const
{
    CAgentProfile profile = CAgentProfile::FromSettings();
    profile.m_nVersion = m_nVersion.value_or(profile.m_nVersion);
    profile.m_nTimeout = m_nTimeout.value_or(profile.m_nTimeout);
    profile.m_nRetries = m_nRetries.value_or(profile.m_nRetries);
    profile.m_nMaxRepetitions = m_nMaxRepetitions.value_or(profile.m_nMaxRepetitions);
    profile.m_strUser = m_strUser;
    profile.m_eLevel = m_eLevel;
    profile.m_eAuth = m_eAuth;
    profile.m_strAuthPass = m_strAuthPass;
    profile.m_ePriv = m_ePriv;
    profile.m_strPrivPass = m_strPrivPass;
    profile.m_strContext = m_strContext;
    return profile;
}

std::optional<EWalkFormat> CWalkOptions::Format(const char* pszDefaultFormat) const
{
    if (m_strFormat.empty() || m_strFormat == pszDefaultFormat)
        return EWalkFormat::Default;
    if (m_strFormat == "csv")
        return EWalkFormat::Csv;
    if (m_strFormat == "json")
        return EWalkFormat::Json;
    if (m_strFormat == "snmpwalk")
        return EWalkFormat::Snmpwalk;
    return std::nullopt;
}

void CWalkOptions::LoadMibs() const
{
    if (m_bNoMibs)
        UnloadMibModules();
    else
        LoadMibModules(m_strMibs.value_or(AppSettings.MibPath()), MibPath::BaseFolder());
}

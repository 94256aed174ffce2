#include "snmp/WalkOptions.h"
#include "snmp/AppSettings.h"
#include "mib/MibLoader.h"
#include "mib/MibPath.h"
#include <charconv>

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

} // namespace

std::optional<CWalkOptions> CWalkOptions::Parse(const std::vector<std::string>& args)
{
    CWalkOptions options;
    std::size_t i = 0;
    for (; i + 1 < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
        const std::string& strOption = args[i];
        if (strOption == "--no-mibs" && !options.m_strMibs) {
            options.m_bNoMibs = true;
            --i;  // a flag: no value follows
            continue;
        }
        const std::string& strValue = args[i + 1];
        if (strOption == "--base")
            options.m_strBase = strValue;
        // A timeout of 0 s would leave the session its shortest wait and fail at random.
        else if (strOption == "--timeout" && (options.m_nTimeout = ReadCount(strValue, 1)))
            continue;
        else if (strOption == "--retries" && (options.m_nRetries = ReadCount(strValue)))
            continue;
        else if (strOption == "--mibs" && !options.m_bNoMibs)
            options.m_strMibs = strValue;
        else if (strOption == "--version" && (strValue == "1" || strValue == "2c"))
            options.m_nVersion = strValue == "1" ? 1u : 2u;
        else
            return std::nullopt;
    }
    if (args.size() - i != 2 || args[i].rfind("--", 0) == 0)
        return std::nullopt;
    options.m_strHost = args[i];
    options.m_strCommunity = args[i + 1];
    return options;
}

void CWalkOptions::ApplyToSettings() const
{
    if (m_strBase)
        AppSettings.SetBase(*m_strBase);
    if (m_nTimeout)
        AppSettings.Timeout = *m_nTimeout;
    if (m_nRetries)
        AppSettings.Retries = *m_nRetries;
    if (m_nVersion)
        AppSettings.Version = *m_nVersion;
}

void CWalkOptions::LoadMibs() const
{
    if (m_bNoMibs)
        UnloadMibModules();
    else
        LoadMibModules(m_strMibs.value_or(AppSettings.MibPath()), MibPath::BaseFolder());
}

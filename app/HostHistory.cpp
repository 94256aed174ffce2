#include "app/HostHistory.h"
#include "app/HistoryTable.h"

std::vector<std::string> HistoryRow(const std::string& strHost, const std::string& strCommunity,
                                    const std::optional<CAgentProfile>& profile)
{
    std::vector<std::string> row(kHistoryColumns);
    row[kHistoryHost] = strHost;
    row[kHistoryCommunity] = strCommunity;
    if (profile) {
        row[kHistoryProfile] = profile->ToText();
        if (profile->m_bRememberKeys) {
            row[kHistoryAuthKey] = HexText(profile->m_authKey);
            row[kHistoryPrivKey] = HexText(profile->m_privKey);
        }
    }
    return row;
}

std::optional<CAgentProfile> HistoryProfile(const CHistoryTable& history, int nRow)
{
    const std::string& strText = history.Cell(kHistoryProfile, nRow);
    if (strText.empty())
        return std::nullopt;
    CAgentProfile profile = CAgentProfile::FromText(strText, CAgentProfile::FromSettings());
    if (profile.m_bRememberKeys) {
        profile.m_authKey = HexBytes(history.Cell(kHistoryAuthKey, nRow));
        profile.m_privKey = HexBytes(history.Cell(kHistoryPrivKey, nRow));
    }
    return profile;
}

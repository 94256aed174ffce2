#pragma once
// What the host history (g_history) keeps of each agent: its host, community
// and profile. Rows of the earlier two-column form have no profile and take
// the settings' defaults. Passphrases are never kept: a profile that asks to
// remember them is stored with their master keys instead. UI thread only.
#include "snmp/AgentProfile.h"
#include <optional>
#include <string>
#include <vector>

class CHistoryTable;

enum EHistoryColumn : int
{
    kHistoryHost,
    kHistoryCommunity,
    kHistoryProfile,  // CAgentProfile::ToText, "" for none
    kHistoryAuthKey,  // hexadecimal master keys, "" for none
    kHistoryPrivKey,
    kHistoryColumns
};

// The row AddEntry takes for a query; without a profile the host follows the
// settings. Keys are written only when the profile remembers them.
std::vector<std::string> HistoryRow(const std::string& strHost, const std::string& strCommunity,
                                    const std::optional<CAgentProfile>& profile);
// The profile remembered in row nRow of history; none for a row without one.
std::optional<CAgentProfile> HistoryProfile(const CHistoryTable& history, int nRow);

#pragma once
// The options of a walk run from the command line ([--base OID] [--timeout S]
// [--retries N] [--version 1|2c] HOST[:PORT] COMMUNITY), shared by every program
// that walks one agent without a window.
#include "platform/WinTypes.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Exit codes of a walk run from the command line: the walk ended; an error
// text arrived (or the walk ended without its end message); the arguments are
// not valid.
constexpr int kExitDone = 0, kExitError = 1, kExitUsage = 2;

// What a walk run from the command line prints: the program's own form
// (orvex --walk: "tree", orvex-walk: "records"), the tree as CSV or JSON, or
// each variable as net-snmp's snmpwalk -On prints it.
enum class EWalkFormat { Default, Csv, Json, Snmpwalk };

struct CWalkOptions
{
    // Reads the arguments; nothing when they are not a valid command line.
    // pszDefaultFormat: the name "--format" takes for the program's own form.
    static std::optional<CWalkOptions> Parse(const std::vector<std::string>& args,
                                             const char* pszDefaultFormat = "records");

    // Puts the given options into AppSettings; the others keep their values.
    void ApplyToSettings() const;

    std::optional<std::string> m_strBase;
    std::optional<std::int32_t> m_nTimeout, m_nRetries;
    std::optional<DWORD> m_nVersion;
    EWalkFormat m_eFormat = EWalkFormat::Default;
    std::string m_strHost, m_strCommunity;
};

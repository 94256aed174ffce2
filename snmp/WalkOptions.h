#pragma once
// The options of a walk run from the command line ([--base OID] [--timeout S]
// [--retries N] [--version 1|2c] [--mibs PATH | --no-mibs] HOST[:PORT]
// COMMUNITY), shared by every program that walks one agent without a window.
#include "platform/WinTypes.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Exit codes of a walk run from the command line: the walk ended; an error
// text arrived (or the walk ended without its end message); the arguments are
// not valid.
constexpr int kExitDone = 0, kExitError = 1, kExitUsage = 2;

struct CWalkOptions
{
    // Reads the arguments; nothing when they are not a valid command line.
    static std::optional<CWalkOptions> Parse(const std::vector<std::string>& args);

    // Puts the given options into AppSettings; the others keep their values.
    void ApplyToSettings() const;
    // Loads the run's MIB modules (--mibs or the MibPath setting, then the base
    // modules beside the executable), or none with --no-mibs. Blocks.
    void LoadMibs() const;

    std::optional<std::string> m_strBase;
    std::optional<std::int32_t> m_nTimeout, m_nRetries;
    std::optional<DWORD> m_nVersion;
    // MIB modules for the run: --mibs replaces the MibPath setting (the base
    // modules still come last); --no-mibs loads none.
    std::optional<std::string> m_strMibs;
    bool m_bNoMibs = false;
    std::string m_strHost, m_strCommunity;
};

#pragma once
// The options of a walk run from the command line, shared by every program
// that walks one agent without a window (described in app/CommandLineHelp.cpp):
//   [--base OID] [--timeout S] [--retries N] [--max-repetitions N]
//   [--snmp-version|-v|--version 1|2c|3] [--user NAME] [--level LEVEL]
//   [--auth PROTOCOL] [--auth-pass TEXT] [--priv PROTOCOL] [--priv-pass TEXT]
//   [--context NAME] [--mibs PATH | --no-mibs]
//   HOST[:PORT] COMMUNITY      (version 3: HOST[:PORT] alone)
// Passphrases not given as options come from ORVEX_AUTH_PASS and ORVEX_PRIV_PASS.
#include "platform/WinTypes.h"
#include "snmp/AgentProfile.h"
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
    // Reads the arguments (and the passphrase variables of the environment);
    // nothing when they are not a valid command line, with the reason in
    // strError when there is more to say than the usage.
    static std::optional<CWalkOptions> Parse(const std::vector<std::string>& args, std::string& strError);

    // Puts the given base OID into AppSettings (the walk reads it there).
    void ApplyToSettings() const;
    // The agent's profile: the settings' defaults, read now, under the options.
    CAgentProfile Profile() const;
    // The form "--format" names, pszDefaultFormat being the name of the
    // program's own form; nothing for a name the program does not know.
    std::optional<EWalkFormat> Format(const char* pszDefaultFormat) const;
    // Loads the run's MIB modules (--mibs or the MibPath setting, then the base
    // modules beside the executable), or none with --no-mibs. Blocks.
    void LoadMibs() const;

    std::optional<std::string> m_strBase;
    std::optional<std::int32_t> m_nTimeout, m_nRetries, m_nMaxRepetitions;
    std::optional<DWORD> m_nVersion;
    std::string m_strUser, m_strAuthPass, m_strPrivPass, m_strContext;
    SnmpSecurityLevel m_eLevel = SnmpSecurityLevel::NoAuthNoPriv;
    SnmpAuthProtocol m_eAuth = SnmpAuthProtocol::SHA;
    SnmpPrivProtocol m_ePriv = SnmpPrivProtocol::AES;
    std::string m_strFormat;  // "--format"'s text; empty: the program's own form
    // MIB modules for the run: --mibs replaces the MibPath setting (the base
    // modules still come last); --no-mibs loads none.
    std::optional<std::string> m_strMibs;
    bool m_bNoMibs = false;
    std::string m_strHost, m_strCommunity;
};

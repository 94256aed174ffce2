#include "app/CommandLineHelp.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include <QtGlobal>
#include <algorithm>

namespace {

// The options of a walk without a window, the same for orvex --walk and
// orvex-walk but for the output's own form.
COptionGroupHelp WalkOptions(const COptionHelp& format)
{
    COptionGroupHelp group{
        "Walk options",
        {
            {"--base", "OID",
             "Start the walk at OID instead of the Base setting (.1.3 unless changed). Text that begins with a dot "
             "is absolute; other text is relative to mib-2 (.1.3.6.1.2.1)."},
            {"--timeout", "SECONDS", "Wait SECONDS for each answer instead of the Timeout setting (16)."},
            {"--retries", "N", "Send each request up to N more times instead of the Retries setting (3)."},
            {"--max-repetitions", "N",
             "Ask for N variables per GetBulk request instead of the MaxRepetitions setting (25); 0 walks with "
             "GET-NEXT. Version 1 always walks with GET-NEXT."},
            {"--snmp-version, -v", "1|2c|3",
             "Speak SNMP version 1 (GET-NEXT), 2c (GetBulk) or 3 (GetBulk, with the user-based security below) "
             "instead of the Version setting. Version 3 takes no COMMUNITY."},
            {"--version", "1|2c|3",
             "The same as --snmp-version when followed by a version; alone it prints the program's version."},
            {"--user", "NAME", "The SNMPv3 user name; version 3 needs it."},
            {"--level", "LEVEL", "The SNMPv3 security level: noAuthNoPriv (default), authNoPriv or authPriv."},
            {"--auth", "PROTOCOL",
             "The SNMPv3 authentication protocol: MD5, SHA (default), SHA-224, SHA-256, SHA-384 or SHA-512."},
            {"--auth-pass", "TEXT",
             "The SNMPv3 authentication passphrase (authNoPriv, authPriv). Other users of the machine may see a "
             "command line; ORVEX_AUTH_PASS gives it without one."},
            {"--priv", "PROTOCOL", "The SNMPv3 privacy protocol: DES, AES (default), AES-192 or AES-256."},
            {"--priv-pass", "TEXT",
             "The SNMPv3 privacy passphrase (authPriv); ORVEX_PRIV_PASS gives it without the command line."},
            {"--context", "NAME", "The SNMPv3 context name (empty unless given)."},
            {"--mibs", "PATH",
             "Load the MIB modules of PATH (folders and files separated by \":\") instead of the MibPath setting; "
             "Orvex's base modules still come last. Loaded modules name what the built-in MIB writes as numbers."},
            {"--no-mibs", "", "Load no MIB modules: names are the built-in MIB's alone."},
        }};
    group.options.push_back(format);
    return group;
}

// The walked agent, the same for orvex --walk and orvex-walk.
const COptionGroupHelp& AgentArguments()
{
    static const COptionGroupHelp group{
        "Agent",
        {
            {"HOST", "",
             "The agent: a host name, a dotted IPv4 address or an IPv6 address in brackets, optionally followed by "
             ":PORT (161 unless given), as [2001:db8::1]:161 or [::1]."},
            {"COMMUNITY", "", "The community of versions 1 and 2c; left out for version 3."},
        }};
    return group;
}

// The forms all walks can print besides their own.
#define ORVEX_SHARED_FORMATS                                                                                     \
    " csv: the tree as CSV (RFC 4180), a header row Depth,MIB,Type,Value,OID, then one row per node in tree "   \
    "order, depth 0 for a top node. json: the tree as a JSON array of nodes, each with name, type, value, oid " \
    "and children. Texts that are not UTF-8 are read as Latin-1. snmpwalk: each variable as net-snmp's "      \
    "snmpwalk -On prints it (OID = TYPE: value)."

const COptionHelp kOrvexFormat{"--format", "tree|csv|json|snmpwalk",
                               "What to print. tree (the default): the finished tree as Copy Tree copies it."
                               ORVEX_SHARED_FORMATS};
const COptionHelp kOrvexWalkFormat{"--format", "records|csv|json|snmpwalk",
                                   "What to print. records (the default): one line per variable, OID, name, type "
                                   "and value separated by tabs." ORVEX_SHARED_FORMATS};
#undef ORVEX_SHARED_FORMATS

const COptionHelp kHelpOption{"--help, -h", "", "Print the synopsis, the options and the exit codes, and exit."};
const COptionHelp kVersionOption{"--version, -V", "",
                                 "Print the program's version and the versions of net-snmp and Qt in use, and exit."};

const CNamedHelp kUserSettingsFile{
    "$XDG_CONFIG_HOME/orvex/user.reg",
    "The settings and the host history (~/.config/orvex/user.reg when XDG_CONFIG_HOME is not set). The options "
    "above never change it."};
const CNamedHelp kUserSettingsVariable{"XDG_CONFIG_HOME", "Folder of the user's settings file."};
const CNamedHelp kAuthPassVariable{"ORVEX_AUTH_PASS", "The SNMPv3 authentication passphrase when --auth-pass is not given."};
const CNamedHelp kPrivPassVariable{"ORVEX_PRIV_PASS", "The SNMPv3 privacy passphrase when --priv-pass is not given."};

// Breaks text into lines of at most nWidth characters, the first after
// strFirst, the others after strIndent (a word longer than the line stays
// whole). Paragraphs stay apart.
std::string Wrap(const std::string& strText, std::size_t nWidth, const std::string& strIndent,
                 const std::string& strFirst)
{
    std::string strOut, strLine;
    auto flush = [&] {
        if (!strLine.empty())
            strOut += (strOut.empty() ? strFirst : strIndent) + strLine + "\n";
        strLine.clear();
    };
    std::size_t i = 0;
    while (i < strText.size()) {
        if (strText.compare(i, 2, "\n\n") == 0) {
            flush();
            strOut += "\n";
            i += 2;
            continue;
        }
        const std::size_t nEnd = std::min(strText.find_first_of(" \n", i), strText.size());
        const std::string strWord = strText.substr(i, nEnd - i);
        if (!strLine.empty() && (strOut.empty() ? strFirst : strIndent).size() + strLine.size() + 1 + strWord.size() > nWidth)
            flush();
        if (!strWord.empty())
            strLine += (strLine.empty() ? "" : " ") + strWord;
        i = nEnd + (nEnd < strText.size() ? 1 : 0);
    }
    flush();
    return strOut;
}

} // namespace

const CProgramHelp& OrvexHelp()
{
    static const CProgramHelp help{
        "orvex",
        "desktop SNMP MIB browser",
        {"[FILE]", "--host HOST --community COMMUNITY [--go]", "--walk [OPTION]... HOST[:PORT] COMMUNITY",
         "--walk [OPTION]... -v 3 --user NAME HOST[:PORT]", "--help | --version"},
        "Orvex walks an SNMP agent's MIB and shows every variable that comes back in a tree-list grid (MIB, "
        "Type, Value, OID). Several agents can be browsed side by side, each in a document window of its own; "
        "values can be written back with SET where writing is enabled in the settings. Help > Help opens the "
        "manual.\n\n"
        "With --walk, Orvex runs one query without any window and writes the finished tree to standard output "
        "as the Copy Tree command copies it: one line per node, parents before their children, with name, type, "
        "value and OID separated by tabs. Texts a window would show in a message box go to standard error. "
        "Settings are read as usual; the walk options override them for that run only, and nothing is saved.",
        {
            {"Window options",
             {
                 {"FILE", "", "Open the first document window with FILE as its title."},
                 {"--host", "HOST", "Fill the Host box of the first window (HOST[:PORT], or [IPv6]:PORT)."},
                 {"--community", "COMMUNITY", "Fill the Community box of the first window."},
                 {"--go", "", "Start the query as soon as the window is up."},
                 {"--screenshot", "PNG",
                  "Used by the project's screenshot script: run the query given by the options that follow, show "
                  "an inferred table row and save the main window as the picture PNG."},
             }},
            {"Walking without a window",
             {{"--walk", "", "Run one query without a window; the walk options and the agent follow."}}},
            WalkOptions(kOrvexFormat),
            AgentArguments(),
            {"Other options", {kHelpOption, kVersionOption}},
        },
        {{0, "The window was closed, or the --walk query ended without an error."},
         {1, "Start-up failed, or --walk wrote an error text to standard error."},
         {2, "The arguments of --walk are not valid; the usage is printed."}},
        {kUserSettingsVariable, kAuthPassVariable, kPrivPassVariable, {"XDG_CONFIG_DIRS", "Its first folder holds the machine's settings file."}},
        {kUserSettingsFile,
         {"$XDG_CONFIG_DIRS/orvex/machine.reg",
          "The installation folder (HomePath), in the first folder of XDG_CONFIG_DIRS (/etc/xdg when it is not set). "
          "A recorded folder without a Help folder is ignored."},
         {"HomePath/Help/Orvex.html",
          "The manual that Help > Help opens (/usr/share/orvex/Help/ for an installed Orvex). Without a program for "
          "HTML on the desktop it opens in a help window of Orvex."},
         {"~/.local/share/orvex/crashes/", "Crash reports."}},
        {"orvex-walk(1)", "snmpd(8)"},
    };
    return help;
}

const CProgramHelp& OrvexWalkHelp()
{
    static const CProgramHelp help{
        "orvex-walk",
        "walk an SNMP agent and print one line per variable",
        {"[OPTION]... HOST[:PORT] COMMUNITY", "[OPTION]... -v 3 --user NAME HOST[:PORT]",
         "--help | --version"},
        "orvex-walk walks the MIB of the agent at HOST (a host name, a dotted IPv4 address or a bracketed IPv6 "
        "address, port 161 unless given) with the community COMMUNITY, as a query of orvex(1) does, and prints "
        "every variable as it arrives: OID, name, type and value separated by tabs, one variable a line. In "
        "the fields a backslash is written as \\\\, a tab as \\t, a line feed as \\n and a carriage return as "
        "\\r; other bytes are written as they are.\n\n"
        "The walk's error texts go to standard error. Settings are read from the user's settings file; the "
        "options override them for this run only, and nothing is saved.",
        {WalkOptions(kOrvexWalkFormat), AgentArguments(), {"Other options", {kHelpOption, kVersionOption}}},
        {{0, "The walk ended without an error."},
         {1, "An error text was written to standard error (no answer, an error status, a bad base OID)."},
         {2, "The arguments are not valid; the usage is printed."}},
        {kUserSettingsVariable, kAuthPassVariable, kPrivPassVariable},
        {kUserSettingsFile},
        {"orvex(1)", "snmpd(8)"},
    };
    return help;
}

std::vector<std::string> OptionNames(const COptionHelp& option)
{
    std::vector<std::string> names;
    const std::string strNames = option.pszNames;
    for (std::size_t i = 0; i <= strNames.size();) {
        const std::size_t nEnd = std::min(strNames.find(", ", i), strNames.size());
        names.push_back(strNames.substr(i, nEnd - i));
        i = nEnd + 2;
    }
    return names;
}

std::string HelpText(const CProgramHelp& help, std::size_t nWidth)
{
    constexpr std::size_t kIndent = 8;
    std::string strOut;
    for (std::size_t i = 0; i < help.synopsis.size(); ++i)
        strOut += std::string(i == 0 ? "usage: " : "       ") + help.pszName + " " + help.synopsis[i] + "\n";
    for (const COptionGroupHelp& group : help.groups) {
        strOut += std::string("\n") + group.pszHeading + ":\n";
        for (const COptionHelp& option : group.options) {
            strOut += std::string("  ") + option.pszNames + (*option.pszValue ? " " : "") + option.pszValue + "\n";
            strOut += Wrap(option.pszText, nWidth, std::string(kIndent, ' '), std::string(kIndent, ' '));
        }
    }
    strOut += "\nExit status:\n";
    for (const CExitCodeHelp& exit : help.exitCodes)
        strOut += Wrap(exit.pszText, nWidth, "     ", "  " + std::to_string(exit.nCode) + "  ");
    return strOut;
}

std::string VersionText(const char* pszProgram)
{
    return std::string(pszProgram) + " " + ORVEX_VERSION + "\nnet-snmp " + SnmpLibraryVersion() + "\nQt " +
           qVersion() + "\n";
}

bool AsksForVersion(const std::vector<std::string>& args)
{
    return args.size() == 1 && (args[0] == "--version" || args[0] == "-V");
}

bool AsksForHelp(const std::vector<std::string>& args)
{
    return !args.empty() && (args[0] == "--help" || args[0] == "-h");
}

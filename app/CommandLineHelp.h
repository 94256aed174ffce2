#pragma once
// The one description of the command lines of orvex and orvex-walk. Their --help
// prints from it and tools/manpages writes the manual pages orvex(1) and
// orvex-walk(1) from it, so an option is described once, in CommandLineHelp.cpp,
// for both programs and both forms. Texts are plain ASCII; blank-line-separated
// paragraphs.
#include <string>
#include <vector>

struct COptionHelp
{
    const char* pszNames;  // as written, long form first: "--timeout" or "--help, -h"
    const char* pszValue;  // placeholder of the value ("SECONDS", "1|2c"); "" for a flag
    const char* pszText;
};

struct COptionGroupHelp
{
    const char* pszHeading;  // "" for the program's only group
    std::vector<COptionHelp> options;
};

struct CExitCodeHelp
{
    int nCode;
    const char* pszText;
};

struct CNamedHelp
{
    const char* pszName;  // a file, a variable, a page ("snmpd(8)")
    const char* pszText;
};

struct CProgramHelp
{
    const char* pszName;
    const char* pszSummary;              // one line: what the program is
    std::vector<const char*> synopsis;   // each line without the program's name
    const char* pszDescription;
    std::vector<COptionGroupHelp> groups;
    std::vector<CExitCodeHelp> exitCodes;
    std::vector<CNamedHelp> environment;
    std::vector<CNamedHelp> files;
    std::vector<const char*> seeAlso;    // "orvex-walk(1)"
};

const CProgramHelp& OrvexHelp();
const CProgramHelp& OrvexWalkHelp();

// What --help prints: the synopsis lines, the options with their texts wrapped
// under them, and the exit codes. nWidth is the line length.
std::string HelpText(const CProgramHelp& help, std::size_t nWidth = 79);

// Each name of an option ("--help, -h" gives "--help" and "-h").
std::vector<std::string> OptionNames(const COptionHelp& option);

// What --version and -V print: the program's version and those of the SNMP
// library and Qt in use, one per line.
std::string VersionText(const char* pszProgram);

// True when the first argument is "--help" or "-h".
bool AsksForHelp(const std::vector<std::string>& args);

// True for exactly "--version" or "-V" alone; "--version 2c" still names an SNMP
// version.
bool AsksForVersion(const std::vector<std::string>& args);

#pragma once
// "orvex --walk": one query run without a display, through the same view,
// grid, walk and cleaning as in the application. The tree goes to standard
// output in the text the grid copies to the clipboard (or as CSV, JSON, or
// net-snmp's snmpwalk lines with --format); error texts go to standard error. Settings are read from the registry as usual; the options
// override them for this run only, and nothing is written back.
#include "snmp/WalkOptions.h"
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class COidTreeGrid;

class CWalkCommand : public CWalkOptions
{
public:
    static constexpr const char* kUsage =
        "usage: orvex --walk [OPTIONS] [--mibs PATH | --no-mibs] HOST[:PORT] COMMUNITY\n"
        "       orvex --walk [OPTIONS] --snmp-version 3 --user NAME [...] HOST[:PORT]\n"
        "OPTIONS include --format tree|csv|json|snmpwalk\n";

    // Reads the arguments that follow "--walk"; nothing when they are not
    // valid, with the reason in strError when there is more to say than the usage.
    static std::optional<CWalkCommand> Parse(const std::vector<std::string>& args, std::string& strError);

    // Runs the query on the UI thread's event loop (a QApplication must exist)
    // until the walk and every cleaning have ended. Returns kExitDone, or
    // kExitError when an error text arrived. Blocks for the whole query.
    int Run(std::FILE* pOut, std::FILE* pErr) const;

private:
    CWalkCommand(CWalkOptions options, EWalkFormat eFormat) : CWalkOptions(std::move(options)), m_eFormat(eFormat) {}
    // The finished query in the format asked for; strSnmpwalk: the records'
    // lines in that form.
    void WriteTree(COidTreeGrid& grid, const std::string& strSnmpwalk, std::FILE* pOut) const;

    EWalkFormat m_eFormat;
};

// The whole of "orvex --walk ARGS": the reason and the usage on pErr and
// kExitUsage for bad arguments, else Parse(...)->Run.
int RunWalkCommand(const std::vector<std::string>& args, std::FILE* pOut, std::FILE* pErr);

#pragma once
// net-snmp's MIB parser behind one call: a set of module files in, an
// immutable name table and a report out. The parser keeps one global tree and
// is not thread-safe, so calls are serialised; nothing else in the process
// reads that tree (names go through CMibTable only).
#include "platform/mibparse/MibTable.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct CMibModuleInfo
{
    std::string strName;
    std::string strFile;
};

struct CMibProblem
{
    std::string strFile;
    int nLine = 0;  // 0 when the parser named no line
    std::string strText;
};

struct CMibParseResult
{
    std::shared_ptr<const CMibTable> pTable;
    std::vector<CMibModuleInfo> loaded;   // in the order of the files given
    std::vector<CMibProblem> problems;    // each names its file
};

class CMibParser
{
public:
    // Files larger than this are refused unread: the parser cannot be stopped
    // and its time grows steeply with a file's size.
    static constexpr std::uintmax_t kMaxFileBytes = 4u << 20;

    // Parses the modules of the given files; where two files hold a module of
    // the same name, the one given first wins and the other is not read. A
    // file that is not a module, too large, unreadable or faulty is listed in
    // problems and does not stop the others. Blocks for the whole parse (about
    // 1 ms per 10 KB of module text); calls from several threads run one at a time.
    static CMibParseResult Parse(const std::vector<std::string>& files);
};

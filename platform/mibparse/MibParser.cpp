#include "platform/mibparse/MibParser.h"
#include "platform/snmpmgr/SnmpMgr.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/parse.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <regex>
#include <set>

namespace {

std::mutex g_mutexParser;
// The messages of the parse running on this thread; null elsewhere, so that
// log lines of sessions on other threads are not taken for MIB faults.
thread_local std::vector<std::pair<int, std::string>>* t_pMessages = nullptr;

int CollectLogMessage(int, int, void* pServerArg, void*)
{
    const auto* pMessage = static_cast<const snmp_log_message*>(pServerArg);
    if (t_pMessages && pMessage && pMessage->msg)
        t_pMessages->emplace_back(pMessage->priority, pMessage->msg);
    return 1;
}

void PrepareParser()
{
    static std::once_flag once;
    std::call_once(once, [] {
        SnmpMgrStartup();
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIB_ERRORS, 1);
        netsnmp_ds_set_int(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIB_WARNINGS, 1);
        snmp_set_save_descriptions(1);
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_CALLBACK, LOG_DEBUG);
        snmp_register_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, CollectLogMessage, nullptr);
    });
    unload_all_mibs();
    netsnmp_init_mib_internals();
}

const char* TypeName(int nType)
{
    switch (nType) {
    case TYPE_OBJID: return "OBJECT IDENTIFIER";
    case TYPE_OCTETSTR: return "OCTET STRING";
    case TYPE_INTEGER: return "INTEGER";
    case TYPE_NETADDR: return "NetworkAddress";
    case TYPE_IPADDR: return "IpAddress";
    case TYPE_COUNTER: return "Counter32";
    case TYPE_GAUGE: return "Gauge32";
    case TYPE_TIMETICKS: return "TimeTicks";
    case TYPE_OPAQUE: return "Opaque";
    case TYPE_NULL: return "NULL";
    case TYPE_COUNTER64: return "Counter64";
    case TYPE_BITSTRING: return "BITS";
    case TYPE_NSAPADDRESS: return "NsapAddress";
    case TYPE_UINTEGER: return "UInteger32";
    case TYPE_UNSIGNED32: return "Unsigned32";
    case TYPE_INTEGER32: return "Integer32";
    case TYPE_NOTIFTYPE: return "NOTIFICATION-TYPE";
    case TYPE_TRAPTYPE: return "TRAP-TYPE";
    case TYPE_OBJGROUP: return "OBJECT-GROUP";
    case TYPE_NOTIFGROUP: return "NOTIFICATION-GROUP";
    case TYPE_MODID: return "MODULE-IDENTITY";
    case TYPE_MODCOMP: return "MODULE-COMPLIANCE";
    case TYPE_AGENTCAP: return "AGENT-CAPABILITIES";
    case TYPE_OBJIDENTITY: return "OBJECT-IDENTITY";
    default: return "";
    }
}

const char* AccessName(int nAccess)
{
    switch (nAccess) {
    case MIB_ACCESS_READONLY: return "read-only";
    case MIB_ACCESS_READWRITE: return "read-write";
    case MIB_ACCESS_WRITEONLY: return "write-only";
    case MIB_ACCESS_NOACCESS: return "not-accessible";
    case MIB_ACCESS_NOTIFY: return "accessible-for-notify";
    case MIB_ACCESS_CREATE: return "read-create";
    default: return "";
    }
}

const char* StatusName(int nStatus)
{
    switch (nStatus) {
    case MIB_STATUS_MANDATORY: return "mandatory";
    case MIB_STATUS_OPTIONAL: return "optional";
    case MIB_STATUS_OBSOLETE: return "obsolete";
    case MIB_STATUS_DEPRECATED: return "deprecated";
    case MIB_STATUS_CURRENT: return "current";
    default: return "";
    }
}

std::string RangeText(const tree* pNode)
{
    std::string strText;
    for (const range_list* pRange = pNode->ranges; pRange; pRange = pRange->next) {
        if (!strText.empty())
            strText += " | ";
        strText += std::to_string(pRange->low);
        if (pRange->high != pRange->low)
            strText += ".." + std::to_string(pRange->high);
    }
    if (strText.empty())
        return strText;
    const bool bSize = pNode->type == TYPE_OCTETSTR || pNode->type == TYPE_OPAQUE;
    return bSize ? "(SIZE (" + strText + "))" : "(" + strText + ")";
}

std::string ModuleName(int nModule)
{
    char szName[MAXTOKEN + 8] = {};
    return module_name(nModule, szName);
}

void CopyDefinition(const tree* pNode, CMibObject* pObject)
{
    pObject->strName = pNode->label ? pNode->label : "";
    pObject->strModule = ModuleName(pNode->modid);
    const char* pszTc = pNode->tc_index >= 0 ? get_tc_descriptor(pNode->tc_index) : nullptr;
    pObject->strBaseType = TypeName(pNode->type);
    pObject->strSyntax = pszTc ? pszTc : pObject->strBaseType;
    pObject->strRange = RangeText(pNode);
    pObject->strHint = pNode->hint ? pNode->hint : "";
    pObject->strAccess = AccessName(pNode->access);
    pObject->strStatus = StatusName(pNode->status);
    pObject->strUnits = pNode->units ? pNode->units : "";
    pObject->strAugments = pNode->augments ? pNode->augments : "";
    pObject->strDescription = pNode->description ? pNode->description : "";
    for (const index_list* pIndex = pNode->indexes; pIndex; pIndex = pIndex->next) {
        pObject->indexes.push_back(pIndex->ilabel ? pIndex->ilabel : "");
        pObject->bImpliedIndex = pIndex->isimplied != 0;  // only the last one may be
    }
    for (const enum_list* pEnum = pNode->enums; pEnum; pEnum = pEnum->next)
        pObject->enums.emplace_back(pEnum->value, pEnum->label ? pEnum->label : "");
}

// Copies the parser's tree into a table; iterative, so a deep tree cannot
// exhaust the stack.
std::shared_ptr<const CMibTable> CopyTree(tree* pTop)
{
    auto pTable = std::make_shared<CMibTable>();
    std::vector<std::pair<const tree*, std::vector<UINT>>> stack;
    for (const tree* pNode = pTop; pNode; pNode = pNode->next_peer)
        stack.push_back({pNode, {static_cast<UINT>(pNode->subid)}});
    while (!stack.empty()) {
        auto [pNode, path] = std::move(stack.back());
        stack.pop_back();
        CopyDefinition(pNode, pTable->Add(path));
        for (const tree* pChild = pNode->child_list; pChild; pChild = pChild->next_peer) {
            std::vector<UINT> childPath = path;
            childPath.push_back(static_cast<UINT>(pChild->subid));
            stack.push_back({pChild, std::move(childPath)});
        }
    }
    return pTable;
}

// The parser's texts name the file as "At line N in FILE", "near line N of
// FILE" or "(FILE)" at the end, or only the module ("Unlinked OID in MODULE:").
CMibProblem ProblemOf(const std::string& strText, const std::map<std::string, std::string>& fileOfModule)
{
    static const std::regex atLine(R"(At line (\d+) in (.+)$)");
    static const std::regex nearLine(R"(near line (\d+) of (.+)$)");
    static const std::regex inFile(R"(\(([^()]+)\)$)");
    static const std::regex inModule(R"(^Unlinked OID in ([^:]+):)");
    std::string strLine = strText;
    while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == '\r'))
        strLine.pop_back();
    CMibProblem problem{"", 0, strLine};
    std::smatch match;
    if (std::regex_search(strLine, match, atLine) || std::regex_search(strLine, match, nearLine)) {
        problem.nLine = std::stoi(match[1]);
        problem.strFile = match[2];
    } else if (std::regex_search(strLine, match, inFile)) {
        problem.strFile = match[1];
    } else if (std::regex_search(strLine, match, inModule)) {
        const auto it = fileOfModule.find(match[1]);
        if (it != fileOfModule.end())
            problem.strFile = it->second;
    }
    return problem;
}

bool IsFault(int nPriority, const std::string& strText)
{
    // Ignored macro bodies and replaced module files are not faults.
    return nPriority <= LOG_WARNING && strText.find("parsed and ignored") == std::string::npos &&
           strText.rfind("Warning: Module", 0) != 0;
}

} // namespace

CMibParseResult CMibParser::Parse(const std::vector<std::string>& files)
{
    const std::lock_guard lock(g_mutexParser);
    CMibParseResult result;
    std::vector<std::pair<int, std::string>> messages;
    t_pMessages = &messages;
    PrepareParser();
    // The parser lets a later file replace a module of the same name: the
    // winning files go last.
    std::vector<std::string> accepted;
    for (const std::string& strFile : files) {
        std::error_code ec;
        const std::uintmax_t nSize = std::filesystem::file_size(strFile, ec);
        if (ec)
            result.problems.push_back({strFile, 0, "cannot be read: " + ec.message()});
        else if (nSize > kMaxFileBytes)
            result.problems.push_back({strFile, 0, "larger than " + std::to_string(kMaxFileBytes >> 20) + " MB: not read"});
        else
            accepted.push_back(strFile);
    }
    for (auto it = accepted.rbegin(); it != accepted.rend(); ++it)
        if (add_mibfile(it->c_str(), nullptr) != 0)
            result.problems.push_back({*it, 1, "not a MIB module"});
    std::map<std::string, std::string> fileOfModule;
    for (int nModule = 0; const module* pModule = find_module(nModule); ++nModule)
        if (pModule->name && pModule->file)
            fileOfModule[pModule->name] = pModule->file;
    for (const auto& [strName, strFile] : fileOfModule)
        read_module(strName.c_str());
    t_pMessages = nullptr;

    std::set<std::string> failed;
    for (const auto& [nPriority, strText] : messages)
        if (IsFault(nPriority, strText)) {
            result.problems.push_back(ProblemOf(strText, fileOfModule));
            failed.insert(result.problems.back().strFile);
        }
    for (const std::string& strFile : accepted)
        for (const auto& [strName, strModuleFile] : fileOfModule)
            if (strModuleFile == strFile && !failed.count(strFile))
                result.loaded.push_back({strName, strFile});
    result.pTable = CopyTree(get_tree_head());
    unload_all_mibs();
    return result;
}

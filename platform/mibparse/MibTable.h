#pragma once
// An immutable table of the objects loaded MIB modules define: the tree of
// their OIDs with each node's name and definition. Built once by the parser
// (CMibParser), then only read, from any thread; a new module set gives a new
// table that replaces the old one whole (PublishMibTable).
#include "platform/WinTypes.h"
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct CMibObject
{
    UINT nId = 0;
    std::string strName;
    std::string strModule;
    std::string strSyntax;        // textual convention or base type ("DisplayString", "INTEGER")
    std::string strBaseType;      // the base type beneath it ("OCTET STRING", "INTEGER")
    std::string strRange;         // "(0..255)", "(SIZE (6))"; empty when unbounded
    std::string strHint;          // display hint
    std::string strAccess;        // "read-only", "read-write", ...; empty for plain OIDs
    std::string strStatus;        // "current", "deprecated", ...
    std::string strUnits;
    std::string strAugments;
    std::string strDescription;
    std::vector<std::string> indexes;                   // an entry's index objects
    bool bImpliedIndex = false;                         // its last index object is IMPLIED
    std::vector<std::pair<long, std::string>> enums;    // value, label in definition order
    const CMibObject* pParent = nullptr;
    std::unordered_map<UINT, const CMibObject*> children;

    // "up(1)" for an enumerated value, empty when the value has no label.
    std::string EnumLabel(long nValue) const;
};

class CMibTable
{
public:
    CMibTable();
    CMibTable(const CMibTable&) = delete;
    CMibTable& operator=(const CMibTable&) = delete;

    // The unnamed node above iso, ccitt and joint-iso-ccitt.
    const CMibObject* Root() const { return &m_objects.front(); }
    // The child with this sub-identifier; null when pParent is null or has none.
    static const CMibObject* Child(const CMibObject* pParent, UINT nId);
    // The deepest object on the OID's path (*pnDepth = sub-identifiers it
    // covers); null when not even the first sub-identifier is known. O(length).
    const CMibObject* Find(const UINT* pIds, UINT nCount, UINT* pnDepth) const;
    // Numeric OID text of an object (".1.3.6.1...").
    static std::string OidText(const CMibObject* pObject);
    size_t ObjectCount() const { return m_objects.size() - 1; }

    // Building (the parser only): adds or completes the object at the path
    // below the root, creating unnamed nodes between as needed.
    CMibObject* Add(const std::vector<UINT>& path);

private:
    std::deque<CMibObject> m_objects;  // stable addresses; front() is the root
};

// The table walks and windows read: empty until modules were loaded. Safe on
// any thread; a reader keeps the table it took alive however often it is replaced.
std::shared_ptr<const CMibTable> CurrentMibTable();
void PublishMibTable(std::shared_ptr<const CMibTable> pTable);

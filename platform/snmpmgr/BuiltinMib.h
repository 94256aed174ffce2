#pragma once
// The names the manager interface knows: a fixed table of the standard MIB
// modules' object names, and the interface's two text forms of an OID.
#include "platform/WinTypes.h"
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CMibTable;

class CBuiltinMib
{
public:
    // The table, built on first use (about a millisecond); thread-safe.
    static const CBuiltinMib& Instance();

    // Builds a MIB from table text: lines "parent: id name id name ...", where
    // "root" is the unnamed node above iso and every other parent is a name
    // defined on an earlier line. Faults are listed in Problems().
    explicit CBuiltinMib(std::string_view table);

    // The interface's name form: relative to mib-2 for OIDs below it
    // ("system.sysDescr.0"), relative to internet for other OIDs below internet
    // ("private.enterprises.2021.4.5.0"), else absolute with a leading dot
    // (".iso.2.840"). Unnamed components, everything after them and everything
    // below enterprises are written as numbers, unless pLoaded (loaded modules)
    // names them: the built-in name wins wherever there is one. False for an
    // empty OID. O(length) hashed lookups.
    bool ToText(const UINT* pIds, UINT nCount, std::string* pstrText, const CMibTable* pLoaded = nullptr) const;
    // Text with a leading "." is absolute, other text relative to mib-2.
    // Components are decimal numbers (0..4294967295) or names of children of
    // the node reached so far. False for anything else, *pIds then unchanged.
    bool Parse(std::string_view text, std::vector<UINT>* pIds) const;

    // Table faults: unknown parents, names defined twice, ids used twice.
    const std::vector<std::string>& Problems() const { return m_problems; }
    size_t NodeCount() const { return m_nodes.size(); }

private:
    struct Node
    {
        UINT nId = 0;
        std::string strName;
        bool bNumericChildren = false;  // children are written as numbers
        std::unordered_map<UINT, const Node*> byId;
        std::unordered_map<std::string_view, const Node*> byName;
    };

    void ParseLine(std::string_view line);
    Node* AddChild(Node* pParent, UINT nId, std::string_view name);
    const Node* Find(std::initializer_list<UINT> path) const;
    static const Node* ChildById(const Node* pNode, UINT nId);
    static const Node* ChildByName(const Node* pNode, std::string_view name);

    std::deque<Node> m_nodes;  // stable addresses; m_nodes.front() is the root
    std::unordered_map<std::string_view, Node*> m_byName;
    std::vector<std::string> m_problems;
    const Node* m_pInternet = nullptr;
    const Node* m_pMib2 = nullptr;
};

#include "platform/snmpmgr/BuiltinMib.h"
#include "platform/snmpmgr/BuiltinMibData.h"
#include "platform/mibparse/MibTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

namespace
{
constexpr std::string_view kRootName = "root";
// mib-2; its first four sub-identifiers are internet.
constexpr UINT kMib2Path[] = {1, 3, 6, 1, 2, 1};
constexpr UINT kInternetLength = 4;
constexpr UINT kMib2Length = std::size(kMib2Path);

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::string_view NextWord(std::string_view* pRest)
{
    *pRest = Trim(*pRest);
    size_t nEnd = 0;
    while (nEnd < pRest->size() && !std::isspace(static_cast<unsigned char>((*pRest)[nEnd])))
        ++nEnd;
    const std::string_view word = pRest->substr(0, nEnd);
    pRest->remove_prefix(nEnd);
    return word;
}

// A sub-identifier in plain decimal; no sign, no spaces, at most 2^32-1.
bool ParseNumber(std::string_view s, UINT* pnValue)
{
    if (s.empty() || !std::isdigit(static_cast<unsigned char>(s.front())))
        return false;
    std::uint32_t nValue = 0;
    const auto [pEnd, ec] = std::from_chars(s.data(), s.data() + s.size(), nValue);
    if (ec != std::errc() || pEnd != s.data() + s.size())
        return false;
    *pnValue = nValue;
    return true;
}
}  // namespace

const CBuiltinMib& CBuiltinMib::Instance()
{
    static const CBuiltinMib mib(BuiltinMibTable());
    return mib;
}

CBuiltinMib::CBuiltinMib(std::string_view table)
{
    m_nodes.emplace_back();  // root
    m_byName.emplace(kRootName, &m_nodes.front());
    while (!table.empty())
    {
        const size_t nEnd = table.find('\n');
        ParseLine(Trim(table.substr(0, nEnd)));
        table.remove_prefix(nEnd == std::string_view::npos ? table.size() : nEnd + 1);
    }
    m_pInternet = Find({1, 3, 6, 1});
    m_pMib2 = Find({1, 3, 6, 1, 2, 1});
    // Enterprise numbers carry no names in the interface's text form.
    if (const Node* pEnterprises = Find({1, 3, 6, 1, 4, 1}))
        const_cast<Node*>(pEnterprises)->bNumericChildren = true;
}

void CBuiltinMib::ParseLine(std::string_view line)
{
    if (line.empty() || line.front() == '#')
        return;
    const size_t nColon = line.find(':');
    if (nColon == std::string_view::npos)
    {
        m_problems.push_back("line without parent: " + std::string(line));
        return;
    }
    const std::string_view parent = Trim(line.substr(0, nColon));
    const auto it = m_byName.find(parent);
    if (it == m_byName.end())
    {
        m_problems.push_back("unknown parent: " + std::string(parent));
        return;
    }
    std::string_view rest = line.substr(nColon + 1);
    for (std::string_view idText = NextWord(&rest); !idText.empty(); idText = NextWord(&rest))
    {
        const std::string_view name = NextWord(&rest);
        UINT nId = 0;
        if (!ParseNumber(idText, &nId) || name.empty())
        {
            m_problems.push_back("bad entry under " + std::string(parent) + ": " + std::string(idText));
            return;
        }
        AddChild(it->second, nId, name);
    }
}

CBuiltinMib::Node* CBuiltinMib::AddChild(Node* pParent, UINT nId, std::string_view name)
{
    if (pParent->byId.count(nId))
    {
        m_problems.push_back("id used twice under " + pParent->strName + ": " + std::to_string(nId));
        return nullptr;
    }
    Node& node = m_nodes.emplace_back();
    node.nId = nId;
    node.strName = name;
    pParent->byId.emplace(nId, &node);
    pParent->byName.emplace(node.strName, &node);
    if (!m_byName.emplace(node.strName, &node).second)
        m_problems.push_back("name defined twice: " + node.strName);
    return &node;
}

const CBuiltinMib::Node* CBuiltinMib::Find(std::initializer_list<UINT> path) const
{
    const Node* pNode = &m_nodes.front();
    for (const UINT nId : path)
        pNode = ChildById(pNode, nId);
    return pNode;
}

const CBuiltinMib::Node* CBuiltinMib::ChildById(const Node* pNode, UINT nId)
{
    if (!pNode)
        return nullptr;
    const auto it = pNode->byId.find(nId);
    return it == pNode->byId.end() ? nullptr : it->second;
}

const CBuiltinMib::Node* CBuiltinMib::ChildByName(const Node* pNode, std::string_view name)
{
    if (!pNode)
        return nullptr;
    const auto it = pNode->byName.find(name);
    return it == pNode->byName.end() ? nullptr : it->second;
}

bool CBuiltinMib::ToText(const UINT* pIds, UINT nCount, std::string* pstrText, const CMibTable* pLoaded) const
{
    if (!pIds || nCount == 0 || !pstrText)
        return false;
    auto startsWith = [&](UINT nPrefix) {
        return nCount > nPrefix && std::equal(kMib2Path, kMib2Path + nPrefix, pIds);
    };
    const Node* pNode = &m_nodes.front();
    UINT nFirst = 0;
    std::string strText;
    if (startsWith(kMib2Length) && m_pMib2)
        pNode = m_pMib2, nFirst = kMib2Length;
    else if (startsWith(kInternetLength) && m_pInternet)
        pNode = m_pInternet, nFirst = kInternetLength;
    else
        strText = ".";
    // The loaded modules' node on the same path, followed alongside.
    const CMibObject* pLoadedNode = nullptr;
    if (pLoaded)
    {
        UINT nDepth = 0;
        pLoadedNode = nFirst ? pLoaded->Find(pIds, nFirst, &nDepth) : pLoaded->Root();
        if (nDepth != nFirst)
            pLoadedNode = nullptr;
    }
    strText.reserve(strText.size() + 12 * (nCount - nFirst));
    for (UINT i = nFirst; i < nCount; ++i)
    {
        if (i > nFirst)
            strText += '.';
        pNode = pNode && !pNode->bNumericChildren ? ChildById(pNode, pIds[i]) : nullptr;
        pLoadedNode = CMibTable::Child(pLoadedNode, pIds[i]);
        if (pNode)
            strText += pNode->strName;
        else if (pLoadedNode && !pLoadedNode->strName.empty())
            strText += pLoadedNode->strName;
        else
            strText += std::to_string(pIds[i]);
    }
    *pstrText = std::move(strText);
    return true;
}

bool CBuiltinMib::Parse(std::string_view text, std::vector<UINT>* pIds) const
{
    if (text.empty() || !pIds)
        return false;
    std::vector<UINT> ids;
    const Node* pNode = &m_nodes.front();
    if (text.front() == '.')
        text.remove_prefix(1);
    else if (m_pMib2)
        ids.assign(std::begin(kMib2Path), std::end(kMib2Path)), pNode = m_pMib2;
    else
        return false;
    if (text.empty())
        return false;
    for (;;)
    {
        const size_t nDot = text.find('.');
        const std::string_view part = text.substr(0, nDot);
        UINT nId = 0;
        if (ParseNumber(part, &nId))
            pNode = ChildById(pNode, nId);
        else if ((pNode = ChildByName(pNode, part)) != nullptr)
            nId = pNode->nId;
        else
            return false;
        ids.push_back(nId);
        if (nDot == std::string_view::npos)
            break;
        text.remove_prefix(nDot + 1);
    }
    *pIds = std::move(ids);
    return true;
}

#include "platform/mibparse/MibTable.h"
#include <algorithm>
#include <atomic>

namespace {
std::shared_ptr<const CMibTable> g_pCurrent;  // only through the atomic functions below
}

std::string CMibObject::EnumLabel(long nValue) const
{
    const auto it = std::find_if(enums.begin(), enums.end(), [&](const auto& e) { return e.first == nValue; });
    return it == enums.end() ? std::string() : it->second + "(" + std::to_string(nValue) + ")";
}

CMibTable::CMibTable()
{
    m_objects.emplace_back();
}

const CMibObject* CMibTable::Child(const CMibObject* pParent, UINT nId)
{
    if (!pParent)
        return nullptr;
    const auto it = pParent->children.find(nId);
    return it == pParent->children.end() ? nullptr : it->second;
}

const CMibObject* CMibTable::Find(const UINT* pIds, UINT nCount, UINT* pnDepth) const
{
    const CMibObject* pFound = nullptr;
    UINT nDepth = 0;
    for (const CMibObject* pNode = Root(); nDepth < nCount; ++nDepth) {
        pNode = Child(pNode, pIds[nDepth]);
        if (!pNode)
            break;
        pFound = pNode;
    }
    if (pnDepth)
        *pnDepth = pFound ? nDepth : 0;
    return pFound;
}

std::string CMibTable::OidText(const CMibObject* pObject)
{
    std::vector<UINT> ids;
    for (; pObject && pObject->pParent; pObject = pObject->pParent)
        ids.push_back(pObject->nId);
    std::string strText;
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        strText += "." + std::to_string(*it);
    return strText;
}

CMibObject* CMibTable::Add(const std::vector<UINT>& path)
{
    CMibObject* pNode = &m_objects.front();
    for (const UINT nId : path) {
        const auto it = pNode->children.find(nId);
        if (it != pNode->children.end()) {
            pNode = const_cast<CMibObject*>(it->second);  // still being built: nothing shares it yet
            continue;
        }
        CMibObject& child = m_objects.emplace_back();
        child.nId = nId;
        child.pParent = pNode;
        pNode->children.emplace(nId, &child);
        pNode = &child;
    }
    return pNode;
}

std::shared_ptr<const CMibTable> CurrentMibTable()
{
    return std::atomic_load(&g_pCurrent);
}

void PublishMibTable(std::shared_ptr<const CMibTable> pTable)
{
    std::atomic_store(&g_pCurrent, std::move(pTable));
}

#include "treelist/TreeItem.h"
#include "treelist/NodeInfo.h"
#include <vector>

void CTreeItem::Chain::Append(CTreeItem* pItem)
{
    pItem->m_pPrevSibling = pLast;
    pItem->m_pNextSibling = nullptr;
    if (pLast)
        pLast->m_pNextSibling = pItem;
    else
        pFirst = pItem;
    pLast = pItem;
    ++nCount;
}

void CTreeItem::Chain::Unlink(CTreeItem* pItem)
{
    (pItem->m_pPrevSibling ? pItem->m_pPrevSibling->m_pNextSibling : pFirst) = pItem->m_pNextSibling;
    (pItem->m_pNextSibling ? pItem->m_pNextSibling->m_pPrevSibling : pLast) = pItem->m_pPrevSibling;
    pItem->m_pPrevSibling = pItem->m_pNextSibling = nullptr;
    --nCount;
}

// Descendants are detached before they are deleted, so each destructor below
// finds no children and the whole subtree goes without recursion.
CTreeItem::~CTreeItem()
{
    std::vector<CTreeItem*> pending;
    for (CTreeItem* p = m_children.pFirst; p; p = p->m_pNextSibling)
        pending.push_back(p);
    m_children = Chain();
    while (!pending.empty()) {
        CTreeItem* pNode = pending.back();
        pending.pop_back();
        for (CTreeItem* p = pNode->m_children.pFirst; p; p = p->m_pNextSibling)
            pending.push_back(p);
        pNode->m_children = Chain();
        delete pNode;
    }
}

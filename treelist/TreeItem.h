#pragma once
// One node of the tree shown by CTreeListCtrl (also reachable as
// CTreeListCtrl::CTreeItem). Nodes are created and linked only by the control;
// everyone else reads them through the control's accessors.
//
// Ownership: a node owns its children and its own CNodeInfo.
#include "platform/WinTypes.h"
#include "treelist/NodeInfo.h"
#include <memory>

class CTreeListCtrl;

class CTreeItem
{
public:
    // Frees every descendant and their infos (iteratively: depth costs no stack).
    ~CTreeItem();
    CTreeItem(const CTreeItem&) = delete;
    CTreeItem& operator=(const CTreeItem&) = delete;

private:
    friend class CTreeListCtrl;
    CTreeItem() = default;

    // The level (1 for a root) is not kept: CTreeListCtrl::LevelOf counts it
    // up the parent chain.

    // Nodes in sibling order, linked through the nodes themselves: a node's
    // children, or the control's roots. O(1) append and unlink.
    struct Chain
    {
        CTreeItem* pFirst = nullptr;  // Not owned by the chain itself.
        CTreeItem* pLast = nullptr;   // Not owned.
        int nCount = 0;
        void Append(CTreeItem* pItem);
        void Unlink(CTreeItem* pItem);
    };

    Chain m_children;                      // the nodes are owned by this node
    CTreeItem* m_pNextSibling = nullptr;   // Not owned.
    CTreeItem* m_pPrevSibling = nullptr;   // Not owned.
    CTreeItem* m_pParentNode = nullptr;    // Not owned; null for a root.
    std::unique_ptr<CNodeInfo> m_pInfo;    // Owned.
    BOOL m_bCollapsed = FALSE;
    // Row of the node while shown, -1 while hidden. Rows below the control's
    // renumbering mark may be stale; the control checks before it trusts one.
    int m_nRow = -1;
    // While the control filters its rows: the node neither matches nor has a
    // descendant that does, so it has no row.
    bool m_bFilteredOut = false;
    // While the control filters its rows: m_bCollapsed as it will be once the
    // filter is cleared.
    BOOL m_bCollapsedUnfiltered = TRUE;
};

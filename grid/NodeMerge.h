#pragma once
// One change that a cleaning thread asks the grid to make to a node of its
// subtree (payload of WM_CLEAN_UPDATE; the sender's, valid during the call).
//
// The fold: N's only child C (m_pChild) and every further single child below it,
// m_nChain nodes in all, go into N. N's label gets each folded label after a ".",
// N takes the cells of the last folded node and that node's children (moved,
// with their subtrees), and the folded nodes leave the tree. Then, with m_bLeaf,
// N (now without children) gets the leaf icon.
#include "platform/WinTypes.h"

class CTreeItem;

struct CNodeMerge
{
    CTreeItem* m_pNode = nullptr;   // N; Not owned (the tree's).
    CTreeItem* m_pChild = nullptr;  // first folded node, null when nothing is folded; Not owned.
    int m_nChain = 0;               // nodes folded, 0 when m_pChild is null
    BOOL m_bLeaf = FALSE;           // N ends without children
};

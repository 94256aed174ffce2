// Find and filter over the whole tree. Both walk the nodes in pre-order with
// the sibling and parent links, so no step needs the rows. A filter keeps two
// flags on every node: whether it is hidden, and the expansion the node will
// have again once the filter is cleared; the rows are then rebuilt in one block.
#include "platform/cursor/WaitCursor.h"
#include "treelist/TreeListCtrl.h"

// ===========================================================================
// Pre-order over every root

CTreeItem* CTreeListCtrl::PreOrderNext(CTreeItem* pNode) const
{
    if (pNode->m_children.pFirst)
        return pNode->m_children.pFirst;
    for (CTreeItem* p = pNode; p; p = p->m_pParentNode)
        if (p->m_pNextSibling)
            return p->m_pNextSibling;
    return nullptr;
}

CTreeItem* CTreeListCtrl::PreOrderPrev(CTreeItem* pNode) const
{
    CTreeItem* p = pNode->m_pPrevSibling;
    if (!p)
        return pNode->m_pParentNode;
    while (p->m_children.pLast)
        p = p->m_children.pLast;
    return p;
}

CTreeItem* CTreeListCtrl::LastInPreOrder() const
{
    CTreeItem* p = m_roots.pLast;
    while (p && p->m_children.pLast)
        p = p->m_children.pLast;
    return p;
}

std::vector<CTreeItem*> CTreeListCtrl::NodesInPreOrder() const
{
    std::vector<CTreeItem*> nodes;
    for (CTreeItem* p = m_roots.pFirst; p; p = PreOrderNext(p))
        nodes.push_back(p);
    return nodes;
}

// ===========================================================================
// Find

CTreeItem* CTreeListCtrl::FindNode(const CTreeMatcher& matcher, CTreeItem* pFrom, BOOL bForward, BOOL bIncludeFrom,
                                   BOOL* pbWrapped) const
{
    BOOL bWrapped = FALSE;
    CTreeItem* const pFirst = bForward ? m_roots.pFirst : LastInPreOrder();
    const auto step = [&](CTreeItem* p) {
        CTreeItem* pNext = bForward ? PreOrderNext(p) : PreOrderPrev(p);
        if (!pNext)
            bWrapped = TRUE;
        return pNext ? pNext : pFirst;
    };
    CTreeItem* pFound = nullptr;
    if (pFirst && !matcher.IsEmpty()) {
        CTreeItem* const pStart = pFrom ? pFrom : pFirst;
        const bool bInclude = bIncludeFrom || !pFrom;
        for (CTreeItem* p = bInclude ? pStart : step(pStart);;) {
            if (!p->m_bFilteredOut && matcher.Matches(*p->m_pInfo)) {
                pFound = p;
                break;
            }
            CTreeItem* pNext = step(p);
            if (bInclude ? pNext == pStart : p == pStart)
                break;
            p = pNext;
        }
    }
    if (pbWrapped)
        *pbWrapped = pFound ? bWrapped : FALSE;
    return pFound;
}

CTreeListCtrl::CFindResult CTreeListCtrl::FindAndShow(const CTreeMatcher& matcher, EFindStep eStep)
{
    CTreeItem* pFrom = NodeAtRow(SelectedRow());
    if (pFrom && pFrom == m_pFoundShown && m_pFoundNode)
        pFrom = m_pFoundNode;
    CFindResult result;
    result.pMatch = FindNode(matcher, pFrom, eStep != fsPrevious, eStep == fsAgain, &result.bWrapped);
    if (!result.pMatch)
        return result;
    result.pShown = ShowFound(result.pMatch);
    m_pFoundNode = result.pMatch;
    m_pFoundShown = result.pShown;
    return result;
}

// Expands the collapsed ancestors from the top down until one may not expand;
// selects the match, or that ancestor (shown, as the ones above it are).
CTreeItem* CTreeListCtrl::ShowFound(CTreeItem* pMatch)
{
    std::vector<CTreeItem*> ancestors;
    for (CTreeItem* p = pMatch->m_pParentNode; p; p = p->m_pParentNode)
        ancestors.push_back(p);
    CTreeItem* pShown = pMatch;
    const BOOL bRedraw = IsRedrawOn();
    SetRedraw(FALSE);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        CTreeItem* pAncestor = *it;
        if (!pAncestor->m_bCollapsed)
            continue;
        const int nRow = RowOfNode(pAncestor);
        if (!MayExpand(pAncestor, nRow)) {
            pShown = pAncestor;
            break;
        }
        ExpandNode(pAncestor, nRow);
        AfterExpand(pAncestor, nRow);
    }
    const int nRow = RowOfNode(pShown);
    SelectAndFocus(nRow);
    SetRedraw(bRedraw);
    EnsureVisible(nRow, FALSE);
    Invalidate();
    return pShown;
}

// A node about to be freed, with its subtree, takes the find position with it.
void CTreeListCtrl::ForgetFound(CTreeItem* pDeleted)
{
    if (m_pFoundNode && IsInSubtree(pDeleted, m_pFoundNode))
        m_pFoundNode = nullptr;
    if (m_pFoundShown && IsInSubtree(pDeleted, m_pFoundShown))
        m_pFoundShown = nullptr;
}

// ===========================================================================
// Filter

int CTreeListCtrl::ApplyFilter(const CTreeMatcher& matcher)
{
    CWaitCursor wait;
    const std::vector<CTreeItem*> nodes = NodesInPreOrder();
    const bool bFirst = !m_pFilter;
    for (CTreeItem* p : nodes) {
        if (bFirst)
            p->m_bCollapsedUnfiltered = p->m_bCollapsed;
        p->m_bFilteredOut = true;
        if (p->m_children.pFirst)
            p->m_bCollapsed = TRUE;
        p->m_nRow = -1;
    }
    CancelWholeTreeJob();
    m_pFilter = std::make_unique<CTreeMatcher>(matcher);
    // Children come after their parent in pre-order: from the back, a node that
    // matches or has a child that does is known before its parent is reached.
    int nMatches = 0;
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        CTreeItem* p = *it;
        if (matcher.Matches(*p->m_pInfo)) {
            ++nMatches;
            p->m_bFilteredOut = false;
        }
        if (!p->m_bFilteredOut && p->m_pParentNode)
            p->m_pParentNode->m_bFilteredOut = false;
    }
    RebuildRows(true);
    return nMatches;
}

void CTreeListCtrl::ClearFilter()
{
    if (!m_pFilter)
        return;
    CancelWholeTreeJob();
    CWaitCursor wait;
    m_pFilter.reset();
    for (CTreeItem* p = m_roots.pFirst; p; p = PreOrderNext(p)) {
        p->m_bFilteredOut = false;
        p->m_bCollapsed = p->m_bCollapsedUnfiltered;
        p->m_nRow = -1;
    }
    RebuildRows(false);
}

void CTreeListCtrl::RebuildRows(bool bOpenToMatches)
{
    CTreeItem* pSelected = NodeAtRow(SelectedRow());
    std::vector<CTreeItem*> rows;
    std::vector<CTreeItem*> pending;
    for (CTreeItem* pRoot = m_roots.pLast; pRoot; pRoot = pRoot->m_pPrevSibling)
        if (!pRoot->m_bFilteredOut)
            pending.push_back(pRoot);
    while (!pending.empty()) {
        CTreeItem* p = pending.back();
        pending.pop_back();
        const int nRow = static_cast<int>(rows.size());
        rows.push_back(p);
        if (bOpenToMatches && HasChildrenToShow(p) && MayExpand(p, nRow))
            p->m_bCollapsed = FALSE;
        if (!p->m_bCollapsed)
            PushChildrenToShow(p, pending);
    }
    const BOOL bRedraw = IsRedrawOn();
    SetRedraw(FALSE);
    DeleteItems(0, GetItemCount());
    RowsRemoved(0);
    InsertNodeRows(0, rows);
    const int nSelected = RowOfNode(pSelected);
    if (nSelected >= 0)
        SelectAndFocus(nSelected);
    SetRedraw(bRedraw);
    if (nSelected >= 0)
        EnsureVisible(nSelected, FALSE);
    Invalidate();
}

// Adding a child without its row collapses the parent and everything below it
// (see AddChildNode); the flags kept for the cleared filter follow suit.
void CTreeListCtrl::KeepUnfilteredState(CTreeItem* pParent, BOOL bShowNow)
{
    if (pParent->m_bCollapsedUnfiltered)
        return;
    bool bRowWithoutFilter = bShowNow != FALSE;
    for (const CTreeItem* p = pParent; bRowWithoutFilter && p->m_pParentNode; p = p->m_pParentNode)
        bRowWithoutFilter = !p->m_pParentNode->m_bCollapsedUnfiltered;
    if (bRowWithoutFilter)
        return;
    std::vector<CTreeItem*> pending{pParent};
    while (!pending.empty()) {
        CTreeItem* p = pending.back();
        pending.pop_back();
        p->m_bCollapsedUnfiltered = TRUE;
        for (CTreeItem* pChild = p->m_children.pFirst; pChild; pChild = pChild->m_pNextSibling)
            if (!pChild->m_bCollapsedUnfiltered && pChild->m_children.pFirst)
                pending.push_back(pChild);
    }
}

// A node added under hidden ancestors matches: they come back, collapsed, and
// the topmost of them gets its row when its parent shows its children.
void CTreeListCtrl::ShowFilteredPath(CTreeItem* pNode)
{
    CTreeItem* pTop = pNode;
    for (CTreeItem* p = pNode; p && p->m_bFilteredOut; p = p->m_pParentNode) {
        p->m_bFilteredOut = false;
        p->m_bCollapsed = TRUE;
        pTop = p;
    }
    if (IsShown(pTop))
        InsertNodeRows(RowAfterSubtree(pTop), {pTop});
}

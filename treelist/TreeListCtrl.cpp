#include "treelist/TreeListCtrl.h"
#include "platform/memory/FreedMemory.h"

#include "platform/cursor/WaitCursor.h"
#include "platform/gdi/ImageList.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/listctrl/VirtualKeys.h"
#include "ui/HtmlToolTip.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>
#include <memory>
#include <utility>

namespace {

constexpr int kDragTimerMs = 300;
constexpr int kTipDelayMs = 500;
constexpr int kTipScreenMargin = 100;

CTreeListCtrl::POSITION ToPosition(CTreeItem* pItem)
{
    return reinterpret_cast<CTreeListCtrl::POSITION>(pItem);
}

CTreeItem* FromPosition(CTreeListCtrl::POSITION pos)
{
    return reinterpret_cast<CTreeItem*>(pos);
}

// The tooltip treats "<" as the start of markup; "<<" shows one "<".
std::string EscapeForTip(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        escaped += c;
        if (c == '<')
            escaped += '<';
    }
    return escaped;
}

}  // namespace

CTreeListCtrl::CTreeListCtrl(QWidget* pParent) : CListCtrl(pParent), m_pTip(CHtmlToolTip::Acquire())
{
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
}

CTreeListCtrl::~CTreeListCtrl()
{
    if (m_bDragging) {
        CImageList::DragLeave(viewport());
        CImageList::EndDrag();
    }
    CancelWholeTreeJob();
    FreeAllNodes();
}

// ===========================================================================
// Node accessors

CTreeItem* CTreeListCtrl::ParentOf(const CTreeItem* pNode) const
{
    return pNode ? pNode->m_pParentNode : nullptr;
}

CNodeInfo* CTreeListCtrl::InfoOf(const CTreeItem* pNode) const
{
    return pNode ? pNode->m_pInfo.get() : nullptr;
}

void CTreeListCtrl::SetInfoOf(CTreeItem* pNode, std::unique_ptr<CNodeInfo> pInfo)
{
    if (pNode && pInfo) {
        JobNodeChanged(pNode);
        pNode->m_pInfo = std::move(pInfo);
    }
}

BOOL CTreeListCtrl::IsCollapsed(const CTreeItem* pNode) const
{
    return pNode && pNode->m_bCollapsed ? TRUE : FALSE;
}

// Kept nowhere: a level on every node would have to be rewritten through a
// whole subtree each time a cleaning moves one up.
int CTreeListCtrl::LevelOf(const CTreeItem* pNode) const
{
    if (!pNode)
        return -1;
    int nLevel = 1;
    for (const CTreeItem* p = pNode->m_pParentNode; p; p = p->m_pParentNode)
        ++nLevel;
    return nLevel;
}

// A hidden node's number is always -1; a shown node's may be stale and is
// checked against the row before it is trusted.
int CTreeListCtrl::CachedRowOf(CTreeItem* pNode)
{
    if (!pNode || pNode->m_nRow < 0)
        return -1;
    if (NodeAtRow(pNode->m_nRow) == pNode)
        return pNode->m_nRow;
    return FindRowFrom(pNode);
}

CTreeItem* CTreeListCtrl::FirstChildToShow(const CTreeItem* pNode) const
{
    CTreeItem* pChild = pNode->m_children.pFirst;
    while (pChild && pChild->m_bFilteredOut)
        pChild = pChild->m_pNextSibling;
    return pChild;
}

CTreeItem* CTreeListCtrl::NextSiblingToShow(const CTreeItem* pNode) const
{
    CTreeItem* pNext = pNode->m_pNextSibling;
    while (pNext && pNext->m_bFilteredOut)
        pNext = pNext->m_pNextSibling;
    return pNext;
}

int CTreeListCtrl::ChildCount(const CTreeItem* pNode) const
{
    return pNode ? pNode->m_children.nCount : 0;
}

BOOL CTreeListCtrl::HasChildren(const CTreeItem* pNode) const
{
    return ChildCount(pNode) > 0 ? TRUE : FALSE;
}

CTreeListCtrl::POSITION CTreeListCtrl::FirstChildPosition(const CTreeItem* pNode) const
{
    return pNode ? ToPosition(pNode->m_children.pFirst) : nullptr;
}

CTreeItem* CTreeListCtrl::NextChild(const CTreeItem*, POSITION& pos) const
{
    CTreeItem* pItem = FromPosition(pos);
    pos = pItem ? ToPosition(pItem->m_pNextSibling) : nullptr;
    return pItem;
}

CTreeListCtrl::POSITION CTreeListCtrl::FirstRootPosition() const
{
    return ToPosition(m_roots.pFirst);
}

CTreeItem* CTreeListCtrl::NextRoot(POSITION& pos) const
{
    return NextChild(nullptr, pos);
}

int CTreeListCtrl::RootCount() const
{
    return m_roots.nCount;
}

CTreeItem* CTreeListCtrl::RootAt(int nIndex) const
{
    if (nIndex < 0)
        return nullptr;
    CTreeItem* pRoot = m_roots.pFirst;
    for (; pRoot && nIndex > 0; --nIndex)
        pRoot = pRoot->m_pNextSibling;
    return pRoot;
}

int CTreeListCtrl::RootIndexOf(const CTreeItem* pNode) const
{
    int nIndex = 0;
    for (const CTreeItem* pRoot = m_roots.pFirst; pRoot; pRoot = pRoot->m_pNextSibling, ++nIndex)
        if (pRoot == pNode)
            return nIndex;
    return -1;
}

// Nodes are made only by this control, and only roots lack a parent.
BOOL CTreeListCtrl::IsRootNode(const CTreeItem* pNode) const
{
    return pNode && !pNode->m_pParentNode ? TRUE : FALSE;
}

CTreeItem* CTreeListCtrl::NodeAtRow(int nRow) const
{
    return reinterpret_cast<CTreeItem*>(GetItemData(nRow));
}

// ===========================================================================
// Tree structure helpers

CTreeItem* CTreeListCtrl::NewNode(std::unique_ptr<CNodeInfo> pInfo)
{
    auto pNode = new CTreeItem;  // owned by its parent or the roots from the caller's next step
    pNode->m_pInfo = pInfo ? std::move(pInfo) : std::make_unique<CNodeInfo>();
    if (m_pFilter)
        pNode->m_bFilteredOut = !m_pFilter->Matches(*pNode->m_pInfo);
    return pNode;
}

// A million nodes take the thread that frees them a second; nothing refers to
// them once they are off the roots, so another thread may.
void CTreeListCtrl::FreeAllNodes()
{
    std::vector<std::unique_ptr<CTreeItem>> roots;
    while (CTreeItem* pRoot = m_roots.pFirst) {
        m_roots.Unlink(pRoot);
        roots.emplace_back(pRoot);
    }
    if (!roots.empty())
        FreeInBackground(std::move(roots));
}

void CTreeListCtrl::DeleteNode(CTreeItem* pNode)
{
    ForgetFound(pNode);
    delete pNode;
}

void CTreeListCtrl::Unlink(CTreeItem* pNode)
{
    if (pNode->m_pParentNode)
        pNode->m_pParentNode->m_children.Unlink(pNode);
    else
        m_roots.Unlink(pNode);
}

BOOL CTreeListCtrl::IsShown(const CTreeItem* pNode) const
{
    if (!pNode)
        return FALSE;
    const CTreeItem* p = pNode;
    for (; p->m_pParentNode; p = p->m_pParentNode)
        if (p->m_bFilteredOut || p->m_pParentNode->m_bCollapsed)
            return FALSE;
    return IsRootNode(p) && !p->m_bFilteredOut;
}

bool CTreeListCtrl::HasChildrenToShow(const CTreeItem* pNode) const
{
    for (const CTreeItem* p = pNode->m_children.pFirst; p; p = p->m_pNextSibling)
        if (!p->m_bFilteredOut)
            return true;
    return false;
}

// Last child first, so that popping the stack visits them in sibling order.
void CTreeListCtrl::PushChildrenToShow(CTreeItem* pNode, std::vector<CTreeItem*>& stack) const
{
    for (CTreeItem* pChild = pNode->m_children.pLast; pChild; pChild = pChild->m_pPrevSibling)
        if (!pChild->m_bFilteredOut)
            stack.push_back(pChild);
}

// The first shown node after the subtree is the next sibling of the node or of
// its nearest ancestor that has one the filter leaves (all shown, as the node is).
int CTreeListCtrl::RowAfterSubtree(CTreeItem* pNode)
{
    for (CTreeItem* p = pNode; p; p = p->m_pParentNode)
        for (CTreeItem* pNext = p->m_pNextSibling; pNext; pNext = pNext->m_pNextSibling)
            if (!pNext->m_bFilteredOut)
                return RowOfNode(pNext);
    return GetItemCount();
}

// ===========================================================================
// Rows

CListRow CTreeListCtrl::RowFor(CTreeItem* pNode, int nLevel) const
{
    const CNodeInfo& info = *pNode->m_pInfo;
    CListRow row;
    row.nCallbackCells = CListRow::kAllCallback;  // texts are read from the node
    row.lParam = reinterpret_cast<LPARAM>(pNode);
    row.nIndent = nLevel >= 0 ? nLevel : LevelOf(pNode);
    if (info.IsChecked())
        row.nState = INDEXTOSTATEIMAGEMASK(2);
    return row;
}

void CTreeListCtrl::InsertNodeRows(int nRow, const std::vector<CTreeItem*>& nodes)
{
    std::vector<CListRow> rows;
    rows.reserve(nodes.size());
    for (CTreeItem* pNode : nodes)
        rows.push_back(RowFor(pNode));
    InsertBuiltRows(nRow, nodes, std::move(rows));
}

void CTreeListCtrl::InsertBuiltRows(int nRow, const std::vector<CTreeItem*>& nodes, std::vector<CListRow> rows)
{
    if (nodes.empty())
        return;
    for (size_t i = 0; i < nodes.size(); ++i)
        nodes[i]->m_nRow = nRow + static_cast<int>(i);
    InsertItems(nRow, std::move(rows));
    RowsInserted(nRow, static_cast<int>(nodes.size()));
}

void CTreeListCtrl::RowsInserted(int nRow, int nCount)
{
    if (m_nRenumberMark >= nRow)
        m_nRenumberMark = nRow + nCount;
}

void CTreeListCtrl::RowsRemoved(int nRow)
{
    m_nRenumberMark = std::min(m_nRenumberMark, nRow);
}

int CTreeListCtrl::FindRowFrom(CTreeItem* pNode)
{
    const int nCount = GetItemCount();
    while (m_nRenumberMark < nCount) {
        CTreeItem* pAtRow = NodeAtRow(m_nRenumberMark);
        if (pAtRow)
            pAtRow->m_nRow = m_nRenumberMark;
        ++m_nRenumberMark;
        if (pAtRow == pNode)
            return m_nRenumberMark - 1;
    }
    return -1;
}

// The shown descendants of an expanded node are exactly the rows after it, so
// they go as one block; every expanded node met on the way ends collapsed.
int CTreeListCtrl::HideDescendants(CTreeItem* pNode, int nRow)
{
    if (pNode->m_bCollapsed || !pNode->m_children.pFirst)
        return 0;
    int nHidden = 0;
    std::vector<CTreeItem*> pending{pNode};
    while (!pending.empty()) {
        CTreeItem* pExpanded = pending.back();
        pending.pop_back();
        pExpanded->m_bCollapsed = TRUE;
        for (CTreeItem* pChild = pExpanded->m_children.pFirst; pChild; pChild = pChild->m_pNextSibling) {
            if (pChild->m_bFilteredOut)
                continue;  // it had no row
            pChild->m_nRow = -1;
            ++nHidden;
            if (!pChild->m_bCollapsed && pChild->m_children.pFirst)
                pending.push_back(pChild);
        }
    }
    if (nRow >= 0) {
        DeleteItems(nRow, nHidden);
        RowsRemoved(nRow);
    }
    return nHidden;
}

// ===========================================================================
// Structural operations

CTreeItem* CTreeListCtrl::AddRootNode(std::unique_ptr<CNodeInfo> pInfo)
{
    CTreeItem* pNode = NewNode(std::move(pInfo));
    m_roots.Append(pNode);
    if (!pNode->m_bFilteredOut)
        InsertNodeRows(GetItemCount(), {pNode});
    return pNode;
}

// The row goes in only when the parent is shown and expanded; in every other
// case the child stays hidden and the parent ends collapsed, which keeps the
// rows equal to the shown nodes.
CTreeItem* CTreeListCtrl::AddChildNode(CTreeItem* pParent, std::unique_ptr<CNodeInfo> pInfo, BOOL bShowNow)
{
    if (!pParent)
        return nullptr;
    if (m_pFilter)
        KeepUnfilteredState(pParent, bShowNow);
    CTreeItem* pNode = NewNode(std::move(pInfo));
    pNode->m_pParentNode = pParent;
    if (pNode->m_bFilteredOut) {
        pParent->m_children.Append(pNode);
        return pNode;
    }
    if (pParent->m_bFilteredOut)
        ShowFilteredPath(pParent);
    const bool bShown = IsShown(pParent);
    const bool bShowRow = bShowNow && bShown && !pParent->m_bCollapsed;
    if (!bShowRow && !pParent->m_bCollapsed)
        HideDescendants(pParent, bShown ? RowOfNode(pParent) + 1 : -1);
    const int nRow = bShowRow ? RowAfterSubtree(pParent) : -1;
    pParent->m_children.Append(pNode);
    if (bShowRow)
        InsertNodeRows(nRow, {pNode});
    else
        pParent->m_bCollapsed = TRUE;
    return pNode;
}

// The source subtree is listed before anything is added, so copying a node
// into its own subtree copies the subtree as it was and ends.
BOOL CTreeListCtrl::CopySubtree(CTreeItem* pNewParent, CTreeItem* pSource)
{
    if (!pNewParent || !pSource)
        return FALSE;
    struct Entry
    {
        CTreeItem* pSource;
        size_t nParent;  // index of the parent's entry
    };
    std::vector<Entry> order{{pSource, 0}};
    for (size_t i = 0; i < order.size(); ++i)
        for (CTreeItem* pChild = order[i].pSource->m_children.pFirst; pChild; pChild = pChild->m_pNextSibling)
            order.push_back({pChild, i});
    std::vector<CTreeItem*> copies(order.size());
    copies[0] = AddChildNode(pNewParent, CloneInfo(*pSource->m_pInfo), pNewParent->m_bCollapsed ? FALSE : TRUE);
    for (size_t i = 1; i < order.size(); ++i)
        copies[i] = AddChildNode(copies[order[i].nParent], CloneInfo(*order[i].pSource->m_pInfo), FALSE);
    return TRUE;
}

BOOL CTreeListCtrl::MoveChildren(CTreeItem* pFrom, CTreeItem* pTo)
{
    auto showsChildren = [this](const CTreeItem* p) { return p->m_children.pFirst && !p->m_bCollapsed && IsShown(p); };
    if (!pFrom || !pTo || IsInSubtree(pFrom, pTo) || showsChildren(pFrom) || showsChildren(pTo))
        return FALSE;
    JobChildrenMoving(pFrom);
    while (CTreeItem* pChild = pFrom->m_children.pFirst) {
        pFrom->m_children.Unlink(pChild);
        pChild->m_pParentNode = pTo;
        pTo->m_children.Append(pChild);
    }
    if (pTo->m_children.pFirst)
        pTo->m_bCollapsed = pTo->m_bCollapsedUnfiltered = TRUE;
    return TRUE;
}

// Removes the rows of the node and its shown descendants, unlinks it and
// frees it with its subtree. Returns the row it had, -1 when it had none.
int CTreeListCtrl::DetachNode(CTreeItem* pNode)
{
    JobNodeRemoving(pNode);
    const int nRow = RowOfNode(pNode);
    if (nRow >= 0) {
        const int nHidden = HideDescendants(pNode, -1);
        DeleteItems(nRow, 1 + nHidden);
        RowsRemoved(nRow);
    }
    Unlink(pNode);
    DeleteNode(pNode);
    return nRow;
}

// The rows are taken from the node itself, so a caller's stale or -1 row
// cannot remove another node's rows. A node without a row leaves the list and
// its selection alone and needs no immediate repaint (a cleaning removes
// thousands of hidden nodes); its parent's box may still change, later.
// A caller's redraw-off stays off.
void CTreeListCtrl::RemoveNode(CTreeItem* pNode, int)
{
    if (!pNode)
        return;
    if (!IsShown(pNode)) {
        DetachNode(pNode);
        Invalidate();
        return;
    }
    const BOOL bRedraw = IsRedrawOn();
    SetRedraw(FALSE);
    const int nRow = DetachNode(pNode);
    if (nRow > 0)
        SelectAndFocus(nRow < GetItemCount() ? nRow : nRow - 1);
    SetRedraw(bRedraw);
    Invalidate();
    UpdateWindow();
}

// All rows go at once (the owner hears of it through OnDeleteAllItems), then
// the nodes.
void CTreeListCtrl::RemoveAllNodes()
{
    CancelWholeTreeJob();
    const BOOL bRedraw = IsRedrawOn();
    SetRedraw(FALSE);
    DeleteAllItems();
    m_nRenumberMark = 0;
    m_nHoverRow = m_nDragRow = -1;
    m_pFoundNode = m_pFoundShown = nullptr;
    FreeAllNodes();
    SetRedraw(bRedraw);
    Invalidate();
    UpdateWindow();
}

// Children shown by their parent's expansion must start collapsed: nothing of
// theirs is shown yet.
int CTreeListCtrl::ExpandNode(CTreeItem* pNode, int nRow)
{
    if (!pNode || !pNode->m_bCollapsed || !HasChildrenToShow(pNode))
        return nRow;
    const int nActual = RowOfNode(pNode);
    if (nActual < 0)
        return nRow;
    const int nChildLevel = LevelOf(pNode) + 1;
    std::vector<CTreeItem*> children;
    std::vector<CListRow> rows;
    children.reserve(static_cast<size_t>(pNode->m_children.nCount));
    rows.reserve(children.capacity());
    for (CTreeItem* pChild = pNode->m_children.pFirst; pChild; pChild = pChild->m_pNextSibling) {
        if (!pChild->m_bFilteredOut) {
            children.push_back(pChild);
            rows.push_back(RowFor(pChild, nChildLevel));
        }
    }
    return InsertChildRows(pNode, nActual, children, std::move(rows));
}

int CTreeListCtrl::InsertChildRows(CTreeItem* pNode, int nRow, const std::vector<CTreeItem*>& children,
                                   std::vector<CListRow> rows)
{
    LVITEM item;
    item.mask = LVIF_INDENT;
    item.iItem = nRow;
    item.iIndent = LevelOf(pNode);
    SetItem(&item);
    pNode->m_bCollapsed = FALSE;
    for (CTreeItem* pChild : children)
        if (pChild->m_children.pFirst)
            pChild->m_bCollapsed = TRUE;
    InsertBuiltRows(nRow + 1, children, std::move(rows));
    return nRow + static_cast<int>(children.size());
}

void CTreeListCtrl::CollapseNode(CTreeItem* pNode)
{
    if (!pNode || !pNode->m_children.pFirst)
        return;
    const int nRow = RowOfNode(pNode);
    HideDescendants(pNode, nRow >= 0 ? nRow + 1 : -1);
}

// Same rows and last row as expanding node by node in pre-order, but every
// collapsed node met adds its whole subtree as one block of rows.
void CTreeListCtrl::ExpandSubtree(CTreeItem* pNode, int& nLastRow)
{
    if (!pNode || !HasChildrenToShow(pNode))
        return;
    if (RowOfNode(pNode) < 0) {
        nLastRow = -1;  // a hidden node cannot be expanded
        return;
    }
    CTreeItem* pLastParent = nullptr;  // last node with children in pre-order
    bool bLastWasCollapsed = false;
    std::vector<CTreeItem*> pending{pNode};
    while (!pending.empty()) {
        CTreeItem* pShown = pending.back();
        pending.pop_back();
        if (!HasChildrenToShow(pShown))
            continue;
        if (pShown->m_bCollapsed) {
            ShowWholeSubtree(pShown, pLastParent);
            bLastWasCollapsed = true;  // and so was every node below it
            continue;
        }
        pLastParent = pShown;
        bLastWasCollapsed = false;
        PushChildrenToShow(pShown, pending);
    }
    int nLastChildren = 0;
    if (bLastWasCollapsed)
        for (const CTreeItem* pChild = pLastParent->m_children.pFirst; pChild; pChild = pChild->m_pNextSibling)
            nLastChildren += pChild->m_bFilteredOut ? 0 : 1;
    nLastRow = RowOfNode(pLastParent) + nLastChildren;
}

// Expands every node of a collapsed node's subtree and inserts all their rows
// after the node's row. pLastParent becomes the subtree's last node with children.
void CTreeListCtrl::ShowWholeSubtree(CTreeItem* pTop, CTreeItem*& pLastParent)
{
    std::vector<CTreeItem*> rows;
    std::vector<CTreeItem*> pending{pTop};
    while (!pending.empty()) {
        CTreeItem* pNode = pending.back();
        pending.pop_back();
        if (pNode != pTop)
            rows.push_back(pNode);
        if (!HasChildrenToShow(pNode))
            continue;
        pNode->m_bCollapsed = FALSE;
        pLastParent = pNode;
        PushChildrenToShow(pNode, pending);
    }
    InsertNodeRows(RowOfNode(pTop) + 1, rows);
}

int CTreeListCtrl::RevealNode(CTreeItem* pNode)
{
    if (!pNode)
        return -1;
    if (IsRootNode(pNode)) {
        const int nRow = RowOfNode(pNode);
        SelectAndFocus(nRow);
        EnsureVisible(nRow, FALSE);
        return nRow;
    }
    {
        CWaitCursor wait;
        SetRedraw(FALSE);
        std::vector<CTreeItem*> ancestors;
        for (CTreeItem* p = pNode->m_pParentNode; p; p = p->m_pParentNode)
            ancestors.push_back(p);
        for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
            ExpandNode(*it, RowOfNode(*it));
    }
    const int nRow = RowOfNode(pNode);
    SelectAndFocus(nRow);
    SetRedraw(TRUE);
    EnsureVisible(nRow, FALSE);
    return nRow;
}

int CTreeListCtrl::RowOfNode(CTreeItem* pNode)
{
    if (!IsShown(pNode))
        return -1;
    return CachedRowOf(pNode);
}

CTreeItem* CTreeListCtrl::NextInTree(CTreeItem* pTop, CTreeItem* pNode, BOOL bInit, BOOL bShownOnly) const
{
    CTreeItem* const pNone = bInit ? pNode : nullptr;
    if (!pTop || !pNode)
        return pNone;
    for (const CTreeItem* p = pNode; p != pTop; p = p->m_pParentNode) {
        if (!p->m_pParentNode || (bShownOnly && p->m_pParentNode->m_bCollapsed))
            return pNone;  // not reached from pTop
    }
    if (pNode->m_children.pFirst && !(bShownOnly && pNode->m_bCollapsed))
        return pNode->m_children.pFirst;
    for (const CTreeItem* p = pNode; p != pTop; p = p->m_pParentNode)
        if (p->m_pNextSibling)
            return p->m_pNextSibling;
    return pNone;
}

BOOL CTreeListCtrl::IsInSubtree(const CTreeItem* pTop, const CTreeItem* pNode) const
{
    if (!pTop)
        return FALSE;
    for (const CTreeItem* p = pNode; p; p = p->m_pParentNode)
        if (p == pTop)
            return TRUE;
    return FALSE;
}

void CTreeListCtrl::RefreshRow(CTreeItem* pNode)
{
    JobNodeChanged(pNode);
    const int nRow = RowOfNode(pNode);
    if (nRow >= 0)
        RedrawItems(nRow, nRow);
}

std::string CTreeListCtrl::GetDispInfoText(int nItem, int nSubItem) const
{
    const CTreeItem* pNode = NodeAtRow(nItem);
    const CNodeInfo* pInfo = pNode ? InfoOf(pNode) : nullptr;
    if (!pInfo)
        return std::string();
    return nSubItem == 0 ? pInfo->GetText() : pInfo->GetSubText(nSubItem - 1);
}

// ===========================================================================
// Control operations

int CTreeListCtrl::ColumnCount() const
{
    return GetHeaderCtrl()->GetItemCount();
}

int CTreeListCtrl::SelectedRow() const
{
    return GetNextItem(-1, LVNI_SELECTED);
}

void CTreeListCtrl::MakeColumnVisible(int nColumn)
{
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nOrder = pHeader->IndexToOrder(nColumn);
    if (nOrder < 0)
        return;
    int nOffset = 0;
    for (int i = 0; i < nOrder; ++i)
        nOffset += GetColumnWidth(pHeader->OrderToIndex(i));
    const int nWidth = GetColumnWidth(nColumn);
    CRect rcRow0;
    const int x0 = GetItemRect(0, &rcRow0, LVIR_BOUNDS) ? rcRow0.left : 0;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (nOffset + x0 >= 0 && nOffset + nWidth + x0 <= rcClient.right)
        return;
    Scroll(CSize(nOffset + x0, 0));
    Invalidate();
    UpdateWindow();
}

BOOL CTreeListCtrl::ClickToggle(int x, int y, LVHITTESTINFO& ht)
{
    ht.pt = CPoint(x, y);
    const int nRow = SubItemHitTest(&ht);
    if (nRow < 0)
        return TRUE;
    CTreeItem* pNode = NodeAtRow(nRow);
    if (!pNode || !HasChildrenToShow(pNode))
        return TRUE;
    CRect rcBounds;
    GetItemRect(nRow, &rcBounds, LVIR_BOUNDS);
    if (!BoxGeometry(LevelOf(pNode), rcBounds).PtInRect(CPoint(x, y)))
        return TRUE;
    return ToggleNode(pNode, nRow, true) ? FALSE : TRUE;
}

// Expands a collapsed node or collapses an expanded one when the owner's hooks
// agree, with redraw off; then repaints the row and brings the last row into
// view. bTopFirst: row 0 is scrolled into view before a collapse.
bool CTreeListCtrl::ToggleNode(CTreeItem* pNode, int nRow, bool bTopFirst)
{
    bool bChanged = false;
    int nLast = nRow;
    SetRedraw(FALSE);
    if (pNode->m_bCollapsed) {
        if (MayExpand(pNode, nRow)) {
            nLast = ExpandNode(pNode, nRow);
            AfterExpand(pNode, nRow);
            bChanged = true;
        }
    } else if (MayCollapse(pNode)) {
        if (bTopFirst)
            EnsureVisible(0, FALSE);
        CollapseNode(pNode);
        AfterCollapse(pNode);
        nLast = RowOfNode(pNode);
        bChanged = true;
    }
    SetRedraw(TRUE);
    if (bChanged) {
        RepaintRow(nRow);
        EnsureVisible(nLast, FALSE);
    }
    return bChanged;
}

void CTreeListCtrl::SetImageSize(int nWidth, int nHeight)
{
    m_nImageWidth = nWidth;
    m_nImageHeight = nHeight;
    Invalidate();
}

// ===========================================================================
// Hooks: base behaviour

std::unique_ptr<CNodeInfo> CTreeListCtrl::CloneInfo(const CNodeInfo&)
{
    return nullptr;
}

int CTreeListCtrl::RowImageFor(CTreeItem*)
{
    return 0;
}

COLORREF CTreeListCtrl::FocusCellColor()
{
    return RGB(192, 0, 0);
}

BOOL CTreeListCtrl::MayExpand(CTreeItem*, int) { return TRUE; }
BOOL CTreeListCtrl::AfterExpand(CTreeItem*, int) { return TRUE; }
BOOL CTreeListCtrl::MayCollapse(CTreeItem*) { return TRUE; }
BOOL CTreeListCtrl::AfterCollapse(CTreeItem*) { return TRUE; }
BOOL CTreeListCtrl::MayDeleteByKey(CTreeItem*, int) { return TRUE; }
BOOL CTreeListCtrl::MayExpandAllByKey(CTreeItem*, int) { return TRUE; }
BOOL CTreeListCtrl::MayCollapseByKey(CTreeItem*, int) { return TRUE; }
BOOL CTreeListCtrl::MayExpandByKey(CTreeItem*, int) { return TRUE; }
BOOL CTreeListCtrl::HandleEnterKey() { return FALSE; }
BOOL CTreeListCtrl::AcceptClick(LVHITTESTINFO*) { return TRUE; }

// ===========================================================================
// Messages and notifications

LRESULT CTreeListCtrl::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_TREELIST_COPYTEXT)
        CopyTreeAsText();
    return CListCtrl::WindowProc(nMsg, wParam, lParam);
}

LRESULT CTreeListCtrl::OnEndLabelEdit(NMLVDISPINFO* pInfo)
{
    if (pInfo && pInfo->item.pszText && pInfo->item.iItem != -1)
        OnCellEditDone(NodeAtRow(pInfo->item.iItem), &pInfo->item);
    return 0;
}

void CTreeListCtrl::OnDblClk(NMITEMACTIVATE* pActivate)
{
    LVHITTESTINFO ht;
    ht.pt = pActivate->ptAction;
    SubItemHitTest(&ht);
    if (!AcceptClick(&ht))
        return;
    if (!ClickToggle(ht.pt.x, ht.pt.y, ht) || ht.iItem == -1)
        return;
    const int nRow = SelectedRow();
    CTreeItem* pNode = NodeAtRow(nRow);
    if (nRow == -1 || !pNode || !HasChildrenToShow(pNode))
        return;
    ToggleNode(pNode, nRow, false);
}

void CTreeListCtrl::OnKeyDown(NMLVKEYDOWN* pKey)
{
    switch (pKey->wVKey) {
    case VK_F10:
        SendParentMessage(WM_TREELIST_PRINTPREVIEW, 0, 0);
        break;
    case VK_F11:
        CopyTreeAsText();
        break;
    case VK_DELETE:
    case VK_MULTIPLY:
    case VK_ADD:
    case VK_SUBTRACT:
        HandleRowKey(pKey->wVKey);
        break;
    default:
        break;
    }
}

// Keys that act on the selected row's node; nothing without one.
void CTreeListCtrl::HandleRowKey(WORD wKey)
{
    const int nRow = SelectedRow();
    CTreeItem* pNode = NodeAtRow(nRow);
    if (nRow == -1 || !pNode)
        return;
    if (wKey == VK_DELETE) {
        if (MayDeleteByKey(pNode, nRow))
            RemoveNode(pNode, nRow);
        return;
    }
    CWaitCursor wait;
    int nLast = 0;
    if (wKey == VK_MULTIPLY) {
        SetRedraw(FALSE);
        if (MayExpandAllByKey(pNode, nRow))
            ExpandSubtree(pNode, nLast);
        SetRedraw(TRUE);
        RedrawItems(nRow, nLast);
        EnsureVisible(nLast, FALSE);
    } else if (wKey == VK_ADD) {
        if (MayExpandByKey(pNode, nRow))
            nLast = ExpandNode(pNode, nRow);
        RepaintRow(nRow);
        EnsureVisible(nLast, FALSE);
    } else {
        if (MayCollapseByKey(pNode, nRow))
            CollapseNode(pNode);
        RepaintRow(nRow);
    }
}

// ===========================================================================
// Mouse and keyboard

void CTreeListCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    HideTip();
    if (pEvent->button() != Qt::LeftButton) {
        CListCtrl::mousePressEvent(pEvent);
        return;
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QPoint pt = pEvent->position().toPoint();
    LVHITTESTINFO ht;
    ht.pt = CPoint(pt);
    SubItemHitTest(&ht);
    if (!AcceptClick(&ht))
        return;
    if (!ClickToggle(pt.x(), pt.y(), ht) || ht.iItem == -1)
        return;
    m_nCurColumn = GetHeaderCtrl()->IndexToOrder(ht.iSubItem);
    MakeColumnVisible(GetHeaderCtrl()->OrderToIndex(m_nCurColumn));
    CListCtrl::mousePressEvent(pEvent);
    OnCellClick(KeyFlagsOf(*pEvent), ht.pt, &ht, FALSE);
    RepaintRow(ht.iItem);
}

void CTreeListCtrl::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    m_ptLastMouse = pt;
    if (m_bDragging) {
        DragMove(pt, KeyFlagsOf(*pEvent));
        return;
    }
    CListCtrl::mouseMoveEvent(pEvent);
    if (!m_bDragging)
        TrackTip(pt);
}

void CTreeListCtrl::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (!m_bDragging || pEvent->button() != Qt::LeftButton) {
        CListCtrl::mouseReleaseEvent(pEvent);
        return;
    }
    m_timerDrag.stop();
    EndDragImage();
    Drop();
}

// Enter, Left and Right belong to the control and never reach the list nor the
// windows around it; everything else passes the tooltip first.
void CTreeListCtrl::keyPressEvent(QKeyEvent* pEvent)
{
    const WORD wKey = VirtualKeyOf(*pEvent);
    if (m_bDragging && wKey == VK_ESCAPE) {
        CancelDrag();
        return;
    }
    if (wKey == VK_RETURN) {
        // Enter belongs to the control whether or not it opens an editor: it
        // never reaches the window around it.
        if (!HandleEnterKey() && SelectedRow() != -1 && m_nCurColumn != -1)
            StartEditCurrentCell();
        return;
    }
    if (wKey == VK_LEFT || wKey == VK_RIGHT) {
        MoveCurrentColumn(wKey == VK_LEFT ? -1 : 1);
        return;
    }
    m_pTip->RelayEvent(pEvent);
    CListCtrl::keyPressEvent(pEvent);
}

void CTreeListCtrl::StartEditCurrentCell()
{
    const int nRow = SelectedRow();
    const int nColumn = GetHeaderCtrl()->OrderToIndex(m_nCurColumn);
    if (nColumn == 0) {
        CRect rcLabel;
        GetItemRect(nRow, &rcLabel, LVIR_LABEL);
        EditLabelCell(nRow, rcLabel);
    } else if (nColumn > 0) {
        EditCell(nRow, nColumn);
    }
}

// Past either end the column stops there and nothing else happens.
void CTreeListCtrl::MoveCurrentColumn(int nDelta)
{
    m_nCurColumn += nDelta;
    const int nLast = ColumnCount() - 1;
    if (m_nCurColumn < 0 || m_nCurColumn > nLast) {
        m_nCurColumn = m_nCurColumn < 0 ? 0 : nLast;
        return;
    }
    MakeColumnVisible(GetHeaderCtrl()->OrderToIndex(m_nCurColumn));
    const int nRow = SelectedRow();
    if (nRow != -1)
        RepaintRow(nRow);
}

void CTreeListCtrl::wheelEvent(QWheelEvent* pEvent)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    CListCtrl::wheelEvent(pEvent);
}

bool CTreeListCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const bool bScrollBar = pWatched == horizontalScrollBar() || pWatched == verticalScrollBar();
    if (bScrollBar && (pEvent->type() == QEvent::MouseButtonPress || pEvent->type() == QEvent::Wheel) && !hasFocus())
        setFocus(Qt::MouseFocusReason);
    return CListCtrl::eventFilter(pWatched, pEvent);
}

bool CTreeListCtrl::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::WindowDeactivate) {
        m_timerTip.stop();
        HideTip();
    }
    return CListCtrl::event(pEvent);
}

void CTreeListCtrl::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() == m_timerDrag.timerId())
        DragTimer();
    else if (pEvent->timerId() == m_timerTip.timerId())
        TipTimer();
    else if (pEvent->timerId() == m_timerJob.timerId())
        RunJobSlice();
    else
        CListCtrl::timerEvent(pEvent);
}

void CTreeListCtrl::RepaintRow(int nRow)
{
    CRect rcRow;
    if (!GetItemRect(nRow, &rcRow, LVIR_BOUNDS))
        return;
    InvalidateRect(rcRow);
    UpdateWindow();
}

void CTreeListCtrl::SelectAndFocus(int nRow)
{
    SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// ===========================================================================
// Drag and drop

void CTreeListCtrl::OnBeginDrag(NMLISTVIEW* pView)
{
    if (pView->iItem == -1)
        return;
    HideTip();
    m_nDragRow = pView->iItem;
    std::unique_ptr<CImageList> pImage(MakeDragImage(m_nDragRow));
    if (!pImage)
        return;
    pImage->BeginDrag(0, CPoint(0, 0));
    CImageList::DragEnter(viewport(), pView->ptAction);
    SetCapture();
    m_bDragging = TRUE;
}

void CTreeListCtrl::DragMove(const QPoint& pt, UINT nKeyFlags)
{
    m_timerDrag.stop();
    if (!HasCapture() || nKeyFlags == MK_RBUTTON || nKeyFlags == MK_MBUTTON) {
        CancelDrag();
        return;
    }
    CImageList::DragMove(CPoint(pt));
    m_nHoverRow = HitTest(CPoint(pt));
    SetDropHighlight(m_nHoverRow);
    CTreeItem* pHover = NodeAtRow(m_nHoverRow);
    const bool bCollapsedParent = m_nHoverRow != -1 && pHover && pHover->m_children.pFirst && pHover->m_bCollapsed;
    if (InScrollBand(pt.y()) != 0 || bCollapsedParent)
        m_timerDrag.start(kDragTimerMs, this);
}

// -1 in the top band, 1 in the bottom band, 0 elsewhere.
int CTreeListCtrl::InScrollBand(int y) const
{
    const int nHeight = viewport()->height();
    if (y >= 0 && y <= m_nImageHeight)
        return -1;
    if (y >= nHeight - m_nImageHeight && y <= nHeight)
        return 1;
    return 0;
}

void CTreeListCtrl::DragTimer()
{
    if (!HasCapture()) {
        CancelDrag();
        return;
    }
    m_timerDrag.start(kDragTimerMs, this);
    const QPoint pt = m_ptLastMouse;
    if (const int nBand = InScrollBand(pt.y())) {
        const int nTop = GetTopIndex();
        CImageList::DragShowNolock(FALSE);
        verticalScrollBar()->setValue(nTop + nBand);
        CImageList::DragShowNolock(TRUE);
        if (GetTopIndex() != nTop) {
            CImageList::DragMove(CPoint(pt));
            return;
        }
    }
    m_timerDrag.stop();
    CImageList::DragMove(CPoint(pt));
    m_nHoverRow = HitTest(CPoint(pt));
    CTreeItem* pHover = NodeAtRow(m_nHoverRow);
    if (m_nHoverRow == -1 || !pHover || !pHover->m_children.pFirst || !pHover->m_bCollapsed || m_nDragRow == -1
        || !MayExpand(pHover, m_nHoverRow))
        return;
    CTreeItem* pDragged = NodeAtRow(m_nDragRow);
    CImageList::DragShowNolock(FALSE);
    SetRedraw(FALSE);
    const int nLast = ExpandNode(pHover, m_nHoverRow);
    AfterExpand(pHover, m_nHoverRow);
    m_nDragRow = RowOfNode(pDragged);
    SetRedraw(TRUE);
    EnsureVisible(nLast, FALSE);
    Invalidate();
    UpdateWindow();
    CImageList::DragShowNolock(TRUE);
}

void CTreeListCtrl::SetDropHighlight(int nRow)
{
    const int nOld = GetNextItem(-1, LVNI_DROPHILITED);
    if (nOld != -1 && nOld != nRow)
        SetItemState(nOld, 0, LVIS_DROPHILITED);
    if (nRow != -1)
        SetItemState(nRow, LVIS_DROPHILITED, LVIS_DROPHILITED);
}

void CTreeListCtrl::EndDragImage()
{
    CImageList::DragLeave(viewport());
    CImageList::EndDrag();
    ReleaseCapture();
    m_bDragging = FALSE;
    if (m_nHoverRow != -1)
        SetItemState(m_nHoverRow, 0, LVIS_DROPHILITED);
}

// A cancelled drag is over: the release of the button that follows drops nothing.
void CTreeListCtrl::CancelDrag()
{
    m_timerDrag.stop();
    EndDragImage();
    m_nDragRow = -1;
    Invalidate();
    UpdateWindow();
}

BOOL CTreeListCtrl::MayDrop(CTreeItem* pDragged, CTreeItem* pTarget) const
{
    return pDragged && pTarget && !IsRootNode(pDragged) && pDragged->m_pParentNode != pTarget
        && !IsInSubtree(pDragged, pTarget) ? TRUE : FALSE;
}

void CTreeListCtrl::Drop()
{
    if (m_nHoverRow == -1 || m_nDragRow == -1 || m_nHoverRow == m_nDragRow)
        return;
    CTreeItem* pDragged = NodeAtRow(m_nDragRow);
    CTreeItem* pTarget = NodeAtRow(m_nHoverRow);
    if (!MayDrop(pDragged, pTarget))
        return;
    CWaitCursor wait;
    SetRedraw(FALSE);
    if (CopySubtree(pTarget, pDragged)) {
        SelectAndFocus(m_nHoverRow);
        m_nDragRow = -1;
        DetachNode(pDragged);
    }
    SetRedraw(TRUE);
    Invalidate();
    UpdateWindow();
}

// ===========================================================================
// Tooltips for shortened cells

std::string CTreeListCtrl::CellTip(const CTreeItem* pNode, int nColumn)
{
    const CNodeInfo& info = *pNode->m_pInfo;
    if (nColumn >= 32 || (info.TipMask() & (DWORD{1} << nColumn)) == 0)
        return "";
    return nColumn == 0 ? info.GetText() : info.GetSubText(nColumn - 1);
}

// The tip of the cell under pt; empty without a node or cell there.
std::string CTreeListCtrl::TipAt(const QPoint& pt)
{
    LVHITTESTINFO ht;
    ht.pt = CPoint(pt);
    m_nHoverRow = SubItemHitTest(&ht);
    const CTreeItem* pNode = NodeAtRow(m_nHoverRow);
    if (m_nHoverRow == -1 || !pNode || ht.iSubItem < 0)
        return "";
    return CellTip(pNode, ht.iSubItem);
}

void CTreeListCtrl::TrackTip(const QPoint& pt)
{
    if (TipAt(pt).empty()) {
        HideTip();
        return;
    }
    if (CPoint(pt) == m_ptTipMouse)
        return;
    HideTip();
    m_timerTip.start(kTipDelayMs, this);
    m_ptTipMouse = CPoint(pt);
}

void CTreeListCtrl::TipTimer()
{
    m_timerTip.stop();
    if (!hasFocus()) {
        HideTip();
        return;
    }
    m_nHoverRow = HitTest(CPoint(m_ptLastMouse));
    if (m_nHoverRow == -1) {
        HideTip();
        return;
    }
    const std::string text = TipAt(m_ptLastMouse);
    if (text.empty())
        return;
    const QPoint ptGlobal = viewport()->mapToGlobal(m_ptLastMouse);
    const QScreen* pScreen = QGuiApplication::screenAt(ptGlobal);
    if (!pScreen)
        pScreen = QGuiApplication::primaryScreen();
    const int nMaxWidth = (pScreen ? pScreen->availableGeometry().width() : 800) - kTipScreenMargin;
    m_pTip->Show(EscapeForTip(text), ptGlobal, nMaxWidth);
}

void CTreeListCtrl::HideTip()
{
    m_pTip->Hide();
}

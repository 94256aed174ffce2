// The grid window: creation, the query's threads and handle, the messages of
// the walk and the cleaning, the Edit commands and the control's hooks.
#include "grid/OidTreeGrid.h"
#include "grid/RowIcons.h"
#include "platform/gdi/Bitmap.h"
#include "platform/memory/FreedMemory.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "snmp/EnumValueText.h"
#include "snmp/MibWalk.h"
#include "snmp/WalkMessages.h"
#include "treelist/GridHeaderCtrl.h"

#include <QPointer>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kColumnWidths[] = {200, 100, 250, 150};
constexpr const char* kColumnTitles[] = {"MIB", "Type", "Value", "OID"};

} // namespace

COidTreeGrid::COidTreeGrid(QWidget* pParent)
    : CTreeListCtrl(pParent), m_pQuery(std::make_shared<CQueryState>())
{
    CBitmap bitmap;
    bitmap.CreateFromImage(DrawRowIconStrip());
    m_imageList.Create(kRowIconSize, kRowIconSize, ILC_COLOR24 | ILC_MASK, kRowIconCount, 1);
    m_imageList.Add(&bitmap, kRowIconTransparent);
    SetImageList(&m_imageList, LVSIL_SMALL);
    int cx = 0, cy = 0;
    m_imageList.GetIconSize(&cx, &cy);
    SetImageSize(cx, cy);
    SetHeaderCtrl(new CGridHeaderCtrl(this));
    NewMsgWindow();
}

COidTreeGrid::~COidTreeGrid()
{
    // Open in-place editors are closed by the tree-list control, without a
    // report: a window that closes writes nothing.
    CancelWholeTreeJob();  // its filter reads this grid's labels
    LetThreadsGo();
    m_pMsgWnd.reset();
    m_apInferred.clear();
    SetImageList(nullptr, LVSIL_SMALL);
}

void COidTreeGrid::NewMsgWindow()
{
    m_pMsgWnd = std::make_unique<CMsgWindow>(this, [this](UINT nMsg, WPARAM wParam, LPARAM lParam) {
        return WindowProc(nMsg, wParam, lParam);
    });
    m_hWalkWnd = m_pMsgWnd->Handle();
}

HWND COidTreeGrid::WindowHandle() const
{
    return m_pMsgWnd->Handle();
}

void COidTreeGrid::InitColumns()
{
    m_apInferred.clear();
    SetExtendedStyle(LVS_EX_GRIDLINES);
    for (int i = 0; i < 4; ++i)
        InsertColumn(i, kColumnTitles[i], LVCFMT_LEFT, kColumnWidths[i]);
}

// --- The query's threads ---------------------------------------------------------

void COidTreeGrid::LetThreadsGo()
{
    m_pQuery->m_bRun = 0;
    // Releases a cleaning thread blocked in a send, makes the walk leave its
    // loop before its next request, and frees what is still queued.
    m_pMsgWnd->Retire();
    const std::lock_guard<std::mutex> lock(m_pQuery->m_treeMutex);
    m_pQuery->m_bTreeGone = true;
}

void COidTreeGrid::Stop()
{
    LetThreadsGo();
    // The walk's own end message is dropped with the handle.
    m_progress.OnEnd(CWalkProgress::Clock::now(), true);
    RemoveStatuses();
    // The query's building ends: nothing more arrives for it.
    std::fill(std::begin(m_apLevelItem), std::end(m_apLevelItem), nullptr);
    std::memset(m_szPrevName, 0, sizeof m_szPrevName);
    m_nOpenCleanings = 0;
    m_bWalkEnded = true;
    m_pQuery = std::make_shared<CQueryState>();
    NewMsgWindow();
}

// The ends the query's threads would have reported: every top node loses its status.
void COidTreeGrid::RemoveStatuses()
{
    for (POSITION pos = FirstRootPosition(); pos;) {
        CTreeItem* pTop = NextRoot(pos);
        if (HasStatus(InfoOf(pTop)->GetText())) {
            SetLabel(pTop, WithoutStatus(InfoOf(pTop)->GetText()));
            RefreshRow(pTop);
        }
    }
}

void COidTreeGrid::ResetForQuery()
{
    Stop();
    m_apInferred.clear();
    m_bWalkEnded = false;
    m_strWalkAgent.clear();
    m_timeWalk = QDateTime();
    try {
        RemoveAllNodes();
    } catch (...) {
        // The query starts anyway; what could not be removed stays visible.
    }
}

bool COidTreeGrid::StartWalk(const CWalkRequest& request)
{
    if (m_pQuery->m_bWalking.load())
        return false;
    std::fill(std::begin(m_apLevelItem), std::end(m_apLevelItem), nullptr);
    std::memset(m_szPrevName, 0, sizeof m_szPrevName);
    m_bWalkEnded = false;
    m_request = request;
    m_request.m_bSnmpwalkValues = m_request.m_bSnmpwalkValues || static_cast<bool>(m_recordListener);
    m_hWalkWnd = m_pMsgWnd->Handle();
    m_pWalk = m_pQuery;  // the walk's share of the query's state
    if (!StartMibWalkThread(*this)) {
        m_bWalkEnded = true;
        return false;
    }
    m_progress.Start(CWalkProgress::Clock::now());
    m_strWalkAgent = request.m_strHost;
    m_timeWalk = QDateTime::currentDateTime();
    return true;
}

bool COidTreeGrid::ThreadsRunning() const
{
    return m_pQuery->m_bWalking.load() || m_pQuery->m_nCleaners.load() > 0;
}

// --- Messages --------------------------------------------------------------------

LRESULT COidTreeGrid::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_WALK_RECORD:
        if (std::unique_ptr<CWalkRecord> pRecord = TakeWalkRecord(wParam)) {
            m_progress.OnRecord();
            PlaceRecord(*pRecord);
            if (m_recordListener)
                m_recordListener(*pRecord);
        }
        return 0;
    case WM_WALK_DONE:
        m_progress.OnEnd(CWalkProgress::Clock::now(), false);
        OnWalkEnd(TRUE);
        return 0;
    case WM_WALK_STOPPED:
        m_progress.OnEnd(CWalkProgress::Clock::now(), true);
        OnWalkEnd(FALSE);
        return 0;
    case WM_CLEAN_UPDATE:
        return OnCleanUpdate(wParam, lParam);
    case WM_CLEAN_DONE:
        OnCleanDone(reinterpret_cast<CTreeItem*>(lParam));
        return 0;
    case WM_WALK_ERROR:
        OnWalkError(lParam);
        return 0;
    default:
        return CTreeListCtrl::WindowProc(nMsg, wParam, lParam);
    }
}

void COidTreeGrid::OnWalkEnd(BOOL bMayClean)
{
    // The walk's end message queues behind its records, so the top node is
    // complete here. Finishing closes the query's building, so the node is
    // finished and cleaned once even if another end message or a stray record
    // follows (a record then starts a top node of its own).
    FinishTopNode(bMayClean);
    const bool bFirstEnd = !m_bWalkEnded;
    m_bWalkEnded = true;
    // Without a cleaning to wait for, the query has ended with its walk, whatever
    // the walk returned; otherwise the cleanings' ends tell the view.
    if (bFirstEnd && m_nOpenCleanings == 0)
        SendParentMessage(WM_QUERY_ENDED, 0, 0);
}

void COidTreeGrid::OnWalkError(LPARAM lParam)
{
    QPointer<COidTreeGrid> pSelf(this);
    if (std::unique_ptr<char[]> pszText = TakeWalkErrorText(lParam)) {
        m_progress.OnError(pszText.get(), CWalkProgress::Clock::now());
        MessageBox(WindowHandle(), pszText.get(), "Error", MB_OK | MB_ICONSTOP);
    }
    if (!pSelf)
        return;  // the window went while its box was open
    // Only while the query the text came from is still the grid's.
    QMetaObject::invokeMethod(
        this,
        [this, pQuery = std::weak_ptr<CQueryState>(m_pQuery)] {
            if (pQuery.lock() == m_pQuery)
                SendParentMessage(WM_QUERY_ENDED, 0, 0);
        },
        Qt::QueuedConnection);
}

void COidTreeGrid::OnCleanDone(CTreeItem* pTop)
{
    if (pTop) {
        SetLabel(pTop, WithoutStatus(InfoOf(pTop)->GetText()));
        RefreshRow(pTop);
    }
    m_nOpenCleanings = std::max(0, m_nOpenCleanings - 1);
    if (!m_bWalkEnded)
        return;
    // The folds freed a node for every chain they merged, spread over the heap.
    if (m_nOpenCleanings == 0)
        ReleaseFreedMemory();
    SendParentMessage(WM_QUERY_ENDED, 0, 0);
}

void COidTreeGrid::OnDeleteAllItems()
{
    m_apInferred.clear();
    CTreeListCtrl::OnDeleteAllItems();
}

// --- Edit commands ---------------------------------------------------------------

BOOL COidTreeGrid::HasStatus(const std::string& strLabel)
{
    return strLabel.find("(Cleaning...)") != std::string::npos
        || strLabel.find("(Querying...)") != std::string::npos;
}

// A top node still being queried or cleaned is passed over, also when it is
// reached in a later slice.
void COidTreeGrid::ExpandCollapseAll(BOOL bExpand)
{
    RootFilter busy = [this](const CTreeItem* pTop) { return HasStatus(InfoOf(pTop)->GetText()) != FALSE; };
    if (bExpand)
        ExpandAll(std::move(busy));
    else
        CollapseAll(std::move(busy));
}

BOOL COidTreeGrid::HasRoots() const
{
    return RootCount() > 0;
}

CTreeListCtrl::CTreeItem* COidTreeGrid::SelectedNode()
{
    const int nRow = SelectedRow();
    if (nRow == -1 || m_nCurColumn == -1)
        return nullptr;
    return NodeAtRow(nRow);
}

BOOL COidTreeGrid::CanExpandSelected()
{
    CTreeItem* pNode = SelectedNode();
    return pNode && HasChildren(pNode) && IsCollapsed(pNode) && !HasStatus(InfoOf(pNode)->GetText());
}

void COidTreeGrid::ExpandSelected()
{
    if (CanExpandSelected()) {
        CTreeItem* pNode = SelectedNode();
        ExpandNode(pNode, RowOfNode(pNode));
    }
}

BOOL COidTreeGrid::CanCollapseSelected()
{
    CTreeItem* pNode = SelectedNode();
    return pNode && HasChildren(pNode) && !IsCollapsed(pNode);
}

void COidTreeGrid::CollapseSelected()
{
    if (CanCollapseSelected())
        CollapseNode(SelectedNode());
}

// --- Hooks ------------------------------------------------------------------------

std::unique_ptr<CNodeInfo> COidTreeGrid::CloneInfo(const CNodeInfo& info)
{
    auto pCopy = std::make_unique<CNodeInfo>();
    pCopy->CopyFrom(info);
    return pCopy;
}

int COidTreeGrid::RowImageFor(CTreeItem* pNode)
{
    if (!pNode)
        return riTopNode;
    const int nImage = InfoOf(pNode)->ImageIndex();
    if (nImage != -1)
        return nImage;
    if (!HasChildren(pNode))
        return riLeaf;
    return IsCollapsed(pNode) ? riNode : riTopNode;
}

CImageList* COidTreeGrid::MakeDragImage(int)
{
    return nullptr;
}

BOOL COidTreeGrid::MayExpand(CTreeItem* pNode, int)
{
    return InfoOf(pNode)->GetText().find(' ') == std::string::npos;
}

// An enumerated INTEGER's Value cell tells its label ("up(1)", which holds the
// number too), shortened or not; an inferred cell has no OID of its own and
// keeps the plain tip.
std::string COidTreeGrid::CellTip(const CTreeItem* pNode, int nColumn)
{
    if (nColumn == colValue) {
        const CNodeInfo* pInfo = InfoOf(pNode);
        std::string strLabel = EnumLabelOf(pInfo->GetSubText(cellOid), pInfo->GetSubText(cellType),
                                           pInfo->GetSubText(cellValue));
        if (!strLabel.empty())
            return strLabel;
    }
    return CTreeListCtrl::CellTip(pNode, nColumn);
}

BOOL COidTreeGrid::MayDeleteByKey(CTreeItem*, int)
{
    return FALSE;
}

QWidget* COidTreeGrid::OnCellClick(UINT, CPoint, LVHITTESTINFO* pHit, BOOL)
{
    CTreeItem* pNode = pHit ? NodeAtRow(pHit->iItem) : nullptr;
    if (!pNode)
        return nullptr;
    // Only a cell given a drop-down type gets an editor by click; the OID
    // tree's own cells carry none.
    CNodeInfo::CONTROLTYPE type = CNodeInfo::ctNone;
    CStringList* pChoices = nullptr;
    const int nCell = pHit->iSubItem - 1;
    if (nCell >= 0 && InfoOf(pNode)->CellControlType(nCell, type) && type == CNodeInfo::ctComboBox
        && InfoOf(pNode)->GetChoices(nCell, pChoices))
        EditComboCell(pHit->iItem, pHit->iSubItem, *pChoices);
    if (!HasChildren(pNode))
        InferFromLeaf(pNode);
    return nullptr;
}

// --- Labels -----------------------------------------------------------------------

std::string COidTreeGrid::WithoutStatus(const std::string& strLabel)
{
    return strLabel.substr(0, strLabel.find(' '));
}

void COidTreeGrid::SetLabel(CTreeItem* pNode, const std::string& strLabel)
{
    InfoOf(pNode)->SetText(strLabel);
}

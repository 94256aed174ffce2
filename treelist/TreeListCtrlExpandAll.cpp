// Expand All and Collapse All as jobs sliced on the UI thread: a cursor that
// survives whatever the loop does to the tree between two slices.
#include "treelist/TreeListCtrl.h"

#include "platform/cursor/WaitCursor.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Rows made between two looks at the clock.
constexpr int kRowsPerLook = 256;

// A block of rows from this size on goes in or out early in a slice: its one
// edit must not come on top of a slice's worth of other work. Early means
// first, or before this much work (a step or a row made counts one) and half
// the slice, so a few children appended between slices do not hold it back.
constexpr int kBlockOfItsOwn = 4096;
constexpr int kWorkBeforeBlock = 1024;

}  // namespace

// The expansion visits nodes in pre-order; the collapse in post-order, so that
// each node it collapses has only collapsed children and a block of rows of
// its own. A node's children go in as one block, whose rows (the costly part)
// are made over as many slices as they need before the block goes in.
struct CTreeListCtrl::CWholeTreeJob
{
    bool bExpand = true;
    RootFilter skip;
    CTreeItem* pTop = nullptr;     // the root worked on, or the next one to take
    bool bTopOpen = false;         // pTop was taken: pCursor is inside it
    CTreeItem* pCursor = nullptr;  // the node to visit next; null: pTop is done
    bool bDescend = false;         // collapse: go down pCursor's expanded nodes first
    // Rows made so far for pCursor's children, up to pPrepared (the last child looked at).
    std::vector<CListRow> rows;
    std::vector<CTreeItem*> nodes;
    CTreeItem* pPrepared = nullptr;
    int nChildLevel = 0;
    Clock::time_point tHalf, tEnd;
    int nSliceWork = 0;  // steps taken and rows made in the current slice
    CWaitCursor wait;

    void DropRows()
    {
        rows.clear();
        nodes.clear();
        pPrepared = nullptr;
    }
    void MoveTo(CTreeItem* pNode, bool bDown)
    {
        DropRows();
        pCursor = pNode;
        bDescend = bDown;
    }
    void NextRoot(CTreeItem* pNext)
    {
        MoveTo(nullptr, false);
        pTop = pNext;
        bTopOpen = false;
    }
    // True when an edit of nRows rows must wait for the next slice, which this
    // then ends; the step is taken again, from the same place.
    bool WaitForOwnSlice(size_t nRows)
    {
        const bool bEarly = nSliceWork == 0 || (nSliceWork < kWorkBeforeBlock && Clock::now() < tHalf);
        if (nRows < kBlockOfItsOwn || bEarly)
            return false;
        tEnd = Clock::time_point::min();
        return true;
    }
};

void CTreeListCtrl::CJobDeleter::operator()(CWholeTreeJob* pJob) const
{
    delete pJob;
}

void CTreeListCtrl::ExpandAll(RootFilter skip)
{
    StartJob(true, std::move(skip));
}

void CTreeListCtrl::CollapseAll(RootFilter skip)
{
    StartJob(false, std::move(skip));
}

void CTreeListCtrl::CancelWholeTreeJob()
{
    m_timerJob.stop();
    m_pJob.reset();
}

void CTreeListCtrl::StartJob(bool bExpand, RootFilter skip)
{
    CancelWholeTreeJob();
    m_pJob.reset(new CWholeTreeJob);
    m_pJob->bExpand = bExpand;
    m_pJob->skip = std::move(skip);
    m_pJob->pTop = m_roots.pFirst;
    RunJobSlice();
}

void CTreeListCtrl::RunJobSlice()
{
    m_timerJob.stop();
    if (!m_pJob)
        return;
    CWholeTreeJob& job = *m_pJob;
    const Clock::time_point tStart = Clock::now();
    job.tHalf = tStart + m_jobSlice / 2;
    job.tEnd = tStart + m_jobSlice;
    job.nSliceWork = 0;
    const BOOL bRedraw = IsRedrawOn();
    SetRedraw(FALSE);
    bool bMore = true;
    do {
        bMore = JobStep(job);
        ++job.nSliceWork;
    } while (bMore && Clock::now() < job.tEnd);
    SetRedraw(bRedraw);
    if (bMore)
        m_timerJob.start(0, this);
    else
        m_pJob.reset();
}

// Takes the next root the job does not pass over; false when none is left.
bool CTreeListCtrl::NextTop(CWholeTreeJob& job)
{
    while (job.pTop && ((job.skip && job.skip(job.pTop)) || job.pTop->m_bFilteredOut))
        job.pTop = job.pTop->m_pNextSibling;
    if (!job.pTop)
        return false;
    job.bTopOpen = true;
    job.MoveTo(job.pTop, true);
    return true;
}

bool CTreeListCtrl::JobStep(CWholeTreeJob& job)
{
    if (!job.bTopOpen)
        return NextTop(job);
    if (!job.pCursor) {  // the current root is done
        job.NextRoot(job.pTop->m_pNextSibling);
        return true;
    }
    return job.bExpand ? ExpandStep(job) : CollapseStep(job);
}

bool CTreeListCtrl::ExpandStep(CWholeTreeJob& job)
{
    CTreeItem* pNode = job.pCursor;
    if (!HasChildrenToShow(pNode)) {
        job.MoveTo(NextAfterSubtree(job.pTop, pNode), false);
        return true;
    }
    if (pNode->m_bCollapsed) {
        if (RowOfNode(pNode) < 0) {  // hidden since: what lies below stays as it is
            job.MoveTo(NextAfterSubtree(job.pTop, pNode), false);
            return true;
        }
        if (!PrepareRows(job) || job.WaitForOwnSlice(job.rows.size()))
            return true;  // the block goes on in the next slice
        CommitRows(job);
    }
    job.MoveTo(FirstChildToShow(pNode), false);
    return true;
}

// Makes the rows of the cursor's children from where the last slice stopped
// (children appended meanwhile included). True when every child has its row.
bool CTreeListCtrl::PrepareRows(CWholeTreeJob& job)
{
    CTreeItem* pParent = job.pCursor;
    if (!job.pPrepared) {
        job.nChildLevel = LevelOf(pParent) + 1;
        // Room for them all at once: a vector that doubles copies a large block
        // whole inside one step.
        job.rows.reserve(static_cast<size_t>(pParent->m_children.nCount));
        job.nodes.reserve(job.rows.capacity());
    }
    CTreeItem* pChild = job.pPrepared ? job.pPrepared->m_pNextSibling : pParent->m_children.pFirst;
    for (int n = 1; pChild; pChild = pChild->m_pNextSibling, ++n) {
        if (!pChild->m_bFilteredOut) {
            job.rows.push_back(RowFor(pChild, job.nChildLevel));
            job.nodes.push_back(pChild);
            ++job.nSliceWork;
        }
        job.pPrepared = pChild;
        if (n % kRowsPerLook == 0 && Clock::now() >= job.tEnd)
            return !pChild->m_pNextSibling;
    }
    return true;
}

void CTreeListCtrl::CommitRows(CWholeTreeJob& job)
{
    CTreeItem* pParent = job.pCursor;
    InsertChildRows(pParent, RowOfNode(pParent), job.nodes, std::move(job.rows));
    job.DropRows();
}

bool CTreeListCtrl::CollapseStep(CWholeTreeJob& job)
{
    CTreeItem* pNode = job.pCursor;
    if (job.bDescend) {
        while (!pNode->m_bCollapsed && HasChildrenToShow(pNode))
            pNode = FirstChildToShow(pNode);
        job.MoveTo(pNode, false);
    }
    if (!pNode->m_bCollapsed) {
        if (job.WaitForOwnSlice(static_cast<size_t>(pNode->m_children.nCount)))
            return true;
        CollapseNode(pNode);
    }
    if (pNode == job.pTop || !pNode->m_pParentNode)
        job.MoveTo(nullptr, false);
    else if (CTreeItem* pNext = NextSiblingToShow(pNode))
        job.MoveTo(pNext, true);
    else
        job.MoveTo(pNode->m_pParentNode, false);
    return true;
}

CTreeItem* CTreeListCtrl::NextAfterSubtree(const CTreeItem* pTop, const CTreeItem* pNode) const
{
    for (const CTreeItem* p = pNode; p && p != pTop; p = p->m_pParentNode)
        if (CTreeItem* pNext = NextSiblingToShow(p))
            return pNext;
    return nullptr;
}

// --- What the rest of the control tells the job -------------------------------

// pNode and its subtree are about to be freed: the job lets go of them while
// the links still lead on.
void CTreeListCtrl::JobNodeRemoving(CTreeItem* pNode)
{
    if (!m_pJob)
        return;
    CWholeTreeJob& job = *m_pJob;
    if (pNode == job.pTop) {
        job.NextRoot(pNode->m_pNextSibling);
        return;
    }
    if (!job.bTopOpen || !job.pCursor)
        return;
    if (IsInSubtree(pNode, job.pCursor)) {
        if (job.bExpand)
            job.MoveTo(NextAfterSubtree(job.pTop, pNode), false);
        else if (CTreeItem* pNext = NextSiblingToShow(pNode))
            job.MoveTo(pNext, true);
        else
            job.MoveTo(pNode->m_pParentNode, false);
    } else if (pNode->m_pParentNode == job.pCursor) {
        job.DropRows();
    }
}

// pFrom's children are about to move elsewhere (and change level): a cursor
// below pFrom goes back to pFrom, which by then has nothing below it.
void CTreeListCtrl::JobChildrenMoving(CTreeItem* pFrom)
{
    if (!m_pJob || !m_pJob->bTopOpen || !m_pJob->pCursor)
        return;
    CWholeTreeJob& job = *m_pJob;
    if (IsInSubtree(pFrom, job.pCursor))
        job.MoveTo(pFrom, false);
}

// A row made from the node's old texts would be wrong.
void CTreeListCtrl::JobNodeChanged(const CTreeItem* pNode)
{
    if (pNode && m_pJob && m_pJob->pPrepared && pNode->m_pParentNode == m_pJob->pCursor)
        m_pJob->DropRows();
}

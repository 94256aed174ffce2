// Node cleaning: every chain of single children under a finished top node is
// folded into one node with the joined label ("sysDescr" with its only child
// "0" becomes the leaf "sysDescr.0"), and nodes left without children get the
// leaf icon.
//
// A cleaning thread plans and the UI thread changes: the thread reads the child
// lists of its subtree, one level at a time, and sends the folds of a level in
// batches (WM_CLEAN_UPDATE); the UI thread applies them while the thread waits.
// The folds of one level touch disjoint subtrees, so a batch needs nothing
// from the batches before it, and the next level is read only after they are
// applied. The tree that results is the one that folding one child at a time,
// depth first, gives; a Stop can only fall between batches.
#include "grid/RowIcons.h"
#include "grid/OidTreeGrid.h"
#include "snmp/WalkMessages.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

// Updates per sent message: large enough that the round trips cost little,
// small enough that one batch never holds the UI thread for long.
constexpr std::size_t kBatchSize = 1024;

} // namespace

// Runs on the cleaning thread. Reads only child lists of nodes in its subtree,
// which only the UI thread changes, and only inside the messages sent from here;
// every read happens under the query's tree lock while the query lasts, so the
// grid and its nodes are alive whenever they are read.
class COidTreeGrid::CCleaner
{
public:
    explicit CCleaner(const CCleanBlock& block) : m_grid(*block.m_pGrid), m_query(*block.m_pQuery), m_hWnd(block.m_hWnd) {}

    // Folds pTop's subtree. Returns when done, on Stop (m_bRun cleared), when
    // the query or the window is gone, or when the grid could not apply an update.
    void Clean(CTreeItem* pTop)
    {
        std::vector<CTreeItem*> level{pTop};
        std::vector<CTreeItem*> parents;
        while (!level.empty()) {
            parents.clear();
            // One hold of the lock plans as many nodes as one batch can take.
            for (std::size_t i = 0; i < level.size();) {
                {
                    const std::lock_guard<std::mutex> lock(m_query.m_treeMutex);
                    if (!MayRead())
                        return;
                    for (; i < level.size() && m_batch.size() < kBatchSize; ++i) {
                        const CNodeMerge merge = Plan(level[i]);
                        if (merge.m_nChain > 0 || merge.m_bLeaf)
                            m_batch.push_back(merge);
                        if (!merge.m_bLeaf)
                            parents.push_back(level[i]);
                    }
                }
                if (m_batch.size() >= kBatchSize && !Flush())
                    return;
            }
            if (!Flush())
                return;
            level.clear();
            const std::lock_guard<std::mutex> lock(m_query.m_treeMutex);
            if (!MayRead())
                return;
            for (CTreeItem* pParent : parents)
                for (POSITION pos = m_grid.FirstChildPosition(pParent); pos;)
                    level.push_back(m_grid.NextChild(pParent, pos));
        }
    }

private:
    // Under the tree lock: the query lasts and has not been stopped.
    bool MayRead() const { return !m_query.m_bTreeGone && m_query.m_bRun.load() != 0; }

    // What folding pNode does: the chain of single children below it, and
    // whether pNode ends without children.
    CNodeMerge Plan(CTreeItem* pNode) const
    {
        CNodeMerge merge;
        merge.m_pNode = pNode;
        CTreeItem* pEnd = pNode;
        while (m_grid.ChildCount(pEnd) == 1) {
            POSITION pos = m_grid.FirstChildPosition(pEnd);
            pEnd = m_grid.NextChild(pEnd, pos);
            if (!merge.m_pChild)
                merge.m_pChild = pEnd;
            ++merge.m_nChain;
        }
        merge.m_bLeaf = m_grid.ChildCount(pEnd) == 0;
        return merge;
    }

    // Sends the batch and waits until it is applied. false: stop cleaning.
    bool Flush()
    {
        if (!m_batch.empty()) {
            if (!IsWindow(m_hWnd))
                return false;
            const LRESULT lApplied = SendMessage(m_hWnd, WM_CLEAN_UPDATE, reinterpret_cast<WPARAM>(m_batch.data()),
                                                 static_cast<LPARAM>(m_batch.size()));
            m_batch.clear();
            if (!lApplied)
                return false;
        }
        return m_query.m_bRun.load() != 0;
    }

    COidTreeGrid& m_grid;
    CQueryState& m_query;
    const HWND m_hWnd;
    std::vector<CNodeMerge> m_batch;
};

bool COidTreeGrid::LaunchCleaner(std::unique_ptr<CCleanBlock> pBlock)
{
    try {
        std::thread(CleaningThread, std::move(pBlock)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void COidTreeGrid::CleaningThread(std::unique_ptr<CCleanBlock> pBlock)
{
    try {
        CCleaner(*pBlock).Clean(pBlock->m_pTop);
    } catch (const std::exception&) {
        // An allocation that failed midway: the cleaning ends like a stopped one.
    }
    // Dropped when the query has ended meanwhile: its end removed the status.
    if (IsWindow(pBlock->m_hWnd))
        SendMessage(pBlock->m_hWnd, WM_CLEAN_DONE, 0, reinterpret_cast<LPARAM>(pBlock->m_pTop));
    --pBlock->m_pQuery->m_nCleaners;  // the query's own count: the grid may be gone
}

// --- UI thread ------------------------------------------------------------------

LRESULT COidTreeGrid::OnCleanUpdate(WPARAM wParam, LPARAM lParam)
{
    const auto* pMerges = reinterpret_cast<const CNodeMerge*>(wParam);
    if (!pMerges)
        return 0;
    for (LPARAM i = 0; i < lParam; ++i)
        if (!MergeChild(pMerges[i]))
            return 0;
    return 1;
}

bool COidTreeGrid::MergeChild(const CNodeMerge& merge)
{
    CTreeItem* pNode = merge.m_pNode;
    if (!pNode)
        return false;
    if (merge.m_nChain > 0 && !FoldChain(merge))
        return false;
    if (merge.m_bLeaf) {
        if (HasChildren(pNode))
            return false;
        InfoOf(pNode)->SetImageIndex(riLeaf);
    }
    RefreshRow(pNode);
    return true;
}

CTreeListCtrl::CTreeItem* COidTreeGrid::ChainEnd(const CNodeMerge& merge) const
{
    CTreeItem* pEnd = merge.m_pNode;
    for (int i = 0; i < merge.m_nChain; ++i) {
        if (ChildCount(pEnd) != 1)
            return nullptr;
        POSITION pos = FirstChildPosition(pEnd);
        pEnd = NextChild(pEnd, pos);
        if (i == 0 && pEnd != merge.m_pChild)
            return nullptr;
    }
    return pEnd;
}

// The same tree as copying the chain end's children under N and deleting the
// chain, without a copy: the children move.
bool COidTreeGrid::FoldChain(const CNodeMerge& merge)
{
    CTreeItem* pNode = merge.m_pNode;
    CTreeItem* pEnd = ChainEnd(merge);
    if (!pEnd)
        return false;
    // Each folded label follows after a "."; a label with a status keeps it at its end.
    std::string strLabel = InfoOf(pNode)->GetText();
    for (CTreeItem* pPart = pNode; pPart != pEnd;) {
        POSITION pos = FirstChildPosition(pPart);
        pPart = NextChild(pPart, pos);
        const std::string& strPart = InfoOf(pPart)->GetText();
        if (strLabel.find(' ') != std::string::npos)
            strLabel = WithoutStatus(strLabel) + "." + strPart + kCleaning;
        else
            strLabel += "." + strPart;
    }

    ForgetInferredIn(merge.m_pChild);
    if (!IsCollapsed(pNode))
        CollapseNode(pNode);  // the chain's rows go
    if (!IsCollapsed(pEnd))
        CollapseNode(pEnd);
    if (!MoveChildren(pEnd, pNode))
        return false;
    ForgetInferred(pNode);  // its cells become the variable's own
    CNodeInfo* pInfo = InfoOf(pNode);
    const CNodeInfo* pEndInfo = InfoOf(pEnd);
    pInfo->SetText(strLabel);
    pInfo->SetSubText(cellType, pEndInfo->GetSubText(cellType));
    pInfo->SetSubText(cellValue, pEndInfo->GetSubText(cellValue));
    pInfo->SetSubText(cellOid, pEndInfo->GetSubText(cellOid));
    RemoveNode(merge.m_pChild, -1);  // the chain, now without the moved children
    return true;
}

void COidTreeGrid::ForgetInferred(CTreeItem* pNode)
{
    const auto it = std::find(m_apInferred.begin(), m_apInferred.end(), pNode);
    if (it == m_apInferred.end())
        return;
    m_apInferred.erase(it);
    CNodeInfo* pInfo = InfoOf(pNode);
    pInfo->SetCellColor(cellType, CNodeInfo::NoColor);
    pInfo->SetCellColor(cellValue, CNodeInfo::NoColor);
}

void COidTreeGrid::ForgetInferredIn(CTreeItem* pTop)
{
    for (CTreeItem* pInferred : m_apInferred) {
        if (IsInSubtree(pTop, pInferred)) {
            // Nodes that move keep their cells; a listed node that is freed must
            // not stay listed. The whole inference is emptied.
            ResetInferredCells();
            return;
        }
    }
}

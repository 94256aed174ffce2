#pragma once
// The tests' view of the grid's internals: its building state, its flags and
// the steps its messages and threads take, reached without a running agent.
#include "grid/OidTreeGrid.h"

class COidTreeGridTestPeer
{
public:
    explicit COidTreeGridTestPeer(COidTreeGrid& grid) : m_grid(grid) {}

    // The flags of the current query, as its walk thread shares them.
    std::atomic<BYTE>& Run() { return m_grid.QueryState().m_bRun; }
    std::atomic<BYTE>& Walking() { return m_grid.QueryState().m_bWalking; }
    int Cleaners() const { return m_grid.QueryState().m_nCleaners.load(); }
    const std::vector<CTreeListCtrl::CTreeItem*>& Inferred() const { return m_grid.m_apInferred; }
    std::string PrevName() const { return m_grid.m_szPrevName; }
    // The agent a write goes to, as a started query leaves it.
    void SetRequest(const CWalkRequest& request) { m_grid.m_request = request; }
    bool MergeChild(const CNodeMerge& merge) { return m_grid.MergeChild(merge); }
    // How long a slice of Expand All and Collapse All works (0: one step, or 256 rows).
    void SetJobSliceTime(std::chrono::microseconds slice) { m_grid.SetJobSliceTime(slice); }
    static std::string WithoutStatus(const std::string& strLabel) { return COidTreeGrid::WithoutStatus(strLabel); }

private:
    COidTreeGrid& m_grid;
};

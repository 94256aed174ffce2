// Node cleaning: the folds, the cleaning threads' ends and counts, and what the
// view hears.
#include "GridTestUtil.h"

#include <thread>

namespace {

// After a number of cleaning updates: clears m_bRun, or answers
// an update as failed (as one that could not be applied).
class CStoppingGrid : public CTestGrid
{
public:
    int m_nStopAfter = -1;
    int m_nFailAt = -1;
    int m_nUpdates = 0;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_CLEAN_UPDATE && ++m_nUpdates == m_nFailAt)
            return 0;
        const LRESULT lResult = CTestGrid::WindowProc(nMsg, wParam, lParam);
        if (nMsg == WM_CLEAN_UPDATE && m_nUpdates == m_nStopAfter)
            QueryState().m_bRun = 0;
        return lResult;
    }
};

class CNoThreadGrid : public CTestGrid
{
protected:
    bool LaunchCleaner(std::unique_ptr<CCleanBlock>) override { return false; }
};

// Ends the walk as the walk thread does and waits for every cleaning.
void EndWalk(CTestGrid& grid)
{
    SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !grid.ThreadsRunning(); }));
    QCoreApplication::processEvents();
}

using GridClean = CGridTest;

TEST_F(GridClean, FoldsSingleChildChainsAndMarksLeaves)
{
    CTestGrid grid;
    grid.ResetForQuery();  // as the view does before a query
    Deliver(grid, "system.sysDescr.0", "OCTETSTRING", "box", ".1.3.6.1.2.1.1.1.0");
    Deliver(grid, "system.sysUpTime.0", "TIMETICKS", "5 Secs", ".1.3.6.1.2.1.1.3.0");
    for (const char* pszColumn : {"ifIndex", "ifDescr"})
        for (const char* pszRow : {"1", "2"})
            Deliver(grid, std::string("interfaces.ifTable.ifEntry.") + pszColumn + "." + pszRow, "INTEGER", pszRow);
    Deliver(grid, "snmpV2.snmpModules.snmpMIB.a.0");
    Deliver(grid, "snmpV2.snmpModules.snmpMIB.b.0");
    EXPECT_EQ(grid.InfoOf(grid.RootAt(1))->GetText(), "interfaces (Cleaning...)");
    EndWalk(grid);
    EXPECT_EQ(Dump(grid),
              "system #0\n"
              "  sysDescr.0 = OCTETSTRING|box|.1.3.6.1.2.1.1.1.0 #2\n"
              "  sysUpTime.0 = TIMETICKS|5 Secs|.1.3.6.1.2.1.1.3.0 #2\n"
              "interfaces.ifTable.ifEntry #0\n"
              "  ifIndex #1\n"
              "    1 = INTEGER|1|.1 #2\n"
              "    2 = INTEGER|2|.1 #2\n"
              "  ifDescr #1\n"
              "    1 = INTEGER|1|.1 #2\n"
              "    2 = INTEGER|2|.1 #2\n"
              "snmpV2.snmpModules.snmpMIB #0\n"
              "  a.0 = INTEGER|1|.1 #2\n"
              "  b.0 = INTEGER|1|.1 #2\n");
    ExpectConsistent(grid);
    EXPECT_EQ(grid.m_nQueryEnded, 3);  // one per cleaning that ended after the walk
}

TEST_F(GridClean, AChainAtTheTopKeepsItsStatusAndStaleUpdatesAreRefused)
{
    AppSettings.Cleaning = 0;
    CTestGrid grid;
    Deliver(grid, "snmpV2.snmpModules.snmpMIB.a.0");
    Deliver(grid, "snmpV2.snmpModules.snmpMIB.b.0");
    CTreeItem* pTop = grid.RootAt(0);
    CTreeItem* pModules = FindPath(grid, {"snmpV2 (Querying...)", "snmpModules"});
    grid.InfoOf(pTop)->SetText("snmpV2 (Cleaning...)");
    const std::string strBefore = Dump(grid);
    EXPECT_FALSE(Peer(grid).MergeChild(CNodeMerge{pTop, pModules, 3, FALSE}));  // no such chain
    EXPECT_FALSE(Peer(grid).MergeChild(CNodeMerge{pModules, pTop, 1, FALSE}));
    EXPECT_EQ(Dump(grid), strBefore);
    ASSERT_TRUE(Peer(grid).MergeChild(CNodeMerge{pTop, pModules, 1, FALSE}));
    EXPECT_EQ(grid.InfoOf(pTop)->GetText(), "snmpV2.snmpModules (Cleaning...)");
    ASSERT_TRUE(Peer(grid).MergeChild(CNodeMerge{pTop, FindPath(grid, {"snmpV2.snmpModules (Cleaning...)", "snmpMIB"}), 1, FALSE}));
    EXPECT_EQ(grid.InfoOf(pTop)->GetText(), "snmpV2.snmpModules.snmpMIB (Cleaning...)");
    ExpectConsistent(grid);
}

TEST_F(GridClean, StopOrFailureEndsACleaningPartlyFoldedWithoutStatus)
{
    CStoppingGrid stopped, failed;
    stopped.m_nStopAfter = 1;
    failed.m_nFailAt = 2;
    for (CStoppingGrid* pGrid : {&stopped, &failed}) {
        for (int i = 0; i < 2000; ++i)  // more folds than one update carries
            Deliver(*pGrid, "big.c" + std::to_string(i) + ".0");
        EndWalk(*pGrid);
        CTreeItem* pTop = pGrid->RootAt(0);
        EXPECT_EQ(pGrid->InfoOf(pTop)->GetText(), "big");
        int nFolded = 0;
        for (auto pos = pGrid->FirstChildPosition(pTop); pos;)
            nFolded += !pGrid->HasChildren(pGrid->NextChild(pTop, pos));
        EXPECT_GT(nFolded, 0);
        EXPECT_LT(nFolded, 2000);
        EXPECT_EQ(pGrid->m_nQueryEnded, 1);  // WM_CLEAN_DONE still came
        ExpectConsistent(*pGrid);
    }
    EXPECT_EQ(failed.m_nUpdates, 2);

    // No thread: the count goes back and so does the status.
    CNoThreadGrid lone;
    Deliver(lone, "a.x.0");
    EndWalk(lone);
    EXPECT_EQ(lone.InfoOf(lone.RootAt(0))->GetText(), "a");
}

TEST_F(GridClean, QueryEndsOnlyAfterTheWalkAndEachTopNodeIsCleanedOnce)
{
    CTestGrid grid;
    grid.ResetForQuery();  // a query starts: its walk has not ended yet
    Deliver(grid, "a.x.0");
    Deliver(grid, "b.x.0");  // finishes and cleans "a"
    ASSERT_TRUE(WaitUntil([&] { return !grid.ThreadsRunning(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.InfoOf(grid.RootAt(0))->GetText(), "a.x.0");
    EXPECT_EQ(grid.m_nQueryEnded, 0);

    // An end message handled ahead of records still queued (a send on the
    // window's own thread): "b" is cleaned once, and the late records start a
    // top node of their own rather than grow the subtree under cleaning.
    for (const char* pszName : {"b.y.0", "b.z.0"})
        PostMessage(grid.WindowHandle(), WM_WALK_RECORD, reinterpret_cast<WPARAM>(NewRecord(pszName)), 0, FreeWalkPayload);
    EndWalk(grid);
    ASSERT_TRUE(WaitUntil([&] { return grid.RootCount() == 3; }));
    EXPECT_EQ(Dump(grid),
              "a.x.0 = INTEGER|1|.1 #2\n"
              "b.x.0 = INTEGER|1|.1 #2\n"
              "b (Querying...) #0\n"
              "  y #1\n"
              "    0 = INTEGER|1|.1 #1\n"
              "  z #1\n"
              "    0 = INTEGER|1|.1 #1\n");
    EXPECT_EQ(grid.m_nQueryEnded, 1);
    EXPECT_FALSE(grid.ThreadsRunning());
}

TEST_F(GridClean, KeyboardExpansionDuringCleaningKeepsTreeAndRowsConsistent)
{
    CTestGrid grid;
    for (int i = 0; i < 600; ++i)
        for (int j = 0; j < 3; ++j)
            Deliver(grid, "k.g" + std::to_string(i) + ".e.c" + std::to_string(j) + ".0");
    SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
    while (grid.ThreadsRunning()) {  // what the keypad's "*" does between batches
        int nLast = 0;
        grid.ExpandSubtree(grid.RootAt(0), nLast);
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    ExpectConsistent(grid);
    EXPECT_EQ(grid.ChildCount(grid.RootAt(0)), 600);
    EXPECT_EQ(Dump(grid).find("g599.e #1\n    c0.0 = INTEGER|1|.1 #2\n") != std::string::npos, true);
}

// A cleaning that has not ended when its query ends (Stop, or the window goes):
// the label loses its status at once, the node can be expanded, and the thread,
// which keeps only the query's state, reads nothing and reports nothing after.
class CHeldCleanerGrid : public CTestGrid
{
public:
    std::vector<std::unique_ptr<CCleanBlock>> m_held;
    static void RunHeld(std::unique_ptr<CCleanBlock> pBlock) { CleaningThread(std::move(pBlock)); }

protected:
    bool LaunchCleaner(std::unique_ptr<CCleanBlock> pBlock) override
    {
        m_held.push_back(std::move(pBlock));
        return true;
    }
};

TEST_F(GridClean, AQueryEndedUnderItsCleaningLeavesNoStatusAndNothingToTouch)
{
    auto pGrid = std::make_unique<CHeldCleanerGrid>();
    pGrid->ResetForQuery();
    Deliver(*pGrid, "a.x.0");
    Deliver(*pGrid, "a.y.0");
    Deliver(*pGrid, "b.x.0");  // "a" is being cleaned
    ASSERT_EQ(pGrid->m_held.size(), 1u);
    const std::shared_ptr<const CQueryState> pQuery = pGrid->CurrentQuery();
    EXPECT_EQ(pGrid->InfoOf(pGrid->RootAt(0))->GetText(), "a (Cleaning...)");
    EXPECT_TRUE(pGrid->ThreadsRunning());

    pGrid->Stop();
    EXPECT_EQ(pGrid->InfoOf(pGrid->RootAt(0))->GetText(), "a");
    EXPECT_EQ(pGrid->InfoOf(pGrid->RootAt(1))->GetText(), "b");
    EXPECT_TRUE(pGrid->MayExpand(pGrid->RootAt(0), 0));
    EXPECT_FALSE(pGrid->ThreadsRunning());  // the grid's new query has none
    EXPECT_EQ(pQuery->m_nCleaners.load(), 1);

    // The window goes before the thread runs; the thread then touches its state only.
    auto pBlock = std::move(pGrid->m_held.front());
    pGrid.reset();
    std::thread([&] { CHeldCleanerGrid::RunHeld(std::move(pBlock)); }).join();
    EXPECT_EQ(pQuery->m_nCleaners.load(), 0);
    EXPECT_EQ(pQuery.use_count(), 1);
}

} // namespace

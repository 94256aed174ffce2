// Node cleaning: the folds and their results, the cleaning threads' ends,
// their count, and what the view hears.
#include "GridTestUtil.h"


namespace {

class GridClean : public CGridTest
{
protected:
    // Ends the walk as the walk thread would and waits for every cleaning.
    static void EndWalk(CTestGrid& grid)
    {
        SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return grid.m_nCleaners.load() == 0; }));
        QCoreApplication::processEvents();
    }
};

// After a number of cleaning updates: stops the cleaning (as Stop does), or
// answers the next update as failed (as an update that could not be applied).
class CStoppingGrid : public CTestGrid
{
public:
    int m_nStopAfter = -1;
    int m_nFailAt = -1;
    int m_nUpdates = 0;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg != WM_CLEAN_UPDATE)
            return CTestGrid::WindowProc(nMsg, wParam, lParam);
        if (++m_nUpdates == m_nFailAt)
            return 0;
        const LRESULT lResult = CTestGrid::WindowProc(nMsg, wParam, lParam);
        if (m_nUpdates == m_nStopAfter)
            m_bRun = 0;
        return lResult;
    }
};

class CNoThreadGrid : public CTestGrid
{
protected:
    BOOL LaunchCleaner(std::unique_ptr<CCleanBlock>) override { return FALSE; }
};

TEST_F(GridClean, CleaningOffKeepsTheRawShape)
{
    AppSettings.Cleaning = 0;
    CTestGrid grid;
    Deliver(grid, "system.sysDescr.0", "OCTETSTRING", "box", ".1.3.6.1.2.1.1.1.0");
    Deliver(grid, "interfaces.ifNumber.0", "INTEGER", "2", ".1.3.6.1.2.1.2.1.0");
    EndWalk(grid);
    EXPECT_EQ(Dump(grid),
              "system #0\n"
              "  sysDescr #1\n"
              "    0 = OCTETSTRING|box|.1.3.6.1.2.1.1.1.0 #1\n"
              "interfaces #0\n"
              "  ifNumber #1\n"
              "    0 = INTEGER|2|.1.3.6.1.2.1.2.1.0 #1\n");
    EXPECT_EQ(grid.m_nQueryEnded, 0);
}

TEST_F(GridClean, SystemAndTableExamples)
{
    CTestGrid grid;
    grid.m_bRun = 1;
    Deliver(grid, "system.sysDescr.0", "OCTETSTRING", "box", ".1.3.6.1.2.1.1.1.0");
    Deliver(grid, "system.sysUpTime.0", "TIMETICKS", "5 Secs", ".1.3.6.1.2.1.1.3.0");
    Deliver(grid, "interfaces.ifNumber.0", "INTEGER", "2", ".1.3.6.1.2.1.2.1.0");
    for (const char* pszColumn : {"ifIndex", "ifDescr"})
        for (const char* pszRow : {"1", "2"})
            Deliver(grid, std::string("interfaces.ifTable.ifEntry.") + pszColumn + "." + pszRow, "INTEGER", pszRow,
                    std::string(".1.3.6.1.2.1.2.2.1.") + pszColumn[2] + "." + pszRow);
    EndWalk(grid);
    EXPECT_EQ(Dump(grid),
              "system #0\n"
              "  sysDescr.0 = OCTETSTRING|box|.1.3.6.1.2.1.1.1.0 #2\n"
              "  sysUpTime.0 = TIMETICKS|5 Secs|.1.3.6.1.2.1.1.3.0 #2\n"
              "interfaces #0\n"
              "  ifNumber.0 = INTEGER|2|.1.3.6.1.2.1.2.1.0 #2\n"
              "  ifTable.ifEntry #1\n"
              "    ifIndex #1\n"
              "      1 = INTEGER|1|.1.3.6.1.2.1.2.2.1.I.1 #2\n"
              "      2 = INTEGER|2|.1.3.6.1.2.1.2.2.1.I.2 #2\n"
              "    ifDescr #1\n"
              "      1 = INTEGER|1|.1.3.6.1.2.1.2.2.1.D.1 #2\n"
              "      2 = INTEGER|2|.1.3.6.1.2.1.2.2.1.D.2 #2\n");
    ExpectConsistent(grid);
    // Two cleanings, both ending after the walk: one message each.
    EXPECT_EQ(grid.m_nQueryEnded, 2);
}

TEST_F(GridClean, ChainAtTheTopKeepsItsStatusWhileFolding)
{
    AppSettings.Cleaning = 0;
    CTestGrid grid;
    Deliver(grid, "snmpV2.snmpModules.snmpMIB.a.0", "INTEGER", "1");
    Deliver(grid, "snmpV2.snmpModules.snmpMIB.b.0", "INTEGER", "2");
    CTreeItem* pTop = grid.RootAt(0);
    grid.InfoOf(pTop)->SetText("snmpV2 (Cleaning...)");
    CTreeItem* pModules = FindPath(grid, {"snmpV2 (Cleaning...)", "snmpModules"});
    grid.InfoOf(FindPath(grid, {"snmpV2 (Cleaning...)", "snmpModules", "snmpMIB"}))->SetSubText(1, "mib");

    // An update that does not match the tree is refused and changes nothing.
    const std::string strBefore = Dump(grid);
    EXPECT_FALSE(grid.MergeChild(CNodeMerge{pTop, pModules, 3, FALSE}));
    EXPECT_FALSE(grid.MergeChild(CNodeMerge{pModules, pTop, 1, FALSE}));
    EXPECT_EQ(Dump(grid), strBefore);

    ASSERT_TRUE(grid.MergeChild(CNodeMerge{pTop, pModules, 1, FALSE}));
    EXPECT_EQ(grid.InfoOf(pTop)->GetText(), "snmpV2.snmpModules (Cleaning...)");
    CTreeItem* pMib = FindPath(grid, {"snmpV2.snmpModules (Cleaning...)", "snmpMIB"});
    ASSERT_TRUE(grid.MergeChild(CNodeMerge{pTop, pMib, 1, FALSE}));
    EXPECT_EQ(Dump(grid),
              "snmpV2.snmpModules.snmpMIB (Cleaning...) = |mib| #0\n"
              "  a #1\n"
              "    0 = INTEGER|1|.1 #1\n"
              "  b #1\n"
              "    0 = INTEGER|2|.1 #1\n");
    ExpectConsistent(grid);

    // The same through a cleaning thread, ending without status.
    AppSettings.Cleaning = 1;
    CTestGrid threaded;
    threaded.m_bRun = 1;
    Deliver(threaded, "snmpV2.snmpModules.snmpMIB.a.0", "INTEGER", "1");
    Deliver(threaded, "snmpV2.snmpModules.snmpMIB.b.0", "INTEGER", "2");
    EndWalk(threaded);
    EXPECT_EQ(Dump(threaded),
              "snmpV2.snmpModules.snmpMIB #0\n"
              "  a.0 = INTEGER|1|.1 #2\n"
              "  b.0 = INTEGER|2|.1 #2\n");
}

TEST_F(GridClean, StopDuringCleaningLeavesPartlyFoldedSubtreeWithoutStatus)
{
    CStoppingGrid grid;
    grid.m_bRun = 1;
    grid.m_nStopAfter = 1;
    // 2000 chains to fold, more than one update carries.
    for (int i = 0; i < 2000; ++i) {
        Deliver(grid, "big.c" + std::to_string(i) + ".x.1");
        Deliver(grid, "big.c" + std::to_string(i) + ".x.2");
    }
    EndWalk(grid);
    CTreeItem* pTop = grid.RootAt(0);
    EXPECT_EQ(grid.InfoOf(pTop)->GetText(), "big");
    int nFolded = 0;
    for (auto pos = grid.FirstChildPosition(pTop); pos;)
        nFolded += grid.InfoOf(grid.NextChild(pTop, pos))->GetText().find(".x") != std::string::npos;
    EXPECT_GT(nFolded, 0);
    EXPECT_LT(nFolded, 2000);
    EXPECT_EQ(grid.ChildCount(pTop), 2000);
    EXPECT_EQ(grid.m_nQueryEnded, 1);
    ExpectConsistent(grid);
}

TEST_F(GridClean, QueryEndedOnlyForCleaningsThatEndAfterTheWalk)
{
    CTestGrid grid;
    grid.m_bRun = 1;
    grid.m_bWalking = 1;  // as while the walk thread runs
    Deliver(grid, "a.x.0");
    Deliver(grid, "a.y.0");
    Deliver(grid, "b.x.0");  // finishes and cleans "a"
    ASSERT_TRUE(WaitUntil([&] { return grid.m_nCleaners.load() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.InfoOf(grid.RootAt(0))->GetText(), "a");
    EXPECT_EQ(grid.m_nQueryEnded, 0);
    grid.m_bWalking = 0;
    EndWalk(grid);
    EXPECT_EQ(grid.m_nQueryEnded, 1);
    EXPECT_EQ(Dump(grid),
              "a #0\n"
              "  x.0 = INTEGER|1|.1 #2\n"
              "  y.0 = INTEGER|1|.1 #2\n"
              "b.x.0 = INTEGER|1|.1 #2\n");
}

TEST_F(GridClean, EndMessageAheadOfQueuedRecordsCleansTheWholeTopNodeOnce)
{
    CTestGrid grid;
    grid.m_bRun = 1;
    const HWND hWnd = grid.WindowHandle();
    for (const char* pszName : {"ip.a.0", "ip.b.0", "ip.c.0"})
        ASSERT_TRUE(PostMessage(hWnd, WM_WALK_RECORD, reinterpret_cast<WPARAM>(NewRecord(pszName)), 0,
                                FreeWalkPayload));
    EndWalk(grid);  // handled at once, ahead of the three posts
    EXPECT_EQ(Dump(grid),
              "ip #0\n"
              "  a.0 = INTEGER|1|.1 #2\n"
              "  b.0 = INTEGER|1|.1 #2\n"
              "  c.0 = INTEGER|1|.1 #2\n");
    EXPECT_EQ(grid.m_nQueryEnded, 1);
    // A record arriving after the end starts its own top node; the cleaned one stays.
    Deliver(grid, "ip.d.0");
    EXPECT_EQ(grid.RootCount(), 2);
    EXPECT_EQ(grid.ChildCount(grid.RootAt(0)), 3);
    EXPECT_EQ(grid.m_nCleaners.load(), 0);
}

TEST_F(GridClean, FailuresEndTheCleaningAndLoseNothing)
{
    {
        // No thread: the count goes back and the status goes.
        CNoThreadGrid grid;
        Deliver(grid, "a.x.0");
        SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
        EXPECT_EQ(grid.m_nCleaners.load(), 0);
        EXPECT_EQ(grid.InfoOf(grid.RootAt(0))->GetText(), "a");
    }
    {
        // An update that fails midway ends the cleaning where it is: the
        // thread still reports its end and takes its count back.
        CStoppingGrid grid;
        grid.m_bRun = 1;
        grid.m_nFailAt = 2;
        for (int i = 0; i < 600; ++i)
            Deliver(grid, "t.c" + std::to_string(i) + ".0");
        EndWalk(grid);
        EXPECT_EQ(grid.m_nUpdates, 2);
        EXPECT_EQ(grid.m_nQueryEnded, 1);
        EXPECT_EQ(grid.InfoOf(grid.RootAt(0))->GetText(), "t");
        EXPECT_EQ(grid.ChildCount(grid.RootAt(0)), 600);
        ExpectConsistent(grid);
    }
}

TEST_F(GridClean, ExpandingByKeyboardWhileCleaningKeepsTreeAndRowsConsistent)
{
    CTestGrid grid;
    grid.m_bRun = 1;
    for (int i = 0; i < 600; ++i)
        for (int j = 0; j < 3; ++j)
            Deliver(grid, "k.g" + std::to_string(i) + ".e.c" + std::to_string(j) + ".0");
    SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
    // What the numeric keypad's "*" does, between the cleaning's batches.
    while (grid.m_nCleaners.load() > 0) {
        int nLast = 0;
        grid.ExpandSubtree(grid.RootAt(0), nLast);
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    ExpectConsistent(grid);
    CTreeItem* pTop = grid.RootAt(0);
    ASSERT_EQ(grid.ChildCount(pTop), 600);
    for (auto pos = grid.FirstChildPosition(pTop); pos;) {
        CTreeItem* pGroup = grid.NextChild(pTop, pos);
        ASSERT_EQ(grid.InfoOf(pGroup)->GetText().substr(grid.InfoOf(pGroup)->GetText().size() - 2), ".e");
        ASSERT_EQ(grid.ChildCount(pGroup), 3);
    }
}

} // namespace

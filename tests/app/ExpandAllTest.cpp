// Edit > "Expand All" and "Collapse All" on a big tree, through the main
// frame's commands, while the window lives on: slices, newer commands, nodes
// removed as a cleaning removes them, a new query, the window closed.
#include "app/ResourceIds.h"
#include "support/MainWindowTest.h"
#include "support/PumpUntil.h"
#include "tests/grid/OidTreeGridTestPeer.h"
#include "tests/treelist/TreeTestUtil.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

namespace {

using treetest::AllNodes;
using treetest::Check;
using Node = CTreeListCtrl::CTreeItem;

constexpr int kRoutes = 50000;

class ExpandAll : public CMainWindowTest
{
protected:
    void SetUp() override
    {
        CMainWindowTest::SetUp();
        BuildRouteTable();
    }

    Node* Add(Node* pParent, const std::string& strLabel)
    {
        auto pInfo = std::make_unique<CNodeInfo>();
        pInfo->SetText(strLabel);
        pInfo->SetSubText(COidTreeGrid::cellOid, std::string());
        return pParent ? Grid().AddChildNode(pParent, std::move(pInfo), FALSE) : Grid().AddRootNode(std::move(pInfo));
    }

    // A finished top node holding a table of 4 columns x kRoutes rows, and a
    // top node still being queried.
    void BuildRouteTable()
    {
        Node* pEntry = Add(Add(Add(nullptr, "ip"), "ipRouteTable"), "ipRouteEntry");
        for (const char* pszColumn : {"ipRouteDest", "ipRouteIfIndex", "ipRouteMetric1", "ipRouteNextHop"}) {
            Node* pColumn = Add(pEntry, pszColumn);
            for (int r = 0; r < kRoutes; ++r)
                Add(pColumn, "10." + std::to_string(r / 256) + "." + std::to_string(r % 256) + ".1");
        }
        m_pBusy = Add(nullptr, "tcp (Querying...)");
        Add(Add(m_pBusy, "tcpRtoMin"), "0");
    }

    // Runs a command as the menu does, once the frame has enabled it.
    void Command(UINT nID)
    {
        QAction* pAction = m_pFrame->Action(nID);
        ASSERT_TRUE(PumpUntil([&] { return pAction->isEnabled(); }));
        pAction->trigger();
    }

    bool JobEnds() { return PumpUntil([&] { return !Grid().IsWholeTreeJobRunning(); }, 120000); }
    // Slices of one step each (or 256 rows), or back to 8 ms.
    void ShortestSlices(bool bOn = true)
    {
        COidTreeGridTestPeer(Grid()).SetJobSliceTime(std::chrono::microseconds(bOn ? 0 : 8000));
    }
    // Turns the loop until pred holds, one pass (and with the shortest slices
    // one slice) at a time; false when the job ended first.
    bool SliceUntil(const std::function<bool()>& pred)
    {
        while (!pred() && Grid().IsWholeTreeJobRunning())
            QCoreApplication::processEvents();
        return pred() && Grid().IsWholeTreeJobRunning();
    }

    Node* m_pBusy = nullptr;  // Not owned.
};

TEST_F(ExpandAll, BigTreeExpandsInSlicesToEveryNodeAndCollapsesBack)
{
    int nTicks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++nTicks; });
    ticker.start(0);

    Command(ID_EXPAND_ALL);
    ASSERT_TRUE(Grid().IsWholeTreeJobRunning());
    const int nTicksAtStart = nTicks;
    ASSERT_TRUE(JobEnds());
    EXPECT_GT(nTicks, nTicksAtStart);  // the loop turned between the slices
    EXPECT_EQ(Check(Grid()), "");
    const std::vector<Node*> nodes = AllNodes(Grid());
    EXPECT_EQ(Grid().GetItemCount(), static_cast<int>(nodes.size()) - 2);  // the busy node's two stay hidden
    for (Node* p : nodes)
        EXPECT_TRUE(!Grid().HasChildren(p) || Grid().IsInSubtree(m_pBusy, p) || !Grid().IsCollapsed(p));
    EXPECT_TRUE(Grid().IsCollapsed(m_pBusy));

    Command(ID_COLLAPSE_ALL);
    ASSERT_TRUE(JobEnds());
    EXPECT_EQ(Check(Grid()), "");
    EXPECT_EQ(Grid().GetItemCount(), 2);
}

TEST_F(ExpandAll, CollapseAllReplacesARunningExpandAll)
{
    ShortestSlices();
    Command(ID_EXPAND_ALL);
    ASSERT_TRUE(SliceUntil([&] { return Grid().GetItemCount() > 6; }));  // the columns are shown
    ShortestSlices(false);
    Command(ID_COLLAPSE_ALL);
    ASSERT_TRUE(JobEnds());
    EXPECT_EQ(Check(Grid()), "");
    EXPECT_EQ(Grid().GetItemCount(), 2);
    for (Node* p : AllNodes(Grid()))
        EXPECT_TRUE(!Grid().HasChildren(p) || Grid().RowOfNode(p) < 0 || Grid().IsCollapsed(p));
}

// A cleaning removes nodes between the slices: the column whose rows the job
// is making, and the next column, which the job has not reached yet.
TEST_F(ExpandAll, NodesRemovedMeanwhileAreNeverTouched)
{
    Node* pEntry = Grid().RootAt(0);
    for (int i = 0; i < 2; ++i)
        pEntry = treetest::Children(Grid(), pEntry)[0];
    const std::vector<Node*> columns = treetest::Children(Grid(), pEntry);
    ShortestSlices();
    Command(ID_EXPAND_ALL);
    ASSERT_TRUE(SliceUntil([&] { return !Grid().IsCollapsed(pEntry); }));
    QCoreApplication::processEvents();
    ASSERT_TRUE(Grid().IsCollapsed(columns[0]));  // its rows are being made
    Grid().RemoveNode(columns[0], -1);
    Grid().RemoveNode(columns[1], -1);
    EXPECT_EQ(Check(Grid()), "");
    ShortestSlices(false);
    ASSERT_TRUE(JobEnds());
    EXPECT_EQ(Check(Grid()), "");
    EXPECT_EQ(Grid().GetItemCount(), 4 + 2 * (1 + kRoutes));  // ip, its table and entry, tcp
}

TEST_F(ExpandAll, ANewQueryOrTheWindowsEndStopsTheJob)
{
    Command(ID_EXPAND_ALL);
    ASSERT_TRUE(Grid().IsWholeTreeJobRunning());
    QCoreApplication::processEvents();
    Grid().ResetForQuery();  // what a new Go does first
    EXPECT_FALSE(Grid().IsWholeTreeJobRunning());
    EXPECT_EQ(Grid().GetItemCount(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    BuildRouteTable();
    Command(ID_EXPAND_ALL);
    ASSERT_TRUE(Grid().IsWholeTreeJobRunning());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);  // the wait shows
    QCoreApplication::processEvents();
    QPointer<QMdiSubWindow> pChild = m_pFrame->MDIGetActive();
    pChild->close();
    ASSERT_TRUE(PumpUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return pChild.isNull();
    }));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace

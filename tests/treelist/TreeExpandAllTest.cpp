// Expand All and Collapse All as sliced jobs: the same end as the one-call
// operations, and a tree changed in every way between two slices.
#include "tests/treelist/TreeTestUtil.h"

#include <QTimer>
#include <functional>
#include <random>

namespace {

using namespace treetest;

class CJobTree : public CTestTree
{
public:
    using CTreeListCtrl::SetJobSliceTime;
};

// nWide leaves under one node, then smaller branches: the shape of a big table
// beside a few groups. Labels say where a node stands.
void BuildTree(CTreeListCtrl& c, int nWide, int nBranches)
{
    for (const char* pszRoot : {"busy root", "table", "groups"}) {
        Node* pRoot = Root(c, pszRoot);
        Node* pEntry = Child(c, pRoot, std::string(pszRoot) + ".entry");
        Node* pColumn = Child(c, pEntry, std::string(pszRoot) + ".column");
        for (int i = 0; i < nWide; ++i)
            Child(c, pColumn, "leaf " + std::to_string(i));
        for (int b = 0; b < nBranches; ++b) {
            Node* pBranch = Child(c, pRoot, "branch " + std::to_string(b));
            for (int k = 0; k < 3; ++k) {
                Node* pMid = Child(c, pBranch, "mid " + std::to_string(k));
                Child(c, pMid, "end");
                Child(c, pMid, "end2");
            }
        }
    }
}

CTreeMatcher Matcher(const std::string& strPattern)
{
    CTreeMatcher matcher;
    matcher.Set(strPattern, 0);
    return matcher;
}

bool IsBusy(const CTreeListCtrl& c, const Node* pRoot)
{
    return c.InfoOf(pRoot)->GetText().rfind("busy", 0) == 0;
}

// Rows and expansion states, in pre-order over every node.
struct CState
{
    Strings rows;
    std::vector<bool> collapsed;
    bool operator==(const CState&) const = default;
};

CState StateOf(CTreeListCtrl& c)
{
    CState state{RowLabels(c), {}};
    for (Node* p : AllNodes(c))
        state.collapsed.push_back(c.IsCollapsed(p) != FALSE);
    return state;
}

// Pumps the loop until the job ends; counts the turns it took.
int RunJob(CTreeListCtrl& c, const std::function<void()>& betweenSlices = {})
{
    int nTurns = 0;
    while (c.IsWholeTreeJobRunning()) {
        if (betweenSlices)
            betweenSlices();
        QCoreApplication::processEvents();
        ++nTurns;
    }
    return nTurns;
}

class TreeExpandAll : public testing::Test
{
protected:
    void SetUp() override
    {
        Show(m_tree);
        Show(m_reference);
    }
    CJobTree m_tree;
    CJobTree m_reference;
};

TEST_F(TreeExpandAll, BigTreeEndsAsTheOneCallVersionWhileTheLoopTurns)
{
    BuildTree(m_tree, 100000, 5000);
    BuildTree(m_reference, 100000, 5000);
    ASSERT_GT(AllNodes(m_tree).size(), 200000u);
    const auto skip = [this](const Node* p) { return IsBusy(m_tree, p); };
    for (Node* pRoot : Children(m_reference, nullptr)) {
        if (IsBusy(m_reference, pRoot))
            continue;
        int nLast = 0;
        m_reference.ExpandSubtree(pRoot, nLast);
    }

    int nTicks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++nTicks; });
    ticker.start(0);
    m_tree.ExpandAll(skip);
    ASSERT_TRUE(m_tree.IsWholeTreeJobRunning());  // far more than one slice of work
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    RunJob(m_tree);
    EXPECT_GT(nTicks, 1);  // timers ran between the slices
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_TRUE(StateOf(m_tree) == StateOf(m_reference));
    EXPECT_TRUE(m_tree.IsCollapsed(m_tree.RootAt(0)));  // the busy root was passed over

    for (Node* pRoot : Children(m_reference, nullptr))
        m_reference.CollapseNode(pRoot);
    m_tree.CollapseAll({});
    EXPECT_TRUE(m_tree.IsWholeTreeJobRunning());
    RunJob(m_tree);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_EQ(m_tree.GetItemCount(), 3);
    EXPECT_TRUE(StateOf(m_tree) == StateOf(m_reference));
}

TEST_F(TreeExpandAll, SmallTreeIsDoneInsideTheCallAndFilteredNodesStayOut)
{
    BuildTree(m_tree, 50, 3);
    BuildTree(m_reference, 50, 3);
    // "Done in the first slice" is the rule under test, whatever the machine's
    // speed (a sanitizer build on a loaded machine needs more than 8 ms).
    m_tree.SetJobSliceTime(std::chrono::seconds(60));
    const CTreeMatcher matcher = Matcher("end2");
    m_tree.ApplyFilter(matcher);
    m_reference.ApplyFilter(matcher);
    for (Node* pRoot : Children(m_reference, nullptr))
        m_reference.CollapseNode(pRoot);
    m_tree.CollapseAll({});
    EXPECT_FALSE(m_tree.IsWholeTreeJobRunning());
    for (Node* pRoot : Children(m_reference, nullptr)) {
        int nLast = 0;
        m_reference.ExpandSubtree(pRoot, nLast);
    }
    m_tree.ExpandAll({});
    EXPECT_FALSE(m_tree.IsWholeTreeJobRunning());
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_TRUE(StateOf(m_tree) == StateOf(m_reference));
    EXPECT_EQ(m_tree.GetItemCount(), 3 * (1 + 3 + 3 * 3 + 3 * 3));  // root, branches, mids, end2s
}

// However long a slice may work, a block of thousands of rows goes in or out
// only at the start of one: the call returns before the first such block.
TEST_F(TreeExpandAll, LargeBlocksWaitForASliceOfTheirOwn)
{
    BuildTree(m_tree, 5000, 2);
    BuildTree(m_reference, 5000, 2);
    m_tree.SetJobSliceTime(std::chrono::seconds(60));
    Node* pFirstColumn = Children(m_tree, Children(m_tree, m_tree.RootAt(0))[0])[0];

    m_tree.ExpandAll({});
    ASSERT_TRUE(m_tree.IsWholeTreeJobRunning());
    EXPECT_TRUE(m_tree.IsCollapsed(pFirstColumn));
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_GE(RunJob(m_tree), 3);  // one slice for each column's leaves
    for (Node* pRoot : Children(m_reference, nullptr)) {
        int nLast = 0;
        m_reference.ExpandSubtree(pRoot, nLast);
    }
    EXPECT_TRUE(StateOf(m_tree) == StateOf(m_reference));

    const int nRows = m_tree.GetItemCount();
    m_tree.CollapseAll({});
    ASSERT_TRUE(m_tree.IsWholeTreeJobRunning());
    EXPECT_EQ(m_tree.GetItemCount(), nRows);  // the first column's leaves, the first block met, are still shown
    EXPECT_GE(RunJob(m_tree), 3);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_EQ(m_tree.GetItemCount(), 3);

    // Children appended to the waiting block between slices, as a walk places
    // them, go in with it rather than holding it back.
    m_tree.CollapseNode(m_tree.RootAt(0));
    m_tree.ExpandAll([this](const Node* p) { return p != m_tree.RootAt(0); });
    ASSERT_TRUE(m_tree.IsWholeTreeJobRunning());
    int nAppended = 0;
    RunJob(m_tree, [&] {
        if (nAppended < 100)
            Child(m_tree, pFirstColumn, "appended " + std::to_string(nAppended++));
    });
    EXPECT_LT(nAppended, 100) << "the block went in only once the appending stopped";
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_FALSE(m_tree.IsCollapsed(pFirstColumn));
    EXPECT_EQ(m_tree.ChildCount(pFirstColumn), 5000 + nAppended);
}

// Between every two slices a node goes: the one the job works on, one it is
// about to reach, one it is making rows for, a whole root. Freed nodes are
// never touched (AddressSanitizer), the rows stay right, and what is left
// ends expanded.
TEST_F(TreeExpandAll, NodesRemovedBetweenSlicesAreLetGo)
{
    BuildTree(m_tree, 3000, 40);
    m_tree.SetJobSliceTime(std::chrono::microseconds(0));
    std::mt19937 random(7);
    int nRemoved = 0;
    const auto removeSome = [&] {
        std::vector<Node*> nodes = AllNodes(m_tree);
        if (nodes.size() < 50)
            return;
        // Mostly nodes near the end of the shown rows, where the cursor is.
        const int nRows = m_tree.GetItemCount();
        Node* pVictim = random() % 3 == 0 ? nodes[random() % nodes.size()]
                                          : m_tree.NodeAtRow(std::max(0, nRows - 1 - static_cast<int>(random() % 5)));
        m_tree.RemoveNode(pVictim, -1);
        ++nRemoved;
        ASSERT_EQ(Check(m_tree), "");
    };
    m_tree.ExpandAll({});
    EXPECT_GT(RunJob(m_tree, removeSome), 20);
    EXPECT_GT(nRemoved, 20);
    EXPECT_EQ(Check(m_tree), "");
    for (Node* p : AllNodes(m_tree))
        EXPECT_TRUE(!m_tree.HasChildren(p) || !m_tree.IsCollapsed(p));
    EXPECT_EQ(m_tree.GetItemCount(), static_cast<int>(AllNodes(m_tree).size()));

    m_tree.CollapseAll({});
    RunJob(m_tree, removeSome);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_EQ(m_tree.GetItemCount(), m_tree.RootCount());
}

// The children of the node whose rows are being made change meanwhile: one
// goes, one comes, one's label changes, all its children move.
TEST_F(TreeExpandAll, ChildrenChangedWhileTheirRowsAreMadeShowAsTheyAreNow)
{
    Node* pRoot = Root(m_tree, "root");
    Node* pWide = Child(m_tree, pRoot, "wide");
    for (int i = 0; i < 2000; ++i)
        Child(m_tree, pWide, "leaf " + std::to_string(i));
    Node* pOther = Child(m_tree, pRoot, "other");
    m_tree.SetJobSliceTime(std::chrono::microseconds(0));

    m_tree.ExpandAll({});
    QCoreApplication::processEvents();  // root expanded, rows of "wide" begun
    ASSERT_TRUE(m_tree.IsWholeTreeJobRunning());
    ASSERT_TRUE(m_tree.IsCollapsed(pWide));
    m_tree.RemoveNode(Children(m_tree, pWide)[0], -1);
    QCoreApplication::processEvents();
    Child(m_tree, pWide, "appended");
    QCoreApplication::processEvents();
    Node* pRenamed = Children(m_tree, pWide)[5];
    m_tree.InfoOf(pRenamed)->SetText("renamed");
    m_tree.RefreshRow(pRenamed);
    RunJob(m_tree);
    EXPECT_EQ(Check(m_tree), "");  // labels of the rows included
    EXPECT_EQ(m_tree.GetItemCount(), 2 + 2000 + 1);
    EXPECT_EQ(m_tree.GetItemText(m_tree.RowOfNode(pRenamed), 0), "renamed");

    // Collapsed again, its children move to a collapsed node while their rows are made.
    m_tree.CollapseNode(pWide);
    m_tree.CollapseNode(pOther);
    m_tree.ExpandAll({});
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_tree.IsWholeTreeJobRunning());
    ASSERT_TRUE(m_tree.MoveChildren(pWide, pOther));
    RunJob(m_tree);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_EQ(m_tree.ChildCount(pOther), 2000);
    EXPECT_FALSE(m_tree.IsCollapsed(pOther));
    EXPECT_EQ(m_tree.GetItemCount(), 3 + 2000);
}

// What the user and the program do meanwhile: a node collapsed ahead of the
// cursor, a newer command, a filter, a new tree, the end of the control.
TEST_F(TreeExpandAll, NewerCommandsFiltersAndTheEndCancelOrReplaceTheJob)
{
    BuildTree(m_tree, 3000, 40);
    m_tree.SetJobSliceTime(std::chrono::microseconds(0));

    // A root collapsed by the user behind the cursor stays so; nothing hidden
    // below it is expanded.
    m_tree.ExpandAll({});
    while (m_tree.GetItemCount() < 10)
        QCoreApplication::processEvents();
    Node* pBusy = m_tree.RootAt(0);
    m_tree.CollapseNode(pBusy);
    RunJob(m_tree);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_TRUE(m_tree.IsCollapsed(pBusy));
    EXPECT_FALSE(m_tree.IsCollapsed(m_tree.RootAt(2)));

    m_tree.ExpandAll({});
    QCoreApplication::processEvents();
    m_tree.CollapseAll({});  // replaces the expansion
    RunJob(m_tree);
    EXPECT_EQ(Check(m_tree), "");
    EXPECT_EQ(m_tree.GetItemCount(), 3);

    m_tree.ExpandAll({});
    QCoreApplication::processEvents();
    m_tree.ApplyFilter(Matcher("end2"));
    EXPECT_FALSE(m_tree.IsWholeTreeJobRunning());
    EXPECT_EQ(Check(m_tree), "");
    m_tree.ClearFilter();

    m_tree.ExpandAll({});
    QCoreApplication::processEvents();
    m_tree.RemoveAllNodes();
    EXPECT_FALSE(m_tree.IsWholeTreeJobRunning());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    BuildTree(m_tree, 10, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_tree.GetItemCount(), 3);  // the new tree is left alone

    auto pShortLived = std::make_unique<CJobTree>();
    BuildTree(*pShortLived, 3000, 40);
    pShortLived->SetJobSliceTime(std::chrono::microseconds(0));
    pShortLived->ExpandAll({});
    QCoreApplication::processEvents();
    pShortLived.reset();
    QCoreApplication::processEvents();  // no slice runs for the control that went
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace

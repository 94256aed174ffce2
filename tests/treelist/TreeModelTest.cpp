// The tree behind the tree-list control: which rows each structural operation
// leaves, the row numbers, traversal, node infos.
#include "TreeTestUtil.h"

using namespace treetest;

namespace {

// A ─ a1 ─ a1x ─ a1x0
//   │     └ a1y
//   └ a2
// B ─ b1
// C
struct Sample
{
    CTestTree c;
    Node *A, *a1, *a1x, *a1x0, *a1y, *a2, *B, *b1, *C;
    Sample()
    {
        A = Root(c, "A");
        a1 = Child(c, A, "a1");
        a1x = Child(c, a1, "a1x");
        a1x0 = Child(c, a1x, "a1x0");
        a1y = Child(c, a1, "a1y");
        a2 = Child(c, A, "a2");
        B = Root(c, "B");
        b1 = Child(c, B, "b1");
        C = Root(c, "C");
    }
};

}  // namespace

TEST(TreeModel, ExpandAndCollapseShowOneLevelAtATime)
{
    Sample s;
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "B", "C"}));
    EXPECT_TRUE(s.c.IsCollapsed(s.A));

    EXPECT_EQ(s.c.ExpandNode(s.A, 0), 2);  // last row inserted
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a1", "a2", "B", "C"}));
    EXPECT_EQ(s.c.ExpandNode(s.A, 0), 0);       // already expanded: nothing, the given row
    EXPECT_EQ(s.c.ExpandNode(s.a2, 2), 2);      // no children
    EXPECT_EQ(s.c.ExpandNode(s.a1x, 7), 7);     // hidden: nothing
    EXPECT_EQ(Check(s.c), "");

    int last = 0;
    s.c.ExpandSubtree(s.A, last);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a1", "a1x", "a1x0", "a1y", "a2", "B", "C"}));
    EXPECT_EQ(last, 3);  // a1x (the last node with children) was expanded last: its child's row
    EXPECT_EQ(Check(s.c), "");

    // Three shown levels go in one collapse, and every descendant ends collapsed...
    s.c.CollapseNode(s.A);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "B", "C"}));
    EXPECT_TRUE(s.c.IsCollapsed(s.a1));
    EXPECT_TRUE(s.c.IsCollapsed(s.a1x));
    EXPECT_EQ(Check(s.c), "");
    // ... so expanding again shows only the children.
    EXPECT_EQ(s.c.ExpandNode(s.A, 0), 2);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a1", "a2", "B", "C"}));
    EXPECT_EQ(Check(s.c), "");

    s.c.CollapseNode(nullptr);
    s.c.CollapseNode(s.C);  // no children: nothing
    EXPECT_EQ(s.c.GetItemCount(), 5);

    // Keypad "*" on a leaf: nothing is expanded and the last row stays as given.
    last = 0;
    s.c.ExpandSubtree(s.C, last);
    EXPECT_EQ(last, 0);
}

TEST(TreeModel, RowNumbersAndTraversal)
{
    Sample s;
    int last = 0;
    s.c.ExpandSubtree(s.A, last);
    // The second root's row is one past the first root's shown descendants.
    EXPECT_EQ(s.c.RowOfNode(s.B), 1 + 5);
    EXPECT_EQ(s.c.RowOfNode(s.C), 7);
    EXPECT_EQ(s.c.RowOfNode(s.b1), -1);
    EXPECT_EQ(s.c.CachedRowOf(s.b1), -1);
    EXPECT_EQ(s.c.RowOfNode(nullptr), -1);
    s.c.ExpandNode(s.B, s.c.RowOfNode(s.B));
    EXPECT_EQ(s.c.RowOfNode(s.b1), 7);
    EXPECT_EQ(s.c.RowOfNode(s.C), 8);

    // Pre-order successors within a subtree (the whole walk is below); the
    // last node answers itself.
    EXPECT_EQ(s.c.NextInTree(s.A, s.a2, TRUE, FALSE), s.a2);
    EXPECT_EQ(s.c.NextInTree(s.A, s.a2, FALSE, FALSE), nullptr);
    EXPECT_EQ(s.c.NextInTree(s.a1, s.a1y, TRUE, FALSE), s.a1y);  // never leaves the subtree
    EXPECT_EQ(s.c.NextInTree(s.A, s.b1, TRUE, FALSE), s.b1);     // not in it at all
    EXPECT_EQ(s.c.NextInTree(s.C, s.C, TRUE, FALSE), s.C);

    // Walking a whole subtree the way the owners do visits each node once.
    std::vector<Node*> walked{s.A};
    for (Node* cur = s.A;;) {
        Node* next = s.c.NextInTree(s.A, cur, TRUE, FALSE);
        if (next == cur || !s.c.IsInSubtree(s.A, next))
            break;
        walked.push_back(cur = next);
    }
    EXPECT_EQ(walked, (std::vector<Node*>{s.A, s.a1, s.a1x, s.a1x0, s.a1y, s.a2}));

    EXPECT_TRUE(s.c.IsInSubtree(s.A, s.a1x0));
    EXPECT_TRUE(s.c.IsInSubtree(s.a1x0, s.a1x0));
    EXPECT_FALSE(s.c.IsInSubtree(s.a1x0, s.A));
    EXPECT_FALSE(s.c.IsInSubtree(s.B, s.a1));
    EXPECT_EQ(s.c.RootAt(3), nullptr);
    EXPECT_EQ(s.c.RootIndexOf(s.b1), -1);
}

TEST(TreeModel, RemovingNodesAndTheSelectionLeft)
{
    {
        CTestTree c;
        Node* only = Root(c, "only");
        Child(c, only, "kid");
        c.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        c.RemoveNode(only, 0);
        EXPECT_EQ(c.GetItemCount(), 0);
        EXPECT_EQ(c.RootCount(), 0);
        EXPECT_EQ(c.SelectedRow(), -1);
    }
    Sample s;
    int last = 0;
    s.c.ExpandSubtree(s.A, last);  // A a1 a1x a1x0 a1y a2 B C

    // The node on the last row: the new last row is selected.
    s.c.RemoveNode(s.C, 7);
    EXPECT_EQ(s.c.GetItemCount(), 7);
    EXPECT_EQ(s.c.SelectedRow(), 6);
    EXPECT_EQ(s.c.GetNextItem(-1, LVNI_FOCUSED), 6);

    // A node with shown descendants: the row after the removed block is selected.
    s.c.RemoveNode(s.a1, 1);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a2", "B"}));
    EXPECT_EQ(s.c.SelectedRow(), 1);
    EXPECT_EQ(s.c.ChildCount(s.A), 1);
    EXPECT_EQ(Check(s.c), "");

    // A stale row (that of another node) does not remove someone else's row.
    s.c.ExpandNode(s.B, 2);
    s.c.RemoveNode(s.b1, 0);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a2", "B"}));
    EXPECT_EQ(s.c.SelectedRow(), 2);

    // A node without a row: rows and selection stay as they are.
    Node* b2 = Child(s.c, s.B, "b2");
    s.c.RemoveNode(b2, s.c.CachedRowOf(b2));
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a2", "B"}));
    EXPECT_EQ(s.c.SelectedRow(), 2);
    EXPECT_FALSE(s.c.HasChildren(s.B));

    // The node on row 0: no row is selected for it; the selected row keeps its node.
    s.c.RemoveNode(s.A, 0);
    EXPECT_EQ(RowLabels(s.c), (Strings{"B"}));
    EXPECT_EQ(s.c.SelectedRow(), 0);
    EXPECT_EQ(Check(s.c), "");

    // Everything at once: the owner hears that every row went.
    s.c.RemoveAllNodes();
    EXPECT_EQ(s.c.GetItemCount() + s.c.RootCount(), 0);
    EXPECT_EQ(s.c.FirstRootPosition(), nullptr);
    EXPECT_EQ(s.c.SelectedRow(), -1);
    EXPECT_EQ(s.c.nDeleteAll, 1);
    EXPECT_EQ(s.c.RowOfNode(Root(s.c, "again")), 0);
}

TEST(TreeModel, RevealNodeExpandsThePathAndSelects)
{
    Sample s;
    EXPECT_EQ(s.c.RevealNode(s.a1x0), 3);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a1", "a1x", "a1x0", "a1y", "a2", "B", "C"}));
    EXPECT_EQ(s.c.SelectedRow(), 3);
    EXPECT_EQ(s.c.GetItemText(s.c.SelectedRow(), 0), "a1x0");
    EXPECT_FALSE(s.c.IsCollapsed(s.a1x));
    EXPECT_TRUE(s.c.IsCollapsed(s.B));  // off the path: untouched
    EXPECT_EQ(Check(s.c), "");

    // A root is selected on its own row, wherever that is.
    EXPECT_EQ(s.c.RevealNode(s.C), 7);
    EXPECT_EQ(s.c.SelectedRow(), 7);
    EXPECT_EQ(s.c.RevealNode(s.A), 0);
    EXPECT_EQ(s.c.SelectedRow(), 0);
}

TEST(TreeModel, AddingChildrenShownOrHidden)
{
    Sample s;
    EXPECT_EQ(s.c.AddChildNode(nullptr, nullptr, TRUE), nullptr);
    s.c.ExpandNode(s.A, 0);  // A a1 a2 B C
    // Shown now under an expanded parent: after the parent's last shown descendant.
    s.c.ExpandNode(s.a1, 1);  // A a1 a1x a1y a2 B C
    Node* a3 = Child(s.c, s.A, "a3", TRUE);
    EXPECT_EQ(s.c.RowOfNode(a3), 5);
    EXPECT_EQ(s.c.LevelOf(a3), 2);
    Node* c1 = Child(s.c, s.C, "c1", TRUE);  // C is a leaf so far, hence not collapsed
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a1", "a1x", "a1y", "a2", "a3", "B", "C", "c1"}));
    EXPECT_EQ(s.c.RowOfNode(c1), 8);
    EXPECT_EQ(Check(s.c), "");

    // "Shown now" under a collapsed or hidden parent shows nothing.
    Node* b2 = Child(s.c, s.B, "b2", TRUE);
    EXPECT_EQ(s.c.RowOfNode(b2), -1);
    Node* deep = Child(s.c, s.a1x0, "deep", TRUE);
    EXPECT_EQ(s.c.RowOfNode(deep), -1);
    EXPECT_TRUE(s.c.IsCollapsed(s.a1x0));
    EXPECT_EQ(Check(s.c), "");

    // Hidden under an expanded parent whose children are shown: the parent
    // really collapses, and expanding it later shows each child once.
    Node* a4 = Child(s.c, s.A, "a4", FALSE);
    EXPECT_TRUE(s.c.IsCollapsed(s.A));
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "B", "C", "c1"}));
    EXPECT_EQ(Check(s.c), "");
    s.c.ExpandNode(s.A, 0);
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "a1", "a2", "a3", "a4", "B", "C", "c1"}));
    EXPECT_EQ(s.c.RowOfNode(a4), 4);
    EXPECT_EQ(Check(s.c), "");

    // Rows follow their infos when refreshed; a node without a row refreshes
    // nothing; a replaced info is freed (leak checks catch it).
    std::unique_ptr<CNodeInfo> pOwned = Info("top", {"x", "y"});
    pOwned->SetChecked(TRUE);
    Node* top = s.c.AddRootNode(std::move(pOwned));
    CNodeInfo* pInfo = s.c.InfoOf(top);
    Node* plain = s.c.AddRootNode(nullptr);  // gets an empty info
    const int nTop = s.c.RowOfNode(top);
    EXPECT_EQ(s.c.GetItemText(nTop, 2), "y");
    EXPECT_TRUE(s.c.GetCheck(nTop));
    EXPECT_FALSE(s.c.GetCheck(nTop + 1));
    pInfo->SetText("renamed");
    pInfo->SetSubText(1, "z");
    s.c.RefreshRow(top);
    EXPECT_EQ(s.c.GetItemText(nTop, 0) + s.c.GetItemText(nTop, 2), "renamedz");
    s.c.RefreshRow(b2);
    s.c.SetInfoOf(plain, Info("replaced"));
    EXPECT_EQ(s.c.InfoOf(plain)->GetText(), "replaced");
}

TEST(TreeModel, CopySubtree)
{
    Sample s;
    s.c.bCopyInfos = true;
    s.c.ExpandNode(s.B, 1);  // A B b1 C
    // Under an expanded parent only the copy's own row appears; its parents start collapsed.
    ASSERT_TRUE(s.c.CopySubtree(s.B, s.a1));
    EXPECT_EQ(RowLabels(s.c), (Strings{"A", "B", "b1", "a1", "C"}));
    Node* copy = s.c.NodeAtRow(3);
    EXPECT_EQ(s.c.ParentOf(copy), s.B);
    EXPECT_TRUE(s.c.IsCollapsed(copy));
    std::vector<Node*> copied, original;
    PreOrder(s.c, copy, copied);
    PreOrder(s.c, s.a1, original);
    ASSERT_EQ(copied.size(), original.size());
    for (size_t i = 0; i < copied.size(); ++i) {
        EXPECT_EQ(s.c.InfoOf(copied[i])->GetText(), s.c.InfoOf(original[i])->GetText());
        EXPECT_NE(s.c.InfoOf(copied[i]), s.c.InfoOf(original[i]));
    }
    EXPECT_EQ(Check(s.c), "");

    // Without a clone the copies get empty infos.
    s.c.bCopyInfos = false;
    ASSERT_TRUE(s.c.CopySubtree(s.C, s.b1));
    EXPECT_EQ(s.c.InfoOf(s.c.NextInTree(s.C, s.C, TRUE, FALSE))->GetText(), "");
    EXPECT_FALSE(s.c.CopySubtree(nullptr, s.b1));

    // Into its own subtree: the subtree as it was is copied, and the copy ends.
    s.c.bCopyInfos = true;
    const size_t before = AllNodes(s.c).size();
    ASSERT_TRUE(s.c.CopySubtree(s.a1x0, s.A));
    EXPECT_EQ(AllNodes(s.c).size(), before + 6);
    EXPECT_EQ(Check(s.c), "");
}

TEST(NodeInfo, CopyFromTakesCellAttributesOnlyBelowTheCellCount)
{
    CNodeInfo src;
    src.SetText("label");
    src.SetSubText(2, "third");  // grows with empty gaps
    CStringList choices{"one", "two"};
    src.SetCellControlType(1, CNodeInfo::ctComboBox);
    src.SetChoices(1, &choices);
    src.SetCellControlType(5, CNodeInfo::ctCheckBox);  // beyond the cells
    src.SetCellColor(0, RGB(1, 2, 3));
    src.SetCellColor(4, RGB(4, 5, 6));

    CNodeInfo dst;
    dst.CopyFrom(src);
    CNodeInfo::CONTROLTYPE t = CNodeInfo::ctNone;
    EXPECT_TRUE(dst.CellControlType(1, t) && t == CNodeInfo::ctComboBox);
    EXPECT_FALSE(dst.CellControlType(5, t));
    EXPECT_EQ(t, CNodeInfo::ctNone);
    CStringList *pCopy = nullptr, *pOriginal = nullptr;
    ASSERT_TRUE(dst.GetChoices(1, pCopy) && src.GetChoices(1, pOriginal));
    EXPECT_EQ(*pCopy, choices);
    EXPECT_NE(pCopy, pOriginal);  // each info owns its lists
    EXPECT_EQ(dst.CellColor(0), RGB(1, 2, 3));
    EXPECT_EQ(dst.CellColor(4), CNodeInfo::NoColor);
    EXPECT_EQ(dst.GetText() + dst.GetSubText(2), "labelthird");
}


// Cells are packed together: every change must leave the other cells whole,
// whatever bytes and lengths they hold.
TEST(NodeInfo, CellsKeepAnyBytesAndTheirNeighbours)
{
    const std::string strNul("a\0b", 3);
    const std::string strLong(200, 'x');       // a two-byte length
    const std::string strLonger(20000, 'y');   // a three-byte length
    const std::string strHigh("\x80\xff\x7f", 3);
    const struct
    {
        int nCell;
        std::string strText;
    } steps[] = {{2, "OID"}, {0, strLong}, {1, strNul}, {0, ""}, {2, strLonger}, {1, strHigh},
                 {5, "far"}, {2, "short"}, {0, strLonger}, {4, strNul}, {0, "z"}, {-1, "ignored"}};
    CNodeInfo info;
    std::vector<std::string> expected;
    for (const auto& step : steps) {
        info.SetSubText(step.nCell, step.strText);
        if (step.nCell >= 0) {
            if (step.nCell >= static_cast<int>(expected.size()))
                expected.resize(static_cast<size_t>(step.nCell) + 1);
            expected[static_cast<size_t>(step.nCell)] = step.strText;
        }
        ASSERT_EQ(info.GetSubTextCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < info.GetSubTextCount(); ++i)
            ASSERT_EQ(info.GetSubText(i), expected[static_cast<size_t>(i)]) << "cell " << i << " after setting cell " << step.nCell;
    }
    EXPECT_EQ(info.GetSubText(info.GetSubTextCount()), "");
    EXPECT_EQ(info.GetSubText(-1), "");

    CNodeInfo copy;
    copy.SetSubText(7, "replaced");
    copy.CopyFrom(info);
    ASSERT_EQ(copy.GetSubTextCount(), info.GetSubTextCount());
    for (int i = 0; i < info.GetSubTextCount(); ++i)
        EXPECT_EQ(copy.GetSubText(i), info.GetSubText(i));
    // Clearing a colour no cell had leaves none.
    copy.SetCellColor(1, CNodeInfo::NoColor);
    EXPECT_EQ(copy.CellColor(1), CNodeInfo::NoColor);
}

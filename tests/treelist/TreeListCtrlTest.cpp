// The control's input: +/- box clicks, cell clicks, double-clicks, keys,
// drag and drop of subtrees, and the hover tooltip for shortened cells.
#include "TreeTestUtil.h"

#include "ui/HtmlToolTip.h"

#include <QLineEdit>
#include <QScrollBar>

using namespace treetest;

namespace {

// Roots r0..r(n-1); each has children c0..c2; c1 has one grandchild.
void Fill(CTreeListCtrl& c, int nRoots)
{
    for (int r = 0; r < nRoots; ++r) {
        Node* root = Root(c, "r" + std::to_string(r));
        for (int k = 0; k < 3; ++k) {
            Node* child = Child(c, root, "r" + std::to_string(r) + "c" + std::to_string(k));
            if (k == 1)
                Child(c, child, "r" + std::to_string(r) + "g");
        }
    }
}

}  // namespace

TEST(TreeListCtrl, PlusMinusBoxesAndCellClicks)
{
    CTestTree c;
    Fill(c, 3);
    Show(c);
    QWidget* vp = c.viewport();

    // The box of r0 expands it; nothing is selected by a box click.
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, BoxCentre(c, 0));
    EXPECT_EQ(RowLabels(c), (Strings{"r0", "r0c0", "r0c1", "r0c2", "r1", "r2"}));
    EXPECT_EQ(c.SelectedRow(), -1);
    EXPECT_EQ(c.nCellClicks, 0);
    // The box of a child, then the box of r0 again: everything below r0 goes.
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, BoxCentre(c, 2));
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, BoxCentre(c, 0));
    EXPECT_EQ(RowLabels(c), (Strings{"r0", "r1", "r2"}));
    EXPECT_EQ(Check(c), "");

    // A click on a cell selects its row and makes its column current.
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, CellPoint(c, 1, 2));
    EXPECT_EQ(c.SelectedRow(), 1);
    EXPECT_EQ(c.CurrentColumn(), 2);
    EXPECT_EQ(c.nCellClicks, 1);
    // A click on a leaf's row where a box would be is a plain cell click.
    // Below the last row nothing happens at all.
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10 * c.GetRowHeight()));
    EXPECT_EQ(c.SelectedRow(), 1);
    EXPECT_EQ(c.CurrentColumn(), 2);
    EXPECT_EQ(c.nCellClicks, 1);
    // Refused clicks change nothing, not even the selection.
    c.bAcceptClicks = false;
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, CellPoint(c, 2, 0));
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, BoxCentre(c, 0));
    EXPECT_EQ(c.SelectedRow(), 1);
    EXPECT_EQ(c.GetItemCount(), 3);
    c.bAcceptClicks = true;

    // Double-click on a row's cell toggles its node once; on the box, each of
    // the two clicks toggles it.
    DoubleClick(vp, CellPoint(c, 0, 1));
    EXPECT_EQ(c.GetItemCount(), 6);
    EXPECT_EQ(c.SelectedRow(), 0);
    DoubleClick(vp, CellPoint(c, 0, 1));
    EXPECT_EQ(c.GetItemCount(), 3);
    DoubleClick(vp, BoxCentre(c, 0));
    EXPECT_EQ(c.GetItemCount(), 3);
    EXPECT_EQ(Check(c), "");
}

TEST(TreeListCtrl, CollapsingByTheBoxBringsTheNodeIntoView)
{
    CTestTree c;
    Fill(c, 60);
    Show(c);
    Node* r40 = c.RootAt(40);
    c.ExpandNode(r40, 40);
    c.EnsureVisible(43, FALSE);
    c.Scroll(CSize(0, 3 * c.GetRowHeight()));  // r40 near the top, its children below
    const int nPage = c.GetCountPerPage();
    ASSERT_GT(c.GetTopIndex(), 0);
    QTest::mouseClick(c.viewport(), Qt::LeftButton, Qt::NoModifier, BoxCentre(c, 40));
    EXPECT_TRUE(c.IsCollapsed(r40));
    // Scrolled to the top first, then down just far enough for the node's row.
    EXPECT_EQ(c.GetTopIndex(), 40 - nPage + 1);
}

TEST(TreeListCtrl, Keys)
{
    CTestTree c;
    Fill(c, 30);
    Show(c, 250);
    ASSERT_EQ(c.CurrentColumn(), 0);

    // Left at the first column and Right at the last stay there.
    const int hBefore = c.horizontalScrollBar()->value();
    QTest::keyClick(&c, Qt::Key_Left);
    EXPECT_EQ(c.CurrentColumn(), 0);
    EXPECT_EQ(c.horizontalScrollBar()->value(), hBefore);
    QTest::keyClick(&c, Qt::Key_Right);
    EXPECT_EQ(c.CurrentColumn(), 1);
    CRect cell, client;
    c.GetClientRect(&client);
    c.GetSubItemRect(0, 1, LVIR_BOUNDS, cell);
    EXPECT_GE(cell.left, 0);  // scrolled so that the column is in view
    EXPECT_LE(cell.right, client.right);
    QTest::keyClick(&c, Qt::Key_Right);
    QTest::keyClick(&c, Qt::Key_Right);
    EXPECT_EQ(c.CurrentColumn(), 2);
    QTest::keyClick(&c, Qt::Key_Left);
    QTest::keyClick(&c, Qt::Key_Left);
    EXPECT_EQ(c.CurrentColumn(), 0);

    // Keypad keys act on the selected row.
    c.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    QTest::keyClick(&c, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(c.ChildCount(c.RootAt(1)), 3);
    EXPECT_EQ(c.GetItemCount(), 33);
    QTest::keyClick(&c, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(c.GetItemCount(), 30);
    QTest::keyClick(&c, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(c.GetItemCount(), 34);
    EXPECT_FALSE(c.IsCollapsed(c.NodeAtRow(3)));
    EXPECT_EQ(Check(c), "");

    // "*" on a leaf expands nothing and makes row 0 visible.
    const int nLeafRows = c.GetItemCount();
    c.SetItemState(5, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);  // r1c2, a leaf
    ASSERT_FALSE(c.HasChildren(c.NodeAtRow(5)));
    c.EnsureVisible(33, FALSE);
    ASSERT_GT(c.GetTopIndex(), 0);
    QTest::keyClick(&c, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(c.GetItemCount(), nLeafRows);
    EXPECT_EQ(c.GetTopIndex(), 0);

    // Delete removes the selected node unless the owner refuses.
    c.bMayDelete = false;
    QTest::keyClick(&c, Qt::Key_Delete);
    EXPECT_EQ(c.GetItemCount(), nLeafRows);
    c.bMayDelete = true;
    QTest::keyClick(&c, Qt::Key_Delete);
    EXPECT_EQ(c.GetItemCount(), nLeafRows - 1);
    EXPECT_EQ(c.ChildCount(c.RootAt(1)), 2);
    EXPECT_EQ(Check(c), "");

    // F10 goes to the parent; Enter handled by the owner opens nothing.
    std::vector<UINT> sent;
    c.SetParentHandler([&](UINT nMsg, WPARAM, LPARAM) { sent.push_back(nMsg); return LRESULT{0}; });
    QTest::keyClick(&c, Qt::Key_F10);
    EXPECT_EQ(sent, std::vector<UINT>{WM_TREELIST_PRINTPREVIEW});
    c.bEnterHandled = true;
    QWidget* before = QApplication::focusWidget();
    QTest::keyClick(&c, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST(TreeListCtrl, DropsMoveSubtreesOrChangeNothing)
{
    CTestTree c;
    Fill(c, 3);
    Show(c);
    int last = 0;
    c.ExpandSubtree(c.RootAt(0), last);  // r0 r0c0 r0c1 r0g r0c2 r1 r2
    const Strings before = RowLabels(c);
    DragAndDrop(c, 2, 2);  // onto itself
    DragAndDrop(c, 2, 0);  // onto its parent
    DragAndDrop(c, 2, 3);  // into its own subtree
    DragAndDrop(c, 5, 6);  // a root
    EXPECT_EQ(RowLabels(c), before);
    EXPECT_EQ(c.GetNextItem(-1, LVNI_DROPHILITED), -1);
    EXPECT_FALSE(c.IsDragging());

    // A row the owner gives no drag image for cannot be dragged.
    c.bAllowDrag = false;
    DragAndDrop(c, 2, 5);
    EXPECT_EQ(RowLabels(c), before);
    c.bAllowDrag = true;

    // Escape cancels; the release that follows drops nothing.
    StartDrag(c, 2, 5);
    ASSERT_TRUE(c.IsDragging());
    EXPECT_EQ(c.GetNextItem(-1, LVNI_DROPHILITED), 5);
    QTest::keyClick(&c, Qt::Key_Escape);
    EXPECT_FALSE(c.IsDragging());
    EXPECT_EQ(c.GetNextItem(-1, LVNI_DROPHILITED), -1);
    QTest::mouseRelease(c.viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(c, 5, 1));
    EXPECT_EQ(RowLabels(c), before);

    // A drop that is allowed: r0c1 with its child onto r1 (collapsed).
    c.bCopyInfos = true;
    Node* r1 = c.RootAt(1);
    DragAndDrop(c, 2, 5);
    EXPECT_EQ(RowLabels(c), (Strings{"r0", "r0c0", "r0c2", "r1", "r2"}));
    EXPECT_EQ(c.SelectedRow(), 3);  // the target, which moved up with the removal
    ASSERT_EQ(c.ChildCount(r1), 4);
    Node* moved = Children(c, r1).back();
    EXPECT_EQ(c.InfoOf(moved)->GetText() + c.InfoOf(Children(c, moved).at(0))->GetText(), "r0c1r0g");
    EXPECT_EQ(Check(c), "");
}

TEST(TreeListCtrl, HoveringWhileDraggingExpandsAndScrolls)
{
    CTestTree c;
    Fill(c, 40);
    Show(c);
    // Drag r3 (row 3) over r1 (row 1, collapsed with children): after 300 ms r1
    // opens and the dragged row number follows its node down.
    StartDrag(c, 3, 1);
    ASSERT_TRUE(c.IsDragging());
    EXPECT_EQ(c.DragRow(), 3);
    QTRY_VERIFY_WITH_TIMEOUT(!c.IsCollapsed(c.RootAt(1)), 2000);
    EXPECT_EQ(c.DragRow(), 6);
    EXPECT_EQ(c.NodeAtRow(c.DragRow()), c.RootAt(3));

    // In the bottom band the list scrolls a line every 300 ms.
    const int nTop = c.GetTopIndex();
    MouseMove(c.viewport(), QPoint(50, c.viewport()->height() - 3), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(c.GetTopIndex() >= nTop + 2, 3000);
    QTest::mouseRelease(c.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, c.viewport()->height() - 3));
    EXPECT_FALSE(c.IsDragging());
    EXPECT_EQ(Check(c), "");
}

TEST(TreeListCtrl, TooltipShowsShortenedCellsAfterTheHoverDelay)
{
    CTestTree c;
    CHtmlToolTip* pTip = CHtmlToolTip::Shared();  // the control holds it
    ASSERT_NE(pTip, nullptr);
    const std::string longText = "a<b " + std::string(200, 'x');
    for (int i = 0; i < 3; ++i)
        Root(c, "above");
    const CNodeInfo* pInfo = c.InfoOf(c.AddRootNode(Info("short", {"fits", longText})));
    Show(c);
    c.viewport()->repaint();  // the drawing marks the shortened cell
    ASSERT_EQ(pInfo->TipMask() & 0x4u, 0x4u);
    ASSERT_EQ(pInfo->TipMask() & 0x2u, 0u);

    MouseMove(c.viewport(), CellPoint(c, 3, 1), Qt::NoButton);
    QTest::qWait(700);
    EXPECT_FALSE(pTip->isVisible());  // the text fits: no tooltip

    MouseMove(c.viewport(), CellPoint(c, 3, 2), Qt::NoButton);
    QTest::qWait(200);
    EXPECT_FALSE(pTip->isVisible());  // not before the delay
    QTRY_VERIFY_WITH_TIMEOUT(pTip->isVisible(), 2000);
    EXPECT_EQ(pTip->text(), CHtmlToolTip::ToRichText("a<<b " + std::string(200, 'x')));

    // Leaving the shortened cell hides it.
    MouseMove(c.viewport(), CellPoint(c, 3, 1), Qt::NoButton);
    EXPECT_FALSE(pTip->isVisible());
}

// Enter opens the editor on the current cell; its end-of-edit comes back
// through the list to the node and the cell (the editors' own keys are
// tested with the editors).
TEST(TreeListCtrl, EnterEditsTheCurrentCell)
{
    CTestTree c;
    c.AddRootNode(Info("name", {"old"}));
    Show(c);
    c.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    c.SetCurrentColumn(1);
    QTest::keyClick(&c, Qt::Key_Return);
    auto* pEdit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->text(), "old");
    pEdit->selectAll();
    QTest::keyClicks(pEdit, "new");
    QTest::keyClick(pEdit, Qt::Key_Return);
    EXPECT_EQ(c.GetItemText(0, 1), "new");
    EXPECT_EQ(c.InfoOf(c.NodeAtRow(0))->GetSubText(0), "new");
}

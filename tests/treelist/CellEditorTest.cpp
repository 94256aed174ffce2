// In-place cell editors: placement, alignment, growth, the end-of-edit report
// for Enter, Escape and focus loss, keys kept from the frame's shortcuts, and
// the drop-down editor with its widening list.
#include "TreeTestUtil.h"
#include "treelist/CellComboCtrl.h"
#include "treelist/CellEditCtrl.h"
#include "platform/WindowStyles.h"
#include <QAbstractItemView>
#include <QAction>
#include <QPointer>
#include <QVBoxLayout>
#include <optional>

using namespace treetest;

namespace {

struct SReport
{
    std::optional<std::string> text;  // empty: cancelled
    int nRow, nColumn;
    UINT nId, nMask;
    LPARAM lParam;
};

class CEditTree : public CTestTree
{
public:
    std::vector<SReport> reports;

    CEditTree()
    {
        bEditOnClick = true;
        AddRootNode(Info("r0", {"alpha", "beta"}));
        AddRootNode(Info("r1", {"gamma", ""}));
    }
    std::string CellInfo(int nRow, int nColumn)
    {
        const CNodeInfo* pInfo = InfoOf(NodeAtRow(nRow));
        return nColumn == 0 ? pInfo->GetText() : pInfo->GetSubText(nColumn - 1);
    }

protected:
    LRESULT OnEndLabelEdit(NMLVDISPINFO* pInfo) override
    {
        const LVITEM& item = pInfo->item;
        reports.push_back({item.pszText ? std::optional<std::string>(item.pszText) : std::nullopt, item.iItem,
                           item.iSubItem, static_cast<UINT>(pInfo->hdr.idFrom), item.mask, item.lParam});
        return CTestTree::OnEndLabelEdit(pInfo);
    }
};

// Lets deleteLater() and queued focus changes happen.
void Settle()
{
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

} // namespace

TEST(CellEditor, EnterCommitsEscapeCancelsFocusLossCommits)
{
    CEditTree tree;
    Show(tree, 720, 300);
    EXPECT_EQ(tree.EditCell(7, 1), nullptr);

    QPointer<CCellEditCtrl> pEdit = tree.EditCell(0, 1);
    ASSERT_TRUE(pEdit);
    CRect rcCell;
    tree.GetSubItemRect(0, 1, LVIR_BOUNDS, rcCell);
    EXPECT_EQ(pEdit->geometry(), rcCell.ToQRect());
    EXPECT_EQ(pEdit->text(), "alpha");
    EXPECT_EQ(pEdit->ControlId(), IDC_CELL_EDIT);
    EXPECT_TRUE(pEdit->hasFocus());
    EXPECT_EQ(pEdit->cursorPosition(), 0);
    EXPECT_TRUE(pEdit->alignment() & Qt::AlignRight) << "a right-aligned column gives a right-aligned editor";
    QTest::keyClicks(pEdit, "zz");
    QTest::keyClick(pEdit, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(pEdit) << "closed and deleted";
    ASSERT_EQ(tree.reports.size(), 1u);
    EXPECT_FALSE(tree.reports[0].text) << "Escape reports no text";
    EXPECT_EQ(tree.GetItemText(0, 1), "alpha");
    EXPECT_EQ(tree.CellInfo(0, 1), "alpha");

    pEdit = tree.EditCell(0, 2);
    ASSERT_TRUE(pEdit);
    EXPECT_TRUE(pEdit->alignment() & Qt::AlignHCenter);
    QTest::keyClicks(pEdit, "X");
    QTest::keyClick(pEdit, Qt::Key_Return);
    Settle();
    ASSERT_EQ(tree.reports.size(), 2u);
    EXPECT_EQ(tree.reports[1].text, "Xbeta");
    EXPECT_EQ(std::pair(tree.reports[1].nRow, tree.reports[1].nColumn), std::pair(0, 2));
    EXPECT_EQ(tree.reports[1].nMask, LVIF_TEXT);
    EXPECT_EQ(tree.GetItemText(0, 2), "Xbeta");
    EXPECT_EQ(tree.CellInfo(0, 2), "Xbeta");

    // A click outside the editor (below the rows) takes the focus: the text is kept.
    pEdit = tree.EditCell(1, 2);
    ASSERT_TRUE(pEdit);
    QTest::keyClicks(pEdit, "new");
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(50, tree.viewport()->height() - 5));
    Settle();
    ASSERT_EQ(tree.reports.size(), 3u);
    EXPECT_EQ(tree.CellInfo(1, 2), "new");

    // Column 0 from a click: over the label, to column 0's right edge.
    LVHITTESTINFO hit;
    hit.iItem = 1;
    hit.iSubItem = 0;
    pEdit = static_cast<CCellEditCtrl*>(tree.OnCellClick(0, CPoint(), &hit, FALSE));
    ASSERT_TRUE(pEdit);
    CRect rcLabel;
    tree.GetItemRect(1, &rcLabel, LVIR_LABEL);
    EXPECT_EQ(pEdit->geometry(), QRect(rcLabel.left - 2, rcLabel.top, 200 - (rcLabel.left - 2), rcLabel.Height()));
    EXPECT_EQ(pEdit->ControlId(), IDC_LABEL_EDIT);
    pEdit->selectAll();
    QTest::keyClicks(pEdit, "renamed");
    QTest::keyClick(pEdit, Qt::Key_Enter);
    Settle();
    EXPECT_EQ(tree.CellInfo(1, 0), "renamed");
    EXPECT_EQ(tree.GetItemText(1, 0), "renamed");
}

TEST(CellEditor, GrowsWithItsTextUpToTheListEdge)
{
    CEditTree tree;
    tree.SetColumnWidth(1, 40);
    Show(tree, 720, 300);
    QPointer<CCellEditCtrl> pEdit = tree.EditCell(0, 1);
    ASSERT_TRUE(pEdit);
    EXPECT_EQ(pEdit->width(), 40);
    pEdit->setCursorPosition(pEdit->text().size());
    QTest::keyClicks(pEdit, " and a much longer text");
    const int nWidth = pEdit->width();
    EXPECT_GT(nWidth, pEdit->fontMetrics().horizontalAdvance(pEdit->text()));
    EXPECT_LT(pEdit->x() + nWidth, tree.viewport()->width());
    QTest::keyClicks(pEdit, QString(300, 'w'));
    EXPECT_EQ(pEdit->x() + pEdit->width(), tree.viewport()->width()) << "no further than the list's right edge";
    EXPECT_EQ(pEdit->x(), 200);
    QTest::keyClick(pEdit, Qt::Key_Escape);
    Settle();
}

TEST(CellEditor, EditingKeysNeverReachTheFrameShortcutsAndTheEditorGoesWithItsList)
{
    QWidget frame;
    auto* pLayout = new QVBoxLayout(&frame);
    auto* pTree = new CEditTree;
    pLayout->addWidget(pTree);
    int nShortcuts = 0;
    for (QKeySequence key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Escape),
                             QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_A)}) {
        auto* pAction = new QAction(&frame);
        pAction->setShortcut(key);
        pAction->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(pAction, &QAction::triggered, [&nShortcuts] { ++nShortcuts; });
        frame.addAction(pAction);
    }
    frame.resize(760, 340);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QApplication::setActiveWindow(&frame);
    pTree->setFocus();
    QApplication::processEvents();
    QTest::keyClick(pTree, Qt::Key_Delete);
    ASSERT_EQ(nShortcuts, 1) << "the frame's shortcuts work elsewhere";
    nShortcuts = 0;

    QPointer<CCellEditCtrl> pEdit = pTree->EditCell(0, 1);
    ASSERT_TRUE(pEdit);
    QTest::keyClick(pEdit, Qt::Key_Delete);
    EXPECT_EQ(pEdit->text(), "lpha");
    QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pEdit->selectedText(), "lpha");
    QTest::keyClick(pEdit, Qt::Key_Escape);
    Settle();
    pEdit = pTree->EditCell(0, 1);
    QTest::keyClick(pEdit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(nShortcuts, 0);
    EXPECT_EQ(pTree->reports.size(), 2u);

    // A window closing with an edit open takes the editor along.
    pEdit = pTree->EditCell(0, 1);
    ASSERT_TRUE(pEdit && pEdit->hasFocus());
    delete pTree;
    EXPECT_FALSE(pEdit);
}

TEST(CellEditor, DropDownEditorReportsTheChoiceAndWidensItsList)
{
    CEditTree tree;
    Show(tree, 720, 300);
    const CStringList choices = {"beta", "Alpha", "delta", "gamma", "epsilon"};

    QPointer<CCellComboCtrl> pCombo = tree.EditComboCell(0, 1, choices);
    ASSERT_TRUE(pCombo);
    ASSERT_EQ(pCombo->count(), 5);
    EXPECT_EQ(pCombo->itemText(0), "Alpha") << "sorted";
    EXPECT_EQ(pCombo->itemText(4), "gamma");
    EXPECT_EQ(pCombo->currentIndex(), -1);
    EXPECT_EQ(pCombo->height(), tree.GetRowHeight());
    EXPECT_EQ(pCombo->view()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << "five choices keep the scroll bar";
    tree.setFocus();  // nothing chosen: closes without a report
    Settle();
    EXPECT_FALSE(pCombo);
    EXPECT_TRUE(tree.reports.empty());

    pCombo = tree.EditComboCell(0, 1, choices);
    pCombo->setCurrentIndex(2);
    QTest::keyClick(pCombo, Qt::Key_Return);
    Settle();
    ASSERT_EQ(tree.reports.size(), 1u);
    EXPECT_EQ(tree.reports[0].text, "delta");
    EXPECT_EQ(tree.reports[0].nMask, LVIF_TEXT | LVIF_PARAM);
    EXPECT_EQ(tree.reports[0].lParam, 2);
    EXPECT_EQ(tree.reports[0].nId, IDC_CELL_COMBO);
    EXPECT_EQ(tree.GetItemText(0, 1), "delta");

    pCombo = tree.EditComboCell(0, 1, {"x", "y"});
    EXPECT_NE(pCombo->view()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    pCombo->setCurrentIndex(1);
    QTest::keyClick(pCombo, Qt::Key_Escape);
    Settle();
    ASSERT_EQ(tree.reports.size(), 2u);
    EXPECT_FALSE(tree.reports[1].text);
    EXPECT_EQ(tree.GetItemText(0, 1), "delta");

    CWideComboBox wide(&tree);
    wide.setGeometry(10, 10, 60, 20);
    wide.show();
    const QString longest = "a rather long entry of the drop-down list";
    wide.addItems({"short", longest});
    EXPECT_EQ(wide.DropWidth(), 0);
    wide.showPopup();
    EXPECT_GE(wide.DropWidth(), wide.fontMetrics().horizontalAdvance(longest) + GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_GE(wide.view()->window()->width(), wide.DropWidth());
    wide.hidePopup();
}

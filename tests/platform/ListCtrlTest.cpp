// The report-mode list: rows, states, geometry, hit tests, scrolling, the
// owner-drawn painting and the notifications it sends to itself.
#include "platform/gdi/ImageList.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/listctrl/ListCtrl.h"
#include "platform/listctrl/VirtualKeys.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Records what the list hands to its owner-side virtuals.
class CProbeList : public CListCtrl
{
public:
    std::vector<int> drawn;
    std::vector<LPARAM> drawnData;  // the item data of the rows drawn, in order
    std::vector<int> dblClicks;
    std::vector<int> dragRows;
    std::vector<WORD> keys;
    std::vector<std::string> edits;

protected:
    void DrawItem(DRAWITEMSTRUCT* pDrawItem) override
    {
        drawn.push_back(static_cast<int>(pDrawItem->itemID));
        drawnData.push_back(pDrawItem->itemData);
        EXPECT_NE(pDrawItem->pDC, nullptr);
        CListCtrl::DrawItem(pDrawItem);
    }
    void OnDblClk(NMITEMACTIVATE* p) override { dblClicks.push_back(p->iItem); }
    void OnBeginDrag(NMLISTVIEW* p) override { dragRows.push_back(p->iItem); }
    void OnKeyDown(NMLVKEYDOWN* p) override { keys.push_back(p->wVKey); }
    LRESULT OnEndLabelEdit(NMLVDISPINFO* p) override
    {
        EXPECT_EQ(p->hdr.code, LVN_ENDLABELEDIT);
        EXPECT_EQ(p->hdr.hwndFrom, this);
        edits.push_back(p->item.pszText ? p->item.pszText : "<null>");
        return 0;
    }
};

std::vector<CListRow> Rows(int nFirst, int nCount)
{
    std::vector<CListRow> rows(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i) {
        rows[static_cast<size_t>(i)].texts = {"r" + std::to_string(nFirst + i), "b" + std::to_string(nFirst + i)};
        rows[static_cast<size_t>(i)].lParam = nFirst + i;
    }
    return rows;
}

void ShowList(CListCtrl& list, int nWidth = 400, int nHeight = 0)
{
    list.resize(nWidth, nHeight > 0 ? nHeight : 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
}

void AddColumns(CListCtrl& list)
{
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
    list.InsertColumn(1, "Value", LVCFMT_RIGHT, 80);
    list.InsertColumn(2, "More", LVCFMT_CENTER, 60);
}

}  // namespace

TEST(ListCtrl, InsertDeleteAndStates)
{
    CProbeList list;
    AddColumns(list);
    EXPECT_EQ(list.InsertItems(0, Rows(0, 5)), 0);
    EXPECT_EQ(list.InsertItem(99, "tail"), 5);  // clamped to the end
    EXPECT_EQ(list.InsertItems(2, Rows(100, 3)), 2);
    std::vector<LPARAM> order;
    for (int i = 0; i < list.GetItemCount(); ++i)
        order.push_back(list.GetItemData(i));
    EXPECT_EQ(order, (std::vector<LPARAM>{0, 1, 100, 101, 102, 2, 3, 4, 0}));
    EXPECT_EQ(list.GetItemText(2, 1), "b100");
    EXPECT_EQ(list.GetItemText(8, 2), "");
    char buffer[3];  // GetItem cuts the text to the caller's buffer
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 3;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    ASSERT_TRUE(list.GetItem(&item));
    EXPECT_STREQ(buffer, "r1");
    EXPECT_EQ(item.lParam, 101);

    // Selection is single; deleting the selected row leaves no selection.
    list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 4);
    EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), LVIS_FOCUSED);
    EXPECT_TRUE(list.DeleteItems(2, 3));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), -1);
    EXPECT_FALSE(list.DeleteItems(5, 2));  // runs past the end: nothing happens
    EXPECT_EQ(list.GetItemCount(), 6);
    // A selection below deleted rows moves up with its row.
    list.SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 4);

    // Per-row states and the check box state image.
    list.SetItemState(1, LVIS_DROPHILITED | LVIS_CUT, LVIS_DROPHILITED | LVIS_CUT);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_DROPHILITED), 1);
    list.SetItemState(-1, 0, LVIS_DROPHILITED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_DROPHILITED), -1);
    EXPECT_EQ(list.GetItemState(1, LVIS_CUT), LVIS_CUT);
    list.SetCheck(2, TRUE);
    EXPECT_TRUE(list.GetCheck(2));
    list.SetCheck(2, FALSE);
    EXPECT_FALSE(list.GetCheck(2));
}

TEST(ListCtrl, RectanglesAndHitTests)
{
    CListCtrl list;
    AddColumns(list);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    list.SetImageList(&images, LVSIL_SMALL);
    list.InsertItems(0, Rows(0, 4));
    LVITEM indent;
    indent.mask = LVIF_INDENT;
    indent.iItem = 1;
    indent.iIndent = 2;
    list.SetItem(&indent);
    QFont big = list.font();
    big.setPointSize(big.pointSize() * 2);
    list.setFont(big);
    ShowList(list);

    // Rows are font ascent + descent + leading + 4 high, for the view's layout too.
    const QFontMetrics m(big);
    const int h = list.GetRowHeight();
    EXPECT_EQ(h, m.ascent() + m.descent() + std::max(0, m.leading()) + 4);
    EXPECT_EQ(list.visualRect(list.model()->index(2, 0)).top(), 2 * h);
    CRect bounds, icon, label, cell;
    ASSERT_TRUE(list.GetItemRect(1, &bounds, LVIR_BOUNDS));
    EXPECT_EQ(bounds, CRect(0, h, 260, 2 * h));
    ASSERT_TRUE(list.GetItemRect(1, &icon, LVIR_ICON));
    EXPECT_EQ(icon, CRect(32, h, 48, 2 * h));
    ASSERT_TRUE(list.GetItemRect(1, &label, LVIR_LABEL));
    EXPECT_EQ(label, CRect(48, h, 120, 2 * h));
    ASSERT_TRUE(list.GetSubItemRect(1, 2, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell, CRect(200, h, 260, 2 * h));
    ASSERT_TRUE(list.GetSubItemRect(1, 0, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell, CRect(0, h, 120, 2 * h));
    EXPECT_FALSE(list.GetItemRect(4, &bounds, LVIR_BOUNDS));

    const auto hitAt = [&](int x, int y) {
        LVHITTESTINFO hit;
        hit.pt = CPoint(x, y);
        list.SubItemHitTest(&hit);
        return std::vector<int>{hit.iItem, hit.iSubItem, static_cast<int>(hit.flags)};
    };
    EXPECT_EQ(hitAt(150, h + 2), (std::vector<int>{1, 1, LVHT_ONITEMLABEL}));
    EXPECT_EQ(hitAt(40, h + 2), (std::vector<int>{1, 0, LVHT_ONITEMICON}));
    EXPECT_EQ(hitAt(300, h + 2)[0], -1);     // right of the last column
    EXPECT_EQ(hitAt(10, 4 * h + 1)[0], -1);  // below the last row
    EXPECT_EQ(list.HitTest(CPoint(10, 3 * h)), 3);
    EXPECT_EQ(list.HitTest(CPoint(10, 3 * h - 1)), 2);

    // Scrolled horizontally, everything moves left by the offset.
    list.resize(150, 300);
    QApplication::processEvents();
    list.Scroll(CSize(30, 0));
    ASSERT_TRUE(list.GetItemRect(1, &bounds, LVIR_BOUNDS));
    EXPECT_EQ(bounds.left, -30);
    ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell.left, 90);
    CRect header;
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(1, &header));
    EXPECT_EQ(header.left, 90);
    EXPECT_EQ(header.Width(), 80);
}

TEST(ListCtrl, EnsureVisibleScrollsRowsWhole)
{
    CListCtrl list;
    AddColumns(list);
    list.InsertItems(0, Rows(0, 100));
    const int h = list.GetRowHeight();
    ShowList(list, 300, 0);
    // A viewport of ten and a half rows.
    list.resize(300, list.height() - list.viewport()->height() + 10 * h + h / 2);
    QApplication::processEvents();
    ASSERT_EQ(list.GetCountPerPage(), 10);
    EXPECT_EQ(list.GetTopIndex(), 0);

    // Row 10 is half visible: accepted as partly visible, scrolled for a whole view.
    EXPECT_TRUE(list.EnsureVisible(10, TRUE));
    EXPECT_EQ(list.GetTopIndex(), 0);
    EXPECT_TRUE(list.EnsureVisible(10, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 1);
    CRect r;
    list.GetItemRect(10, &r, LVIR_BOUNDS);
    EXPECT_LE(r.bottom, list.viewport()->height());

    EXPECT_TRUE(list.EnsureVisible(60, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 51);
    EXPECT_TRUE(list.EnsureVisible(55, FALSE));  // already whole: nothing moves
    EXPECT_EQ(list.GetTopIndex(), 51);
    EXPECT_TRUE(list.EnsureVisible(3, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 3);
    EXPECT_FALSE(list.EnsureVisible(100, FALSE));

    // Row geometry and hit tests follow the scroll position.
    list.GetItemRect(3, &r, LVIR_BOUNDS);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(list.HitTest(CPoint(5, h + 1)), 4);
    list.Scroll(CSize(0, 5 * h));
    EXPECT_EQ(list.GetTopIndex(), 8);
}

TEST(ListCtrl, PaintsEveryVisibleRowThroughDrawItem)
{
    CProbeList list;
    AddColumns(list);
    list.InsertItems(0, Rows(0, 50));
    list.SetExtendedStyle(LVS_EX_GRIDLINES);
    ShowList(list, 300, 0);
    list.drawn.clear();
    list.grab();
    const int nVisible = (list.viewport()->height() + list.GetRowHeight() - 1) / list.GetRowHeight();
    std::vector<int> expected;
    for (int i = 0; i < nVisible; ++i)
        expected.push_back(i);
    EXPECT_EQ(list.drawn, expected);

    // Redraw off: nothing is painted; back on, the rows are painted again.
    list.drawn.clear();
    list.SetRedraw(FALSE);
    list.Invalidate();
    list.UpdateWindow();
    EXPECT_TRUE(list.drawn.empty());
    list.SetRedraw(TRUE);
    list.UpdateWindow();
    EXPECT_FALSE(list.drawn.empty());

    // The grid lines are drawn over the owner's painting at each column edge.
    const QImage image = list.viewport()->grab().toImage();
    const QColor line = image.pixelColor(119, 5);
    const QColor inside = image.pixelColor(60, 5);
    EXPECT_NE(line, inside);
}

TEST(ListCtrl, NotificationsFromInput)
{
    CProbeList list;
    AddColumns(list);
    list.InsertItems(0, Rows(0, 10));
    ShowList(list);
    QWidget* vp = list.viewport();
    const int h = list.GetRowHeight();

    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 2 * h + 3));
    EXPECT_EQ(list.dblClicks, std::vector<int>{2});
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);

    // A left-button drag from a row starts the drag of that row once.
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 4 * h + 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 7 * h), vp->mapToGlobal(QPointF(20, 7 * h)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 7 * h));
    EXPECT_EQ(list.dragRows, std::vector<int>{4});
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 4);  // dragging did not move the selection

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_F10);
    QTest::keyClick(&list, Qt::Key_Asterisk, Qt::KeypadModifier);
    QTest::keyClick(&list, Qt::Key_Asterisk);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.keys, (std::vector<WORD>{VK_F10, VK_MULTIPLY, 0, VK_DOWN}));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 5);  // the list's own navigation ran

    std::string text = "new";
    NMLVDISPINFO info;
    info.item.iItem = 1;
    info.item.pszText = text.data();
    list.NotifyEndLabelEdit(&info);
    info.item.pszText = nullptr;
    list.NotifyEndLabelEdit(&info);
    EXPECT_EQ(list.edits, (std::vector<std::string>{"new", "<null>"}));
}

namespace {

// The item data a paint of the whole viewport hands to DrawItem, row by row.
std::vector<LPARAM> PaintedData(CProbeList& list)
{
    list.drawnData.clear();
    list.viewport()->grab();
    return list.drawnData;
}

std::vector<LPARAM> Range(LPARAM first, int nCount)
{
    std::vector<LPARAM> values;
    for (int i = 0; i < nCount; ++i)
        values.push_back(first + i);
    return values;
}

}  // namespace

TEST(ListCtrl, PaintsTheRowsAtTheTopRowAfterRowsGoInAndOutAbove)
{
    CProbeList list;
    AddColumns(list);
    list.InsertItems(0, Rows(0, 200));
    ShowList(list, 300, 0);
    const int nShown = (list.viewport()->height() + list.GetRowHeight() - 1) / list.GetRowHeight();
    list.Scroll(CSize(0, 50 * list.GetRowHeight()));
    ASSERT_EQ(list.GetTopIndex(), 50);
    EXPECT_EQ(PaintedData(list), Range(50, nShown));

    // The top row number stays; the rows under it are the ones moved down.
    list.InsertItems(10, Rows(1000, 5));
    EXPECT_EQ(list.GetTopIndex(), 50);
    EXPECT_EQ(PaintedData(list), Range(45, nShown));
    EXPECT_TRUE(list.DeleteItems(0, 20));
    EXPECT_EQ(PaintedData(list), Range(65, nShown));
    EXPECT_EQ(list.GetItemData(list.HitTest(CPoint(5, 1))), 65);

    // Removing rows under the last page pulls the top back so the last row ends the view.
    const int nPage = list.GetCountPerPage();
    EXPECT_TRUE(list.DeleteItems(60, list.GetItemCount() - 60));
    EXPECT_EQ(list.GetTopIndex(), 60 - nPage);
    const std::vector<LPARAM> painted = PaintedData(list);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(), list.GetItemData(59));
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetTopIndex(), 0);
    EXPECT_TRUE(PaintedData(list).empty());
}

namespace {

// A hundred thousand rows in a shown list nWidth pixels wide.
void ShowHundredThousandRows(CProbeList& list, int nWidth)
{
    AddColumns(list);
    list.InsertItems(0, Rows(0, 100000));
    ShowList(list, nWidth);
}

}  // namespace

TEST(ListCtrl, ScrollsToTheLastRowOfAHundredThousand)
{
    CProbeList list;
    ShowHundredThousandRows(list, 300);
    const int h = list.GetRowHeight();
    const int nPage = list.GetCountPerPage();
    ASSERT_GT(nPage, 2);
    EXPECT_EQ(list.verticalScrollBar()->maximum(), 100000 - nPage);

    list.setFocus();
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 99999);
    EXPECT_EQ(list.GetTopIndex(), 100000 - nPage);
    CRect last;
    ASSERT_TRUE(list.GetItemRect(99999, &last, LVIR_BOUNDS));
    EXPECT_EQ(last.top, (nPage - 1) * h);
    EXPECT_LE(last.bottom, list.viewport()->height());
    EXPECT_EQ(PaintedData(list).back(), 99999);
    list.Scroll(CSize(0, 50 * h));  // past the end: stays at the last page
    EXPECT_EQ(list.GetTopIndex(), 100000 - nPage);

    // Page Up moves the current row by a page; Home goes back to the first row.
    QTest::keyClick(&list, Qt::Key_PageUp);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 99999 - nPage);
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(list.GetTopIndex(), 0);
}

TEST(ListCtrl, AClickFarDownAHundredThousandRowsSelectsTheRowUnderIt)
{
    CProbeList list;
    ShowHundredThousandRows(list, 150);
    const int h = list.GetRowHeight();
    list.verticalScrollBar()->setValue(54321);
    list.horizontalScrollBar()->setValue(40);
    ASSERT_EQ(list.GetTopIndex(), 54321);

    CRect cell;
    ASSERT_TRUE(list.GetSubItemRect(54324, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell, CRect(80, 3 * h, 160, 4 * h));
    EXPECT_EQ(list.visualRect(list.model()->index(54324, 1)), cell.ToQRect());
    LVHITTESTINFO hit;
    hit.pt = CPoint(85, 3 * h + 1);
    EXPECT_EQ(list.SubItemHitTest(&hit), 54324);
    EXPECT_EQ(hit.iSubItem, 1);
    EXPECT_EQ(list.HitTest(CPoint(5, -1)), -1);  // above the viewport: no row
    EXPECT_FALSE(list.GetItemRect(100000, &cell, LVIR_BOUNDS));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(85, 3 * h + 1));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 54324);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 54324);
    EXPECT_EQ(PaintedData(list).front(), 54321);

    // Left and Right scroll sideways and leave the current row where it is.
    const int nOffset = list.horizontalScrollBar()->value();
    QTest::keyClick(&list, Qt::Key_Left);
    EXPECT_LT(list.horizontalScrollBar()->value(), nOffset);
    QTest::keyClick(&list, Qt::Key_Right);
    QTest::keyClick(&list, Qt::Key_Right);
    EXPECT_GT(list.horizontalScrollBar()->value(), nOffset);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 54324);
    CRect header;
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(1, &header));
    ASSERT_TRUE(list.GetSubItemRect(54324, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(header.left, cell.left);  // the header scrolls with the rows
}

namespace {

// Answers callback cells with "cb<row>.<column>" and counts the questions.
class CCallbackList : public CProbeList
{
public:
    mutable int nAsked = 0;

protected:
    std::string GetDispInfoText(int nItem, int nSubItem) const override
    {
        ++nAsked;
        return "cb" + std::to_string(nItem) + "." + std::to_string(nSubItem);
    }
};

}  // namespace

TEST(ListCtrl, CallbackCellsAskTheOwnerAndOwnTextsStayTheRows)
{
    CCallbackList list;
    AddColumns(list);
    list.InsertItems(0, Rows(0, 2));  // rows with texts of their own
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 1;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.lParam = 77;
    ASSERT_EQ(list.InsertItem(&item), 1);
    item.mask = LVIF_TEXT;
    item.iSubItem = 2;
    ASSERT_TRUE(list.SetItem(&item));

    EXPECT_EQ(list.GetItemText(0, 1), "b0");
    EXPECT_EQ(list.GetItemText(2, 0), "r1");
    EXPECT_EQ(list.nAsked, 0);
    EXPECT_EQ(list.GetItemText(1, 0), "cb1.0");
    EXPECT_EQ(list.GetItemText(1, 1), "");  // never made a callback
    EXPECT_EQ(list.GetItemText(1, 2), "cb1.2");
    EXPECT_EQ(list.GetItemData(1), 77);
    char buffer[4];
    LVITEM get;
    get.mask = LVIF_TEXT;
    get.iItem = 1;
    get.pszText = buffer;
    get.cchTextMax = sizeof buffer;
    ASSERT_TRUE(list.GetItem(&get));
    EXPECT_STREQ(buffer, "cb1");
    EXPECT_EQ(list.model()->data(list.model()->index(1, 2), Qt::DisplayRole).toString(), "cb1.2");

    // A text set on a callback cell is the row's own from then on.
    const int nBefore = list.nAsked;
    ASSERT_TRUE(list.SetItemText(1, 0, "mine"));
    EXPECT_EQ(list.GetItemText(1, 0), "mine");
    EXPECT_EQ(list.nAsked, nBefore);
    EXPECT_EQ(list.GetItemText(1, 2), "cb1.2");
}

TEST(ListCtrl, PaintingAHundredThousandCallbackRowsAsksForTheVisibleOnes)
{
    CCallbackList list;
    AddColumns(list);
    std::vector<CListRow> rows(100000);
    for (CListRow& row : rows)
        row.nCallbackCells = CListRow::kAllCallback;
    list.InsertItems(0, std::move(rows));
    ShowList(list, 300, 0);
    list.verticalScrollBar()->setValue(40000);
    list.nAsked = 0;
    list.drawn.clear();
    list.viewport()->grab();
    ASSERT_FALSE(list.drawn.empty());
    EXPECT_EQ(list.drawn.front(), 40000);
    EXPECT_EQ(list.nAsked, static_cast<int>(list.drawn.size()) * list.GetColumnCount());
    EXPECT_EQ(list.GetItemText(40001, 1), "cb40001.1");
}

#pragma once
// Shared by the tree-list tests (and the grid's): a three-column control with
// flat-coloured images and hooks the tests switch, trees built from labels,
// rows read back or rendered into images, the mouse driven as the window
// system does, and the consistency check of tree and rows.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/ImageList.h"
#include "treelist/TreeListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace treetest {

using Node = CTreeListCtrl::CTreeItem;
using Strings = std::vector<std::string>;

constexpr QRgb kIconColour = 0xFF206020;
constexpr COLORREF kLineColour = RGB(192, 192, 192);

inline std::unique_ptr<CNodeInfo> Info(const std::string& label, const Strings& cells = {})
{
    auto pInfo = std::make_unique<CNodeInfo>();
    pInfo->SetText(label);
    for (size_t i = 0; i < cells.size(); ++i)
        pInfo->SetSubText(static_cast<int>(i), cells[i]);
    return pInfo;
}

inline Node* Root(CTreeListCtrl& c, const std::string& label) { return c.AddRootNode(Info(label)); }

inline Node* Child(CTreeListCtrl& c, Node* parent, const std::string& label, BOOL bShowNow = FALSE)
{
    return c.AddChildNode(parent, Info(label), bShowNow);
}

// The labels of the rows, top to bottom.
inline Strings RowLabels(const CTreeListCtrl& c)
{
    Strings out;
    for (int i = 0; i < c.GetItemCount(); ++i)
        out.push_back(c.GetItemText(i, 0));
    return out;
}

// nCount images of cx x cy in one flat colour.
inline void FillImageList(CImageList& list, int cx, int cy, int nCount, QRgb colour)
{
    list.Create(cx, cy, ILC_COLOR24, nCount, 1);
    QImage strip(cx * nCount, cy, QImage::Format_RGB32);
    strip.fill(colour);
    CBitmap bitmap;
    bitmap.CreateFromImage(strip);
    list.Add(&bitmap, CLR_NONE);
}

inline COLORREF Pixel(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return RGB(unsigned(qRed(c)), unsigned(qGreen(c)), unsigned(qBlue(c)));
}

// Columns "Tree" (200), "Right" (100, right-aligned) and "Centre" (100,
// centred); 16 x 16 images of kIconColour.
class CTestTree : public CTreeListCtrl
{
public:
    CTestTree()
    {
        InsertColumn(0, "Tree", LVCFMT_LEFT, 200);
        InsertColumn(1, "Right", LVCFMT_RIGHT, 100);
        InsertColumn(2, "Centre", LVCFMT_CENTER, 100);
        FillImageList(m_images, 16, 16, 1, kIconColour);
        SetImageList(&m_images, LVSIL_SMALL);
        SetImageSize(16, 16);
        resize(720, 300);
    }
    using CTreeListCtrl::FocusCellColor;
    using CTreeListCtrl::SelectedRow;
    using CTreeListCtrl::ShortenToFit;

    int nDeleteAll = 0;
    int nCellClicks = 0;
    bool bCopyInfos = false;     // else the base clone: empty infos
    bool bAllowDrag = true;      // else no drag image, so no drag
    bool bEditOnClick = false;   // else cell clicks open no editor
    bool bAcceptClicks = true;   // else clicks are refused
    bool bMayDelete = true;      // else the Delete key is refused
    bool bEnterHandled = false;  // else Enter opens the current cell's editor
    bool bRefuseBusy = false;    // else any node may expand; with it, none whose label has a space

    QWidget* OnCellClick(UINT nFlags, CPoint pt, LVHITTESTINFO* pHit, BOOL bWide) override
    {
        ++nCellClicks;
        return bEditOnClick ? CTreeListCtrl::OnCellClick(nFlags, pt, pHit, bWide) : nullptr;
    }
    CImageList* MakeDragImage(int nRow) override { return bAllowDrag ? CTreeListCtrl::MakeDragImage(nRow) : nullptr; }

    // The row as DrawItem paints it, in client coordinates, on a magenta ground.
    QImage RenderRow(int nRow, bool bSelected)
    {
        QImage image(viewport()->size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        {
            CDC dc(&painter);
            DRAWITEMSTRUCT draw;
            draw.itemID = static_cast<UINT>(nRow);
            draw.itemState = bSelected ? ODS_SELECTED : 0;
            draw.hwndItem = this;
            draw.pDC = &dc;
            draw.pPainter = &painter;
            GetItemRect(nRow, &draw.rcItem, LVIR_BOUNDS);
            DrawItem(&draw);
        }
        painter.end();
        return image;
    }

protected:
    BOOL AcceptClick(LVHITTESTINFO*) override { return bAcceptClicks; }
    BOOL MayDeleteByKey(CTreeItem*, int) override { return bMayDelete; }
    BOOL HandleEnterKey() override { return bEnterHandled; }
    BOOL MayExpand(CTreeItem* pNode, int) override
    {
        return bRefuseBusy && InfoOf(pNode)->GetText().find(' ') != std::string::npos ? FALSE : TRUE;
    }
    void OnDeleteAllItems() override { ++nDeleteAll; }
    std::unique_ptr<CNodeInfo> CloneInfo(const CNodeInfo& info) override
    {
        if (!bCopyInfos)
            return CTreeListCtrl::CloneInfo(info);
        auto pCopy = std::make_unique<CNodeInfo>();
        pCopy->CopyFrom(info);
        return pCopy;
    }

private:
    CImageList m_images;
};

// --- Driving a shown control with the mouse and keyboard -----------------

// Resized, shown, active and focused.
inline void Show(CTreeListCtrl& c, int nWidth = 420, int nHeight = 260)
{
    c.resize(nWidth, nHeight);
    c.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&c));
    c.activateWindow();
    QApplication::setActiveWindow(&c);
    c.setFocus();
    QApplication::processEvents();
}

inline QPoint BoxCentre(CTreeListCtrl& c, int nRow)
{
    CRect bounds;
    c.GetItemRect(nRow, &bounds, LVIR_BOUNDS);
    return c.BoxGeometry(c.LevelOf(c.NodeAtRow(nRow)), bounds).CenterPoint().ToQPoint();
}

inline QPoint CellPoint(CTreeListCtrl& c, int nRow, int nColumn)
{
    CRect cell;
    if (nColumn == 0)
        c.GetItemRect(nRow, &cell, LVIR_LABEL);
    else
        c.GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, cell);
    return QPoint(cell.left + 10, cell.CenterPoint().y);
}

inline void MouseMove(QWidget* vp, QPoint pt, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pt), vp->mapToGlobal(QPointF(pt)), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
}

// What the window system delivers for a double-click: a click, then the
// double-click event and its release.
inline void DoubleClick(QWidget* vp, QPoint pt)
{
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, pt);
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, pt);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, pt);
}

// Presses on one row, drags past the drag distance and moves over another.
inline void StartDrag(CTreeListCtrl& c, int nFrom, int nOver)
{
    QWidget* vp = c.viewport();
    const QPoint from = CellPoint(c, nFrom, 1);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, from);
    MouseMove(vp, from + QPoint(0, 2 * QApplication::startDragDistance()), Qt::LeftButton);
    MouseMove(vp, CellPoint(c, nOver, 1), Qt::LeftButton);
}

inline void DragAndDrop(CTreeListCtrl& c, int nFrom, int nTo)
{
    StartDrag(c, nFrom, nTo);
    QTest::mouseRelease(c.viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(c, nTo, 1));
}

// --- Consistency: the rows against a plain recomputation -----------------
// Checks the shown nodes in pre-order, each row's item data, indent and
// label, the row numbers of shown and hidden nodes, levels and parents, and
// that every node sits in exactly one place. Check returns the first
// difference found, empty when there is none.
// The children of p, or the roots for null.
inline std::vector<Node*> Children(const CTreeListCtrl& c, const Node* p)
{
    std::vector<Node*> out;
    for (auto pos = p ? c.FirstChildPosition(p) : c.FirstRootPosition(); pos;)
        out.push_back(p ? c.NextChild(p, pos) : c.NextRoot(pos));
    return out;
}

// p and its descendants in pre-order (only the shown ones with bShownOnly:
// below expanded nodes, and not hidden by a filter).
inline void PreOrder(const CTreeListCtrl& c, Node* p, std::vector<Node*>& out, bool bShownOnly = false)
{
    if (bShownOnly && c.IsFilteredOut(p))
        return;
    out.push_back(p);
    if (!bShownOnly || !c.IsCollapsed(p))
        for (Node* child : Children(c, p))
            PreOrder(c, child, out, bShownOnly);
}

inline std::vector<Node*> AllNodes(const CTreeListCtrl& c, bool bShownOnly = false)
{
    std::vector<Node*> out;
    for (Node* r : Children(c, nullptr))
        PreOrder(c, r, out, bShownOnly);
    return out;
}

inline std::string CheckStructure(CTreeListCtrl& c, Node* parent, std::set<const Node*>& seen)
{
    const std::vector<Node*> kids = Children(c, parent);
    if (parent && static_cast<int>(kids.size()) != c.ChildCount(parent))
        return "child count disagrees with the child list";
    for (size_t i = 0; i < kids.size(); ++i) {
        Node* p = kids[i];
        if (!seen.insert(p).second)
            return "node reached twice";
        if (c.ParentOf(p) != parent || (c.IsRootNode(p) != 0) != !parent || !c.InfoOf(p))
            return "wrong parent, root flag or info";
        if (!parent && (c.RootIndexOf(p) != static_cast<int>(i) || c.RootAt(static_cast<int>(i)) != p))
            return "root list disagrees with root accessors";
        if (c.LevelOf(p) != (parent ? c.LevelOf(parent) + 1 : 1))
            return "wrong level";
        const std::string err = CheckStructure(c, p, seen);
        if (!err.empty())
            return err;
    }
    return "";
}

inline std::string CheckRows(CTreeListCtrl& c, const std::set<const Node*>& all)
{
    const std::vector<Node*> shown = AllNodes(c, true);
    if (c.GetItemCount() != static_cast<int>(shown.size()))
        return "row count " + std::to_string(c.GetItemCount()) + " instead of " + std::to_string(shown.size());
    for (int row = 0; row < static_cast<int>(shown.size()); ++row) {
        LVITEM item;
        item.mask = LVIF_INDENT;
        item.iItem = row;
        c.GetItem(&item);
        Node* p = shown[static_cast<size_t>(row)];
        if (c.NodeAtRow(row) != p || item.iIndent != c.LevelOf(p) || c.GetItemText(row, 0) != c.InfoOf(p)->GetText())
            return "row " + std::to_string(row) + ": node, indent or label";
    }
    // Row numbers, asked from the bottom so that lazily kept numbers are found from behind too.
    for (int row = static_cast<int>(shown.size()) - 1; row >= 0; --row) {
        Node* p = shown[static_cast<size_t>(row)];
        if (c.RowOfNode(p) != row || c.CachedRowOf(p) != row)
            return "row number of row " + std::to_string(row);
    }
    const std::set<const Node*> shownSet(shown.begin(), shown.end());
    for (const Node* p : all) {
        if (!c.IsFilteredOut(p) && c.IsFilteredOut(c.ParentOf(p)))
            return "the filter hides a parent of a node it leaves";
        Node* hidden = const_cast<Node*>(p);
        if (shownSet.count(p))
            continue;
        if (c.RowOfNode(hidden) != -1 || c.CachedRowOf(hidden) != -1)
            return "hidden node with a row number";
        if (c.HasChildren(p) && !c.IsCollapsed(p) && !c.IsFilteredOut(p))  // showing it later shows one level
            return "hidden node left expanded";

    }
    return "";
}

inline std::string Check(CTreeListCtrl& c)
{
    std::set<const Node*> all;
    std::string err = CheckStructure(c, nullptr, all);
    if (err.empty() && static_cast<int>(Children(c, nullptr).size()) != c.RootCount())
        err = "root count";
    return err.empty() ? CheckRows(c, all) : err;
}

}  // namespace treetest

#pragma once
// Shared by the tree-list tests: a three-column control with flat-coloured
// images and hooks the tests switch, trees built from labels, rows read back
// or rendered into images, and the mouse driven as the window system does.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/ImageList.h"
#include "treelist/TreeListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treetest {

using Node = CTreeListCtrl::CTreeItem;
using Strings = std::vector<std::string>;

constexpr QRgb kIconColour = 0xFF206020;
constexpr COLORREF kLineColour = RGB(192, 192, 192);

inline CNodeInfo* Info(const std::string& label, const Strings& cells = {})
{
    auto* pInfo = new CNodeInfo;  // handed to the control with its node
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
    bool bCopyInfos = false;    // else the base clone: empty infos
    bool bAllowDrag = true;     // else no drag image, so no drag
    bool bEditOnClick = false;  // else cell clicks open no editor

    QWidget* OnCellClick(UINT nFlags, CPoint pt, LVHITTESTINFO* pHit, BOOL bWide) override
    {
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
    void OnDeleteAllItems() override { ++nDeleteAll; }
    CNodeInfo* CloneInfo(CNodeInfo* pInfo) override
    {
        if (!bCopyInfos)
            return CTreeListCtrl::CloneInfo(pInfo);
        auto* pCopy = new CNodeInfo;
        pCopy->CopyFrom(*pInfo);
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

}  // namespace treetest

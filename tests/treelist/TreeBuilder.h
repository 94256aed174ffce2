#pragma once
// Small helpers to build trees in tests and read back what the rows show.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/ImageList.h"
#include "treelist/TreeListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treetest {

inline CNodeInfo* Info(const std::string& label, const std::vector<std::string>& cells = {})
{
    auto* pInfo = new CNodeInfo;
    pInfo->SetText(label);
    for (size_t i = 0; i < cells.size(); ++i)
        pInfo->SetSubText(static_cast<int>(i), cells[i]);
    return pInfo;
}

inline CTreeListCtrl::CTreeItem* Root(CTreeListCtrl& c, const std::string& label)
{
    return c.AddRootNode(Info(label));
}

inline CTreeListCtrl::CTreeItem* Child(CTreeListCtrl& c, CTreeListCtrl::CTreeItem* parent, const std::string& label,
                                       BOOL bShowNow = FALSE)
{
    return c.AddChildNode(parent, Info(label), bShowNow);
}

// The labels of the rows, top to bottom.
inline std::vector<std::string> RowLabels(const CTreeListCtrl& c)
{
    std::vector<std::string> out;
    for (int i = 0; i < c.GetItemCount(); ++i)
        out.push_back(c.GetItemText(i, 0));
    return out;
}

// A test control: three columns, 16-pixel images, editors and drag images
// without the drawing side's pictures.
class CTestTree : public CTreeListCtrl
{
public:
    CTestTree()
    {
        InsertColumn(0, "Tree", LVCFMT_LEFT, 200);
        InsertColumn(1, "A", LVCFMT_LEFT, 100);
        InsertColumn(2, "B", LVCFMT_LEFT, 100);
        m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 1);
        QImage strip(48, 16, QImage::Format_RGB32);
        strip.fill(Qt::darkGreen);
        CBitmap bitmap;
        bitmap.CreateFromImage(strip);
        m_images.Add(&bitmap, CLR_NONE);
        SetImageList(&m_images, LVSIL_SMALL);
        SetImageSize(16, 16);
    }
    using CTreeListCtrl::SelectedRow;

    int nDeleteAll = 0;
    bool bCopyInfos = false;
    bool bAllowDrag = true;

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
    QWidget* OnCellClick(UINT, CPoint, LVHITTESTINFO*, BOOL) override { return nullptr; }
    CImageList* MakeDragImage(int) override;

private:
    CImageList m_images;
};

// --- Driving a shown control with the mouse and keyboard -----------------

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
    const CRect box = c.BoxGeometry(c.LevelOf(c.NodeAtRow(nRow)), bounds);
    return box.CenterPoint().ToQPoint();
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

inline CImageList* CTestTree::MakeDragImage(int)
{
    if (!bAllowDrag)
        return nullptr;
    auto* pImages = new CImageList;  // the caller deletes it
    pImages->Create(16, 16, ILC_COLOR24, 1, 1);
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::blue);
    CBitmap bitmap;
    bitmap.CreateFromImage(image);
    pImages->Add(&bitmap, CLR_NONE);
    return pImages;
}

}  // namespace treetest

#pragma once
// A tree-list control for the drawing, editor and copy tests: columns "Tree"
// (200), "Right" (100, right-aligned) and "Centre" (100, centred), 16 x 16
// images of one flat colour, and its rows rendered into images on request.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/gdi/ImageList.h"
#include "treelist/TreeListCtrl.h"
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <string>
#include <vector>

namespace drawtest {

constexpr QRgb kIconColour = 0xFF206020;
constexpr COLORREF kLineColour = RGB(192, 192, 192);

inline CNodeInfo* Info(const std::string& label, const std::vector<std::string>& cells = {})
{
    auto* pInfo = new CNodeInfo;  // handed to the control with its node
    pInfo->SetText(label);
    for (std::size_t i = 0; i < cells.size(); ++i)
        pInfo->SetSubText(static_cast<int>(i), cells[i]);
    return pInfo;
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

class CDrawTree : public CTreeListCtrl
{
public:
    CDrawTree()
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
    using CTreeListCtrl::MakeDragImage;
    using CTreeListCtrl::OnCellClick;
    using CTreeListCtrl::ShortenToFit;

    void ShowAndFocus()
    {
        show();
        QTest::qWaitForWindowExposed(this);
        activateWindow();
        QApplication::setActiveWindow(this);
        setFocus();
        QApplication::processEvents();
    }

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

private:
    CImageList m_images;
};

} // namespace drawtest

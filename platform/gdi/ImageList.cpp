#include "platform/gdi/ImageList.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/res/PictureResources.h"
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace {

// The drag image of the process: a see-through window following the mouse.
struct SDragState
{
    QImage image;
    CPoint ptHotSpot;
    QPointer<QWidget> pWndLock;
    QPointer<QLabel> pWindow;  // Owned (deleted by EndDrag); a QPointer so that a
                               // window Qt already destroyed at exit is not deleted twice
    CPoint ptLast;
    bool bShown = false;
};

SDragState g_drag;

constexpr qreal kDragOpacity = 0.6;

QImage Blended(const QImage& image, COLORREF clrFg, qreal dAmount)
{
    QImage blended = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&blended);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.setOpacity(dAmount);
    painter.fillRect(blended.rect(), ToQColor(clrFg == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : clrFg));
    return blended;
}

void PlaceDragWindow()
{
    if (!g_drag.pWindow || !g_drag.pWndLock)
        return;
    const QPoint global = g_drag.pWndLock->mapToGlobal(g_drag.ptLast.ToQPoint());
    g_drag.pWindow->move(global - g_drag.ptHotSpot.ToQPoint());
    g_drag.pWindow->setVisible(g_drag.bShown);
}

} // namespace

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int /*nGrow*/)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    DeleteImageList();
    m_cx = cx;
    m_cy = cy;
    m_nFlags = nFlags;
    m_images.reserve(static_cast<std::size_t>(std::max(0, nInitial)));
    m_bCreated = true;
    return TRUE;
}

BOOL CImageList::Create(const QString& strBitmap, int cx, int nGrow, COLORREF crMask)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(strBitmap) || bitmap.GetSize().cx < cx)
        return FALSE;
    if (!Create(cx, bitmap.GetSize().cy, ILC_COLOR24 | ILC_MASK, 0, nGrow))
        return FALSE;
    return Add(&bitmap, crMask) >= 0 ? TRUE : FALSE;
}

void CImageList::DeleteImageList()
{
    m_images.clear();
    m_bCreated = false;
}

int CImageList::Add(const CBitmap* pBitmap, COLORREF crMask)
{
    if (!m_bCreated || !pBitmap || pBitmap->IsNull())
        return -1;
    const int nCount = pBitmap->GetImage().width() / m_cx;
    if (nCount < 1)
        return -1;
    const bool bMask = (m_nFlags & ILC_MASK) && crMask != CLR_NONE;
    QImage strip = bMask ? ApplyColorKey(pBitmap->GetImage(), crMask)
                         : pBitmap->GetImage().convertToFormat(QImage::Format_ARGB32);
    strip.setDevicePixelRatio(1.0);
    const int nFirst = GetImageCount();
    // Rows below a shorter strip come out transparent: copy() fills what lies outside with 0.
    for (int i = 0; i < nCount; ++i)
        m_images.push_back(strip.copy(i * m_cx, 0, m_cx, m_cy).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return nFirst;
}

BOOL CImageList::GetIconSize(int* pcx, int* pcy) const
{
    if (!m_bCreated || !pcx || !pcy)
        return FALSE;
    *pcx = m_cx;
    *pcy = m_cy;
    return TRUE;
}

BOOL CImageList::Draw(CDC* pDC, int nImage, const CPoint& pt, UINT nStyle)
{
    return DrawEx(pDC, nImage, pt, CSize(0, 0), CLR_DEFAULT, CLR_DEFAULT, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, const CPoint& pt, const CSize& sz, COLORREF clrBk, COLORREF clrFg,
                        UINT nStyle)
{
    if (!pDC || !pDC->GetPainter() || nImage < 0 || nImage >= GetImageCount())
        return FALSE;
    const int cx = sz.cx > 0 ? std::min(sz.cx, m_cx) : m_cx;
    const int cy = sz.cy > 0 ? std::min(sz.cy, m_cy) : m_cy;
    QPainter* pPainter = pDC->GetPainter();
    if (!(nStyle & ILD_TRANSPARENT) && clrBk != CLR_NONE && clrBk != CLR_DEFAULT)
        pPainter->fillRect(QRect(pt.x, pt.y, cx, cy), ToQColor(clrBk));

    const QImage& image = m_images[static_cast<std::size_t>(nImage)];
    const QRect part(0, 0, cx, cy);
    if (nStyle & ILD_BLEND50)
        pPainter->drawImage(QPoint(pt.x, pt.y), Blended(image, clrFg, 0.5), part);
    else if (nStyle & ILD_BLEND25)
        pPainter->drawImage(QPoint(pt.x, pt.y), Blended(image, clrFg, 0.25), part);
    else
        pPainter->drawImage(QPoint(pt.x, pt.y), image, part);
    return TRUE;
}

BOOL CImageList::BeginDrag(int nImage, const CPoint& ptHotSpot)
{
    if (nImage < 0 || nImage >= GetImageCount())
        return FALSE;
    EndDrag();
    g_drag.image = m_images[static_cast<std::size_t>(nImage)];
    g_drag.ptHotSpot = ptHotSpot;
    return TRUE;
}

BOOL CImageList::DragEnter(QWidget* pWndLock, const CPoint& point)
{
    if (g_drag.image.isNull() || !pWndLock)
        return FALSE;
    if (!g_drag.pWindow) {
        g_drag.pWindow = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
        g_drag.pWindow->setAttribute(Qt::WA_TranslucentBackground);
        g_drag.pWindow->setAttribute(Qt::WA_ShowWithoutActivating);
        QPixmap pixmap(g_drag.image.size());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setOpacity(kDragOpacity);
        painter.drawImage(0, 0, g_drag.image);
        painter.end();
        g_drag.pWindow->setPixmap(pixmap);
        g_drag.pWindow->resize(pixmap.size());
    }
    g_drag.pWndLock = pWndLock;
    g_drag.ptLast = point;
    g_drag.bShown = true;
    PlaceDragWindow();
    return TRUE;
}

BOOL CImageList::DragMove(const CPoint& pt)
{
    if (!g_drag.pWindow)
        return FALSE;
    g_drag.ptLast = pt;
    PlaceDragWindow();
    return TRUE;
}

BOOL CImageList::DragShowNolock(BOOL bShow)
{
    if (!g_drag.pWindow)
        return FALSE;
    g_drag.bShown = bShow != FALSE;
    PlaceDragWindow();
    return TRUE;
}

BOOL CImageList::DragLeave(QWidget* /*pWndLock*/)
{
    if (!g_drag.pWindow)
        return FALSE;
    g_drag.bShown = false;
    g_drag.pWindow->hide();
    return TRUE;
}

void CImageList::EndDrag()
{
    delete g_drag.pWindow.data();
    g_drag.pWindow = nullptr;
    g_drag.pWndLock = nullptr;
    g_drag.image = QImage();
    g_drag.bShown = false;
}

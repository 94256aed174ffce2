#include "platform/gdi/DC.h"
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Sizes of the classic frame controls.
constexpr int kEdge = 2;

QRectF DeviceIndependentRect(const QPaintDevice* pDevice)
{
    const int type = pDevice->devType();
    const qreal ratio = pDevice->devicePixelRatioF();
    // Images and pixmaps report device pixels; widgets and printers their own units.
    if (type == QInternal::Image || type == QInternal::Pixmap)
        return QRectF(0, 0, pDevice->width() / ratio, pDevice->height() / ratio);
    return QRectF(0, 0, pDevice->width(), pDevice->height());
}

// The text as shown with prefixes on: "&&" is "&", any other "&" is dropped.
QString WithoutPrefixes(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

int Sign(int n)
{
    return (n > 0) - (n < 0);
}

} // namespace

CDC::CDC()
{
    m_st.pPen = &m_penStock;
    m_st.pBrush = &m_brushStock;
    m_st.pFont = &m_fontStock;
}

CDC::CDC(QPainter* pPainter) : CDC()
{
    Attach(pPainter);
}

CDC::~CDC()
{
    Detach();
}

void CDC::Attach(QPainter* pPainter)
{
    Detach();
    if (!pPainter || !pPainter->isActive())
        return;
    m_pPainter = pPainter;
    m_pPainter->save();
    m_baseTransform = m_pPainter->worldTransform();
    m_bPrinting = m_pPainter->device()->devType() == QInternal::Printer;
    m_fontStock.CreateFont(m_pPainter->font());
    m_metrics.reset();
    ApplyMapping();
}

void CDC::Detach()
{
    if (m_pOwnPainter) {
        m_pOwnPainter->end();
        m_pOwnPainter.reset();
    } else if (m_pPainter) {
        for (std::size_t i = 0; i < m_savedStates.size(); ++i)
            m_pPainter->restore();
        m_pPainter->restore();
    }
    m_savedStates.clear();
    m_pPainter = nullptr;
    m_bPrinting = false;
    m_metrics.reset();
}

BOOL CDC::CreateCompatibleDC(const CDC* pDC)
{
    Detach();
    m_bMemory = true;
    m_dMemoryRatio = pDC ? pDC->DevicePixelRatio() : 1.0;
    if (pDC)
        m_fontStock = *pDC->GetCurrentFont();
    m_pBitmap = &m_bitmapStock;
    return TRUE;
}

qreal CDC::DevicePixelRatio() const
{
    if (m_bMemory)
        return m_dMemoryRatio;
    return m_pPainter ? m_pPainter->device()->devicePixelRatioF() : 1.0;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    CPen* pOld = m_st.pPen;
    m_st.pPen = pPen ? pPen : &m_penStock;
    return pOld;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    CBrush* pOld = m_st.pBrush;
    m_st.pBrush = pBrush ? pBrush : &m_brushStock;
    return pOld;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    CFont* pOld = m_st.pFont;
    m_st.pFont = pFont ? pFont : &m_fontStock;
    return pOld;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!m_bMemory || !pBitmap || (pBitmap != &m_bitmapStock && pBitmap->IsNull()))
        return nullptr;
    CBitmap* pOld = m_pBitmap;
    BeginBitmapPainter(pBitmap);
    return pOld;
}

void CDC::BeginBitmapPainter(CBitmap* pBitmap)
{
    if (m_pOwnPainter) {
        m_pOwnPainter->end();
        m_pOwnPainter.reset();
    }
    m_pPainter = nullptr;
    m_pBitmap = pBitmap;
    m_metrics.reset();
    if (pBitmap->IsNull())
        return;
    m_pOwnPainter = std::make_unique<QPainter>(&pBitmap->GetImage());
    m_pPainter = m_pOwnPainter.get();
    m_baseTransform = QTransform();
    ApplyMapping();
}

COLORREF CDC::SetTextColor(COLORREF cr)
{
    const COLORREF old = m_st.crText;
    m_st.crText = cr;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF cr)
{
    const COLORREF old = m_st.crBk;
    m_st.crBk = cr;
    return old;
}

int CDC::SetBkMode(int nMode)
{
    const int old = m_st.nBkMode;
    if (nMode == TRANSPARENT || nMode == OPAQUE)
        m_st.nBkMode = nMode;
    return old;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF cr)
{
    SetBkColor(cr);
    if (m_pPainter && !rect.IsRectEmpty())
        m_pPainter->fillRect(rect.ToQRect(), ToQColor(cr));
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF cr)
{
    FillSolidRect(CRect(x, y, x + cx, y + cy), cr);
}

void CDC::FillRect(const CRect& rect, const CBrush* pBrush)
{
    if (m_pPainter && pBrush && !pBrush->IsNull() && !rect.IsRectEmpty())
        m_pPainter->fillRect(rect.ToQRect(), pBrush->ToQBrush());
}

void CDC::FrameRect(const CRect& rect, const CBrush* pBrush)
{
    if (rect.IsRectEmpty())
        return;
    FillRect(CRect(rect.left, rect.top, rect.right, rect.top + 1), pBrush);
    FillRect(CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), pBrush);
    FillRect(CRect(rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1), pBrush);
    FillRect(CRect(rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1), pBrush);
}

BOOL CDC::Rectangle(const CRect& rect)
{
    if (!m_pPainter)
        return FALSE;
    CRect r(rect);
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return TRUE;
    FillRect(r, m_st.pBrush);
    const QPen pen = m_st.pPen->ToQPen();
    if (pen.style() != Qt::NoPen) {
        m_pPainter->setPen(pen);
        m_pPainter->setBrush(Qt::NoBrush);
        m_pPainter->drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
    }
    return TRUE;
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_st.ptPen;
    m_st.ptPen = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    const CPoint from = m_st.ptPen;
    m_st.ptPen = CPoint(x, y);
    if (!m_pPainter)
        return FALSE;
    const QPen pen = m_st.pPen->ToQPen();
    const int dx = x - from.x;
    const int dy = y - from.y;
    if (pen.style() == Qt::NoPen || (dx == 0 && dy == 0))
        return TRUE;
    m_pPainter->setPen(pen);
    // Step back one pixel along the major axis: the end point stays unpainted.
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const QPoint end = std::abs(dx) >= std::abs(dy)
        ? QPoint(x - Sign(dx), from.y + static_cast<int>(std::lround(dy * (steps - 1) / double(steps))))
        : QPoint(from.x + static_cast<int>(std::lround(dx * (steps - 1) / double(steps))), y - Sign(dy));
    m_pPainter->drawLine(QPoint(from.x, from.y), end);
    return TRUE;
}

int CDC::QtTextFlags(UINT nFormat) const
{
    int flags = (nFormat & DT_RIGHT) ? Qt::AlignRight : (nFormat & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
    if (nFormat & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        flags |= (nFormat & DT_VCENTER) ? Qt::AlignVCenter : (nFormat & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
    }
    if (nFormat & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (nFormat & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (nFormat & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    if (!(nFormat & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    return flags;
}

int CDC::DrawText(const char* pszText, int nCount, CRect* pRect, UINT nFormat)
{
    if (!pszText || !pRect)
        return 0;
    const qsizetype length = nCount < 0 ? static_cast<qsizetype>(std::strlen(pszText)) : nCount;
    QString text = QString::fromLatin1(pszText, length);
    const int flags = QtTextFlags(nFormat);
    if (nFormat & DT_END_ELLIPSIS)
        text = Metrics().elidedText(text, Qt::ElideRight, pRect->Width(), flags);

    const QRect rect = pRect->ToQRect();
    if (nFormat & DT_CALCRECT) {
        // Single lines measure as the text extent does; wrapped text within the width.
        const QSize size = (nFormat & (DT_WORDBREAK | DT_EXPANDTABS))
            ? Metrics().boundingRect(rect, flags | Qt::TextDontClip, text).size()
            : QSize(Metrics().horizontalAdvance((nFormat & DT_NOPREFIX) ? text : WithoutPrefixes(text)),
                    Metrics().height());
        pRect->right = pRect->left + size.width();
        pRect->bottom = pRect->top + size.height();
        return size.height();
    }
    if (!m_pPainter)
        return 0;
    m_pPainter->setFont(m_st.pFont->GetFont());
    if (m_st.nBkMode == OPAQUE) {
        QRect box = m_pPainter->boundingRect(rect, flags, text);
        if (!(nFormat & DT_NOCLIP))
            box &= rect;
        m_pPainter->fillRect(box, ToQColor(m_st.crBk));
    }
    m_pPainter->setPen(ToQColor(m_st.crText));
    QRect drawn;
    m_pPainter->drawText(rect, flags, text, &drawn);
    return drawn.height();
}

void CDC::SetAttribDevice(const QPaintDevice* pDevice)
{
    m_pAttribDevice = pDevice;
    m_metrics.reset();
}

const QPaintDevice* CDC::MeasuredDevice() const
{
    return m_pAttribDevice ? m_pAttribDevice : m_pPainter ? m_pPainter->device() : nullptr;
}

bool CDC::AttribIsPrinter() const
{
    return m_pAttribDevice && m_pAttribDevice->devType() == QInternal::Printer;
}

const QFontMetrics& CDC::Metrics() const
{
    const QFont& font = m_st.pFont->GetFont();
    if (!m_metrics || !(m_metricsFont == font)) {
        m_metricsFont = font;
        if (const QPaintDevice* pDevice = MeasuredDevice())
            m_metrics.emplace(font, pDevice);
        else
            m_metrics.emplace(font);
    }
    return *m_metrics;
}

CSize CDC::GetTextExtent(const char* pszText, int nCount) const
{
    const QFontMetrics& metrics = Metrics();
    if (!pszText || nCount <= 0)
        return CSize(0, metrics.height());
    return CSize(metrics.horizontalAdvance(QString::fromLatin1(pszText, nCount)), metrics.height());
}

void CDC::DrawFocusRect(const CRect& rect)
{
    if (!m_pPainter || rect.IsRectEmpty())
        return;
    // Every other pixel along the border, each once, so that a second call undoes the first.
    const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    QPolygon border;
    for (int x = l; x <= r; ++x) border << QPoint(x, t);
    for (int y = t + 1; y <= b; ++y) border << QPoint(r, y);
    if (b > t)
        for (int x = r - 1; x >= l; --x) border << QPoint(x, b);
    if (r > l)
        for (int y = b - 1; y > t; --y) border << QPoint(l, y);
    QPolygon dots;
    for (qsizetype i = 0; i < border.size(); i += 2)
        dots << border[i];

    m_pPainter->save();
    if (m_pPainter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
        m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        m_pPainter->setPen(QPen(Qt::white, 0));
    } else {
        m_pPainter->setPen(QPen(ToQColor(m_st.crText), 0));
    }
    m_pPainter->drawPoints(dots);
    m_pPainter->restore();
}

void CDC::DrawRaisedBox(const CRect& rect, bool bPushed)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    FillSolidRect(rect, face);
    CRect r(rect);
    for (int i = 0; i < kEdge && !r.IsRectEmpty(); ++i) {
        const COLORREF topLeft = bPushed ? shadow : (i == 0 ? face : light);
        const COLORREF bottomRight = bPushed ? shadow : (i == 0 ? dark : shadow);
        FillSolidRect(r.left, r.top, r.Width(), 1, topLeft);
        FillSolidRect(r.left, r.top, 1, r.Height(), topLeft);
        FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
        FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
        r.DeflateRect(1, 1);
    }
}

void CDC::DrawArrow(const CRect& rect, bool bUp, COLORREF cr)
{
    const int half = std::max(1, std::min(rect.Width(), rect.Height()) / 4);
    const CPoint c = rect.CenterPoint();
    for (int i = 0; i < half; ++i) {
        const int y = bUp ? c.y - half / 2 + i : c.y + half / 2 - i;
        FillSolidRect(c.x - i, y, 2 * i + 1, 1, cr);
    }
}

void CDC::DrawCheckMark(const CRect& rect, COLORREF cr)
{
    const int unit = std::max(1, rect.Width() / 8);
    const CPoint c = rect.CenterPoint();
    // Two strokes, three pixels thick: down-right, then up-right.
    for (int i = 0; i < 2 * unit + 1; ++i)
        FillSolidRect(c.x - 3 * unit + i, c.y - unit + i, 1, 3 * unit, cr);
    for (int i = 0; i < 4 * unit; ++i)
        FillSolidRect(c.x - unit + 1 + i, c.y + unit - i, 1, 3 * unit, cr);
}

BOOL CDC::DrawFrameControl(CRect* pRect, UINT nType, UINT nState)
{
    if (!m_pPainter || !pRect || pRect->IsRectEmpty())
        return FALSE;
    const bool bPushed = (nState & DFCS_PUSHED) != 0;
    const COLORREF glyph = GetSysColor((nState & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    if (nType == DFC_BUTTON && (nState & DFCS_BUTTONPUSH)) {
        DrawRaisedBox(*pRect, bPushed);
        return TRUE;
    }
    if (nType == DFC_BUTTON) {
        // Check box: a sunken white square.
        CRect r(*pRect);
        FillSolidRect(r, GetSysColor(COLOR_BTNSHADOW));
        r.DeflateRect(1, 1);
        FillSolidRect(r, GetSysColor(COLOR_WINDOW));
        if (nState & DFCS_CHECKED)
            DrawCheckMark(r, GetSysColor(COLOR_WINDOWTEXT));
        return TRUE;
    }
    if (nType == DFC_SCROLL) {
        DrawRaisedBox(*pRect, bPushed);
        DrawArrow(*pRect, (nState & DFCS_SCROLLDOWN) == 0, glyph);
        return TRUE;
    }
    return FALSE;
}

BOOL CDC::Blit(const QRectF& target, const CDC* pSrcDC, const QRectF& source, DWORD dwRop)
{
    if (!m_pPainter || !pSrcDC || dwRop != SRCCOPY || !pSrcDC->m_pBitmap || pSrcDC->m_pBitmap->IsNull())
        return FALSE;
    const QImage& image = pSrcDC->m_pBitmap->GetImage();
    const qreal ratio = image.devicePixelRatio();
    const QRectF mapped = pSrcDC->Mapping().mapRect(source);
    const QRectF pixels(mapped.x() * ratio, mapped.y() * ratio, mapped.width() * ratio, mapped.height() * ratio);
    m_pPainter->save();
    m_pPainter->setCompositionMode(QPainter::CompositionMode_Source);
    m_pPainter->drawImage(target, image, pixels);
    m_pPainter->restore();
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, const CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return Blit(QRectF(x, y, nWidth, nHeight), pSrcDC, QRectF(xSrc, ySrc, nWidth, nHeight), dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, const CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    return Blit(QRectF(x, y, nWidth, nHeight), pSrcDC, QRectF(xSrc, ySrc, nSrcWidth, nSrcHeight), dwRop);
}

QRectF CDC::LogicalDeviceRect() const
{
    if (!m_pPainter)
        return QRectF();
    // The engine's system clip is not used: for a widget painted into its
    // window's backing store it lies in window coordinates, offset from the
    // widget's own, and would hide the cells of the top rows.
    const QRectF area = DeviceIndependentRect(m_pPainter->device());
    return m_pPainter->worldTransform().inverted().mapRect(area);
}

int CDC::GetClipBox(CRect* pRect) const
{
    if (!pRect)
        return RGN_ERROR;
    QRectF box = LogicalDeviceRect();
    if (m_pPainter && m_pPainter->hasClipping())
        box &= m_pPainter->clipBoundingRect();
    *pRect = CRect(box.toAlignedRect());
    return pRect->IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::ExcludeClipRect(const CRect& rect)
{
    if (!m_pPainter)
        return RGN_ERROR;
    const QRegion current = m_pPainter->hasClipping() ? m_pPainter->clipRegion()
                                                      : QRegion(LogicalDeviceRect().toAlignedRect());
    const QRegion clip = current.subtracted(QRegion(rect.ToQRect()));
    m_pPainter->setClipRegion(clip);
    return clip.isEmpty() ? NULLREGION : clip.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CDC::IntersectClipRect(const CRect& rect)
{
    if (!m_pPainter)
        return RGN_ERROR;
    m_pPainter->setClipRect(rect.ToQRect(), m_pPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    return m_pPainter->clipRegion().isEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::SelectClipRgn(std::nullptr_t)
{
    if (!m_pPainter)
        return RGN_ERROR;
    m_pPainter->setClipping(false);
    return SIMPLEREGION;
}

int CDC::SetMapMode(int nMapMode)
{
    const int old = m_st.nMapMode;
    m_st.nMapMode = nMapMode == MM_ANISOTROPIC ? MM_ANISOTROPIC : MM_TEXT;
    ApplyMapping();
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    const CPoint old = m_st.ptWindowOrg;
    m_st.ptWindowOrg = CPoint(x, y);
    ApplyMapping();
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_st.ptViewportOrg;
    m_st.ptViewportOrg = CPoint(x, y);
    ApplyMapping();
    return old;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    const CSize old = m_st.szWindowExt;
    if (cx != 0 && cy != 0)
        m_st.szWindowExt = CSize(cx, cy);
    ApplyMapping();
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    const CSize old = m_st.szViewportExt;
    if (cx != 0 && cy != 0)
        m_st.szViewportExt = CSize(cx, cy);
    ApplyMapping();
    return old;
}

QTransform CDC::Mapping() const
{
    // device = (logical - window origin) * viewport extent / window extent + viewport origin
    QTransform mapping;
    mapping.translate(m_st.ptViewportOrg.x, m_st.ptViewportOrg.y);
    if (m_st.nMapMode == MM_ANISOTROPIC)
        mapping.scale(double(m_st.szViewportExt.cx) / m_st.szWindowExt.cx,
                      double(m_st.szViewportExt.cy) / m_st.szWindowExt.cy);
    mapping.translate(-m_st.ptWindowOrg.x, -m_st.ptWindowOrg.y);
    return mapping;
}

void CDC::ApplyMapping()
{
    if (m_pPainter)
        m_pPainter->setWorldTransform(Mapping() * m_baseTransform);
}

void CDC::LPtoDP(CRect* pRect) const
{
    if (pRect)
        *pRect = CRect(Mapping().mapRect(pRect->ToQRect()));
}

void CDC::DPtoLP(CRect* pRect) const
{
    if (pRect)
        *pRect = CRect(Mapping().inverted().mapRect(pRect->ToQRect()));
}

int CDC::GetDeviceCaps(int nIndex) const
{
    const QPaintDevice* pDevice = MeasuredDevice();
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    switch (nIndex) {
    case HORZRES: return pDevice ? pDevice->width() : (pScreen ? pScreen->size().width() : 0);
    case VERTRES: return pDevice ? pDevice->height() : (pScreen ? pScreen->size().height() : 0);
    case LOGPIXELSX: return pDevice ? pDevice->logicalDpiX() : (pScreen ? int(pScreen->logicalDotsPerInchX()) : 96);
    case LOGPIXELSY: return pDevice ? pDevice->logicalDpiY() : (pScreen ? int(pScreen->logicalDotsPerInchY()) : 96);
    default: return 0;
    }
}

int CDC::SaveDC()
{
    m_savedStates.push_back(m_st);
    if (m_pPainter)
        m_pPainter->save();
    return static_cast<int>(m_savedStates.size());
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    const int nLevels = static_cast<int>(m_savedStates.size());
    const int nTarget = nSavedDC < 0 ? nLevels + nSavedDC + 1 : nSavedDC;
    if (nTarget < 1 || nTarget > nLevels)
        return FALSE;
    while (static_cast<int>(m_savedStates.size()) >= nTarget) {
        m_st = m_savedStates.back();
        m_savedStates.pop_back();
        if (m_pPainter)
            m_pPainter->restore();
    }
    ApplyMapping();
    return TRUE;
}

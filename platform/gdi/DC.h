#pragma once
// A device context over a QPainter, with the drawing model the product's paint
// code is written in: selected pen, brush and font; text and background colours
// and background mode; a current position for MoveTo/LineTo (the end point of a
// line is not drawn); rectangles whose right and bottom edges are outside;
// mapping modes with window/viewport origins and extents; saved states.
//
// Kinds: a DC attached to a painter the caller owns (a widget's or a printer's),
// or a memory DC (CreateCompatibleDC) that draws into the CBitmap selected into
// it. Coordinates are logical units; with MM_TEXT one unit is one pixel.
// Single-threaded (the UI thread), like the painters it wraps.
#include "platform/WinTypes.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Pen.h"
#include <QFont>
#include <QFontMetrics>
#include <QTransform>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;  // with DT_SINGLELINE only
constexpr UINT DT_BOTTOM = 0x0008;   // with DT_SINGLELINE only
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;

// GetDeviceCaps indices.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

constexpr DWORD SRCCOPY = 0x00CC0020;

// Region results of the clipping calls.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// DrawFrameControl kinds and states (the look without visual styles).
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;

class CDC
{
public:
    CDC();  // no device until Attach or CreateCompatibleDC
    explicit CDC(QPainter* pPainter);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Draws through pPainter (Not owned; must be active and outlive the attachment).
    // The painter's state is saved here and restored by Detach or destruction.
    void Attach(QPainter* pPainter);
    void Detach();
    // Makes this a memory DC for pDC's device (null: the screen). It draws once a
    // bitmap is selected into it. Takes pDC's current font.
    BOOL CreateCompatibleDC(const CDC* pDC);

    // Measures text and answers GetDeviceCaps as pDevice (Not owned; outlives the
    // setting; null: the painted device again) while drawing through the painter:
    // a print preview lays its pages out as the printer does. Printing when
    // pDevice is a printer.
    void SetAttribDevice(const QPaintDevice* pDevice);

    QPainter* GetPainter() const { return m_pPainter; }
    BOOL IsPrinting() const { return m_bPrinting || AttribIsPrinter() ? TRUE : FALSE; }
    // Device pixels per logical pixel of the device (2 on a double-density screen).
    qreal DevicePixelRatio() const;

    // Selecting returns the object selected before (the DC's own default object
    // at first). The objects are Not owned and must outlive their selection.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    // Memory DCs only: draws into pBitmap from now on. Null on failure.
    CBitmap* SelectObject(CBitmap* pBitmap);
    CFont* GetCurrentFont() const { return m_st.pFont; }

    COLORREF SetTextColor(COLORREF cr);
    COLORREF GetTextColor() const { return m_st.crText; }
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const { return m_st.crBk; }
    int SetBkMode(int nMode);

    // Fills with the colour and, like the GDI helper, makes it the background colour.
    void FillSolidRect(const CRect& rect, COLORREF cr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr);
    void FillRect(const CRect& rect, const CBrush* pBrush);
    // A one-pixel border inside rect, painted with the brush.
    void FrameRect(const CRect& rect, const CBrush* pBrush);
    // Filled with the brush, outlined with the pen.
    BOOL Rectangle(const CRect& rect);
    BOOL Rectangle(int l, int t, int r, int b) { return Rectangle(CRect(l, t, r, b)); }
    // Sets the current position; returns the previous one.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(const CPoint& pt) { return MoveTo(pt.x, pt.y); }
    // A line with the pen from the current position up to, not including, (x, y),
    // which becomes the current position.
    BOOL LineTo(int x, int y);
    BOOL LineTo(const CPoint& pt) { return LineTo(pt.x, pt.y); }

    // 8-bit text (nCount -1: up to the NUL) in the font and text colour; with the
    // OPAQUE mode its box is filled with the background colour first. Returns the
    // height of the text; with DT_CALCRECT only measures, widening or narrowing
    // *pRect to the text. Cost O(length).
    int DrawText(const char* pszText, int nCount, CRect* pRect, UINT nFormat);
    int DrawText(const std::string& text, CRect& rect, UINT nFormat)
    {
        return DrawText(text.data(), static_cast<int>(text.size()), &rect, nFormat);
    }
    // Width and height of a single-line text in the current font. Cost O(length).
    CSize GetTextExtent(const char* pszText, int nCount) const;
    CSize GetTextExtent(const std::string& text) const
    {
        return GetTextExtent(text.data(), static_cast<int>(text.size()));
    }

    // A dotted frame that inverts the pixels it covers: drawing it twice removes it.
    void DrawFocusRect(const CRect& rect);
    // The classic (unthemed) look of a check box, push button or scroll arrow.
    BOOL DrawFrameControl(CRect* pRect, UINT nType, UINT nState);

    // Copies pixels of a memory DC's bitmap (SRCCOPY only).
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, const CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, const CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);

    // The bounding box of the area that can be painted, in logical units.
    int GetClipBox(CRect* pRect) const;
    int ExcludeClipRect(const CRect& rect);
    int IntersectClipRect(const CRect& rect);
    // Removes the clipping set through this DC (null region only).
    int SelectClipRgn(std::nullptr_t);

    int SetMapMode(int nMapMode);
    int GetMapMode() const { return m_st.nMapMode; }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    // Extents count in MM_ANISOTROPIC only.
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    // Logical units to device units of the attached device and back.
    void LPtoDP(CRect* pRect) const;
    void DPtoLP(CRect* pRect) const;
    // HORZRES/VERTRES in device pixels, LOGPIXELSX/Y in dots per inch; 0 otherwise.
    int GetDeviceCaps(int nIndex) const;

    // Pushes the DC's state (objects, colours, modes, mapping, clipping); returns
    // its level. RestoreDC(-1) pops one level, RestoreDC(n) back to level n.
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

private:
    struct SState
    {
        CPen* pPen = nullptr;
        CBrush* pBrush = nullptr;
        CFont* pFont = nullptr;
        COLORREF crText = 0;
        COLORREF crBk = 0x00FFFFFF;
        int nBkMode = OPAQUE;
        int nMapMode = MM_TEXT;
        CPoint ptWindowOrg;
        CPoint ptViewportOrg;
        CSize szWindowExt{1, 1};
        CSize szViewportExt{1, 1};
        CPoint ptPen;
    };

    void BeginBitmapPainter(CBitmap* pBitmap);
    void ApplyMapping();
    QTransform Mapping() const;
    // What text and device capabilities are measured on: the attribute device, else the painted one.
    const QPaintDevice* MeasuredDevice() const;
    bool AttribIsPrinter() const;
    // The painted device's area in logical units.
    QRectF LogicalDeviceRect() const;
    const QFontMetrics& Metrics() const;
    int QtTextFlags(UINT nFormat) const;
    BOOL Blit(const QRectF& target, const CDC* pSrcDC, const QRectF& source, DWORD dwRop);
    void DrawRaisedBox(const CRect& rect, bool bPushed);
    void DrawArrow(const CRect& rect, bool bUp, COLORREF cr);
    void DrawCheckMark(const CRect& rect, COLORREF cr);

    QPainter* m_pPainter = nullptr;            // Not owned when attached; else m_pOwnPainter.
    std::unique_ptr<QPainter> m_pOwnPainter;   // Owned: memory DC painter over m_pBitmap.
    CBitmap* m_pBitmap = nullptr;              // Not owned: bitmap selected into a memory DC.
    bool m_bMemory = false;
    bool m_bPrinting = false;
    qreal m_dMemoryRatio = 1.0;
    QTransform m_baseTransform;                // the painter's own transform at Attach
    const QPaintDevice* m_pAttribDevice = nullptr;  // Not owned; see SetAttribDevice.
    CPen m_penStock;
    CBrush m_brushStock{0x00FFFFFF};
    CFont m_fontStock;
    CBitmap m_bitmapStock;
    SState m_st;
    std::vector<SState> m_savedStates;
    mutable std::optional<QFontMetrics> m_metrics;  // of m_metricsFont on this device
    mutable QFont m_metricsFont;
};

#pragma once
// A list of small images of one size, cut from bitmap strips, with an optional
// transparent colour; drawn into a CDC plain, transparent or blended. Also the
// one drag image of the process (BeginDrag ... EndDrag), shown over the screen
// while the mouse drags something. UI thread only.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include <QImage>
#include <QString>
#include <vector>

class CBitmap;
class CDC;
class QWidget;

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_BLEND50 = 0x0004;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

class CImageList
{
public:
    // An empty list of cx x cy images; nInitial and nGrow are capacity hints.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A list made from a bitmap strip (file or Qt resource) cut into images cx wide
    // and as high as the strip, crMask being transparent. FALSE when the picture
    // cannot be read or is narrower than one image.
    BOOL Create(const QString& strBitmap, int cx, int nGrow, COLORREF crMask);
    void DeleteImageList();

    // Appends the images of a strip (its width divided by the image width; a
    // taller strip is cut at the image height). With ILC_MASK, pixels of crMask
    // (not CLR_NONE) become transparent. Returns the index of the first image
    // added, or -1.
    int Add(const CBitmap* pBitmap, COLORREF crMask);
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    BOOL GetIconSize(int* pcx, int* pcy) const;
    // Image nImage as drawn with ILD_NORMAL (transparent pixels have alpha 0).
    const QImage& GetImage(int nImage) const { return m_images.at(static_cast<std::size_t>(nImage)); }

    BOOL Draw(CDC* pDC, int nImage, const CPoint& pt, UINT nStyle);
    // sz: the part of the image drawn from its top-left (0 = the full extent).
    // clrBk fills behind the image unless ILD_TRANSPARENT or CLR_NONE; clrFg is the
    // blend colour (CLR_DEFAULT: the system highlight colour).
    BOOL DrawEx(CDC* pDC, int nImage, const CPoint& pt, const CSize& sz, COLORREF clrBk, COLORREF clrFg,
                UINT nStyle);

    // Starts the drag image with image nImage, the mouse at ptHotSpot inside it.
    BOOL BeginDrag(int nImage, const CPoint& ptHotSpot);
    // Shows the drag image at point, in client coordinates of pWndLock (Not owned).
    static BOOL DragEnter(QWidget* pWndLock, const CPoint& point);
    // Moves the drag image to pt (client coordinates of the DragEnter window).
    static BOOL DragMove(const CPoint& pt);
    static BOOL DragShowNolock(BOOL bShow);
    static BOOL DragLeave(QWidget* pWndLock);
    static void EndDrag();

private:
    int m_cx = 0;
    int m_cy = 0;
    UINT m_nFlags = 0;
    bool m_bCreated = false;
    std::vector<QImage> m_images;
};

#pragma once
// An off-screen device context: drawing goes into a bitmap of the given
// rectangle, which is copied to the target DC in one piece when this object is
// destroyed (no flicker). On a printing DC it draws straight into the target.
// Coordinates are the target's: the rectangle's top-left is the window origin.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"

class CMemDC : public CDC
{
public:
    // pDC: Not owned; must outlive this object. When no bitmap can be made for
    // rect (an empty rectangle), drawing goes straight to pDC as when printing.
    CMemDC(CDC* pDC, const CRect& rect);
    // Copies the bitmap to the target (SRCCOPY) and releases it.
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    // FALSE when drawing goes straight to the target.
    BOOL IsBuffered() const { return m_bMemDC; }

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;  // Not owned: the memory DC's own bitmap
    CDC* m_pDC;                       // Not owned.
    CRect m_rect;
    BOOL m_bMemDC = FALSE;
};

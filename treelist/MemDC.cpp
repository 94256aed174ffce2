#include "treelist/MemDC.h"

CMemDC::CMemDC(CDC* pDC, const CRect& rect) : m_pDC(pDC), m_rect(rect)
{
    if (!pDC->IsPrinting() && m_bitmap.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height())) {
        CreateCompatibleDC(pDC);
        m_pOldBitmap = SelectObject(&m_bitmap);
        SetWindowOrg(rect.left, rect.top);
        m_bMemDC = TRUE;
    } else {
        Attach(pDC->GetPainter());
    }
}

CMemDC::~CMemDC()
{
    if (!m_bMemDC)
        return;
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                  SRCCOPY);
    SelectObject(m_pOldBitmap);
}

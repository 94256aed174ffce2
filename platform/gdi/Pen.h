#pragma once
// A pen: style, width in logical units (0 = always one device pixel) and colour.
// Selected into a CDC for lines and frames. Cost O(1).
#include "platform/WinTypes.h"
#include "platform/gdi/SysMetrics.h"
#include <QPen>

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

class CPen
{
public:
    CPen() = default;  // solid, 1 unit, black
    CPen(int nStyle, int nWidth, COLORREF crColor) { CreatePen(nStyle, nWidth, crColor); }

    BOOL CreatePen(int nStyle, int nWidth, COLORREF crColor)
    {
        m_nStyle = nStyle;
        m_nWidth = nWidth;
        m_crColor = crColor;
        return TRUE;
    }
    int Style() const { return m_nStyle; }
    COLORREF Color() const { return m_crColor; }

    QPen ToQPen() const
    {
        const Qt::PenStyle style = m_nStyle == PS_NULL ? Qt::NoPen
                                 : m_nStyle == PS_DASH ? Qt::DashLine
                                 : m_nStyle == PS_DOT  ? Qt::DotLine
                                                       : Qt::SolidLine;
        QPen pen(ToQColor(m_crColor), m_nWidth < 0 ? 0 : m_nWidth, style);
        return pen;
    }

private:
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;
};

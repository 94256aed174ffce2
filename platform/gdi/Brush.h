#pragma once
// A solid brush, or the null brush (fills nothing). Cost O(1).
#include "platform/WinTypes.h"
#include "platform/gdi/SysMetrics.h"
#include <QBrush>

class CBrush
{
public:
    CBrush() = default;  // the null brush
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

    BOOL CreateSolidBrush(COLORREF crColor)
    {
        m_crColor = crColor;
        m_bSolid = true;
        return TRUE;
    }
    bool IsNull() const { return !m_bSolid; }
    COLORREF Color() const { return m_crColor; }
    QBrush ToQBrush() const { return m_bSolid ? QBrush(ToQColor(m_crColor)) : QBrush(Qt::NoBrush); }

private:
    COLORREF m_crColor = 0;
    bool m_bSolid = false;
};

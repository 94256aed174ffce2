#pragma once
// System colours and metrics, taken from the application's palette and style so
// that the drawing follows the desktop's look. UI thread only.
#include "platform/WinTypes.h"
#include <QColor>

class QWidget;

constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;

// The colour nIndex of pWidget's palette (null: the application palette);
// 0 (black) for an index not listed above.
COLORREF GetSysColor(int nIndex, const QWidget* pWidget = nullptr);
// Scroll-bar sizes of the application style; 0 for other indices.
int GetSystemMetrics(int nIndex);

inline QColor ToQColor(COLORREF cr)
{
    return QColor(static_cast<int>(GetRValue(cr)), static_cast<int>(GetGValue(cr)), static_cast<int>(GetBValue(cr)));
}

inline COLORREF ToColorRef(const QColor& color)
{
    return RGB(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
               static_cast<unsigned>(color.blue()));
}

#include "platform/gdi/SysMetrics.h"
#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QWidget>

namespace {

struct SColorRole
{
    int nIndex;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SColorRole kRoles[] = {
    {COLOR_WINDOW, QPalette::Active, QPalette::Base},
    {COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text},
    {COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
    {COLOR_BTNFACE, QPalette::Active, QPalette::Button},
    {COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark},
    {COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text},
    {COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
    {COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light},
    {COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow},
    {COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight},
    {COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText},
    {COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase},
};

} // namespace

COLORREF GetSysColor(int nIndex, const QWidget* pWidget)
{
    const QPalette palette = pWidget ? pWidget->palette() : QApplication::palette();
    for (const SColorRole& r : kRoles) {
        if (r.nIndex == nIndex)
            return ToColorRef(palette.color(r.group, r.role));
    }
    return 0;
}

int GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}

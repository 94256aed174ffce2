#include "ui/MenuBarColor.h"
#include <QGuiApplication>
#include <QPalette>

COLORREF GetMenuBarColor()
{
    const QPalette palette = QGuiApplication::palette();
    const QColor base = palette.color(QPalette::Window);
    const QColor tint = palette.color(QPalette::Highlight);
    auto mix = [](int nBase, int nTint) { return unsigned(nBase + (nTint - nBase) / 4); };
    return RGB(mix(base.red(), tint.red()), mix(base.green(), tint.green()), mix(base.blue(), tint.blue()));
}

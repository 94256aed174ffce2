#include "platform/gdi/Font.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

QFont CFont::PixelSized(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font;
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    const double dpi = pScreen ? pScreen->logicalDotsPerInchY() : 96.0;
    QFont sized(font);
    sized.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0))));
    return sized;
}

BOOL CFont::CreateFont(const QFont& font)
{
    m_font = PixelSized(font);
    return TRUE;
}

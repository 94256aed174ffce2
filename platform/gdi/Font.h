#pragma once
// A font whose size is in logical units (pixels): it measures and draws the
// same on a widget, in a memory bitmap, and scaled on a printer page, as a font
// selected into a device context does. Cost O(1).
#include "platform/WinTypes.h"
#include <QFont>

class CFont
{
public:
    CFont() = default;  // the application font
    explicit CFont(const QFont& font) { CreateFont(font); }

    // Takes font's description; a size in points becomes pixels at the screen's
    // logical resolution.
    BOOL CreateFont(const QFont& font);

    const QFont& GetFont() const { return m_font; }

private:
    QFont m_font = PixelSized(QFont());

    static QFont PixelSized(const QFont& font);
};

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
    // nPointSize in tenths of a point, as the point-font helper takes it.
    BOOL CreatePointFont(int nPointSize, const char* pszFaceName);

    const QFont& GetFont() const { return m_font; }
    // The pixel height of the font (the "em" size).
    int PixelHeight() const { return m_font.pixelSize(); }

private:
    QFont m_font = PixelSized(QFont());

    static QFont PixelSized(const QFont& font);
};

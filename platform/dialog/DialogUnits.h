#pragma once
// Dialog units of a dialog font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height, so layouts written in
// these units follow the font.
#include <QFont>
#include <QRect>

class CDialogUnits
{
public:
    // Measures the font once (cheap: one text extent).
    explicit CDialogUnits(const QFont& font);

    int BaseX() const { return m_nBaseX; }  // average character width, pixels
    int BaseY() const { return m_nBaseY; }  // character height, pixels

    int MapX(int nDlu) const;
    int MapY(int nDlu) const;
    // A rectangle given as x, y, width, height in dialog units, in pixels.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};

#include "platform/dialog/DialogUnits.h"
#include <QFontMetrics>

namespace {

// Multiplies and divides with rounding to the nearest, halves away from zero.
int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    const long long half = nDenominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / nDenominator : (product - half) / nDenominator);
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // Average over the 52 letters, rounded: the usual measure of a dialog font.
    const int cxAlphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (cxAlphabet / 26 + 1) / 2;
    m_nBaseY = metrics.height();
}

int CDialogUnits::MapX(int nDlu) const { return MulDiv(nDlu, m_nBaseX, 4); }
int CDialogUnits::MapY(int nDlu) const { return MulDiv(nDlu, m_nBaseY, 8); }

QRect CDialogUnits::MapDialogRect(int x, int y, int cx, int cy) const
{
    const int left = MapX(x);
    const int top = MapY(y);
    // Map the far edges too, so adjoining controls stay adjoining after rounding.
    return QRect(QPoint(left, top), QPoint(MapX(x + cx) - 1, MapY(y + cy) - 1));
}

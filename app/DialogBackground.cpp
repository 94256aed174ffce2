#include "app/DialogBackground.h"
#include "platform/gdi/SysMetrics.h"
#include <QLinearGradient>
#include <algorithm>
#include <QPainter>
#include <QPainterPath>

COLORREF DarkenColour(COLORREF colour, int nAmount)
{
    const unsigned keep = 255u - static_cast<unsigned>(std::clamp(nAmount, 0, 255));
    return RGB(GetRValue(colour) * keep / 255, GetGValue(colour) * keep / 255, GetBValue(colour) * keep / 255);
}

void DrawDialogBackground(QPainter& painter, const QRect& rcClient, COLORREF menuBarColour)
{
    painter.save();
    painter.fillRect(rcClient, Qt::white);

    QRect rcGradient = rcClient.adjusted(0, 0, 0, -kButtonStripHeight);
    if (rcGradient.height() > 0) {
        QLinearGradient gradient(rcGradient.topLeft(), rcGradient.bottomLeft());
        gradient.setColorAt(0.0, Qt::white);
        gradient.setColorAt(1.0, ToQColor(DarkenColour(menuBarColour, 60)));
        painter.fillRect(rcGradient, gradient);

        // The rule runs just below the gradient, on the first row of the white strip.
        painter.setPen(QPen(Qt::black, 1));
        const int y = rcGradient.bottom() + 1;
        painter.drawLine(rcGradient.left(), y, rcGradient.right(), y);
    }

    const QRect rcPanel = rcGradient.adjusted(kPanelInset, kPanelInset, -kPanelInset, -kPanelInset);
    if (rcPanel.isValid()) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath panel;
        panel.addRoundedRect(QRectF(rcPanel), kPanelCorner / 2.0, kPanelCorner / 2.0);
        painter.fillPath(panel, Qt::white);
    }
    painter.restore();
}

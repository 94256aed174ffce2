#include "grid/RowIcons.h"
#include <QPainter>
#include <QPainterPath>

namespace {

// Drawn anti-aliased on transparency, then laid on white where a pixel is mostly
// covered and on the transparent colour elsewhere: edges stay smooth on light rows
// and no fringe of the key colour survives the image list's masking.
QImage Flatten(const QImage& argb)
{
    const QRgb key = qRgb(GetRValue(kRowIconTransparent), GetGValue(kRowIconTransparent),
                          GetBValue(kRowIconTransparent));
    QImage out(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const int a = qAlpha(p);
            if (a < 80) {
                out.setPixel(x, y, key);
                continue;
            }
            auto over = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
            out.setPixel(x, y, qRgb(over(qRed(p)), over(qGreen(p)), over(qBlue(p))));
        }
    }
    return out;
}

void DrawGlobe(QPainter& p)
{
    const QRectF ball(0.5, 0.5, 12.5, 12.5);
    QRadialGradient sea(QPointF(4.5, 4.0), 10.0);
    sea.setColorAt(0.0, QColor(0x8F, 0xD3, 0xFF));
    sea.setColorAt(1.0, QColor(0x1C, 0x5F, 0xB8));
    p.setPen(QPen(QColor(0x12, 0x3F, 0x80), 1.0));
    p.setBrush(sea);
    p.drawEllipse(ball);

    // Meridians and parallels.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 150), 0.8));
    p.drawEllipse(QRectF(4.0, 0.5, 5.5, 12.5));
    p.drawLine(QPointF(6.75, 0.8), QPointF(6.75, 12.7));
    p.drawLine(QPointF(0.8, 6.75), QPointF(12.7, 6.75));
    p.drawLine(QPointF(2.0, 3.6), QPointF(11.5, 3.6));
    p.drawLine(QPointF(2.0, 9.9), QPointF(11.5, 9.9));

    // The arrow: a query going out to the agent.
    QPainterPath arrow;
    arrow.moveTo(8.0, 11.0);
    arrow.lineTo(12.0, 11.0);
    arrow.lineTo(12.0, 8.5);
    arrow.lineTo(15.8, 12.5);
    arrow.lineTo(12.0, 16.0);
    arrow.lineTo(12.0, 14.0);
    arrow.lineTo(8.0, 14.0);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x1E, 0x6B, 0x1E), 1.0));
    p.setBrush(QColor(0x3C, 0xC0, 0x3C));
    p.drawPath(arrow);
}

void DrawNode(QPainter& p)
{
    // A parent box with lines down to two children.
    p.setPen(QPen(QColor(0x6A, 0x6A, 0x6A), 1.0));
    p.drawLine(QPointF(4.5, 6.0), QPointF(4.5, 12.5));
    p.drawLine(QPointF(4.5, 8.5), QPointF(9.0, 8.5));
    p.drawLine(QPointF(4.5, 12.5), QPointF(9.0, 12.5));

    auto box = [&p](QRectF r, QColor light, QColor dark) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0.0, light);
        g.setColorAt(1.0, dark);
        p.setPen(QPen(dark.darker(140), 1.0));
        p.setBrush(g);
        p.drawRoundedRect(r, 1.2, 1.2);
    };
    box(QRectF(1.5, 1.5, 6.0, 5.0), QColor(0xFF, 0xE0, 0x8A), QColor(0xE0, 0xA0, 0x20));
    box(QRectF(9.5, 6.5, 5.0, 4.0), QColor(0xB8, 0xD8, 0xFF), QColor(0x4A, 0x86, 0xD0));
    box(QRectF(9.5, 11.0, 5.0, 4.0), QColor(0xB8, 0xD8, 0xFF), QColor(0x4A, 0x86, 0xD0));
}

void DrawLeaf(QPainter& p)
{
    QPainterPath leaf;
    leaf.moveTo(2.0, 14.0);
    leaf.cubicTo(1.0, 6.0, 6.0, 1.5, 14.5, 1.5);
    leaf.cubicTo(14.5, 10.0, 10.0, 15.0, 2.0, 14.0);
    QLinearGradient g(QPointF(2, 14), QPointF(14, 2));
    g.setColorAt(0.0, QColor(0x2E, 0x8B, 0x2E));
    g.setColorAt(1.0, QColor(0x9A, 0xE0, 0x5A));
    p.setPen(QPen(QColor(0x1F, 0x5F, 0x1F), 1.0));
    p.setBrush(g);
    p.drawPath(leaf);

    p.setPen(QPen(QColor(0xE8, 0xFF, 0xD0), 0.9));
    p.setBrush(Qt::NoBrush);
    QPainterPath vein;
    vein.moveTo(2.5, 13.5);
    vein.quadTo(7.0, 8.0, 12.5, 3.5);
    p.drawPath(vein);
}

} // namespace

QImage DrawRowIconStrip()
{
    QImage argb(kRowIconSize * kRowIconCount, kRowIconSize, QImage::Format_ARGB32_Premultiplied);
    argb.fill(Qt::transparent);
    QPainter p(&argb);
    p.setRenderHint(QPainter::Antialiasing);
    void (*const draw[kRowIconCount])(QPainter&) = {DrawGlobe, DrawNode, DrawLeaf};
    for (int i = 0; i < kRowIconCount; ++i) {
        p.save();
        p.translate(i * kRowIconSize, 0);
        p.setClipRect(0, 0, kRowIconSize, kRowIconSize);
        draw[i](p);
        p.restore();
    }
    p.end();
    return Flatten(argb.convertToFormat(QImage::Format_ARGB32));
}

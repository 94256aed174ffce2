// Draws icon 128, the application icon: a tree of rows on a blue tile with the
// arcs of a signal above it. Usage: appicon <output.png|output.svg> [size]
// A name ending in ".svg" gives the same drawing as a scalable picture.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <cstdio>

namespace {

void DrawTile(QPainter& p, double s)
{
    QPainterPath tile;
    tile.addRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.2, s * 0.2);

    // Soft shadow under the tile.
    p.save();
    p.translate(0, s * 0.015);
    p.fillPath(tile, QColor(0, 0, 0, 60));
    p.restore();

    QLinearGradient body(0, 0, s, s);
    body.setColorAt(0.0, QColor(0x2f, 0x7f, 0xd8));
    body.setColorAt(1.0, QColor(0x13, 0x3c, 0x7a));
    p.fillPath(tile, body);

    // Gloss on the upper half.
    QRadialGradient gloss(QPointF(s * 0.3, s * 0.05), s * 0.9);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 90));
    gloss.setColorAt(0.6, QColor(255, 255, 255, 0));
    p.fillPath(tile, gloss);

    p.setPen(QPen(QColor(255, 255, 255, 70), s * 0.008));
    p.drawPath(tile);
}

void DrawSignal(QPainter& p, double s)
{
    const QPointF c(s * 0.74, s * 0.30);
    p.setBrush(QColor(0xff, 0xc8, 0x3d));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, s * 0.035, s * 0.035);
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        const double r = s * (0.045 + 0.055 * i);
        p.setPen(QPen(QColor(255, 255, 255, 235 - 60 * i), s * 0.028, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 35 * 16, 110 * 16);
    }
}

void DrawTree(QPainter& p, double s)
{
    const QColor line(255, 255, 255, 225);
    const double x0 = s * 0.24;             // trunk
    const double y0 = s * 0.26;             // root row
    const double rowGap = s * 0.155;
    const QColor nodes[] = {QColor(0xff, 0xc8, 0x3d), QColor(0x7e, 0xe0, 0x81),
                            QColor(0x8f, 0xd3, 0xff), QColor(0xff, 0x8a, 0x80)};
    const double barLen[] = {0.22, 0.38, 0.30, 0.34};

    p.setPen(QPen(line, s * 0.026, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x0, y0), QPointF(x0, y0 + rowGap * 3));
    for (int i = 1; i <= 3; ++i)
        p.drawLine(QPointF(x0, y0 + rowGap * i), QPointF(x0 + s * 0.1, y0 + rowGap * i));

    for (int i = 0; i <= 3; ++i) {
        const double nx = (i == 0) ? x0 : x0 + s * 0.13;
        const double ny = y0 + rowGap * i;
        const double r = (i == 0) ? s * 0.062 : s * 0.048;
        p.setPen(QPen(Qt::white, s * 0.018));
        p.setBrush(nodes[i]);
        p.drawEllipse(QPointF(nx, ny), r, r);
        p.setPen(QPen(QColor(255, 255, 255, i == 0 ? 235 : 190), s * 0.036, Qt::SolidLine, Qt::RoundCap));
        const double bx = nx + r + s * 0.05;
        p.drawLine(QPointF(bx, ny), QPointF(bx + s * barLen[i], ny));
    }
}

void Draw(QPaintDevice& device, int size)
{
    QPainter p(&device);
    p.setRenderHint(QPainter::Antialiasing);
    DrawTile(p, size);
    DrawSignal(p, size);
    DrawTree(p, size);
}

bool WriteSvg(const QString& strFile, int size)
{
    QSvgGenerator svg;
    svg.setFileName(strFile);
    svg.setSize(QSize(size, size));
    svg.setViewBox(QRect(0, 0, size, size));
    svg.setTitle(QStringLiteral("Orvex"));
    Draw(svg, size);
    return QFileInfo(strFile).size() > 0;
}

bool WritePng(const QString& strFile, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    Draw(image, size);
    return image.save(strFile);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: appicon <output.png|output.svg> [size]\n");
        return 2;
    }
    const QString strFile = QString::fromLocal8Bit(argv[1]);
    const int size = argc > 2 ? std::atoi(argv[2]) : 256;
    if (!(strFile.endsWith(".svg") ? WriteSvg(strFile, size) : WritePng(strFile, size))) {
        std::fprintf(stderr, "appicon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

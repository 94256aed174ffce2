// Draws the application's colour-keyed bitmaps and the document icon.
// Usage: bitmaps <resources folder>
// Each picture is painted anti-aliased on a transparent canvas, then flattened:
// pixels that are mostly transparent become the key colour, the rest are blended
// onto a matte, so edges stay smooth without fringes of the key colour.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

const QColor kOutline(0x4a, 0x55, 0x62);
const QColor kBlue(0x2f, 0x7f, 0xd8);
const QColor kDarkBlue(0x13, 0x3c, 0x7a);
const QColor kYellow(0xff, 0xc8, 0x3d);
const QColor kGreen(0x2e, 0x9e, 0x44);
const QColor kLightGreen(0x7e, 0xe0, 0x81);
const QColor kRed(0xd9, 0x4a, 0x40);
const QColor kSky(0x8f, 0xd3, 0xff);

QImage Flatten(const QImage& canvas, QColor key, QColor matte)
{
    QImage out(canvas.size(), QImage::Format_RGB32);
    const QImage src = canvas.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb px = src.pixel(x, y);
            const int a = qAlpha(px);
            if (a < 100) {
                out.setPixel(x, y, key.rgb());
                continue;
            }
            auto mix = [a](int c, int m) { return (c * a + m * (255 - a)) / 255; };
            out.setPixel(x, y, qRgb(mix(qRed(px), matte.red()), mix(qGreen(px), matte.green()),
                                    mix(qBlue(px), matte.blue())));
        }
    }
    return out;
}

QImage Canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// ---- toolbar images, 16 x 15 each -------------------------------------------

void Page(QPainter& p, QRectF r, double fold)
{
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(0xe4, 0xea, 0xf2));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(g);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(0xc9, 0xd3, 0xdf));
    p.drawPath(corner);
}

void DrawNew(QPainter& p)
{
    Page(p, QRectF(3.5, 1.5, 9, 12), 3);
    // A small spark: this page is new.
    p.setPen(QPen(kYellow.darker(115), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.5, 1), QPointF(2.5, 5));
    p.drawLine(QPointF(0.5, 3), QPointF(4.5, 3));
}

QPainterPath Gear(QPointF c, double rOut, double rIn, int nTeeth)
{
    QPainterPath path;
    const int n = nTeeth * 4;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n - M_PI / 2;
        const double r = (i % 4 < 2) ? rOut : rIn;
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void DrawGear(QPainter& p, QPointF c, double rOut, QColor light, QColor dark)
{
    QPainterPath gear = Gear(c, rOut, rOut * 0.72, 8);
    QPainterPath hole;
    hole.addEllipse(c, rOut * 0.32, rOut * 0.32);
    QLinearGradient g(c.x(), c.y() - rOut, c.x(), c.y() + rOut);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(dark.darker(140), 0.9));
    p.setBrush(g);
    p.drawPath(gear.subtracted(hole));
}

void DrawSettings(QPainter& p)
{
    DrawGear(p, QPointF(8, 7.5), 7, QColor(0xa9, 0xb6, 0xc4), QColor(0x55, 0x63, 0x72));
}

void Printer(QPainter& p)
{
    // paper going in
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    // body
    QLinearGradient g(0, 6, 0, 12);
    g.setColorAt(0, QColor(0xc8, 0xd0, 0xd9));
    g.setColorAt(1, QColor(0x7d, 0x89, 0x96));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.2, 1.2);
    // paper coming out
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 9.5, 9, 4));
    p.setPen(QPen(QColor(0x9a, 0xa6, 0xb3), 1));
    p.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
    // ready lamp
    p.setPen(Qt::NoPen);
    p.setBrush(kLightGreen);
    p.drawEllipse(QPointF(12.5, 7.5), 1, 1);
}

void DrawPrint(QPainter& p)
{
    Printer(p);
}

void DrawPrintSetup(QPainter& p)
{
    p.save();
    p.translate(-1, -1);
    Printer(p);
    p.restore();
    DrawGear(p, QPointF(11.5, 10.5), 4.2, QColor(0x8f, 0xc4, 0xff), kDarkBlue);
}

void DrawPrintPreview(QPainter& p)
{
    Page(p, QRectF(1.5, 0.5, 9, 12), 3);
    p.setPen(QPen(QColor(0x9a, 0xa6, 0xb3), 1));
    for (double y = 4.5; y < 11; y += 2)
        p.drawLine(QPointF(3, y), QPointF(8, y));
    // magnifier
    p.setPen(QPen(QColor(0x5b, 0x3a, 0x1a), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.2, 11.2), QPointF(14.6, 13.6));
    QRadialGradient lens(QPointF(9.5, 8), 4);
    lens.setColorAt(0, QColor(255, 255, 255, 230));
    lens.setColorAt(1, QColor(0xb8, 0xdc, 0xff, 230));
    p.setPen(QPen(kDarkBlue, 1.3));
    p.setBrush(lens);
    p.drawEllipse(QPointF(10, 9), 3.2, 3.2);
}

void NodeBox(QPainter& p, QRectF r, bool bPlus)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(0xd6, 0xe0, 0xec));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 1.5, 1.5);
    const QPointF c = r.center();
    const double arm = r.width() / 2 - 2.2;
    p.setPen(QPen(bPlus ? kGreen : kRed, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    if (bPlus)
        p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void TreeLine(QPainter& p)
{
    // A dotted branch leading to the box, as drawn in the tree itself.
    p.setPen(QPen(QColor(0x80, 0x8b, 0x97), 1, Qt::DotLine));
    p.drawLine(QPointF(1.5, 0), QPointF(1.5, 7.5));
    p.drawLine(QPointF(1.5, 7.5), QPointF(3, 7.5));
}

void DrawExpandNode(QPainter& p)
{
    TreeLine(p);
    NodeBox(p, QRectF(3.5, 2.5, 10, 10), true);
}

void DrawCollapseNode(QPainter& p)
{
    TreeLine(p);
    NodeBox(p, QRectF(3.5, 2.5, 10, 10), false);
}

void DrawStack(QPainter& p, bool bPlus)
{
    NodeBox(p, QRectF(0.5, 0.5, 9, 9), bPlus);
    NodeBox(p, QRectF(6.5, 5.5, 9, 9), bPlus);
}

void DrawExpandAll(QPainter& p) { DrawStack(p, true); }
void DrawCollapseAll(QPainter& p) { DrawStack(p, false); }

void DrawCopyTree(QPainter& p)
{
    // clipboard
    p.setPen(QPen(QColor(0x6b, 0x48, 0x22), 1));
    p.setBrush(QColor(0xc8, 0x8f, 0x52));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 3.5, 9, 10));
    p.setBrush(QColor(0xd0, 0xd6, 0xde));
    p.drawRoundedRect(QRectF(5.5, 0.5, 5, 3), 1, 1);
    // a little tree on the paper
    p.setPen(QPen(QColor(0x8a, 0x95, 0xa1), 1));
    p.drawLine(QPointF(5.5, 6), QPointF(5.5, 11.5));
    p.drawLine(QPointF(5.5, 9.5), QPointF(7, 9.5));
    p.drawLine(QPointF(5.5, 11.5), QPointF(7, 11.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow.darker(110));
    p.drawEllipse(QPointF(5.5, 6), 1.3, 1.3);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(8.5, 9.5), 1.2, 1.2);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(8.5, 11.5), 1.2, 1.2);
    p.setPen(QPen(QColor(0x9a, 0xa6, 0xb3), 1));
    p.drawLine(QPointF(10, 9.5), QPointF(11.5, 9.5));
    p.drawLine(QPointF(10, 11.5), QPointF(11.5, 11.5));
}

void Badge(QPainter& p, const QString& strGlyph)
{
    QRadialGradient g(QPointF(6, 4), 10);
    g.setColorAt(0, QColor(0x6f, 0xb0, 0xf5));
    g.setColorAt(1, kDarkBlue);
    p.setPen(QPen(kDarkBlue.darker(130), 1));
    p.setBrush(g);
    p.drawEllipse(QPointF(8, 7.5), 6.8, 6.8);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 13.5), Qt::AlignCenter, strGlyph);
}

void DrawHelp(QPainter& p) { Badge(p, "?"); }
void DrawAbout(QPainter& p) { Badge(p, "i"); }

QImage ToolBarStrip()
{
    const std::function<void(QPainter&)> images[] = {
        DrawNew, DrawSettings, DrawPrintSetup, DrawPrintPreview, DrawPrint, DrawExpandNode,
        DrawExpandAll, DrawCollapseNode, DrawCollapseAll, DrawCopyTree, DrawHelp, DrawAbout};
    QImage canvas = Canvas(16 * 12, 15);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(16 * i, 0);
        p.setClipRect(0, 0, 16, 15);
        images[i](p);
        p.restore();
    }
    p.end();
    return Flatten(canvas, QColor(204, 255, 255), QColor(0xee, 0xf0, 0xf3));
}

// ---- query button images ------------------------------------------------------

QImage GoImage()
{
    QImage canvas = Canvas(13, 12);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(1.5, 4);
    arrow.lineTo(6.5, 4);
    arrow.lineTo(6.5, 1);
    arrow.lineTo(12, 6);
    arrow.lineTo(6.5, 11);
    arrow.lineTo(6.5, 8);
    arrow.lineTo(1.5, 8);
    arrow.closeSubpath();
    QLinearGradient g(0, 0, 0, 12);
    g.setColorAt(0, kLightGreen);
    g.setColorAt(1, kGreen);
    p.setPen(QPen(kGreen.darker(150), 1));
    p.setBrush(g);
    p.drawPath(arrow);
    p.end();
    return Flatten(canvas, QColor(255, 0, 255), QColor(0xe8, 0xea, 0xee));
}

QImage StopImage()
{
    QImage canvas = Canvas(13, 13);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath octagon;
    for (int i = 0; i < 8; ++i) {
        const double a = M_PI / 8 + i * M_PI / 4;
        const QPointF pt(6.5 + 5.9 * qCos(a), 6.5 + 5.9 * qSin(a));
        i == 0 ? octagon.moveTo(pt) : octagon.lineTo(pt);
    }
    octagon.closeSubpath();
    QLinearGradient g(0, 0, 0, 13);
    g.setColorAt(0, QColor(0xf0, 0x7a, 0x70));
    g.setColorAt(1, kRed.darker(115));
    p.setPen(QPen(kRed.darker(170), 1));
    p.setBrush(g);
    p.drawPath(octagon);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    p.end();
    return Flatten(canvas, QColor(255, 0, 255), QColor(0xe8, 0xea, 0xee));
}

// ---- splash picture, 330 x 165 ----------------------------------------------------

void SplashTree(QPainter& p, QPointF o, double s)
{
    const QColor nodes[] = {kYellow, kLightGreen, kSky, QColor(0xff, 0x8a, 0x80)};
    const double gap = s * 0.2;
    p.setPen(QPen(QColor(255, 255, 255, 220), s * 0.035, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(o, o + QPointF(0, gap * 3));
    for (int i = 1; i <= 3; ++i)
        p.drawLine(o + QPointF(0, gap * i), o + QPointF(s * 0.14, gap * i));
    for (int i = 0; i <= 3; ++i) {
        const QPointF c = o + QPointF(i == 0 ? 0 : s * 0.18, gap * i);
        const double r = (i == 0) ? s * 0.08 : s * 0.062;
        p.setPen(QPen(Qt::white, s * 0.024));
        p.setBrush(nodes[i]);
        p.drawEllipse(c, r, r);
    }
}

QImage SplashImage()
{
    QImage canvas = Canvas(330, 165);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF card(0.5, 14.5, 329, 150);
    QPainterPath body;
    body.addRoundedRect(card, 16, 16);
    const QPointF badge(284, 46);
    QPainterPath disc;
    disc.addEllipse(badge, 40, 40);
    const QPainterPath shape = body.united(disc);

    // the blue upper part and the light band for the tagline
    QLinearGradient blue(0, 0, 330, 140);
    blue.setColorAt(0, kBlue);
    blue.setColorAt(1, kDarkBlue);
    p.fillPath(shape, blue);
    QRadialGradient gloss(QPointF(90, 0), 260);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(0.7, QColor(255, 255, 255, 0));
    p.fillPath(shape, gloss);
    QPainterPath band;
    band.addRect(0, 124, 330, 41);
    QLinearGradient light(0, 124, 0, 165);
    light.setColorAt(0, Qt::white);
    light.setColorAt(1, QColor(0xe3, 0xea, 0xf3));
    p.fillPath(shape.intersected(band), light);
    p.fillRect(QRectF(0, 122, 330, 2.5), kYellow);

    // the signal badge that breaks out of the card's top edge
    QRadialGradient gold(badge + QPointF(-12, -14), 52);
    gold.setColorAt(0, QColor(0x3f, 0x93, 0xe8));
    gold.setColorAt(1, QColor(0x1a, 0x4f, 0x9c));
    p.setPen(QPen(QColor(255, 255, 255, 170), 2));
    p.setBrush(gold);
    p.drawEllipse(badge, 38, 38);
    const QPointF dot = badge + QPointF(0, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawEllipse(dot, 5, 5);
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        const double r = 6 + 9 * i;
        p.setPen(QPen(QColor(255, 255, 255, 250 - 50 * i), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(dot.x() - r, dot.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }

    SplashTree(p, QPointF(34, 40), 110);

    QFont title("DejaVu Sans");
    title.setPixelSize(44);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(QPointF(94, 79), "Orvex");
    p.setPen(Qt::white);
    p.drawText(QPointF(92, 77), "Orvex");
    QFont sub("DejaVu Sans");
    sub.setPixelSize(13);
    p.setFont(sub);
    p.setPen(QColor(0xd6, 0xe8, 0xff));
    p.drawText(QPointF(95, 100), "SNMP MIB Browser");
    QFont version("DejaVu Sans");
    version.setPixelSize(10);
    p.setFont(version);
    p.setPen(QColor(0xb5, 0xcf, 0xf0));
    p.drawText(QRectF(0, 102, 318, 16), Qt::AlignRight | Qt::AlignVCenter, "Version 2.0");

    p.setPen(QPen(QColor(0x0c, 0x2a, 0x58), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.end();
    return Flatten(canvas, QColor(255, 0, 255), QColor(0x40, 0x50, 0x68));
}

// ---- document icon ------------------------------------------------------------------

QImage DocumentIcon(int s)
{
    QImage canvas = Canvas(s, s);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s / 16.0, s / 16.0);
    Page(p, QRectF(2.5, 0.5, 11, 15), 4);
    p.setPen(QPen(kBlue, 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(5, 12.5));
    p.drawLine(QPointF(5, 9), QPointF(7, 9));
    p.drawLine(QPointF(5, 12.5), QPointF(7, 12.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow.darker(105));
    p.drawEllipse(QPointF(5, 5), 1.4, 1.4);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(8, 9), 1.2, 1.2);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(8, 12.5), 1.2, 1.2);
    p.setPen(QPen(QColor(0x9a, 0xa6, 0xb3), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 9), QPointF(11.5, 9));
    p.drawLine(QPointF(10, 12.5), QPointF(11.5, 12.5));
    p.end();
    return canvas;
}

bool Save(const QImage& image, const QDir& dir, const char* pszName)
{
    const QString strPath = dir.filePath(pszName);
    if (image.save(strPath))
        return true;
    std::fprintf(stderr, "bitmaps: cannot write %s\n", qPrintable(strPath));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bitmaps <resources folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const bool bOk = Save(ToolBarStrip(), dir, "Bitmap128.png") && Save(SplashImage(), dir, "Bitmap132.png") &&
                     Save(GoImage(), dir, "Bitmap136.png") && Save(StopImage(), dir, "Bitmap137.png") &&
                     Save(DocumentIcon(64), dir, "Icon129.png");
    return bOk ? 0 : 1;
}

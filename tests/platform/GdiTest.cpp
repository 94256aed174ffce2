// The drawing layer: pixel results of lines, rectangles, text placement, focus
// frames, mapping, clipping and image lists (memory DCs: see the MemDC test).
#include "platform/gdi/DC.h"
#include "platform/gdi/ImageList.h"
#include <QImage>
#include <QPainter>
#include <tuple>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

struct CCanvas
{
    QImage image{60, 40, QImage::Format_RGB32};
    QPainter painter;
    std::unique_ptr<CDC> pDC;

    CCanvas()
    {
        image.fill(Qt::white);
        painter.begin(&image);
        pDC = std::make_unique<CDC>(&painter);
    }
    // Ends drawing and gives the picture.
    const QImage& Done()
    {
        pDC.reset();
        painter.end();
        return image;
    }
};

COLORREF At(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return RGB(unsigned(qRed(c)), unsigned(qGreen(c)), unsigned(qBlue(c)));
}

// Expects each {x, y, colour}; comments in the tables say why a pixel matters.
void ExpectPixels(const QImage& image, std::initializer_list<std::tuple<int, int, COLORREF>> pixels)
{
    for (const auto& [x, y, colour] : pixels)
        EXPECT_EQ(At(image, x, y), colour) << "pixel " << x << "," << y;
}

// Leftmost and rightmost columns holding a non-white pixel, -1 when none.
std::pair<int, int> InkColumns(const QImage& image)
{
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

TEST(Gdi, LinesLeaveOutTheirEndPointAndPensSwap)
{
    CCanvas canvas;
    CPen red(PS_SOLID, 1, kRed);
    CPen* pOld = canvas.pDC->SelectObject(&red);
    canvas.pDC->MoveTo(5, 3);
    canvas.pDC->LineTo(15, 3);   // horizontal
    canvas.pDC->MoveTo(20, 5);
    canvas.pDC->LineTo(20, 10);  // vertical, 5 pixels
    canvas.pDC->MoveTo(30, 20);
    canvas.pDC->LineTo(25, 20);  // right to left
    EXPECT_EQ(canvas.pDC->SelectObject(pOld), &red);
    canvas.pDC->MoveTo(40, 30);
    canvas.pDC->LineTo(45, 30);  // with the DC's own pen again: black
    const QImage& img = canvas.Done();

    ExpectPixels(img, {{5, 3, kRed}, {14, 3, kRed}, {15, 3, kWhite}, {20, 9, kRed}, {20, 10, kWhite},
                       {30, 20, kRed}, {26, 20, kRed}, {25, 20, kWhite}, {44, 30, RGB(0, 0, 0)}});
}

TEST(Gdi, RectanglesKeepTheirRightAndBottomEdgesOutside)
{
    CCanvas canvas;
    CPen frame(PS_SOLID, 1, kBlue);
    CBrush inside(kRed);
    canvas.pDC->SelectObject(&frame);
    canvas.pDC->SelectObject(&inside);
    canvas.pDC->Rectangle(CRect(2, 2, 13, 13));  // 11 x 11, like the +/- box
    CBrush border(kBlue);
    canvas.pDC->FrameRect(CRect(20, 2, 30, 12), &border);
    canvas.pDC->FillSolidRect(CRect(40, 2, 45, 7), kRed);
    EXPECT_EQ(canvas.pDC->GetBkColor(), kRed);  // the fill colour becomes the background colour
    const QImage& img = canvas.Done();

    ExpectPixels(img, {{2, 2, kBlue}, {12, 12, kBlue}, {13, 12, kWhite}, {7, 7, kRed}, {29, 11, kBlue},
                       {25, 7, kWhite},  // a frame does not fill
                       {44, 6, kRed}, {45, 6, kWhite}});
}

TEST(Gdi, DrawTextAlignsAndMeasures)
{
    const std::string text = "Wxy";
    int nWidth = 0;
    std::pair<int, int> left, right, centre;
    for (UINT align : {DT_LEFT, DT_RIGHT, DT_CENTER}) {
        CCanvas canvas;
        canvas.pDC->SetBkMode(TRANSPARENT);
        CRect rc(0, 0, 60, 40);
        canvas.pDC->DrawText(text, rc, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        nWidth = canvas.pDC->GetTextExtent(text).cx;
        const auto ink = InkColumns(canvas.Done());
        (align == DT_LEFT ? left : align == DT_RIGHT ? right : centre) = ink;
    }
    ASSERT_GT(nWidth, 5);
    EXPECT_LT(left.first, 3);
    EXPECT_GT(right.second, 56);
    EXPECT_GT(right.first, 60 - nWidth - 3);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 30.0, 3.0);

    // Measuring changes nothing on the device and gives the extent.
    CCanvas measure;
    CRect rc(5, 5, 6, 6);
    measure.pDC->DrawText(text, rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(rc.Width(), nWidth);
    EXPECT_EQ(rc.Height(), measure.pDC->GetTextExtent(text).cy);
    EXPECT_EQ(InkColumns(measure.Done()).first, -1);
}

TEST(Gdi, FocusRectInvertsEveryOtherBorderPixelAndUndoesItself)
{
    CCanvas canvas;
    canvas.pDC->FillSolidRect(CRect(0, 0, 60, 40), RGB(192, 0, 0));
    canvas.pDC->DrawFocusRect(CRect(10, 10, 20, 16));
    const QImage once = canvas.image.copy();
    canvas.pDC->DrawFocusRect(CRect(10, 10, 20, 16));
    const QImage& twice = canvas.Done();

    const COLORREF inverted = RGB(63, 255, 255), plain = RGB(192, 0, 0);
    ExpectPixels(once, {{10, 10, inverted}, {11, 10, plain}, {12, 10, inverted},
                        {14, 13, plain},     // inside untouched
                        {20, 10, plain}});   // right edge outside
    for (int x = 8; x < 22; ++x)
        for (int y = 8; y < 18; ++y)
            ASSERT_EQ(At(twice, x, y), plain) << x << "," << y;
}

TEST(Gdi, MappingClippingAndSavedStates)
{
    CCanvas canvas;
    CDC& dc = *canvas.pDC;
    const int nLevel = dc.SaveDC();
    dc.SetTextColor(kRed);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(96, 96);
    dc.SetViewportExt(192, 192);  // one unit = two pixels
    CRect r(1, 1, 5, 3);
    dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(2, 2, 10, 6));
    dc.FillSolidRect(CRect(1, 1, 5, 3), kBlue);
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 30, 20));  // the 60 x 40 device in units
    EXPECT_TRUE(dc.RestoreDC(nLevel));
    EXPECT_EQ(dc.GetTextColor(), COLORREF(0));
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);

    dc.ExcludeClipRect(CRect(20, 0, 40, 40));
    dc.FillSolidRect(CRect(15, 30, 45, 35), kRed);
    dc.SelectClipRgn(nullptr);
    dc.FillSolidRect(CRect(15, 36, 45, 38), kRed);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 60);
    const QImage& img = canvas.Done();
    ExpectPixels(img, {{2, 2, kBlue}, {9, 5, kBlue}, {10, 5, kWhite}, {19, 32, kRed},
                       {25, 32, kWhite},  // excluded
                       {41, 32, kRed},
                       {25, 37, kRed}});  // clipping removed
}

TEST(Gdi, ImageListCutsStripsHonoursTheMaskClipsAndBlends)
{
    // A 3-image strip of 4 x 3: image i is filled with its colour, its
    // top-left pixel is the transparent colour.
    const COLORREF mask = RGB(0xCC, 0xFF, 0xFF);
    const COLORREF colours[3] = {kRed, kBlue, RGB(0, 150, 0)};
    QImage strip(12, 3, QImage::Format_RGB32);
    for (int i = 0; i < 3; ++i) {
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 3; ++y)
                strip.setPixelColor(i * 4 + x, y, ToQColor(colours[i]));
        strip.setPixelColor(i * 4, 0, ToQColor(mask));
    }
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateFromImage(strip));
    CImageList list;
    ASSERT_TRUE(list.Create(4, 3, ILC_COLOR24 | ILC_MASK, 3, 1));
    EXPECT_EQ(list.Add(&bitmap, mask), 0);
    EXPECT_EQ(list.Add(&bitmap, mask), 3);
    EXPECT_EQ(list.GetImageCount(), 6);

    CCanvas canvas;
    canvas.pDC->FillSolidRect(CRect(0, 0, 60, 40), RGB(0, 0, 0));
    EXPECT_TRUE(list.Draw(canvas.pDC.get(), 1, CPoint(10, 10), ILD_TRANSPARENT));
    EXPECT_TRUE(list.DrawEx(canvas.pDC.get(), 0, CPoint(20, 10), CSize(2, 0), CLR_NONE, CLR_NONE, ILD_TRANSPARENT));
    EXPECT_TRUE(list.DrawEx(canvas.pDC.get(), 2, CPoint(30, 10), CSize(0, 0), CLR_NONE, kWhite, ILD_TRANSPARENT | ILD_BLEND50));
    const QImage& img = canvas.Done();

    ExpectPixels(img, {{10, 10, RGB(0, 0, 0)},  // transparent pixel shows the background
                       {11, 10, kBlue}, {21, 11, kRed},
                       {22, 11, RGB(0, 0, 0)},  // cut at the given width
                       {30, 10, RGB(0, 0, 0)}});  // blending keeps transparency
    const COLORREF blended = At(img, 32, 11);  // half green, half white
    EXPECT_NEAR(int(GetGValue(blended)), 202, 3);
    EXPECT_NEAR(int(GetRValue(blended)), 127, 3);
}

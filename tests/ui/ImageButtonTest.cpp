#include "platform/gdi/SysMetrics.h"
#include "ui/ImageButton.h"
#include "ui/ThemeHelper.h"
#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <gtest/gtest.h>

TEST(ImageButton, CaptionImageAndColours)
{
    CImageButton button(nullptr, 1240);
    EXPECT_EQ(button.GetDlgCtrlID(), 1240);
    button.SetWindowText("Go\xE9");
    EXPECT_EQ(button.GetWindowText(), "Go\xE9");

    // The transparent colour is cut out; other pixels keep their colour.
    QImage image(13, 12, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    image.setPixel(6, 6, qRgb(0, 160, 0));
    button.SetImage(image, RGB(255, 0, 255));
    const QImage shown = button.Image().toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(shown.pixel(6, 6), qRgb(0, 160, 0));
    EXPECT_FALSE(button.SetBitmaps(4242, RGB(255, 0, 255)));
    EXPECT_EQ(button.Image().size(), QSize(13, 12));

    // Offsets clamp per channel.
    button.SetColor(CImageButton::ColorBkIn, RGB(250, 10, 100));
    button.OffsetColor(CImageButton::ColorBkIn, 30);
    EXPECT_EQ(button.GetColor(CImageButton::ColorBkIn), RGB(255, 40, 130));
    button.OffsetColor(CImageButton::ColorBkIn, -60);
    EXPECT_EQ(button.GetColor(CImageButton::ColorBkIn), RGB(195, 0, 70));

    button.EnableWindow(FALSE);
    EXPECT_FALSE(button.isEnabled());
}

TEST(ImageButton, FlatPanelFollowsTheMouseAndThemeDrawsTheStyle)
{
    CImageButton button;
    button.resize(70, 20);
    button.SetColor(CImageButton::ColorBkOut, RGB(10, 20, 30));
    button.SetColor(CImageButton::ColorBkIn, RGB(200, 100, 50));
    auto corner = [&] { return button.grab().toImage().pixelColor(3, 3); };
    EXPECT_EQ(corner(), QColor(10, 20, 30));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_EQ(corner(), QColor(200, 100, 50));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(corner(), QColor(10, 20, 30));

    // With an open theme the style's panel replaces the flat colours.
    const CThemeHelper theme(&button, "BUTTON");
    if (!theme.IsOpen())
        GTEST_SKIP() << "visual styles are off";
    button.SetThemeHelper(&theme);
    EXPECT_NE(corner(), QColor(10, 20, 30));
}

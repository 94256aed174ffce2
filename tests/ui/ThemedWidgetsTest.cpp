// The small themed widgets of the toolkit: themed parts drawn with the current
// style (or left to the caller's unthemed look), the image button and the
// transparent label.
#include "platform/gdi/DC.h"
#include "ui/ImageButton.h"
#include "ui/MyStatic.h"
#include "ui/ThemeHelper.h"
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

// Draws one part into a white 40 x 24 image; gives the image and the result.
std::pair<QImage, BOOL> Drawn(const char* pszClass, int iPart, int iState)
{
    QImage image(40, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    BOOL bDrawn = FALSE;
    {
        CDC dc(&painter);
        bDrawn = CThemeHelper(nullptr, pszClass).DrawThemeBackground(&dc, iPart, iState, CRect(4, 2, 36, 22));
    }
    painter.end();
    return {image, bDrawn};
}

int Changed(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// A parent that paints itself solid green, as the dialogs paint their gradients.
class CGreenParent : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 200, 0)); }
};

} // namespace

TEST(ThemeHelper, KnownPartsPaintAndShowTheirState)
{
    const QString oldStyle = QApplication::style()->name();
    QApplication::setStyle("Fusion");
    ASSERT_TRUE(CThemeHelper::IsThemeActive());
    QImage blank(40, 24, QImage::Format_RGB32);
    blank.fill(Qt::white);

    for (auto [pszClass, iPart] : {std::pair{"BUTTON", BP_PUSHBUTTON}, {"COMBOBOX", CP_DROPDOWNBUTTON},
                                   {"SPIN", SPNP_UP}, {"SPIN", SPNP_DOWN}}) {
        const auto [image, bDrawn] = Drawn(pszClass, iPart, 1);
        EXPECT_TRUE(bDrawn) << pszClass;
        EXPECT_GT(Changed(image, blank), 50) << pszClass;
        EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255)) << "painted outside its rectangle: " << pszClass;
    }
    EXPECT_GT(Changed(Drawn("SPIN", SPNP_UP, 1).first, Drawn("SPIN", SPNP_DOWN, 1).first), 0);
    EXPECT_GT(Changed(Drawn("BUTTON", BP_CHECKBOX, CBS_UNCHECKEDNORMAL).first,
                      Drawn("BUTTON", BP_CHECKBOX, CBS_CHECKEDNORMAL).first), 3);
    EXPECT_FALSE(Drawn("BUTTON", CP_DROPDOWNBUTTON + 1, 1).second);  // not a button part
    EXPECT_FALSE(Drawn("TREEVIEW", 1, 1).second);
    EXPECT_FALSE(CThemeHelper(nullptr, "HEADER").IsOpen());

    QApplication::setStyle("Windows");
    EXPECT_FALSE(CThemeHelper::IsThemeActive());
    EXPECT_FALSE(Drawn("BUTTON", BP_PUSHBUTTON, 1).second);
    QApplication::setStyle(oldStyle);
}

TEST(ImageButton, CaptionImageAndColours)
{
    CImageButton button(nullptr, 1240);
    button.SetWindowText("Go\xE9");
    EXPECT_EQ(button.GetWindowText(), "Go\xE9");

    // The transparent colour is cut out; other pixels keep their colour; an
    // unknown bitmap changes nothing.
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

TEST(MyStatic, ParentShowsThroughAroundTheText)
{
    CGreenParent parent;
    parent.resize(120, 30);
    auto* pLabel = new CMyStatic(&parent, 1236);  // Owned by parent.
    pLabel->setGeometry(0, 0, 120, 30);
    pLabel->SetWindowText("Host \xB5");
    EXPECT_EQ(pLabel->text(), QString::fromLatin1("Host \xB5"));

    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(118, 28), QColor(0, 200, 0));
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 200, 0));
    bool bText = false;
    for (int x = 0; x < 60 && !bText; ++x)
        for (int y = 0; y < 30 && !bText; ++y)
            bText = shot.pixelColor(x, y).green() < 150;
    EXPECT_TRUE(bText) << "the text itself is drawn";
}

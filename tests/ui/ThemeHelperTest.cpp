// Themed parts: each known part paints, states show, unknown classes and the
// classic style leave the drawing to the caller's unthemed look.
#include "ui/ThemeHelper.h"
#include "platform/gdi/DC.h"
#include <QApplication>
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

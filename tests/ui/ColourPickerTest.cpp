// The colour picker: choosing from the popup by mouse and keys, the default entry,
// the names as tooltips and the system colour dialog behind "More Colours...".
#include "ui/ColourPicker.h"
#include "ui/ColourPopup.h"
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

constexpr COLORREF kDefault = 0x00D0D0D0;

int PaletteIndex(const char* pszName)
{
    const auto palette = CColourPopup::Palette();
    const auto it = std::find_if(palette.begin(), palette.end(),
                                 [&](const CColourPopup::NamedColour& c) { return std::string(c.name) == pszName; });
    return it == palette.end() ? -1 : static_cast<int>(it - palette.begin());
}

struct PickerFixture : ::testing::Test
{
    PickerFixture()
    {
        picker.SetDefaultColour(kDefault);
        picker.SetColour(RGB(1, 2, 3));
        picker.resize(80, 22);
        picker.show();
    }
    CColourPopup* Open()
    {
        QTest::mouseClick(&picker, Qt::LeftButton);
        return picker.Popup();
    }
    CColourPicker picker;
    QSignalSpy chosen{&picker, &CColourPicker::colourChosen};
};

} // namespace

TEST_F(PickerFixture, ChoosingANamedColourOrTheDefaultReportsIt)
{
    const auto palette = CColourPopup::Palette();
    ASSERT_EQ(palette.size() % CColourPopup::kColumns, 0u);
    const int nTeal = PaletteIndex("Teal");
    ASSERT_GE(nTeal, 0);

    CColourPopup* pPopup = Open();
    ASSERT_NE(pPopup, nullptr);
    QTest::mouseClick(pPopup, Qt::LeftButton, {}, pPopup->ItemRect(nTeal).center());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toUInt(), RGB(0x00, 0x80, 0x80));
    EXPECT_EQ(picker.GetColour(), RGB(0x00, 0x80, 0x80));
    QCoreApplication::processEvents();
    EXPECT_EQ(picker.Popup(), nullptr);  // closed after the choice

    // "Automatic" reports the default colour.
    pPopup = Open();
    ASSERT_FALSE(pPopup->ItemRect(CColourPopup::kDefaultItem).isEmpty());
    QTest::mouseClick(pPopup, Qt::LeftButton, {}, pPopup->ItemRect(CColourPopup::kDefaultItem).center());
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toUInt(), kDefault);
    EXPECT_EQ(picker.GetColour(), kDefault);

    // Every distinct colour has its own cell, and a click outside any cell chooses nothing.
    for (std::size_t i = 0; i < palette.size(); ++i)
        for (std::size_t j = i + 1; j < palette.size(); ++j)
            EXPECT_NE(palette[i].colour, palette[j].colour) << palette[i].name << " " << palette[j].name;
    pPopup = Open();
    QTest::mouseClick(pPopup, Qt::LeftButton, {}, QPoint(1, pPopup->height() / 2));
    EXPECT_EQ(chosen.count(), 2);
    QTest::keyClick(pPopup, Qt::Key_Escape);
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_EQ(picker.GetColour(), kDefault);
}

TEST_F(PickerFixture, KeysMoveFromTheShownColourAndTooltipsNameTheCells)
{
    const int nGold = PaletteIndex("Gold");
    picker.SetColour(CColourPopup::Palette()[nGold].colour);
    CColourPopup* pPopup = Open();
    // Right then Down from the shown colour, then Enter.
    QTest::keyClick(pPopup, Qt::Key_Right);
    QTest::keyClick(pPopup, Qt::Key_Down);
    QTest::keyClick(pPopup, Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toUInt(), CColourPopup::Palette()[nGold + 1 + CColourPopup::kColumns].colour);

    // Up from the top row reaches "Automatic".
    picker.SetColour(CColourPopup::Palette()[0].colour);
    pPopup = Open();
    QTest::keyClick(pPopup, Qt::Key_Up);
    QTest::keyClick(pPopup, Qt::Key_Space);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toUInt(), kDefault);

    pPopup = Open();
    const int nSilver = PaletteIndex("Silver");
    const QPoint pt = pPopup->ItemRect(nSilver).center();
    QHelpEvent help(QEvent::ToolTip, pt, pPopup->mapToGlobal(pt));
    QCoreApplication::sendEvent(pPopup, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Silver"));
    EXPECT_EQ(pPopup->ToolTipOf(CColourPopup::kDefaultItem), QString());
    pPopup->close();
}

TEST_F(PickerFixture, MoreColoursAsksTheColourDialog)
{
    COLORREF offered = 0;
    COLORREF answer = RGB(0x12, 0x34, 0x56);
    bool bAccept = true;
    picker.SetColourDialog([&](COLORREF& colour, QWidget*) {
        offered = colour;
        colour = answer;
        return bAccept;
    });

    CColourPopup* pPopup = Open();
    QTest::mouseClick(pPopup, Qt::LeftButton, {}, pPopup->ItemRect(pPopup->CustomItem()).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(offered, RGB(1, 2, 3));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(picker.GetColour(), answer);

    // Cancelling the dialog keeps the colour and reports nothing.
    bAccept = false;
    answer = RGB(9, 9, 9);
    pPopup = Open();
    QTest::mouseClick(pPopup, Qt::LeftButton, {}, pPopup->ItemRect(pPopup->CustomItem()).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(picker.GetColour(), RGB(0x12, 0x34, 0x56));

    // Without the entry's text there is no such entry.
    picker.SetCustomText(QString());
    pPopup = Open();
    EXPECT_TRUE(pPopup->ItemRect(pPopup->CustomItem()).isEmpty());
    pPopup->close();
}

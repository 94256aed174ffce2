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
    // Opens the popup and clicks one of its items.
    void ClickItem(int nItem)
    {
        CColourPopup* pPopup = Open();
        ASSERT_NE(pPopup, nullptr);
        ASSERT_FALSE(pPopup->ItemRect(nItem).isEmpty());
        QTest::mouseClick(pPopup, Qt::LeftButton, {}, pPopup->ItemRect(nItem).center());
        QCoreApplication::processEvents();
    }
    quint32 Last() const { return chosen.isEmpty() ? 0 : chosen.last().at(0).toUInt(); }
    CColourPicker picker;
    QSignalSpy chosen{&picker, &CColourPicker::colourChosen};
};

} // namespace

TEST_F(PickerFixture, ChoosingANamedColourOrTheDefaultReportsIt)
{
    ClickItem(PaletteIndex("Teal"));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(Last(), RGB(0x00, 0x80, 0x80));
    EXPECT_EQ(picker.GetColour(), RGB(0x00, 0x80, 0x80));
    EXPECT_EQ(picker.Popup(), nullptr);  // closed after the choice

    ClickItem(CColourPopup::kDefaultItem);  // "Automatic" reports the default colour
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(Last(), kDefault);
    EXPECT_EQ(picker.GetColour(), kDefault);

    // A click beside the cells, and Escape, choose nothing.
    CColourPopup* pPopup = Open();
    QTest::mouseClick(pPopup, Qt::LeftButton, {}, QPoint(1, pPopup->height() / 2));
    QTest::keyClick(pPopup, Qt::Key_Escape);
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_EQ(picker.GetColour(), kDefault);
}

TEST_F(PickerFixture, KeysMoveFromTheShownColourAndTooltipsNameTheCells)
{
    const int nGold = PaletteIndex("Gold");
    picker.SetColour(CColourPopup::Palette()[nGold].colour);
    CColourPopup* pPopup = Open();
    for (auto key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(pPopup, key);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(Last(), CColourPopup::Palette()[nGold + 1 + CColourPopup::kColumns].colour);

    // Up from the top row reaches "Automatic".
    picker.SetColour(CColourPopup::Palette()[0].colour);
    pPopup = Open();
    QTest::keyClick(pPopup, Qt::Key_Up);
    QTest::keyClick(pPopup, Qt::Key_Space);
    EXPECT_EQ(Last(), kDefault);

    pPopup = Open();
    const QPoint pt = pPopup->ItemRect(PaletteIndex("Silver")).center();
    QHelpEvent help(QEvent::ToolTip, pt, pPopup->mapToGlobal(pt));
    QCoreApplication::sendEvent(pPopup, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Silver"));
    pPopup->close();
}

TEST_F(PickerFixture, MoreColoursAsksTheColourDialog)
{
    COLORREF offered = 0;
    bool bAccept = true;
    picker.SetColourDialog([&](COLORREF& colour, QWidget*) {
        offered = colour;
        colour = bAccept ? RGB(0x12, 0x34, 0x56) : RGB(9, 9, 9);
        return bAccept;
    });
    const int nCustom = static_cast<int>(CColourPopup::Palette().size());  // "More Colours..." follows the cells
    ClickItem(nCustom);
    EXPECT_EQ(offered, RGB(1, 2, 3));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(picker.GetColour(), RGB(0x12, 0x34, 0x56));

    // Cancelling the dialog keeps the colour and reports nothing.
    bAccept = false;
    ClickItem(nCustom);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(picker.GetColour(), RGB(0x12, 0x34, 0x56));
}

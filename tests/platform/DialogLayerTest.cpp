// Dialog units and the up-down control (the dialog class itself is exercised
// through the application's dialogs).
#include "platform/dialog/DialogUnits.h"
#include "platform/dialog/SpinButtonCtrl.h"
#include <QTest>
#include <gtest/gtest.h>

TEST(DialogUnits, MapThroughTheFontsAverageCharacter)
{
    QFont font(QStringLiteral("MS Shell Dlg"), 8);
    const CDialogUnits units(font);
    const QFontMetrics metrics(font);
    const double avg = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    EXPECT_NEAR(units.BaseX(), avg, 0.5 + 1e-9);
    EXPECT_EQ(units.BaseY(), metrics.height());
    // Four horizontal units are one character, eight vertical ones one line.
    EXPECT_EQ(units.MapDialogRect(4, 8, 4, 8), QRect(units.BaseX(), units.BaseY(), units.BaseX(), units.BaseY()));
    // Controls that touch in dialog units touch in pixels, whatever the rounding.
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(units.MapDialogRect(x, 3, 7, 5).right() + 1, units.MapDialogRect(x + 7, 3, 7, 5).left()) << x;
}

TEST(SpinButtonCtrl, AttachesToItsBuddyAndStepsWithinItsRange)
{
    QWidget parent;
    QLineEdit edit(&parent);
    edit.setGeometry(10, 10, 80, 20);
    CSpinButtonCtrl spin(&parent);
    spin.resize(16, 24);
    spin.SetBuddy(&edit);
    spin.SetRange32(1, 300);
    // The arrows sit inside the buddy's old right edge; the buddy gave up their width.
    EXPECT_EQ(edit.geometry(), QRect(10, 10, 64, 20));
    EXPECT_EQ(spin.geometry(), QRect(74, 10, 16, 20));

    const auto stepped = [&](const char* pszText, int nDelta) {
        edit.setText(QString::fromLatin1(pszText));
        spin.Step(nDelta);
        return edit.text().toStdString();
    };
    EXPECT_EQ(stepped("299", +1), "300");
    EXPECT_EQ(stepped("300", +1), "300");
    EXPECT_EQ(stepped("400", +1), "300");  // a typed value beyond the range is clamped by an arrow
    EXPECT_EQ(stepped("1", -1), "1");
    EXPECT_EQ(stepped("", +1), "2");       // no number: from the last value the arrows wrote

    // Clicking the lower half steps down; other keys still type.
    parent.show();
    edit.setText(QStringLiteral("10"));
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(8, 15));
    EXPECT_EQ(edit.text(), QStringLiteral("9"));
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_5);
    EXPECT_EQ(edit.text(), QStringLiteral("95"));
}

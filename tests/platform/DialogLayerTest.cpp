// Dialog units, the framework dialog's ids and ends, and the up-down control.
#include "platform/dialog/Dialog.h"
#include "platform/dialog/DialogUnits.h"
#include "platform/dialog/SpinButtonCtrl.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(DialogUnits, MapThroughTheFontsAverageCharacter)
{
    QFont font(QStringLiteral("MS Shell Dlg"), 8);
    const CDialogUnits units(font);
    const QFontMetrics metrics(font);
    const int avg = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0 + 0.5;
    EXPECT_NEAR(units.BaseX(), avg, 1);
    EXPECT_EQ(units.BaseY(), metrics.height());

    // Four horizontal units are one character, eight vertical ones one line.
    EXPECT_EQ(units.MapDialogRect(4, 8, 4, 8), QRect(units.BaseX(), units.BaseY(), units.BaseX(), units.BaseY()));
    // Controls that touch in dialog units touch in pixels, whatever the rounding.
    for (int x = 0; x < 20; ++x) {
        const QRect left = units.MapDialogRect(x, 3, 7, 5);
        const QRect right = units.MapDialogRect(x + 7, 3, 7, 5);
        EXPECT_EQ(left.right() + 1, right.left()) << x;
    }
    // A larger font gives a larger dialog.
    QFont big(font);
    big.setPointSize(16);
    EXPECT_GT(CDialogUnits(big).MapX(200), units.MapX(200));
}

namespace {

class CProbeDialog : public CDialog
{
public:
    CProbeDialog()
        : CDialog("Probe", 100, 60, QStringLiteral("MS Shell Dlg"), 8)
    {
        m_pEdit = AddControl<QLineEdit>(10, 5, 5, 50, 12);
        auto* pOk = AddControl<QPushButton>(IDOK, 5, 30, 40, 14);
        pOk->setText(QStringLiteral("OK"));
        auto* pCancel = AddControl<QPushButton>(IDCANCEL, 50, 30, 40, 14);
        pCancel->setText(QStringLiteral("Cancel"));
        ConnectStandardButtons();
    }
    int m_nInit = 0;
    int m_nOk = 0;
    QLineEdit* m_pEdit;

protected:
    BOOL OnInitDialog() override { ++m_nInit; return TRUE; }
    void OnOK() override { ++m_nOk; CDialog::OnOK(); }
};

} // namespace

TEST(Dialog, IdsInitialisationAndEnds)
{
    CProbeDialog dlg;
    EXPECT_EQ(dlg.size(), QSize(dlg.Units().MapX(100), dlg.Units().MapY(60)));
    EXPECT_EQ(dlg.GetDlgItem(10), dlg.m_pEdit);
    EXPECT_EQ(dlg.GetDlgItem(77), nullptr);
    EXPECT_EQ(dlg.m_pEdit->geometry(), dlg.Units().MapDialogRect(5, 5, 50, 12));

    // The OK button ends through OnOK with IDOK; every run initialises first.
    QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nInit, 1);
    EXPECT_EQ(dlg.m_nOk, 1);

    // Escape and the Cancel button end with IDCANCEL and never through OnOK.
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.GetDlgItem(IDCANCEL), Qt::LeftButton); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nInit, 3);
    EXPECT_EQ(dlg.m_nOk, 1);
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

    edit.setText(QStringLiteral("299"));
    spin.Step(+1);
    EXPECT_EQ(edit.text(), QStringLiteral("300"));
    spin.Step(+1);
    EXPECT_EQ(edit.text(), QStringLiteral("300"));
    // A typed value beyond the range is left alone until an arrow is used.
    edit.setText(QStringLiteral("400"));
    EXPECT_EQ(edit.text(), QStringLiteral("400"));
    spin.Step(+1);
    EXPECT_EQ(edit.text(), QStringLiteral("300"));
    edit.setText(QStringLiteral("1"));
    spin.Step(-1);
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    // No number in the buddy: the step starts from the last value written.
    edit.clear();
    spin.Step(+1);
    EXPECT_EQ(edit.text(), QStringLiteral("2"));

    // Up and Down keys in the buddy step it; other keys still type.
    parent.show();
    edit.setText(QStringLiteral("10"));
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("11"));
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), QStringLiteral("9"));
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_5);
    EXPECT_EQ(edit.text(), QStringLiteral("95"));

    // Clicking the lower half steps down.
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(8, 15));
    EXPECT_EQ(edit.text(), QStringLiteral("94"));
}

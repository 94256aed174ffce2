// The Settings dialog against AppSettings: what it shows, what OK, Cancel and
// Defaults do, the edits' input rules, its layout and its background.
#include "app/DialogBackground.h"
#include "app/Settings.h"
#include "platform/dialog/SpinButtonCtrl.h"
#include "snmp/AppSettings.h"
#include "ui/ColourPicker.h"
#include "ui/ColourPopup.h"
#include "ui/MenuBarColor.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Snapshot
{
    BYTE cleaning, inference, writeOn;
    COLORREF colour;
    std::int32_t timeout, retries;
    DWORD version;
    std::string base;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take()
{
    return {AppSettings.Cleaning, AppSettings.Inferance, AppSettings.WriteOn, AppSettings.InferColor,
            AppSettings.Timeout, AppSettings.Retries, AppSettings.Version, AppSettings.Base()};
}

const Snapshot kDefaults{1, 1, 1, 0x00D0D0D0, 16, 3, 1, ".1.3"};

struct SettingsDialog : ::testing::Test
{
    SettingsDialog()
    {
        AppSettings.Reset();
        AppSettings.Cleaning = 0;
        AppSettings.Inferance = 1;
        AppSettings.WriteOn = 0;
        AppSettings.InferColor = RGB(0x12, 0x34, 0x56);
        AppSettings.Timeout = 45;
        AppSettings.Retries = 7;
        AppSettings.Version = 2;
        AppSettings.SetBase(".1.3.6.1.4.1");
    }
    ~SettingsDialog() override { AppSettings.Reset(); }

    // A fresh dialog, initialised and shown without a modal loop.
    std::unique_ptr<Settings> Open()
    {
        auto pDlg = std::make_unique<Settings>();
        pDlg->Create();
        return pDlg;
    }
    template <class T> static T* Item(Settings& dlg, int nId) { return qobject_cast<T*>(dlg.GetDlgItem(nId)); }
    static void Click(Settings& dlg, int nId) { QTest::mouseClick(dlg.GetDlgItem(nId), Qt::LeftButton); }
    static void Retype(Settings& dlg, int nId, const QString& strText)
    {
        QLineEdit* pEdit = Item<QLineEdit>(dlg, nId);
        pEdit->selectAll();
        QTest::keyClick(pEdit, Qt::Key_Delete);
        QTest::keyClicks(pEdit, strText);
    }
};

} // namespace

TEST_F(SettingsDialog, ShowsTheSettingsAndOkWithoutChangesKeepsThem)
{
    const Snapshot before = Take();
    auto pDlg = Open();
    EXPECT_EQ(pDlg->windowTitle(), QStringLiteral("Settings"));
    EXPECT_FALSE(Item<QCheckBox>(*pDlg, Settings::IDC_CLEANING)->isChecked());
    EXPECT_TRUE(Item<QCheckBox>(*pDlg, Settings::IDC_INFERENCE)->isChecked());
    EXPECT_FALSE(Item<QCheckBox>(*pDlg, Settings::IDC_WRITE)->isChecked());
    EXPECT_EQ(Item<CColourPicker>(*pDlg, Settings::IDC_COLOUR)->GetColour(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_TIMEOUT)->text(), QStringLiteral("45"));
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_RETRIES)->text(), QStringLiteral("7"));
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_BASE)->text(), QStringLiteral(".1.3.6.1.4.1"));
    EXPECT_EQ(Item<QComboBox>(*pDlg, Settings::IDC_VERSION)->currentText(), QStringLiteral("v2c"));
    Click(*pDlg, IDOK);
    EXPECT_EQ(pDlg->Result(), IDOK);
    EXPECT_EQ(Take(), before);

    // A flag byte other than 1 shows as off, and OK turns it into 0.
    AppSettings.Cleaning = 2;
    pDlg = Open();
    EXPECT_FALSE(Item<QCheckBox>(*pDlg, Settings::IDC_CLEANING)->isChecked());
    Click(*pDlg, IDOK);
    EXPECT_EQ(AppSettings.Cleaning, 0);
}

TEST_F(SettingsDialog, DefaultsChangeOnlyTheControlsUntilOk)
{
    const Snapshot before = Take();
    auto pDlg = Open();
    Click(*pDlg, Settings::IDC_DEFAULTS);
    EXPECT_TRUE(pDlg->isVisible());
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_TIMEOUT)->text(), QStringLiteral("16"));
    EXPECT_EQ(Item<QComboBox>(*pDlg, Settings::IDC_VERSION)->currentText(), QStringLiteral("v1"));
    EXPECT_EQ(Take(), before);
    Click(*pDlg, IDCANCEL);
    EXPECT_EQ(pDlg->Result(), IDCANCEL);
    EXPECT_EQ(Take(), before);

    pDlg = Open();
    Click(*pDlg, Settings::IDC_DEFAULTS);
    Click(*pDlg, IDOK);
    EXPECT_EQ(Take(), kDefaults);

    // The modal run ends the same ways (Escape is Cancel).
    AppSettings.Timeout = 99;
    Settings dlg;
    QTimer::singleShot(0, &dlg, [&] {
        Click(dlg, Settings::IDC_DEFAULTS);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(AppSettings.Timeout, 99);
}

TEST_F(SettingsDialog, NumbersAreTakenAsTypedWithoutRangeChecks)
{
    auto pDlg = Open();
    Retype(*pDlg, Settings::IDC_TIMEOUT, QString());
    Retype(*pDlg, Settings::IDC_RETRIES, QStringLiteral("12x3"));  // letters are refused
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_RETRIES)->text(), QStringLiteral("123"));
    Click(*pDlg, IDOK);
    EXPECT_EQ(AppSettings.Timeout, 0);
    EXPECT_EQ(AppSettings.Retries, 123);

    pDlg = Open();
    Retype(*pDlg, Settings::IDC_TIMEOUT, QStringLiteral("400"));
    Retype(*pDlg, Settings::IDC_RETRIES, QStringLiteral("99999999999999"));
    Click(*pDlg, IDOK);
    EXPECT_EQ(AppSettings.Timeout, 400);
    EXPECT_EQ(AppSettings.Retries, 2147483647);  // saturates, never wraps

    // The spins keep to 1..300 and 1..10 and start from what is typed.
    pDlg = Open();
    int lo = 0, hi = 0;
    Item<CSpinButtonCtrl>(*pDlg, Settings::IDC_TIMEOUT_SPIN)->GetRange32(lo, hi);
    EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(1, 300));
    Item<CSpinButtonCtrl>(*pDlg, Settings::IDC_RETRIES_SPIN)->GetRange32(lo, hi);
    EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(1, 10));
    Retype(*pDlg, Settings::IDC_RETRIES, QStringLiteral("10"));
    QTest::keyClick(Item<QLineEdit>(*pDlg, Settings::IDC_RETRIES), Qt::Key_Up);
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_RETRIES)->text(), QStringLiteral("10"));
    QTest::keyClick(Item<QLineEdit>(*pDlg, Settings::IDC_RETRIES), Qt::Key_Down);
    Click(*pDlg, IDOK);
    EXPECT_EQ(AppSettings.Retries, 9);

    EXPECT_EQ(LeadingInteger("  42abc"), 42);
    EXPECT_EQ(LeadingInteger("-7"), -7);
    EXPECT_EQ(LeadingInteger("x1"), 0);
    EXPECT_EQ(LeadingInteger("-99999999999"), -2147483648LL);
}

TEST_F(SettingsDialog, BaseColourAndVersionRoundTrip)
{
    auto pDlg = Open();
    const QString str300(300, QLatin1Char('7'));
    Retype(*pDlg, Settings::IDC_BASE, str300);
    EXPECT_EQ(Item<QLineEdit>(*pDlg, Settings::IDC_BASE)->text().size(), Settings::kMaxBase);
    Item<QComboBox>(*pDlg, Settings::IDC_VERSION)->setCurrentIndex(0);
    // A named colour chosen in the picker's popup.
    auto* pPicker = Item<CColourPicker>(*pDlg, Settings::IDC_COLOUR);
    QTest::mouseClick(pPicker, Qt::LeftButton);
    ASSERT_NE(pPicker->Popup(), nullptr);
    QTest::mouseClick(pPicker->Popup(), Qt::LeftButton, {}, pPicker->Popup()->ItemRect(0).center());
    Click(*pDlg, IDOK);
    EXPECT_EQ(AppSettings.Base(), std::string(Settings::kMaxBase, '7'));
    EXPECT_EQ(AppSettings.Version, 1u);
    EXPECT_EQ(AppSettings.InferColor, CColourPopup::Palette()[0].colour);

    // Bytes above 127 survive the round trip; v2c is stored as 2; an unknown version shows as v1.
    AppSettings.SetBase("\xA9.1.3");
    pDlg = Open();
    Item<QComboBox>(*pDlg, Settings::IDC_VERSION)->setCurrentIndex(1);
    Click(*pDlg, IDOK);
    EXPECT_EQ(AppSettings.Base(), "\xA9.1.3");
    EXPECT_EQ(AppSettings.Version, 2u);
    AppSettings.Version = 7;
    pDlg = Open();
    EXPECT_EQ(Item<QComboBox>(*pDlg, Settings::IDC_VERSION)->currentText(), QStringLiteral("v1"));
}

TEST_F(SettingsDialog, LayoutTabOrderAndBackground)
{
    auto pDlg = Open();
    const CDialogUnits& u = pDlg->Units();
    EXPECT_EQ(pDlg->size(), QSize(u.MapX(227), u.MapY(198)));
    EXPECT_EQ(pDlg->GetDlgItem(Settings::IDC_BASE)->geometry(), u.MapDialogRect(125, 114, 73, 12));
    EXPECT_EQ(pDlg->GetDlgItem(IDOK)->geometry(), u.MapDialogRect(172, 177, 47, 14));
    // The spin sits at the right end of its edit.
    const QRect rcEdit = pDlg->GetDlgItem(Settings::IDC_TIMEOUT)->geometry();
    const QRect rcSpin = pDlg->GetDlgItem(Settings::IDC_TIMEOUT_SPIN)->geometry();
    EXPECT_EQ(rcEdit.right() + 1, rcSpin.left());
    EXPECT_EQ(rcSpin.right(), u.MapDialogRect(127, 80, 54, 12).right());
    // The version row stays clear of every other control.
    const QRect rcVersion = pDlg->GetDlgItem(Settings::IDC_VERSION)->geometry();
    for (QWidget* w : pDlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w != pDlg->GetDlgItem(Settings::IDC_VERSION)) {
            EXPECT_FALSE(w->geometry().intersects(rcVersion)) << w->metaObject()->className();
        }
    }

    std::vector<int> order;
    for (QWidget* w = pDlg->nextInFocusChain(); w != pDlg.get(); w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            for (int id : {1000, 1001, 1012, 1004, 1002, 1005, 1007, 1022, 100, 1, 2})
                if (pDlg->GetDlgItem(id) == w)
                    order.push_back(id);
    EXPECT_EQ(order, (std::vector<int>{1000, 1001, 1012, 1004, 1002, 1005, 1007, 1022, 100, 1, 2}));
    EXPECT_EQ(pDlg->focusWidget(), pDlg->GetDlgItem(Settings::IDC_CLEANING));

    const QImage image = pDlg->grab().toImage();
    const int h = image.height();
    const QColor bottom(GetRValue(DarkenColour(GetMenuBarColor(), 60)), GetGValue(DarkenColour(GetMenuBarColor(), 60)),
                        GetBValue(DarkenColour(GetMenuBarColor(), 60)));
    EXPECT_EQ(image.pixelColor(2, 0), QColor(Qt::white));                        // gradient starts white
    EXPECT_LE(std::abs(image.pixelColor(2, h - kButtonStripHeight - 1).red() - bottom.red()), 3);
    EXPECT_EQ(image.pixelColor(2, h - kButtonStripHeight), QColor(Qt::black));   // the rule
    EXPECT_EQ(image.pixelColor(2, h - 5), QColor(Qt::white));                    // button strip
    EXPECT_EQ(image.pixelColor(kPanelInset + 5, h - kButtonStripHeight - kPanelInset - 5), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(kPanelInset - 5, h - kButtonStripHeight - 5), QColor(Qt::white));
}

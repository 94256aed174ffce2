// The Settings dialog against AppSettings: what it shows, what OK, Cancel and
// Defaults do, the edits' input rules, its layout and its background.
#include "app/DialogBackground.h"
#include "app/SettingsDlg.h"
#include "snmp/AppSettings.h"
#include "ui/ColourPicker.h"
#include "ui/ColourPopup.h"
#include "ui/MenuBarColor.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <tuple>

namespace {

auto Take()
{
    return std::make_tuple(AppSettings.Cleaning.load(), AppSettings.Inferance.load(), AppSettings.WriteOn.load(),
                           AppSettings.InferColor.load(), AppSettings.Timeout.load(), AppSettings.Retries.load(),
                           AppSettings.Version.load(), AppSettings.Base(), AppSettings.ShowEnumLabels.load(),
                           AppSettings.MibPath());
}
const auto kDefaults = std::make_tuple(BYTE(1), BYTE(1), BYTE(1), COLORREF(0x00D0D0D0), 16, 3, DWORD(1), std::string(".1.3"),
                                       BYTE(0), std::string("$XDG_DATA_HOME/orvex/mibs:/usr/share/snmp/mibs:/var/lib/mibs/*"));

struct SettingsDialog : ::testing::Test
{
    SettingsDialog()
    {
        AppSettings.Reset();
        AppSettings.Cleaning = 0;
        AppSettings.WriteOn = 0;
        AppSettings.InferColor = RGB(0x12, 0x34, 0x56);
        AppSettings.Timeout = 45;
        AppSettings.Retries = 7;
        AppSettings.Version = 2;
        AppSettings.SetBase(".1.3.6.1.4.1");
        AppSettings.ShowEnumLabels = 1;
        AppSettings.SetMibPath("/opt/mibs");
    }
    ~SettingsDialog() override { AppSettings.Reset(); }

    // A fresh dialog, initialised and shown without a modal loop.
    void Open()
    {
        pDlg = std::make_unique<CSettingsDlg>();
        pDlg->Create();
    }
    template <class T> T* Item(int nId) { return qobject_cast<T*>(pDlg->GetDlgItem(nId)); }
    void Click(int nId) { QTest::mouseClick(pDlg->GetDlgItem(nId), Qt::LeftButton); }
    QString Text(int nId) { return Item<QLineEdit>(nId)->text(); }
    void Retype(int nId, const QString& strText)
    {
        Item<QLineEdit>(nId)->selectAll();
        QTest::keyClick(Item<QLineEdit>(nId), Qt::Key_Delete);
        QTest::keyClicks(Item<QLineEdit>(nId), strText);
    }
    std::unique_ptr<CSettingsDlg> pDlg;
};

} // namespace

TEST_F(SettingsDialog, ShowsTheSettingsAndOkWithoutChangesKeepsThem)
{
    const auto before = Take();
    Open();
    EXPECT_EQ(pDlg->windowTitle(), QStringLiteral("Settings"));
    EXPECT_FALSE(Item<QCheckBox>(CSettingsDlg::IDC_CLEANING)->isChecked());
    EXPECT_TRUE(Item<QCheckBox>(CSettingsDlg::IDC_INFERENCE)->isChecked());
    EXPECT_FALSE(Item<QCheckBox>(CSettingsDlg::IDC_WRITE)->isChecked());
    EXPECT_EQ(Item<CColourPicker>(CSettingsDlg::IDC_COLOUR)->GetColour(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(Text(CSettingsDlg::IDC_TIMEOUT) + Text(CSettingsDlg::IDC_RETRIES), QStringLiteral("457"));
    EXPECT_EQ(Text(CSettingsDlg::IDC_BASE), QStringLiteral(".1.3.6.1.4.1"));
    EXPECT_EQ(Item<QComboBox>(CSettingsDlg::IDC_VERSION)->currentText(), QStringLiteral("v2c"));
    EXPECT_TRUE(Item<QCheckBox>(CSettingsDlg::IDC_ENUM_LABELS)->isChecked());
    EXPECT_EQ(Text(CSettingsDlg::IDC_MIB_PATH), QStringLiteral("/opt/mibs"));
    Click(IDOK);
    EXPECT_EQ(pDlg->Result(), IDOK);
    EXPECT_EQ(Take(), before);

    // A flag byte other than 1 shows as off, and OK turns it into 0.
    AppSettings.Cleaning = 2;
    Open();
    EXPECT_FALSE(Item<QCheckBox>(CSettingsDlg::IDC_CLEANING)->isChecked());
    Click(IDOK);
    EXPECT_EQ(AppSettings.Cleaning, 0);
}

TEST_F(SettingsDialog, DefaultsChangeOnlyTheControlsUntilOk)
{
    const auto before = Take();
    Open();
    Click(CSettingsDlg::IDC_DEFAULTS);
    EXPECT_TRUE(pDlg->isVisible());
    EXPECT_EQ(Text(CSettingsDlg::IDC_TIMEOUT), QStringLiteral("16"));
    EXPECT_EQ(Take(), before);
    Click(IDCANCEL);
    EXPECT_EQ(pDlg->Result(), IDCANCEL);
    EXPECT_EQ(Take(), before);

    Open();
    Click(CSettingsDlg::IDC_DEFAULTS);
    Click(IDOK);
    EXPECT_EQ(Take(), kDefaults);

    // The modal run ends the same ways (Escape is Cancel).
    AppSettings.Timeout = 99;
    CSettingsDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        QTest::mouseClick(dlg.GetDlgItem(CSettingsDlg::IDC_DEFAULTS), Qt::LeftButton);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(AppSettings.Timeout, 99);
}

TEST_F(SettingsDialog, NumbersAreTakenAsTypedWithoutRangeChecks)
{
    Open();
    Retype(CSettingsDlg::IDC_TIMEOUT, QString());
    Retype(CSettingsDlg::IDC_RETRIES, QStringLiteral("12x3"));  // letters are refused
    EXPECT_EQ(Text(CSettingsDlg::IDC_RETRIES), QStringLiteral("123"));
    Click(IDOK);
    EXPECT_EQ(AppSettings.Timeout, 0);
    EXPECT_EQ(AppSettings.Retries, 123);

    Open();
    Retype(CSettingsDlg::IDC_TIMEOUT, QStringLiteral("400"));
    Retype(CSettingsDlg::IDC_RETRIES, QStringLiteral("99999999999999"));
    Click(IDOK);
    EXPECT_EQ(AppSettings.Timeout, 400);
    EXPECT_EQ(AppSettings.Retries, 2147483647);  // saturates, never wraps
    EXPECT_EQ(LeadingInteger("  -42abc"), -42);
    EXPECT_EQ(LeadingInteger("-99999999999"), -2147483648LL);

    // The spins keep to their range (Retries 1..10), starting from what is typed.
    Open();
    Retype(CSettingsDlg::IDC_RETRIES, QStringLiteral("10"));
    QTest::keyClick(Item<QLineEdit>(CSettingsDlg::IDC_RETRIES), Qt::Key_Up);
    EXPECT_EQ(Text(CSettingsDlg::IDC_RETRIES), QStringLiteral("10"));
    QTest::keyClick(Item<QLineEdit>(CSettingsDlg::IDC_RETRIES), Qt::Key_Down);
    Click(IDOK);
    EXPECT_EQ(AppSettings.Retries, 9);
}

TEST_F(SettingsDialog, BaseColourAndVersionRoundTrip)
{
    Open();
    Retype(CSettingsDlg::IDC_BASE, QString(300, QLatin1Char('7')));
    EXPECT_EQ(Text(CSettingsDlg::IDC_BASE).size(), CSettingsDlg::kMaxBase);
    Item<QComboBox>(CSettingsDlg::IDC_VERSION)->setCurrentIndex(0);
    auto* pPicker = Item<CColourPicker>(CSettingsDlg::IDC_COLOUR);
    QTest::mouseClick(pPicker, Qt::LeftButton);
    ASSERT_NE(pPicker->Popup(), nullptr);
    QTest::mouseClick(pPicker->Popup(), Qt::LeftButton, {}, pPicker->Popup()->ItemRect(0).center());
    Click(IDOK);
    EXPECT_EQ(AppSettings.Base(), std::string(CSettingsDlg::kMaxBase, '7'));
    EXPECT_EQ(AppSettings.Version, 1u);
    EXPECT_EQ(AppSettings.InferColor, CColourPopup::Palette()[0].colour);

    // Bytes above 127 survive; v2c is stored as 2; an unknown version shows as v1.
    AppSettings.SetBase("\xA9.1.3");
    Open();
    Item<QComboBox>(CSettingsDlg::IDC_VERSION)->setCurrentIndex(1);
    Click(IDOK);
    EXPECT_EQ(AppSettings.Base(), "\xA9.1.3");
    EXPECT_EQ(AppSettings.Version, 2u);
    AppSettings.Version = 7;
    Open();
    EXPECT_EQ(Item<QComboBox>(CSettingsDlg::IDC_VERSION)->currentText(), QStringLiteral("v1"));
}

TEST_F(SettingsDialog, EnumLabelsAndMibPathAreEditedLikeTheOthers)
{
    Open();
    Click(CSettingsDlg::IDC_ENUM_LABELS);
    Retype(CSettingsDlg::IDC_MIB_PATH, QStringLiteral("/srv/vendor mibs:/opt/mibs"));
    Click(IDOK);
    EXPECT_EQ(AppSettings.ShowEnumLabels, 0);
    EXPECT_EQ(AppSettings.MibPath(), "/srv/vendor mibs:/opt/mibs");
    Open();
    Item<QLineEdit>(CSettingsDlg::IDC_MIB_PATH)->setText(QStringLiteral("/home/\u00e9ric/mibs"));
    Click(IDOK);
    EXPECT_EQ(AppSettings.MibPath(), "/home/\xc3\xa9ric/mibs");  // a file name's bytes
    Open();
    EXPECT_EQ(Text(CSettingsDlg::IDC_MIB_PATH), QStringLiteral("/home/\u00e9ric/mibs"));

    // The stored value holds 4095 bytes: a longer path keeps its whole entries
    // that fit, also where the characters take several bytes each.
    const QString strEntry = QStringLiteral("/") + QString(40, QChar(0x00e9));  // 81 bytes
    QString strLong;
    for (int i = 0; i < 60; ++i)
        strLong += (i ? ":" : "") + strEntry;
    Open();
    Item<QLineEdit>(CSettingsDlg::IDC_MIB_PATH)->setText(strLong);
    Click(IDOK);
    const std::string strStored = AppSettings.MibPath();
    EXPECT_LE(strStored.size(), 4095u);
    EXPECT_EQ(strStored, strLong.toUtf8().left(static_cast<int>(strStored.size())).toStdString());
    EXPECT_EQ(strStored.size() % 82, 81u) << "cut at an entry's end";
}

TEST_F(SettingsDialog, LayoutTabOrderAndBackground)
{
    Open();
    const CDialogUnits& u = pDlg->Units();
    // The spin sits at the right end of its edit.
    const QRect rcSpin = pDlg->GetDlgItem(CSettingsDlg::IDC_TIMEOUT_SPIN)->geometry();
    EXPECT_EQ(pDlg->GetDlgItem(CSettingsDlg::IDC_TIMEOUT)->geometry().right() + 1, rcSpin.left());
    EXPECT_EQ(rcSpin.right(), u.MapDialogRect(127, 80, 54, 12).right());
    // The version row stays clear of every other control.
    QWidget* pVersion = pDlg->GetDlgItem(CSettingsDlg::IDC_VERSION);
    for (QWidget* w : pDlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w != pVersion) {
            EXPECT_FALSE(w->geometry().intersects(pVersion->geometry())) << w->metaObject()->className();
        }
    }
    // Focusable controls in tab order (the spins take no focus; labels come last).
    const std::vector<int> expected{1000, 1001, 1012, 1004, 1002, 1005, 1007, 1022, 100, 1023, 1025, 1, 2};
    std::vector<int> order;
    for (QWidget* w = pDlg->nextInFocusChain(); w != pDlg.get(); w = w->nextInFocusChain())
        for (int id : expected)
            if (pDlg->GetDlgItem(id) == w && (w->focusPolicy() & Qt::TabFocus))
                order.push_back(id);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(pDlg->focusWidget(), pDlg->GetDlgItem(CSettingsDlg::IDC_CLEANING));

    const QImage image = pDlg->grab().toImage();
    const int yRule = image.height() - kButtonStripHeight;
    EXPECT_EQ(image.pixelColor(2, 0), QColor(Qt::white));  // the gradient starts white...
    EXPECT_LE(std::abs(image.pixelColor(2, yRule - 1).red() - int(GetRValue(DarkenColour(GetMenuBarColor(), 60)))), 3);
    EXPECT_EQ(image.pixelColor(2, yRule), QColor(Qt::black));           // ...ends on the rule
    EXPECT_EQ(image.pixelColor(2, image.height() - 5), QColor(Qt::white));  // button strip
    EXPECT_EQ(image.pixelColor(kPanelInset + 5, yRule - kPanelInset - 5), QColor(Qt::white));  // panel
    EXPECT_NE(image.pixelColor(kPanelInset - 5, yRule - 5), QColor(Qt::white));
}

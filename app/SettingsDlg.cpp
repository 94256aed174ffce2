#include "app/SettingsDlg.h"
#include "app/DialogBackground.h"
#include "platform/dialog/SpinButtonCtrl.h"
#include "snmp/AppSettings.h"
#include "ui/ColourPicker.h"
#include "ui/MenuBarColor.h"
#include "ui/MyStatic.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

constexpr DWORD kVersion1 = 1;
constexpr DWORD kVersion2c = 2;

BOOL IsOn(BYTE flag) { return flag == 1; }
BYTE FlagOf(const QCheckBox* pCheck) { return pCheck->isChecked() ? 1 : 0; }
std::string TextOf(const QLineEdit* pEdit) { return pEdit->text().toLatin1().toStdString(); }
QString Decimal(std::int32_t n) { return QString::number(n); }
// The version box shows v2c for 2 and v1 for any other value, which OK then stores.
int VersionIndex(DWORD dwVersion) { return dwVersion == kVersion2c ? 1 : 0; }

// A text-less check box laid out smaller than the style's box would clip it: grow it
// around its centre to the indicator's size.
void FitIndicator(QCheckBox* pCheck)
{
    const QSize indicator = pCheck->sizeHint();
    QRect rc = pCheck->geometry();
    const QPoint centre = rc.center();
    rc.setSize(rc.size().expandedTo(indicator));
    rc.moveCenter(centre);
    pCheck->setGeometry(rc);
}

// The path as stored: whole entries only, within the stored value's bytes (the
// edit counts characters, and a non-ASCII one takes several bytes).
std::string FittedMibPath(const QLineEdit* pEdit)
{
    constexpr std::size_t nMax = CSettingsDlg::kMaxMibPath;
    std::string strPath = pEdit->text().toLocal8Bit().toStdString();
    if (strPath.size() > nMax) {
        const std::size_t nCut = strPath.rfind(':', nMax);
        strPath.erase(nCut == std::string::npos ? nMax : nCut);
    }
    return strPath;
}

} // namespace

std::int32_t LeadingInteger(const std::string& strText)
{
    // strtoll saturates at its own, wider range; the clamp narrows that to 32 bits.
    const long long value = std::strtoll(strText.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

CSettingsDlg::CSettingsDlg(QWidget* pParent)
    : CDialog("Settings", 227, 222, QStringLiteral("MS Shell Dlg"), 8, pParent)
{
    CreateControls();
    ConnectStandardButtons();
}

void CSettingsDlg::AddLabel(int nId, const char* pszText, int x, int y, int cx, int cy)
{
    auto* pLabel = new CMyStatic(this, nId);
    PlaceControl(nId, pLabel, x, y, cx, cy);
    pLabel->SetWindowText(pszText);
}

void CSettingsDlg::CreateControls()
{
    // Created in tab order; the labels take no focus and come last.
    m_pCheckCleaning = AddControl<QCheckBox>(IDC_CLEANING, 127, 24, 9, 8);
    m_pCheckInference = AddControl<QCheckBox>(IDC_INFERENCE, 127, 37, 9, 8);
    m_pColour = AddControl<CColourPicker>(IDC_COLOUR, 127, 49, 54, 12);
    m_pColour->SetDefaultColour(CAppSettings::kDefaultInferColor);
    m_pColour->SetDefaultText(QStringLiteral("Automatic"));
    m_pCheckWrite = AddControl<QCheckBox>(IDC_WRITE, 127, 66, 10, 8);
    for (QCheckBox* pCheck : {m_pCheckCleaning, m_pCheckInference, m_pCheckWrite})
        FitIndicator(pCheck);

    m_pEditTimeout = AddControl<QLineEdit>(IDC_TIMEOUT, 127, 80, 54, 12);
    SetDigitsOnly(m_pEditTimeout);
    m_pSpinTimeout = AddControl<CSpinButtonCtrl>(IDC_TIMEOUT_SPIN, 208, 80, 11, 16);
    m_pSpinTimeout->SetBuddy(m_pEditTimeout);
    m_pEditRetries = AddControl<QLineEdit>(IDC_RETRIES, 127, 97, 54, 12);
    SetDigitsOnly(m_pEditRetries);
    m_pSpinRetries = AddControl<CSpinButtonCtrl>(IDC_RETRIES_SPIN, 208, 97, 11, 16);
    m_pSpinRetries->SetBuddy(m_pEditRetries);

    m_pEditBase = AddControl<QLineEdit>(IDC_BASE, 125, 114, 73, 12);
    m_pEditBase->setMaxLength(kMaxBase);
    // The version row shares the line of the Defaults button, left of it.
    m_pComboVersion = AddControl<QComboBox>(IDC_VERSION, 82, 134, 36, 14);
    m_pComboVersion->addItem(QStringLiteral("v1"), QVariant::fromValue(kVersion1));
    m_pComboVersion->addItem(QStringLiteral("v2c"), QVariant::fromValue(kVersion2c));

    auto* pDefaults = AddControl<QPushButton>(IDC_DEFAULTS, 153, 134, 47, 14);
    pDefaults->setText(QStringLiteral("Defaults"));
    pDefaults->setAutoDefault(false);
    connect(pDefaults, &QPushButton::clicked, this, &CSettingsDlg::OnDefaults);
    m_pCheckEnumLabels = AddControl<QCheckBox>(IDC_ENUM_LABELS, 127, 155, 9, 8);
    FitIndicator(m_pCheckEnumLabels);
    m_pEditMibPath = AddControl<QLineEdit>(IDC_MIB_PATH, 82, 168, 116, 12);
    m_pEditMibPath->setMaxLength(kMaxMibPath);
    m_pEditMibPath->setToolTip(QStringLiteral("MIB folders and files, separated by \":\""));

    auto* pOk = AddControl<QPushButton>(IDOK, 172, 201, 47, 14);
    pOk->setText(QStringLiteral("OK"));
    pOk->setDefault(true);
    auto* pCancel = AddControl<QPushButton>(IDCANCEL, 120, 201, 47, 14);
    pCancel->setText(QStringLiteral("Cancel"));
    pCancel->setAutoDefault(false);

    AddLabel(IDC_LBL_TIMEOUT, "Timeout (Seconds)", 30, 83, 84, 9);
    AddLabel(IDC_LBL_COLOUR, "Inferred Cell Color", 44, 52, 65, 9);
    AddLabel(IDC_LBL_RETRIES, "Retries", 30, 99, 84, 9);
    AddLabel(IDC_LBL_BASE, "Base", 30, 114, 84, 9);
    AddLabel(IDC_LBL_CLEANING, "Enable Node Cleaning", 30, 22, 84, 9);
    AddLabel(IDC_LBL_INFERENCE, "Enable Inference", 30, 37, 84, 9);
    AddLabel(IDC_LBL_WRITE, "Enable Write", 30, 67, 84, 9);
    AddLabel(IDC_LBL_VERSION, "SNMP Version", 30, 137, 50, 9);
    AddLabel(IDC_LBL_ENUM_LABELS, "Show Enum Labels", 30, 155, 84, 9);
    AddLabel(IDC_LBL_MIB_PATH, "MIB Path", 30, 170, 50, 9);
}

BOOL CSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pSpinTimeout->SetRange32(1, 300);
    m_pSpinRetries->SetRange32(1, 10);

    m_pCheckCleaning->setChecked(IsOn(AppSettings.Cleaning));
    m_pCheckInference->setChecked(IsOn(AppSettings.Inferance));
    m_pColour->SetColour(AppSettings.InferColor);
    m_pCheckWrite->setChecked(IsOn(AppSettings.WriteOn));
    m_pEditTimeout->setText(Decimal(AppSettings.Timeout));
    m_pEditRetries->setText(Decimal(AppSettings.Retries));
    m_pEditBase->setText(QString::fromLatin1(AppSettings.Base().c_str()));
    m_pComboVersion->setCurrentIndex(VersionIndex(AppSettings.Version));
    m_pCheckEnumLabels->setChecked(IsOn(AppSettings.ShowEnumLabels));
    m_pEditMibPath->setText(QString::fromLocal8Bit(AppSettings.MibPath().c_str()));
    m_pEditMibPath->setCursorPosition(0);  // the first folders, not the end
    return TRUE;
}

void CSettingsDlg::OnDefaults()
{
    m_pCheckCleaning->setChecked(IsOn(CAppSettings::kDefaultCleaning));
    m_pCheckInference->setChecked(IsOn(CAppSettings::kDefaultInferance));
    m_pCheckWrite->setChecked(IsOn(CAppSettings::kDefaultWriteOn));
    m_pColour->SetColour(CAppSettings::kDefaultInferColor);
    m_pEditTimeout->setText(Decimal(CAppSettings::kDefaultTimeout));
    m_pEditRetries->setText(Decimal(CAppSettings::kDefaultRetries));
    m_pEditBase->setText(QString::fromLatin1(CAppSettings::kDefaultBase));
    m_pComboVersion->setCurrentIndex(VersionIndex(CAppSettings::kDefaultVersion));
    m_pCheckEnumLabels->setChecked(IsOn(CAppSettings::kDefaultShowEnumLabels));
    m_pEditMibPath->setText(QString::fromLocal8Bit(CAppSettings::kDefaultMibPath));
}

void CSettingsDlg::OnOK()
{
    AppSettings.Cleaning = FlagOf(m_pCheckCleaning);
    AppSettings.Inferance = FlagOf(m_pCheckInference);
    AppSettings.WriteOn = FlagOf(m_pCheckWrite);
    AppSettings.InferColor = m_pColour->GetColour();
    AppSettings.Timeout = LeadingInteger(TextOf(m_pEditTimeout));
    AppSettings.Retries = LeadingInteger(TextOf(m_pEditRetries));
    AppSettings.SetBase(TextOf(m_pEditBase));
    AppSettings.Version = m_pComboVersion->currentData().toUInt();
    AppSettings.ShowEnumLabels = FlagOf(m_pCheckEnumLabels);
    AppSettings.SetMibPath(FittedMibPath(m_pEditMibPath));
    CDialog::OnOK();
}

BOOL CSettingsDlg::OnEraseBkgnd(QPainter& painter)
{
    DrawDialogBackground(painter, rect(), GetMenuBarColor());
    return TRUE;
}

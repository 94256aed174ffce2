#include "app/AgentProfileDlg.h"
#include "app/DialogBackground.h"
#include "app/SettingsDlg.h"
#include "ui/MenuBarColor.h"
#include "ui/MyStatic.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kWidth = 200, kRowHeight = 15, kLabelX = 10, kFieldX = 95, kFieldWidth = 95;

QString Latin1(const std::string& strText) { return QString::fromLatin1(strText.c_str(), int(strText.size())); }
std::string TextOf(const QLineEdit* pEdit) { return pEdit->text().toLatin1().toStdString(); }

template <typename T>
void SelectData(QComboBox* pCombo, T value)
{
    pCombo->setCurrentIndex(std::max(pCombo->findData(static_cast<int>(value)), 0));
}

template <typename T>
T DataOf(const QComboBox* pCombo)
{
    return static_cast<T>(pCombo->currentData().toInt());
}

} // namespace

CAgentProfileDlg::CAgentProfileDlg(const std::string& strHost, const CAgentProfile& profile,
                                   const std::string& strPrompt, QWidget* pParent)
    : CDialog("Agent Profile" + (strHost.empty() ? std::string() : " - " + strHost), kWidth,
              (strPrompt.empty() ? 0 : 14) + 14 * kRowHeight + 30, QStringLiteral("MS Shell Dlg"), 8, pParent),
      m_profile(profile)
{
    CreateControls(strPrompt);
    ConnectStandardButtons();
}

QLineEdit* CAgentProfileDlg::AddEdit(int nId, const char* pszLabel, int y)
{
    auto* pEdit = AddControl<QLineEdit>(nId, kFieldX, y, kFieldWidth, 12);
    auto* pLabel = new CMyStatic(this, nId + 100);
    PlaceControl(nId + 100, pLabel, kLabelX, y + 2, kFieldX - kLabelX - 4, 9);
    pLabel->SetWindowText(pszLabel);
    return pEdit;
}

QComboBox* CAgentProfileDlg::AddCombo(int nId, const char* pszLabel, int y)
{
    auto* pCombo = AddControl<QComboBox>(nId, kFieldX, y, kFieldWidth, 13);
    auto* pLabel = new CMyStatic(this, nId + 100);
    PlaceControl(nId + 100, pLabel, kLabelX, y + 2, kFieldX - kLabelX - 4, 9);
    pLabel->SetWindowText(pszLabel);
    return pCombo;
}

void CAgentProfileDlg::CreateControls(const std::string& strPrompt)
{
    int y = 10;
    if (!strPrompt.empty()) {
        auto* pPrompt = new CMyStatic(this, IDC_PROMPT);
        PlaceControl(IDC_PROMPT, pPrompt, kLabelX, y, kWidth - 2 * kLabelX, 10);
        pPrompt->SetWindowText(strPrompt.c_str());
        y += 14;
    }
    const auto Next = [&y] { return std::exchange(y, y + kRowHeight); };
    m_pVersion = AddCombo(IDC_VERSION, "SNMP Version", Next());
    for (const DWORD nVersion : {CAgentProfile::kVersion1, CAgentProfile::kVersion2c, CAgentProfile::kVersion3})
        m_pVersion->addItem(QStringLiteral("v%1").arg(SnmpVersionName(nVersion)), int(nVersion));
    m_pPort = AddEdit(IDC_PORT, "Port", Next());
    m_pTimeout = AddEdit(IDC_TIMEOUT, "Timeout (Seconds)", Next());
    m_pRetries = AddEdit(IDC_RETRIES, "Retries", Next());
    m_pMaxRepetitions = AddEdit(IDC_MAX_REPETITIONS, "Max Repetitions", Next());
    for (QLineEdit* pEdit : {m_pPort, m_pTimeout, m_pRetries, m_pMaxRepetitions})
        SetDigitsOnly(pEdit);
    m_pUser = AddEdit(IDC_USER, "User", Next());
    m_pLevel = AddCombo(IDC_LEVEL, "Security Level", Next());
    for (const auto eLevel : {SnmpSecurityLevel::NoAuthNoPriv, SnmpSecurityLevel::AuthNoPriv, SnmpSecurityLevel::AuthPriv})
        m_pLevel->addItem(SecurityLevelName(eLevel), int(eLevel));
    m_pAuth = AddCombo(IDC_AUTH, "Authentication", Next());
    for (const auto eAuth : {SnmpAuthProtocol::MD5, SnmpAuthProtocol::SHA, SnmpAuthProtocol::SHA224,
                             SnmpAuthProtocol::SHA256, SnmpAuthProtocol::SHA384, SnmpAuthProtocol::SHA512})
        m_pAuth->addItem(AuthProtocolName(eAuth), int(eAuth));
    m_pAuthPass = AddEdit(IDC_AUTH_PASS, "Auth Passphrase", Next());
    m_pPriv = AddCombo(IDC_PRIV, "Privacy", Next());
    for (const auto ePriv : {SnmpPrivProtocol::DES, SnmpPrivProtocol::AES, SnmpPrivProtocol::AES192,
                             SnmpPrivProtocol::AES256})
        m_pPriv->addItem(PrivProtocolName(ePriv), int(ePriv));
    m_pPrivPass = AddEdit(IDC_PRIV_PASS, "Priv Passphrase", Next());
    m_pContext = AddEdit(IDC_CONTEXT, "Context", Next());
    for (QLineEdit* pEdit : {m_pUser, m_pContext})
        pEdit->setMaxLength(kMaxName);
    for (QLineEdit* pEdit : {m_pAuthPass, m_pPrivPass})
        pEdit->setEchoMode(QLineEdit::Password);
    m_pRemember = AddControl<QCheckBox>(IDC_REMEMBER, kFieldX, Next(), kFieldWidth, 12);
    m_pRemember->setText(QStringLiteral("Remember passphrases"));

    auto* pOk = AddControl<QPushButton>(IDOK, kWidth - 57, y + 6, 47, 14);
    pOk->setText(QStringLiteral("OK"));
    pOk->setDefault(true);
    auto* pCancel = AddControl<QPushButton>(IDCANCEL, kWidth - 109, y + 6, 47, 14);
    pCancel->setText(QStringLiteral("Cancel"));
    pCancel->setAutoDefault(false);

    for (QComboBox* pCombo : {m_pVersion, m_pLevel})
        connect(pCombo, &QComboBox::currentIndexChanged, this, &CAgentProfileDlg::EnableFields);
}

BOOL CAgentProfileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SelectData(m_pVersion, m_profile.m_nVersion);
    m_pPort->setText(QString::number(m_profile.m_nPort));
    m_pTimeout->setText(QString::number(m_profile.m_nTimeout));
    m_pRetries->setText(QString::number(m_profile.m_nRetries));
    m_pMaxRepetitions->setText(QString::number(m_profile.m_nMaxRepetitions));
    m_pUser->setText(Latin1(m_profile.m_strUser));
    SelectData(m_pLevel, m_profile.m_eLevel);
    SelectData(m_pAuth, m_profile.m_eAuth);
    SelectData(m_pPriv, m_profile.m_ePriv);
    m_pContext->setText(Latin1(m_profile.m_strContext));
    m_pAuthPass->setText(Latin1(m_profile.m_strAuthPass));
    m_pPrivPass->setText(Latin1(m_profile.m_strPrivPass));
    m_pAuthPass->setPlaceholderText(m_profile.m_authKey.empty() ? QString() : kRememberedText);
    m_pPrivPass->setPlaceholderText(m_profile.m_privKey.empty() ? QString() : kRememberedText);
    m_pRemember->setChecked(m_profile.m_bRememberKeys);
    EnableFields();
    return TRUE;
}

// The v3 fields only for version 3, the passphrases only where the level uses them.
void CAgentProfileDlg::EnableFields()
{
    const bool bV3 = DataOf<DWORD>(m_pVersion) == CAgentProfile::kVersion3;
    const auto eLevel = DataOf<SnmpSecurityLevel>(m_pLevel);
    const bool bAuth = bV3 && eLevel != SnmpSecurityLevel::NoAuthNoPriv;
    const bool bPriv = bV3 && eLevel == SnmpSecurityLevel::AuthPriv;
    for (QWidget* pField : {static_cast<QWidget*>(m_pUser), static_cast<QWidget*>(m_pLevel),
                            static_cast<QWidget*>(m_pContext)})
        pField->setEnabled(bV3);
    for (QWidget* pField : {static_cast<QWidget*>(m_pAuth), static_cast<QWidget*>(m_pAuthPass),
                            static_cast<QWidget*>(m_pRemember)})
        pField->setEnabled(bAuth);
    for (QWidget* pField : {static_cast<QWidget*>(m_pPriv), static_cast<QWidget*>(m_pPrivPass)})
        pField->setEnabled(bPriv);
}

void CAgentProfileDlg::OnOK()
{
    CAgentProfile profile = m_profile;
    profile.m_nVersion = DataOf<DWORD>(m_pVersion);
    const std::int32_t nPort = LeadingInteger(TextOf(m_pPort));
    profile.m_nPort = nPort >= 1 && nPort <= 65535 ? nPort : CAgentProfile::kDefaultPort;
    profile.m_nTimeout = LeadingInteger(TextOf(m_pTimeout));
    profile.m_nRetries = LeadingInteger(TextOf(m_pRetries));
    profile.m_nMaxRepetitions = LeadingInteger(TextOf(m_pMaxRepetitions));
    profile.m_strUser = TextOf(m_pUser);
    profile.m_eLevel = DataOf<SnmpSecurityLevel>(m_pLevel);
    profile.m_eAuth = DataOf<SnmpAuthProtocol>(m_pAuth);
    profile.m_ePriv = DataOf<SnmpPrivProtocol>(m_pPriv);
    profile.m_strContext = TextOf(m_pContext);
    profile.m_strAuthPass = TextOf(m_pAuthPass);
    profile.m_strPrivPass = TextOf(m_pPrivPass);
    // Only passphrases the level uses are remembered.
    profile.m_bRememberKeys = m_pRemember->isChecked() && m_pRemember->isEnabled();
    // A master key belongs to one hash and to the user it was made for.
    if (profile.m_eAuth != m_profile.m_eAuth || profile.m_strUser != m_profile.m_strUser || !profile.m_bRememberKeys)
        profile.DropKeys();
    if (profile.m_bRememberKeys && !profile.DeriveKeys()) {
        AfxMessageBox(kShortPassText, MB_OK | MB_ICONERROR);
        return;
    }
    m_profile = std::move(profile);
    CDialog::OnOK();
}

BOOL CAgentProfileDlg::OnEraseBkgnd(QPainter& painter)
{
    DrawDialogBackground(painter, rect(), GetMenuBarColor());
    return TRUE;
}

#pragma once
// The agent's profile: version, port, timeout, retries, GetBulk size and the
// SNMPv3 user (level, protocols, passphrases, context), with the choice to
// remember the passphrases as keys. OK takes the controls into Profile(); the
// profile given stays untouched on Cancel. A passphrase left empty keeps the
// key remembered for it. UI thread only.
#include "platform/dialog/Dialog.h"
#include "snmp/AgentProfile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class CAgentProfileDlg : public CDialog
{
    Q_OBJECT
public:
    enum : int
    {
        IDC_VERSION = 1100,
        IDC_PORT,
        IDC_TIMEOUT,
        IDC_RETRIES,
        IDC_MAX_REPETITIONS,
        IDC_USER,
        IDC_LEVEL,
        IDC_AUTH,
        IDC_AUTH_PASS,
        IDC_PRIV,
        IDC_PRIV_PASS,
        IDC_CONTEXT,
        IDC_REMEMBER,
        IDC_PROMPT,
    };
    static constexpr int kMaxName = 32;  // USM user and context names
    static constexpr const char* kRememberedText = "(remembered)";
    static constexpr const char* kShortPassText = "A passphrase must have at least 8 characters.";

    // strPrompt: a line above the fields ("" for none). parent Not owned.
    CAgentProfileDlg(const std::string& strHost, const CAgentProfile& profile, const std::string& strPrompt,
                     QWidget* pParent = nullptr);

    const CAgentProfile& Profile() const { return m_profile; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnEraseBkgnd(QPainter& painter) override;

private:
    void CreateControls(const std::string& strPrompt);
    QLineEdit* AddEdit(int nId, const char* pszLabel, int y);
    QComboBox* AddCombo(int nId, const char* pszLabel, int y);
    void EnableFields();

    CAgentProfile m_profile;
    QComboBox* m_pVersion;
    QLineEdit* m_pPort;
    QLineEdit* m_pTimeout;
    QLineEdit* m_pRetries;
    QLineEdit* m_pMaxRepetitions;
    QLineEdit* m_pUser;
    QComboBox* m_pLevel;
    QComboBox* m_pAuth;
    QLineEdit* m_pAuthPass;
    QComboBox* m_pPriv;
    QLineEdit* m_pPrivPass;
    QLineEdit* m_pContext;
    QCheckBox* m_pRemember;
    // All Not owned: Qt children of the dialog.
};

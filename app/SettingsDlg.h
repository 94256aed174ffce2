#pragma once
// The Settings dialog: edits the options of AppSettings. OK copies the controls into
// AppSettings (effective for the next walk, write or cleaning pass; a changed MIB
// path is loaded again by the main frame; the registry is written at exit);
// Cancel and Defaults change nothing in AppSettings.
#include "platform/dialog/Dialog.h"
#include "snmp/AppSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class CColourPicker;
class CSpinButtonCtrl;

class CSettingsDlg : public CDialog
{
    Q_OBJECT
public:
    // Control ids.
    enum : int
    {
        IDC_CLEANING = 1000,
        IDC_INFERENCE = 1001,
        IDC_TIMEOUT = 1002,
        IDC_TIMEOUT_SPIN = 1003,
        IDC_WRITE = 1004,
        IDC_RETRIES = 1005,
        IDC_RETRIES_SPIN = 1006,
        IDC_BASE = 1007,
        IDC_COLOUR = 1012,
        IDC_LBL_CLEANING = 1013,
        IDC_LBL_INFERENCE = 1014,
        IDC_LBL_COLOUR = 1015,
        IDC_LBL_WRITE = 1016,
        IDC_LBL_TIMEOUT = 1017,
        IDC_LBL_RETRIES = 1018,
        IDC_LBL_BASE = 1019,
        IDC_LBL_VERSION = 1021,
        IDC_VERSION = 1022,
        IDC_ENUM_LABELS = 1023,
        IDC_LBL_ENUM_LABELS = 1024,
        IDC_MIB_PATH = 1025,
        IDC_LBL_MIB_PATH = 1026,
        IDC_DEFAULTS = 100,
    };
    static constexpr int kMaxBase = 259;  // characters; the stored text keeps its NUL in 260 bytes
    static constexpr int kMaxMibPath = static_cast<int>(CAppSettings::kMibPathSize) - 1;

    // parent may be null (the design's usage); Not owned.
    explicit CSettingsDlg(QWidget* pParent = nullptr);

    // The Defaults button: the built-in defaults into the controls only.
    void OnDefaults();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnEraseBkgnd(QPainter& painter) override;

private:
    void CreateControls();
    void AddLabel(int nId, const char* pszText, int x, int y, int cx, int cy);

    QCheckBox* m_pCheckCleaning;
    QCheckBox* m_pCheckInference;
    CColourPicker* m_pColour;
    QCheckBox* m_pCheckWrite;
    QLineEdit* m_pEditTimeout;
    CSpinButtonCtrl* m_pSpinTimeout;
    QLineEdit* m_pEditRetries;
    CSpinButtonCtrl* m_pSpinRetries;
    QLineEdit* m_pEditBase;
    QComboBox* m_pComboVersion;
    QCheckBox* m_pCheckEnumLabels;
    QLineEdit* m_pEditMibPath;
    // All Not owned: Qt children of the dialog.
};

// The usual text-to-integer conversion of the dialog: the decimal digits at the
// start of the text (after optional blanks and sign), 0 when there are none; values
// beyond the 32-bit range saturate instead of wrapping.
std::int32_t LeadingInteger(const std::string& strText);

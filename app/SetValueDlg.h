#pragma once
// "Set Value": the type (one of the type names the write knows) and the new
// value text of one variable. OK hands both to the write the dialog was given;
// the dialog stays open when the write refuses them (its messages have been
// shown), so the text can be corrected.
#include "platform/dialog/Dialog.h"
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;

class CSetValueDlg : public CDialog
{
    Q_OBJECT
public:
    enum : int { IDC_LBL_TYPE = 1100, IDC_TYPE = 1101, IDC_LBL_VALUE = 1102, IDC_VALUE = 1103 };
    // True when the value was written.
    using Writer = std::function<bool(const std::string& strType, const std::string& strValue)>;

    // strName: the variable's name for the caption; strType and strValue: what
    // the controls start with (a type not in the list starts on "OCTETSTRING").
    CSetValueDlg(const std::string& strName, const std::string& strType, const std::string& strValue,
                 Writer writer, QWidget* pParent = nullptr);

    QComboBox& TypeBox() { return *m_pType; }
    QLineEdit& ValueBox() { return *m_pValue; }

protected:
    void OnOK() override;

private:
    QComboBox* m_pType;
    QLineEdit* m_pValue;
    Writer m_writer;
};

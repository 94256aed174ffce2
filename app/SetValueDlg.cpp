#include "app/SetValueDlg.h"
#include "snmp/SnmpValue.h"
#include "ui/MyStatic.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The names the write reads, in the order of its table; those it cannot
// write are offered too and refused with its own message.
const char* const kTypeNames[] = {
    TypeName::Integer,      TypeName::Unsigned32,   TypeName::Counter64,      TypeName::OctetString,
    TypeName::Bits,         TypeName::ObjectIdentifier, TypeName::Sequence,   TypeName::IpAddress,
    TypeName::Counter32,    TypeName::Gauge32,      TypeName::TimeTicks,      TypeName::Opaque,
    TypeName::NoSuchObject, TypeName::NoSuchInstance, TypeName::EndOfMibView,
};

QString Latin1(const std::string& str)
{
    return QString::fromLatin1(str.data(), static_cast<qsizetype>(str.size()));
}

} // namespace

CSetValueDlg::CSetValueDlg(const std::string& strName, const std::string& strType, const std::string& strValue,
                           Writer writer, QWidget* pParent)
    : CDialog("Set Value - " + strName, 220, 62, QStringLiteral("MS Shell Dlg"), 8, pParent),
      m_writer(std::move(writer))
{
    auto* pTypeLabel = new CMyStatic(this, IDC_LBL_TYPE);
    pTypeLabel->SetWindowText("Type");
    PlaceControl(IDC_LBL_TYPE, pTypeLabel, 7, 9, 30, 9);
    m_pType = AddControl<QComboBox>(IDC_TYPE, 40, 7, 173, 60);
    for (const char* pszName : kTypeNames)
        m_pType->addItem(QString::fromLatin1(pszName));
    const int nType = m_pType->findText(Latin1(strType));
    m_pType->setCurrentIndex(nType >= 0 ? nType : m_pType->findText(QString::fromLatin1(TypeName::OctetString)));

    auto* pValueLabel = new CMyStatic(this, IDC_LBL_VALUE);
    pValueLabel->SetWindowText("Value");
    PlaceControl(IDC_LBL_VALUE, pValueLabel, 7, 26, 30, 9);
    m_pValue = AddControl<QLineEdit>(IDC_VALUE, 40, 24, 173, 12);
    m_pValue->setText(Latin1(strValue));

    auto* pOk = AddControl<QPushButton>(IDOK, 109, 42, 50, 14);
    pOk->setText("OK");
    pOk->setDefault(true);
    auto* pCancel = AddControl<QPushButton>(IDCANCEL, 163, 42, 50, 14);
    pCancel->setText("Cancel");
    ConnectStandardButtons();
}

void CSetValueDlg::OnOK()
{
    // Texts are 8-bit: what is typed goes out as its Latin-1 bytes.
    if (m_writer(m_pType->currentText().toLatin1().toStdString(), m_pValue->text().toLatin1().toStdString()))
        EndDialog(IDOK);
}

#include "platform/dialog/Dialog.h"
#include <QAbstractButton>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace {

QFont DialogFont(const QString& strFamily, int nPointSize)
{
    QFont font(strFamily, nPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

CDialog::CDialog(const std::string& strCaption, int cx, int cy, const QString& strFontFamily, int nPointSize,
                 QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_units(DialogFont(strFontFamily, nPointSize))
{
    setFont(DialogFont(strFontFamily, nPointSize));
    setWindowTitle(QString::fromLatin1(strCaption.c_str()));
    setFixedSize(m_units.MapX(cx), m_units.MapY(cy));
}

int CDialog::DoModal()
{
    Initialise();
    exec();
    return m_nResult;
}

BOOL CDialog::Create()
{
    Initialise();
    show();
    return TRUE;
}

void CDialog::Initialise()
{
    m_nResult = 0;
    if (OnInitDialog()) {
        // The first control of the tab order that takes the focus gets it.
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
            if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

QWidget* CDialog::GetDlgItem(int nId) const
{
    const auto it = m_controls.find(nId);
    return it == m_controls.end() ? nullptr : it->second;
}

void CDialog::SetDigitsOnly(QLineEdit* pEdit)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    pEdit->setValidator(new QRegularExpressionValidator(digits, pEdit));
}

void CDialog::ConnectStandardButtons()
{
    if (auto* pOk = qobject_cast<QAbstractButton*>(GetDlgItem(IDOK)))
        connect(pOk, &QAbstractButton::clicked, this, [this] { OnOK(); });
    if (auto* pCancel = qobject_cast<QAbstractButton*>(GetDlgItem(IDCANCEL)))
        connect(pCancel, &QAbstractButton::clicked, this, [this] { OnCancel(); });
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    done(nResult == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

void CDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!OnEraseBkgnd(painter))
        painter.fillRect(rect(), palette().window());
    OnPaint(painter);
}

void CDialog::PlaceControl(int nId, QWidget* pControl, int x, int y, int cx, int cy)
{
    pControl->setGeometry(m_units.MapDialogRect(x, y, cx, cy));
    m_controls[nId] = pControl;
}

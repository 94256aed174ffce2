#include "treelist/CellEditCtrl.h"
#include "platform/listctrl/ListCtrl.h"
#include "treelist/EndLabelEdit.h"
#include "platform/WindowStyles.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

constexpr int kGrowMargin = 5;
constexpr int kInnerMargin = 2;  // the line edit's own space on each side of the text

// Keys the editor keeps from the frame's shortcuts.
bool IsEditorKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return true;
    default:
        return (key.modifiers() & Qt::ControlModifier) != 0;
    }
}

} // namespace

CCellEditCtrl::CCellEditCtrl(int nRowIndex, int nColumnIndex, const std::string& strStartText)
    : m_nRowIndex(nRowIndex), m_nColumnIndex(nColumnIndex), m_strStartText(strStartText)
{
}

BOOL CCellEditCtrl::Create(DWORD dwStyle, const CRect& rect, CListCtrl* pList, UINT nID)
{
    if (!pList)
        return FALSE;
    m_pList = pList;
    m_nID = nID;
    setParent(pList->viewport());
    setFrame((dwStyle & WS_BORDER) != 0);
    const DWORD dwAlign = dwStyle & (ES_CENTER | ES_RIGHT);
    setAlignment((dwAlign == ES_RIGHT ? Qt::AlignRight : dwAlign == ES_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    setGeometry(rect.ToQRect());
    setFont(pList->font());
    setText(QString::fromLatin1(m_strStartText.c_str()));
    setCursorPosition(0);
    deselect();
    setVisible((dwStyle & WS_VISIBLE) != 0);
    setFocus(Qt::OtherFocusReason);
    return TRUE;
}

bool CCellEditCtrl::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ShortcutOverride && IsEditorKey(*static_cast<QKeyEvent*>(pEvent))) {
        pEvent->accept();
        return true;
    }
    return QLineEdit::event(pEvent);
}

void CCellEditCtrl::keyPressEvent(QKeyEvent* pEvent)
{
    if (EndEditByKey(pEvent, this, m_pList, m_bCancelled))
        return;
    QLineEdit::keyPressEvent(pEvent);
    GrowToFit();
}

void CCellEditCtrl::GrowToFit()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int nChrome = style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(2 * kInnerMargin, 0), this).width();
    const int nWanted = fontMetrics().horizontalAdvance(text()) + kGrowMargin + nChrome;
    const QWidget* pParent = parentWidget();
    if (nWanted <= width() || !pParent)
        return;
    const int nRight = std::min(x() + nWanted, pParent->width());
    if (nRight > x() + width())
        setGeometry(x(), y(), nRight - x(), height());
}

void CCellEditCtrl::focusOutEvent(QFocusEvent* pEvent)
{
    QLineEdit::focusOutEvent(pEvent);
    // The editor's own context menu takes the focus for a while: no end of edit.
    if (pEvent->reason() == Qt::PopupFocusReason || m_bReported)
        return;
    m_bReported = true;
    const std::string strText = text().toLatin1().toStdString();
    SendEndLabelEdit(m_pList, m_nID, m_nRowIndex, m_nColumnIndex, m_bCancelled ? nullptr : &strText);
    hide();
    deleteLater();
}

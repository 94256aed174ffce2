#include "treelist/CellComboCtrl.h"
#include "platform/listctrl/ListCtrl.h"
#include "treelist/EndLabelEdit.h"
#include "platform/WindowStyles.h"
#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>

CCellComboCtrl::CCellComboCtrl(int nRowIndex, int nColumnIndex, const CStringList& choices)
    : m_nRowIndex(nRowIndex), m_nColumnIndex(nColumnIndex), m_choices(choices)
{
}

BOOL CCellComboCtrl::Create(DWORD dwStyle, const CRect& rect, int nItemHeight, CListCtrl* pList, UINT nID)
{
    if (!pList || nItemHeight <= 0)
        return FALSE;
    m_pList = pList;
    m_nID = nID;
    m_dwStyle = dwStyle;
    setParent(pList->viewport());
    setEditable(false);
    setGeometry(rect.left, rect.top, rect.Width(), std::min(nItemHeight, rect.Height()));
    setMaxVisibleItems(std::max(1, (rect.Height() - nItemHeight) / nItemHeight));
    if (dwStyle & CBS_DISABLENOSCROLL)
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(pList->font());
    for (const std::string& choice : m_choices)
        AddString(choice);
    setCurrentIndex(-1);
    setVisible((dwStyle & WS_VISIBLE) != 0);
    setFocus(Qt::OtherFocusReason);
    return TRUE;
}

int CCellComboCtrl::AddString(const std::string& text)
{
    const QString item = QString::fromLatin1(text.c_str());
    int nIndex = count();
    if (m_dwStyle & CBS_SORT) {
        nIndex = 0;
        while (nIndex < count() && itemText(nIndex).compare(item, Qt::CaseInsensitive) <= 0)
            ++nIndex;
    }
    const int nCurrent = currentIndex();
    insertItem(nIndex, item);
    setCurrentIndex(nCurrent < nIndex ? nCurrent : nCurrent + 1);  // adding chooses nothing
    return nIndex;
}

bool CCellComboCtrl::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter || nKey == Qt::Key_Escape) {
            pEvent->accept();
            return true;
        }
    }
    return CWideComboBox::event(pEvent);
}

void CCellComboCtrl::keyPressEvent(QKeyEvent* pEvent)
{
    if (!EndEditByKey(pEvent, this, m_pList, m_bCancelled))
        CWideComboBox::keyPressEvent(pEvent);
}

void CCellComboCtrl::hidePopup()
{
    const bool bWasOpen = view()->isVisible();
    CWideComboBox::hidePopup();
    if (bWasOpen)
        ReturnFocus(this, m_pList);
}

void CCellComboCtrl::focusOutEvent(QFocusEvent* pEvent)
{
    const int nBefore = currentIndex();
    CWideComboBox::focusOutEvent(pEvent);
    // Its own drop-down list takes the focus while open: not the end of the edit.
    if (pEvent->reason() == Qt::PopupFocusReason || m_bClosed)
        return;
    m_bClosed = true;
    const int nAfter = currentIndex();
    if (nBefore != -1) {
        const std::string strText = currentText().toLatin1().toStdString();
        SendEndLabelEdit(m_pList, m_nID, m_nRowIndex, m_nColumnIndex, m_bCancelled ? nullptr : &strText,
                         LVIF_TEXT | LVIF_PARAM, nAfter);
    }
    hide();
    deleteLater();
}

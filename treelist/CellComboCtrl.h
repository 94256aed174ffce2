#pragma once
// The drop-down in-place editor of a tree-list cell whose control type is a
// drop-down list. It offers a copy of the cell's choices; when it loses the
// focus after a choice was made it reports the chosen text and index to the
// list (LVN_ENDLABELEDIT with LVIF_PARAM; no text after Escape), and in every
// case it deletes itself. UI thread only.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "treelist/NodeInfo.h"
#include "treelist/WideComboBox.h"
#include <QPointer>

class CListCtrl;

class CCellComboCtrl : public CWideComboBox
{
public:
    CCellComboCtrl(int nRowIndex, int nColumnIndex, const CStringList& choices);

    // Shows the editor over rect (client coordinates of pList, Not owned): the
    // first nItemHeight pixels are the box, the rest is room for its list.
    // dwStyle: CBS_SORT sorts the choices, CBS_DISABLENOSCROLL keeps the list's
    // scroll bar. Adds the choices (nothing chosen yet) and takes the focus.
    BOOL Create(DWORD dwStyle, const CRect& rect, int nItemHeight, CListCtrl* pList, UINT nID);

    // Inserts text in sorted order with CBS_SORT, else at the end; returns its index.
    int AddString(const std::string& text);

    int RowIndex() const { return m_nRowIndex; }
    int ColumnIndex() const { return m_nColumnIndex; }

    void hidePopup() override;

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    int m_nRowIndex;
    int m_nColumnIndex;
    CStringList m_choices;
    BOOL m_bCancelled = FALSE;
    DWORD m_dwStyle = 0;
    UINT m_nID = 0;
    bool m_bClosed = false;
    QPointer<CListCtrl> m_pList;  // Not owned.
};

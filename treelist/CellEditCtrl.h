#pragma once
// The one-line in-place editor of a tree-list cell. Laid over the cell, it takes
// the keyboard (Enter, Escape, Delete and Ctrl keys never reach the frame's
// shortcuts), widens itself as the text grows, and when it loses the focus it
// reports the text to the list (LVN_ENDLABELEDIT; no text after Escape) and
// deletes itself. UI thread only.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include <QLineEdit>
#include <QPointer>
#include <string>

class CListCtrl;

class CCellEditCtrl : public QLineEdit
{
public:
    CCellEditCtrl(int nRowIndex, int nColumnIndex, const std::string& strStartText);

    // Shows the editor over rect (client coordinates of pList, Not owned) with the
    // list's font, the start text, the caret at the start, and the focus.
    // dwStyle: ES_LEFT/ES_CENTER/ES_RIGHT alignment, WS_BORDER for a frame.
    BOOL Create(DWORD dwStyle, const CRect& rect, CListCtrl* pList, UINT nID);

    int RowIndex() const { return m_nRowIndex; }
    int ColumnIndex() const { return m_nColumnIndex; }
    UINT ControlId() const { return m_nID; }

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    void GrowToFit();

    int m_nRowIndex;
    int m_nColumnIndex;
    std::string m_strStartText;
    BOOL m_bCancelled = FALSE;
    UINT m_nID = 0;
    bool m_bReported = false;
    QPointer<CListCtrl> m_pList;  // Not owned.
};

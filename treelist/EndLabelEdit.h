#pragma once
// What the in-place editors share about ending an edit: Enter and Escape hand
// the focus back to the list (the editor then reports and closes), and the
// report itself, the list's LVN_ENDLABELEDIT notification with the edited cell
// and the new text (null when the edit was cancelled).
#include "platform/listctrl/ListCtrl.h"
#include <string>

class QKeyEvent;
class QWidget;

// Enter and Escape (which also sets bCancelled) give the focus to pList, or take
// it from pEditor when there is no list. TRUE when the key was one of them.
BOOL EndEditByKey(QKeyEvent* pEvent, QWidget* pEditor, CListCtrl* pList, BOOL& bCancelled);
// Gives the focus back to pList (null: takes it from pEditor).
void ReturnFocus(QWidget* pEditor, CListCtrl* pList);

// pText null: cancelled. nMask: LVIF_TEXT, plus LVIF_PARAM with lParam.
// Returns the list's answer; 0 when pList is null.
LRESULT SendEndLabelEdit(CListCtrl* pList, UINT nEditorId, int nRow, int nColumn, const std::string* pText,
                         UINT nMask = LVIF_TEXT, LPARAM lParam = 0);

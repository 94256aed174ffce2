#pragma once
// The end-of-edit report an in-place editor sends to its list: the list's
// LVN_ENDLABELEDIT notification with the edited cell and the new text (null
// when the edit was cancelled).
#include "platform/listctrl/ListCtrl.h"
#include <string>

// pText null: cancelled. nMask: LVIF_TEXT, plus LVIF_PARAM with lParam.
// Returns the list's answer; 0 when pList is null.
LRESULT SendEndLabelEdit(CListCtrl* pList, UINT nEditorId, int nRow, int nColumn, const std::string* pText,
                         UINT nMask = LVIF_TEXT, LPARAM lParam = 0);

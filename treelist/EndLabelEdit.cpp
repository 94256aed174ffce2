#include "treelist/EndLabelEdit.h"
#include <QKeyEvent>

BOOL EndEditByKey(QKeyEvent* pEvent, QWidget* pEditor, CListCtrl* pList, BOOL& bCancelled)
{
    switch (pEvent->key()) {
    case Qt::Key_Escape:
        bCancelled = TRUE;
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pEvent->accept();
        ReturnFocus(pEditor, pList);
        return TRUE;
    default:
        return FALSE;
    }
}

void ReturnFocus(QWidget* pEditor, CListCtrl* pList)
{
    if (pList)
        pList->setFocus(Qt::OtherFocusReason);
    else
        pEditor->clearFocus();
}

LRESULT SendEndLabelEdit(CListCtrl* pList, UINT nEditorId, int nRow, int nColumn, const std::string* pText,
                         UINT nMask, LPARAM lParam)
{
    if (!pList)
        return 0;
    std::string text = pText ? *pText : std::string();
    NMLVDISPINFO info;
    info.hdr.hwndFrom = pList;
    info.hdr.idFrom = nEditorId;
    info.hdr.code = LVN_ENDLABELEDIT;
    info.item.mask = nMask;
    info.item.iItem = nRow;
    info.item.iSubItem = nColumn;
    info.item.pszText = pText ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size());
    info.item.lParam = lParam;
    return pList->NotifyEndLabelEdit(&info);
}

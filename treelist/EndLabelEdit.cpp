#include "treelist/EndLabelEdit.h"

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

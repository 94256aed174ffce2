// In-place editing of tree-list cells: opening the editors over a cell and the
// base handling of the text an editor reports.
#include "treelist/CellComboCtrl.h"
#include "treelist/CellEditCtrl.h"
#include "treelist/TreeListCtrl.h"
#include "platform/WindowStyles.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;  // 0x50800080
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
constexpr int kComboListRows = 10;
constexpr int kComboScrollChoices = 5;   // from this many choices the list keeps its scroll bar
constexpr int kWideLabelLeft = 18;       // label editor's left edge when opened wide

} // namespace

BOOL CTreeListCtrl::CellEditRect(int nRow, int nColumn, CRect& rc)
{
    if (!EnsureVisible(nRow, FALSE) || !GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, rc))
        return FALSE;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rc.left < 0 || rc.left > rcClient.right) {
        Scroll(CSize(rc.left, 0));
        // Read back: the scroll stops at the end of the range.
        GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, rc);
    }
    rc.right = std::min(rc.left + GetColumnWidth(nColumn), rcClient.right);
    return TRUE;
}

CCellEditCtrl* CTreeListCtrl::EditCell(int nRow, int nColumn)
{
    CRect rc;
    if (!CellEditRect(nRow, nColumn, rc))
        return nullptr;
    LVCOLUMN column;
    column.mask = LVCF_FMT;
    GetColumn(nColumn, &column);
    const int nFormat = column.fmt & LVCFMT_JUSTIFYMASK;
    const DWORD dwAlign = nFormat == LVCFMT_RIGHT ? ES_RIGHT : nFormat == LVCFMT_CENTER ? ES_CENTER : ES_LEFT;
    // The editor is a child of the list and deletes itself when it closes.
    auto* pEdit = new CCellEditCtrl(nRow, nColumn, GetItemText(nRow, nColumn));
    pEdit->Create(kEditStyle | dwAlign, rc, this, IDC_CELL_EDIT);
    return pEdit;
}

CCellEditCtrl* CTreeListCtrl::EditLabelCell(int nRow, const CRect& rc)
{
    if (nRow < 0 || nRow >= GetItemCount())
        return nullptr;
    auto* pEdit = new CCellEditCtrl(nRow, 0, GetItemText(nRow, 0));  // deletes itself when it closes
    pEdit->Create(kEditStyle, rc, this, IDC_LABEL_EDIT);
    return pEdit;
}

CCellComboCtrl* CTreeListCtrl::EditComboCell(int nRow, int nColumn, const CStringList& choices)
{
    CRect rc;
    if (!CellEditRect(nRow, nColumn, rc))
        return nullptr;
    const int nItemHeight = rc.Height();
    rc.bottom += kComboListRows * GetRowHeight();
    DWORD dwStyle = kComboStyle;
    if (static_cast<int>(choices.size()) >= kComboScrollChoices)
        dwStyle |= CBS_DISABLENOSCROLL;
    auto* pCombo = new CCellComboCtrl(nRow, nColumn, choices);  // deletes itself when it closes
    pCombo->Create(dwStyle, rc, nItemHeight, this, IDC_CELL_COMBO);
    return pCombo;
}

QWidget* CTreeListCtrl::OnCellClick(UINT /*nFlags*/, CPoint /*pt*/, LVHITTESTINFO* pHit, BOOL bWide)
{
    if (!pHit || pHit->iItem < 0 || pHit->iSubItem < 0)
        return nullptr;
    if (pHit->iSubItem > 0)
        return EditCell(pHit->iItem, pHit->iSubItem);
    CRect rcLabel, rcBounds;
    if (!GetItemRect(pHit->iItem, &rcLabel, LVIR_LABEL) || !GetItemRect(pHit->iItem, &rcBounds, LVIR_BOUNDS))
        return nullptr;
    rcLabel.left = bWide ? rcBounds.left + kWideLabelLeft : rcLabel.left - 2;
    rcLabel.right = rcBounds.left + GetColumnWidth(0);  // column 0's right edge, also when scrolled
    return EditLabelCell(pHit->iItem, rcLabel);
}

void CTreeListCtrl::OnCellEditDone(CTreeItem* pNode, LVITEM* pItem)
{
    if (!pItem || !pItem->pszText)
        return;
    const std::string text(pItem->pszText);
    CNodeInfo* pInfo = pNode ? InfoOf(pNode) : nullptr;
    if (!pInfo) {
        SetItemText(pItem->iItem, pItem->iSubItem, text);
        return;
    }
    if (pItem->iSubItem == 0)
        pInfo->SetText(text);
    else
        pInfo->SetSubText(pItem->iSubItem - 1, text);
    RedrawItems(pItem->iItem, pItem->iItem);  // the row reads the node's texts
}

CTreeListCtrl::CEditorCloser::~CEditorCloser()
{
    const QList<QWidget*> children = pList->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : children) {
        if (dynamic_cast<CCellEditCtrl*>(pChild) || dynamic_cast<CCellComboCtrl*>(pChild))
            delete pChild;  // its base part drops the focus without a report
    }
}

// Cell write: with "WriteOn" set, the Value cell of a leaf is edited in place
// and the confirmed text is written to the agent with one SET.
#include "grid/OidTreeGrid.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "snmp/SnmpWrite.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <utility>

namespace {

// The write takes host, community and OID text from 256-byte buffers.
std::string Bounded(const std::string& strText)
{
    return strText.substr(0, 255);
}

} // namespace

BOOL COidTreeGrid::HandleEnterKey()
{
    m_pEditNode = nullptr;
    const int nRow = SelectedRow();
    if (nRow == -1 || m_nCurColumn == -1)
        return FALSE;
    CTreeItem* pNode = NodeAtRow(nRow);
    if (!pNode)
        return FALSE;
    if (GetHeaderCtrl()->OrderToIndex(m_nCurColumn) != colValue || AppSettings.WriteOn.load() == 0
        || HasChildren(pNode))
        return TRUE;
    m_pEditNode = pNode;
    return FALSE;
}

void COidTreeGrid::OnDblClk(NMITEMACTIVATE* pActivate)
{
    // The Enter key takes the editing path once the double-click is handled.
    if (SelectedRow() != -1)
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    CTreeListCtrl::OnDblClk(pActivate);
}

void COidTreeGrid::OnCellEditDone(CTreeItem*, LVITEM*)
{
    // The edited text reaches a cell only through a successful write (OnEndLabelEdit).
}

LRESULT COidTreeGrid::OnEndLabelEdit(NMLVDISPINFO* pInfo)
{
    CTreeItem* const pEditNode = std::exchange(m_pEditNode, nullptr);
    const int nRow = pInfo->item.iItem;
    CTreeItem* pNode = m_nCurColumn != -1 && nRow != -1 ? NodeAtRow(nRow) : nullptr;
    if (!pNode || !pInfo->item.pszText)
        return CTreeListCtrl::OnEndLabelEdit(pInfo);

    QPointer<COidTreeGrid> pSelf(this);
    // The editor reports a row; when another node has come to that row while it
    // was open (a cleaning folded the edited one away), the text is not meant for it.
    int nResult = 1;
    if (pNode == pEditNode) {
        const CNodeInfo* pNodeInfo = InfoOf(pNode);
        nResult = WriteValue(WindowHandle(), Bounded(m_strHost), Bounded(m_strCommunity),
                             Bounded(pNodeInfo->GetSubText(cellOid)), pNodeInfo->GetSubText(cellType),
                             pInfo->item.pszText);
    }
    if (!pSelf)
        return 0;
    if (nResult != 0) {
        MessageBox(WindowHandle(), "Update Failed!", "Error", MB_OK | MB_ICONSTOP);
        return 0;
    }
    // A successful write shows no box, so nothing ran in between: pNode is still there.
    CTreeListCtrl::OnEndLabelEdit(pInfo);
    InfoOf(pNode)->SetSubText(cellValue, pInfo->item.pszText);
    RefreshRow(pNode);
    return 0;
}

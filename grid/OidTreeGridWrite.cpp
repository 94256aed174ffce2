// Cell write: with "WriteOn" set, the Value cell of a leaf is edited in place
// and the confirmed text is written to the agent with one SET.
#include "grid/OidTreeGrid.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "snmp/EnumValueText.h"
#include "snmp/SnmpWrite.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <cstdio>
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

    // The editor reports a row; when another node has come to that row while it
    // was open (a cleaning folded the edited one away), the text is not meant for it.
    const CWriteResult result = pNode == pEditNode ? WriteCell(pNode, InfoOf(pNode)->GetSubText(cellType), pInfo->item.pszText) : CWriteResult{};
    if (!ShowWriteResult(result))
        return 0;
    // A successful write shows no box, so nothing ran in between: pNode is still there.
    CTreeListCtrl::OnEndLabelEdit(pInfo);
    CNodeInfo* pCells = InfoOf(pNode);
    const std::string strOid = pCells->GetSubText(cellOid);
    const std::string strType = pCells->GetSubText(cellType);
    // As a walk would show the value written (a number as its label, when labels are shown).
    pCells->SetSubText(cellValue, ValueCellText(strOid, strType, ValueToWrite(strOid, strType, pInfo->item.pszText)));
    RefreshRow(pNode);
    return 0;
}

CWriteResult COidTreeGrid::WriteCell(CTreeItem* pNode, const std::string& strType, const std::string& strValue)
{
    // A label the cell showed is written as its number.
    const std::string strOid = InfoOf(pNode)->GetSubText(cellOid);
    return WriteValue(Bounded(m_request.m_strHost), Bounded(m_request.m_strCommunity), Bounded(strOid), strType,
                      ValueToWrite(strOid, strType, strValue), m_request.m_profile);
}

bool COidTreeGrid::ShowWriteResult(const CWriteResult& result)
{
    if (!result.m_strOutput.empty()) {
        std::fputs(result.m_strOutput.c_str(), stdout);
        std::fflush(stdout);
    }
    if (result.m_nResult == 0)
        return true;
    QPointer<COidTreeGrid> pSelf(this);
    if (!result.m_strError.empty())
        MessageBox(WindowHandle(), result.m_strError, "Error", MB_OK | MB_ICONSTOP);
    if (pSelf)  // the window may go while a box is open
        MessageBox(WindowHandle(), "Update Failed!", "Error", MB_OK | MB_ICONSTOP);
    return false;
}

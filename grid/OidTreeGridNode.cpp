// Single operations on one node, as the row's context menu offers them: its
// texts for the clipboard, its OID, and one GET or SET of its variable.
#include "grid/OidTreeGrid.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "snmp/SnmpRead.h"
#include "snmp/NamePathRows.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <vector>

CTreeListCtrl::CTreeItem* COidTreeGrid::SelectAt(const QPoint& pt)
{
    LVHITTESTINFO hit;
    hit.pt = CPoint(pt);
    SubItemHitTest(&hit);
    CTreeItem* pNode = hit.iItem == -1 ? nullptr : NodeAtRow(hit.iItem);
    if (!pNode)
        return nullptr;
    SetItemState(hit.iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetCurrentColumn(GetHeaderCtrl()->IndexToOrder(std::max(0, hit.iSubItem)));
    viewport()->update();
    return pNode;
}

std::string COidTreeGrid::CellText(CTreeItem* pNode, int nColumn) const
{
    if (!pNode)
        return std::string();
    return nColumn == colMib ? InfoOf(pNode)->GetText() : InfoOf(pNode)->GetSubText(nColumn - 1);
}

std::string COidTreeGrid::NamePath(CTreeItem* pNode) const
{
    std::vector<CTreeItem*> path;
    for (CTreeItem* p = pNode; p; p = ParentOf(p))
        path.push_back(p);
    std::string strName;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        if (!strName.empty())
            strName += '.';
        strName += WithoutStatus(InfoOf(*it)->GetText());
    }
    return strName;
}

std::string COidTreeGrid::NodeOid(CTreeItem* pNode) const
{
    if (!pNode)
        return std::string();
    const std::string& strOwn = InfoOf(pNode)->GetSubText(cellOid);
    if (!strOwn.empty())
        return strOwn;
    CTreeItem* pVariable = pNode;
    while (pVariable && InfoOf(pVariable)->GetSubText(cellOid).empty())
        pVariable = NextInTree(pNode, pVariable, FALSE, FALSE);
    if (!pVariable)
        return std::string();
    // The components below the node, each one sub-identifier to cut.
    std::size_t nBelow = 0;
    for (CTreeItem* p = pVariable; p != pNode; p = ParentOf(p))
        nBelow += CNamePathRows::Components(WithoutStatus(InfoOf(p)->GetText())).size();
    std::string strOid = InfoOf(pVariable)->GetSubText(cellOid);
    for (; nBelow > 0; --nBelow) {
        const std::size_t nDot = strOid.rfind('.');
        if (nDot == std::string::npos || nDot == 0)
            return std::string();
        strOid.erase(nDot);
    }
    return strOid;
}

void COidTreeGrid::CopyFocusedCell()
{
    CTreeItem* pNode = FocusedNode();
    if (pNode)
        PutTextOnClipboard(CellText(pNode, GetHeaderCtrl()->OrderToIndex(m_nCurColumn)));
}

void COidTreeGrid::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->matches(QKeySequence::Copy)) {
        CopyFocusedCell();
        return;
    }
    CTreeListCtrl::keyPressEvent(pEvent);
}

bool COidTreeGrid::IsAgentVariable(CTreeItem* pNode) const
{
    return pNode && !HasChildren(pNode) && !InfoOf(pNode)->GetSubText(cellOid).empty()
        && !m_request.m_strHost.empty();
}

bool COidTreeGrid::GetValue(CTreeItem* pNode)
{
    if (!IsAgentVariable(pNode))
        return false;
    const CReadResult result = ReadValue(m_request, InfoOf(pNode)->GetSubText(cellOid));
    if (!result.m_bRead) {
        MessageBox(WindowHandle(), result.m_strError, "Error", MB_OK | MB_ICONSTOP);
        return false;
    }
    // Nothing ran between the request and here: the node is still in the tree.
    InfoOf(pNode)->SetSubText(cellType, result.m_record.m_strType);
    InfoOf(pNode)->SetSubText(cellValue, result.m_record.m_strValue);
    RefreshRow(pNode);
    return true;
}

bool COidTreeGrid::SetValue(CTreeItem* pNode, const std::string& strType, const std::string& strValue)
{
    if (!IsAgentVariable(pNode) || AppSettings.WriteOn.load() == 0)
        return false;
    if (!ShowWriteResult(WriteCell(pNode, strType, strValue)))
        return false;
    // A successful write shows no box, so nothing ran in between.
    InfoOf(pNode)->SetSubText(cellType, strType);
    InfoOf(pNode)->SetSubText(cellValue, strValue);
    RefreshRow(pNode);
    return true;
}

#include "app/GridContextMenu.h"
#include "app/SetValueDlg.h"
#include "snmp/AppSettings.h"

#include <QMenu>
#include <QPointer>

CGridContextMenu::CGridContextMenu(COidTreeGrid& grid, std::function<void(const CWalkRequest&)> walkFrom,
                                   std::function<bool()> canShowTable, std::function<void()> showTable)
    : m_grid(grid), m_walkFrom(std::move(walkFrom)), m_canShowTable(std::move(canShowTable)),
      m_showTable(std::move(showTable))
{
}

void CGridContextMenu::Run(const QPoint& pt)
{
    CTreeItem* pNode = m_grid.SelectAt(pt);
    QMenu menu(&m_grid);
    Fill(menu, pNode);
    QPointer<COidTreeGrid> pGrid(&m_grid);
    const QAction* pChosen = menu.exec(m_grid.viewport()->mapToGlobal(pt));
    // The menu's loop may have run a walk's messages: the node is taken again
    // from the row the menu was opened on.
    if (!pChosen || !pGrid)
        return;
    CTreeItem* pStill = m_grid.FocusedNode();
    if (pStill == pNode && pNode)
        Carry(pChosen->text(), pNode);
}

void CGridContextMenu::Fill(QMenu& menu, CTreeItem* pNode)
{
    const bool bNode = pNode != nullptr;
    const bool bChildren = bNode && m_grid.HasChildren(pNode);
    const bool bVariable = m_grid.IsAgentVariable(pNode);
    const bool bBusy = bNode && COidTreeGrid::HasStatus(m_grid.InfoOf(pNode)->GetText());
    const bool bHasOid = bNode && !m_grid.NodeOid(pNode).empty();
    const struct
    {
        const char* pszText;
        bool bEnabled;
    } items[] = {
        {kCopyValue, bNode && !m_grid.CellText(pNode, COidTreeGrid::colOid).empty()},
        {kCopyOid, bHasOid},
        {kCopyName, bNode},
        {kCopyRow, bNode},
        {kCopySubtree, bChildren},
        {nullptr, false},
        {kExpandSubtree, bChildren && !bBusy},
        {kCollapseSubtree, bChildren && !m_grid.IsCollapsed(pNode)},
        {nullptr, false},
        {kGet, bVariable},
        {kWalkFromHere, bHasOid && !m_grid.QueryRequest().m_strHost.empty()},
        {kSetValue, bVariable && AppSettings.WriteOn.load() != 0},
        {nullptr, false},
        {kShowTable, bNode && m_canShowTable()},
    };
    for (const auto& item : items) {
        if (!item.pszText) {
            menu.addSeparator();
            continue;
        }
        menu.addAction(QString::fromLatin1(item.pszText))->setEnabled(item.bEnabled);
    }
}

void CGridContextMenu::Carry(const QString& strItem, CTreeItem* pNode)
{
    const std::string strText = strItem.toStdString();
    if (strText == kCopyValue)
        m_grid.PutTextOnClipboard(m_grid.CellText(pNode, COidTreeGrid::colValue));
    else if (strText == kCopyOid)
        m_grid.PutTextOnClipboard(m_grid.NodeOid(pNode));
    else if (strText == kCopyName)
        m_grid.PutTextOnClipboard(m_grid.NamePath(pNode));
    else if (strText == kCopyRow || strText == kCopySubtree) {
        std::string text;
        m_grid.AppendSubtreeText(text, pNode, strText == kCopySubtree);
        m_grid.PutTextOnClipboard(text);
    } else if (strText == kExpandSubtree) {
        int nLastRow = 0;
        m_grid.ExpandSubtree(pNode, nLastRow);
    } else if (strText == kCollapseSubtree)
        m_grid.CollapseNode(pNode);
    else if (strText == kGet)
        m_grid.GetValue(pNode);
    else if (strText == kWalkFromHere)
        WalkFrom(pNode);
    else if (strText == kSetValue)
        SetValue(pNode);
    else if (strText == kShowTable)
        m_showTable();
}

void CGridContextMenu::SetValue(CTreeItem* pNode)
{
    const QPointer<COidTreeGrid> pGrid(&m_grid);
    CSetValueDlg dlg(
        m_grid.NamePath(pNode), m_grid.CellText(pNode, COidTreeGrid::colType),
        m_grid.CellText(pNode, COidTreeGrid::colValue),
        [&](const std::string& strType, const std::string& strValue) {
            // The dialog's loop may run a walk's messages: the node must still
            // be the focused one, or the write is not for it.
            if (!pGrid || m_grid.FocusedNode() != pNode)
                return true;
            return m_grid.SetValue(pNode, strType, strValue);
        },
        &m_grid);
    dlg.DoModal();
}

void CGridContextMenu::WalkFrom(CTreeItem* pNode)
{
    CWalkRequest request = m_grid.QueryRequest();
    request.m_strBase = m_grid.NodeOid(pNode);
    m_walkFrom(request);
}

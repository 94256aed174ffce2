// Inference: a click on an instance leaf shows that table row across the
// table. Every sibling of the leaf's parent that has a child with the leaf's
// label shows that child's type and value, on the "InferColor" background.
// The values come from the tree as the walk built it; nothing is sent.
#include "grid/OidTreeGrid.h"
#include "snmp/AppSettings.h"

void COidTreeGrid::InferFromLeaf(CTreeItem* pLeaf)
{
    ResetInferredCells();
    if (!pLeaf || !ParentOf(pLeaf))
        return;
    // The key holds the labels from the leaf upwards, each followed by ":".
    std::string strKey = InfoOf(pLeaf)->GetText() + ":";
    CTreeItem* pAncestor = ParentOf(pLeaf);
    while (ParentOf(pAncestor)) {
        InferUnder(pAncestor, strKey);
        strKey += InfoOf(pAncestor)->GetText() + ":";
        pAncestor = ParentOf(pAncestor);
    }
    InferUnder(pAncestor, strKey);
}

void COidTreeGrid::InferUnder(CTreeItem* pAncestor, const std::string& strKey)
{
    if (!pAncestor || AppSettings.Inferance.load() == 0)
        return;
    const std::string strText = strKey.substr(0, strKey.rfind(':'));
    const COLORREF color = AppSettings.InferColor.load();
    std::string strType, strValue;
    for (POSITION pos = FirstChildPosition(pAncestor); pos;) {
        CTreeItem* pChild = NextChild(pAncestor, pos);
        if (FindChildValue(pChild, strText, strType, strValue)) {
            SetInferredCells(pChild, strType, strValue, color);
            m_apInferred.push_back(pChild);
        }
    }
}

BOOL COidTreeGrid::FindChildValue(CTreeItem* pNode, const std::string& strText, std::string& strType,
                                   std::string& strValue) const
{
    const std::size_t nCut = strText.rfind(':');
    if (nCut == std::string::npos || nCut < 1)
        return FALSE;
    const std::string strLabel = strText.substr(0, nCut);
    for (POSITION pos = FirstChildPosition(pNode); pos;) {
        const CNodeInfo* pInfo = InfoOf(NextChild(pNode, pos));
        if (pInfo->GetText() == strLabel) {
            strType = pInfo->GetSubText(cellType);
            strValue = pInfo->GetSubText(cellValue);
            return TRUE;
        }
    }
    return FALSE;
}

void COidTreeGrid::ResetInferredCells()
{
    for (CTreeItem* pNode : m_apInferred)
        SetInferredCells(pNode, std::string(), std::string(), kClearedCellColor);
    m_apInferred.clear();
    m_apInferred.shrink_to_fit();
}

void COidTreeGrid::SetInferredCells(CTreeItem* pNode, const std::string& strType, const std::string& strValue,
                                     COLORREF color)
{
    CNodeInfo* pInfo = InfoOf(pNode);
    pInfo->SetSubText(cellType, strType);
    pInfo->SetSubText(cellValue, strValue);
    pInfo->SetCellColor(cellType, color);
    pInfo->SetCellColor(cellValue, color);
    RefreshRow(pNode);
}

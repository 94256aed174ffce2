#include "treelist/NodeInfo.h"

std::string CNodeInfo::GetSubText(int i) const
{
    if (i < 0 || i >= GetSubTextCount())
        return std::string();
    return m_subTexts[static_cast<size_t>(i)];
}

void CNodeInfo::SetSubText(int i, const std::string& text)
{
    if (i < 0)
        return;
    if (i >= GetSubTextCount())
        m_subTexts.resize(static_cast<size_t>(i) + 1);
    m_subTexts[static_cast<size_t>(i)] = text;
}

BOOL CNodeInfo::CellControlType(int i, CONTROLTYPE& t) const
{
    const auto it = m_controlTypes.find(i);
    if (it == m_controlTypes.end()) {
        t = ctNone;
        return FALSE;
    }
    t = it->second;
    return TRUE;
}

void CNodeInfo::SetCellControlType(int i, CONTROLTYPE t)
{
    m_controlTypes[i] = t;
}

COLORREF CNodeInfo::CellColor(int i) const
{
    const auto it = m_cellColors.find(i);
    return it == m_cellColors.end() ? NoColor : it->second;
}

void CNodeInfo::SetCellColor(int i, COLORREF color)
{
    m_cellColors[i] = color;
}

BOOL CNodeInfo::GetChoices(int i, CStringList*& pList) const
{
    const auto it = m_choiceLists.find(i);
    pList = it == m_choiceLists.end() ? nullptr : it->second.get();
    return pList ? TRUE : FALSE;
}

void CNodeInfo::SetChoices(int i, const CStringList* pSource)
{
    m_choiceLists[i] = pSource ? std::make_unique<CStringList>(*pSource) : std::make_unique<CStringList>();
}

void CNodeInfo::CopyFrom(const CNodeInfo& src)
{
    if (&src == this)
        return;
    m_strText = src.m_strText;
    m_subTexts = src.m_subTexts;
    const int nCells = src.GetSubTextCount();
    for (const auto& [i, type] : src.m_controlTypes) {
        if (i < 0 || i >= nCells)
            continue;
        SetCellControlType(i, type);
        CStringList* pChoices = nullptr;
        if (src.GetChoices(i, pChoices))
            SetChoices(i, pChoices);
    }
    for (const auto& [i, color] : src.m_cellColors)
        if (i >= 0 && i < nCells)
            SetCellColor(i, color);
    m_bChecked = src.m_bChecked;
    m_nImage = src.m_nImage;
    m_nTipMask = src.m_nTipMask;
}

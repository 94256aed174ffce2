#include "treelist/NodeInfo.h"

namespace {

std::size_t ReadLength(const std::string& strCells, std::size_t& nPos)
{
    std::size_t nLength = 0;
    for (int nShift = 0;; nShift += 7) {
        const auto nByte = static_cast<unsigned char>(strCells[nPos++]);
        nLength |= static_cast<std::size_t>(nByte & 0x7F) << nShift;
        if (!(nByte & 0x80))
            return nLength;
    }
}

void AppendLength(std::string& strCells, std::size_t nLength)
{
    for (; nLength >= 0x80; nLength >>= 7)
        strCells.push_back(static_cast<char>(0x80 | (nLength & 0x7F)));
    strCells.push_back(static_cast<char>(nLength));
}

} // namespace

std::size_t CNodeInfo::CellOffset(int i) const
{
    std::size_t nPos = 0;
    for (int n = 0; n < i; ++n) {
        const std::size_t nLength = ReadLength(m_strCells, nPos);
        nPos += nLength;
    }
    return nPos;
}

std::string CNodeInfo::GetSubText(int i) const
{
    if (i < 0 || i >= m_nCells)
        return std::string();
    std::size_t nPos = CellOffset(i);
    const std::size_t nLength = ReadLength(m_strCells, nPos);
    return m_strCells.substr(nPos, nLength);
}

void CNodeInfo::SetSubText(int i, const std::string& text)
{
    if (i < 0)
        return;
    for (; m_nCells <= i; ++m_nCells)
        AppendLength(m_strCells, 0);
    const std::size_t nStart = CellOffset(i);
    std::size_t nEnd = nStart;
    nEnd += ReadLength(m_strCells, nEnd);
    std::string strCell;
    strCell.reserve(text.size() + 3);
    AppendLength(strCell, text.size());
    strCell += text;
    m_strCells.replace(nStart, nEnd - nStart, strCell);
    // Growth leaves up to twice the room; a tree of a million cells keeps none.
    if (m_strCells.capacity() > m_strCells.size() + 16)
        m_strCells.shrink_to_fit();
}

CNodeInfo::CCellAttributes& CNodeInfo::Attributes()
{
    if (!m_pAttributes)
        m_pAttributes = std::make_unique<CCellAttributes>();
    return *m_pAttributes;
}

BOOL CNodeInfo::CellControlType(int i, CONTROLTYPE& t) const
{
    t = ctNone;
    if (!m_pAttributes)
        return FALSE;
    const auto it = m_pAttributes->controlTypes.find(i);
    if (it == m_pAttributes->controlTypes.end())
        return FALSE;
    t = it->second;
    return TRUE;
}

void CNodeInfo::SetCellControlType(int i, CONTROLTYPE t)
{
    Attributes().controlTypes[i] = t;
}

COLORREF CNodeInfo::CellColor(int i) const
{
    if (!m_pAttributes)
        return NoColor;
    const auto it = m_pAttributes->cellColors.find(i);
    return it == m_pAttributes->cellColors.end() ? NoColor : it->second;
}

// Clearing a colour that was never set allocates nothing.
void CNodeInfo::SetCellColor(int i, COLORREF color)
{
    if (color == NoColor && !m_pAttributes)
        return;
    Attributes().cellColors[i] = color;
}

BOOL CNodeInfo::GetChoices(int i, CStringList*& pList) const
{
    pList = nullptr;
    if (m_pAttributes) {
        const auto it = m_pAttributes->choiceLists.find(i);
        if (it != m_pAttributes->choiceLists.end())
            pList = it->second.get();
    }
    return pList ? TRUE : FALSE;
}

void CNodeInfo::SetChoices(int i, const CStringList* pSource)
{
    Attributes().choiceLists[i] = pSource ? std::make_unique<CStringList>(*pSource) : std::make_unique<CStringList>();
}

void CNodeInfo::CopyFrom(const CNodeInfo& src)
{
    if (&src == this)
        return;
    m_strText = src.m_strText;
    m_strCells = src.m_strCells;
    m_nCells = src.m_nCells;
    const int nCells = src.GetSubTextCount();
    if (src.m_pAttributes) {
        for (const auto& [i, type] : src.m_pAttributes->controlTypes) {
            if (i < 0 || i >= nCells)
                continue;
            SetCellControlType(i, type);
            CStringList* pChoices = nullptr;
            if (src.GetChoices(i, pChoices))
                SetChoices(i, pChoices);
        }
        for (const auto& [i, color] : src.m_pAttributes->cellColors)
            if (i >= 0 && i < nCells)
                SetCellColor(i, color);
    }
    m_bChecked = src.m_bChecked;
    m_nImage = src.m_nImage;
    m_nTipMask = src.m_nTipMask;
}

#include "platform/listctrl/ListRow.h"

namespace {

constexpr int kCallbackBits = 32;

}  // namespace

bool CListRow::IsCallback(int nSubItem) const
{
    return nSubItem >= 0 && nSubItem < kCallbackBits && (nCallbackCells >> nSubItem) & 1u;
}

void CListRow::SetCallback(int nSubItem)
{
    if (nSubItem < 0 || nSubItem >= kCallbackBits)
        return;
    nCallbackCells |= 1u << nSubItem;
    if (nSubItem < static_cast<int>(texts.size()))
        texts[static_cast<size_t>(nSubItem)].clear();
}

const std::string& CListRow::Text(int nSubItem) const
{
    static const std::string empty;
    if (nSubItem < 0 || nSubItem >= static_cast<int>(texts.size()))
        return empty;
    return texts[static_cast<size_t>(nSubItem)];
}

void CListRow::SetText(int nSubItem, const std::string& text)
{
    if (nSubItem < 0)
        return;
    if (nSubItem < kCallbackBits)
        nCallbackCells &= ~(1u << nSubItem);
    if (nSubItem >= static_cast<int>(texts.size())) {
        if (text.empty())
            return;  // a missing text already reads as empty
        texts.resize(static_cast<size_t>(nSubItem) + 1);
    }
    texts[static_cast<size_t>(nSubItem)] = text;
}

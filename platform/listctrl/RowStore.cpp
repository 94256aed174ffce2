#include "platform/listctrl/RowStore.h"
#include "platform/memory/FreedMemory.h"
#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// Blocks of rows from this size on that hold texts, and whole stores from this
// size on, are freed on a thread of their own.
constexpr int kFreeLaterRows = 10000;

// Slots the gap gains at least, and at most beyond what one insertion needs.
constexpr int kMinGrowRows = 16;
constexpr int kGrowRows = 16384;

} // namespace

// Without a gap there is nothing to move (and moving a row onto itself would empty it).
void CRowStore::MoveGapTo(int nRow)
{
    const auto begin = m_slots.begin();
    if (m_nGap > 0 && nRow < m_nGapStart)
        std::move_backward(begin + nRow, begin + m_nGapStart, begin + m_nGapStart + m_nGap);
    else if (m_nGap > 0 && nRow > m_nGapStart)
        std::move(begin + m_nGapStart + m_nGap, begin + nRow + m_nGap, begin + m_nGapStart);
    m_nGapStart = nRow;
}

// Appends slots and moves the rows after the gap onto them. Small lists double;
// large ones add kGrowRows at a time, so that no single edit touches megabytes
// of fresh memory (the moved rows are ones the list already holds).
void CRowStore::GrowGap(int nAtLeast)
{
    const int nAdd = std::max(nAtLeast - m_nGap, std::clamp(Size(), kMinGrowRows, kGrowRows));
    const auto nOldEnd = static_cast<std::ptrdiff_t>(m_slots.size());
    m_slots.resize(m_slots.size() + static_cast<size_t>(nAdd));
    const auto begin = m_slots.begin();
    std::move_backward(begin + m_nGapStart + m_nGap, begin + nOldEnd, m_slots.end());
    m_nGap += nAdd;
}

void CRowStore::Insert(int nRow, std::vector<CListRow>&& rows)
{
    const int nCount = static_cast<int>(rows.size());
    MoveGapTo(nRow);
    if (m_nGap < nCount)
        GrowGap(nCount);
    std::move(rows.begin(), rows.end(), m_slots.begin() + m_nGapStart);
    m_nGapStart += nCount;
    m_nGap -= nCount;
}

void CRowStore::Erase(int nRow, int nCount)
{
    MoveGapTo(nRow);
    const auto first = m_slots.begin() + m_nGapStart + m_nGap;
    // Rows that read their texts from the owner hold nothing to free: moving
    // them out would cost more than emptying them here.
    const bool bHoldTexts = std::any_of(first, first + nCount, [](const CListRow& row) { return !row.texts.empty(); });
    if (nCount >= kFreeLaterRows && bHoldTexts)
        FreeInBackground(std::vector<CListRow>(std::make_move_iterator(first), std::make_move_iterator(first + nCount)));
    else
        std::fill(first, first + nCount, CListRow());  // frees the texts now
    m_nGap += nCount;
}

// A million rows are freed on a thread of their own; a few are not worth one.
void CRowStore::Clear()
{
    if (m_slots.size() >= static_cast<size_t>(kFreeLaterRows))
        FreeInBackground(std::exchange(m_slots, {}));
    else
        m_slots.clear();
    m_nGapStart = m_nGap = 0;
}

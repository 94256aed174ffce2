#include "platform/listctrl/RowStore.h"
#include "platform/memory/FreedMemory.h"
#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// Blocks of rows from this size on have their texts freed on a thread of their own.
constexpr int kFreeLaterRows = 10000;

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

// Reallocates with the gap at least nAtLeast slots wide (and the vector at
// least doubled), so that growing row by row stays amortised O(1).
void CRowStore::GrowGap(int nAtLeast)
{
    const size_t nSize = static_cast<size_t>(Size());
    const size_t nCapacity = std::max(nSize + static_cast<size_t>(nAtLeast), 2 * m_slots.size());
    std::vector<CListRow> slots;
    slots.reserve(nCapacity);
    const auto gapEnd = m_slots.begin() + m_nGapStart + m_nGap;
    std::move(m_slots.begin(), m_slots.begin() + m_nGapStart, std::back_inserter(slots));
    slots.resize(slots.size() + (nCapacity - nSize));
    std::move(gapEnd, m_slots.end(), std::back_inserter(slots));
    m_nGap = static_cast<int>(nCapacity - nSize);
    m_slots.swap(slots);
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
    if (nCount >= kFreeLaterRows)
        FreeInBackground(std::vector<CListRow>(std::make_move_iterator(first), std::make_move_iterator(first + nCount)));
    else
        std::fill(first, first + nCount, CListRow());  // frees the texts now
    m_nGap += nCount;
}

// A million rows' texts are freed on a thread of their own.
void CRowStore::Clear()
{
    if (!m_slots.empty())
        FreeInBackground(std::exchange(m_slots, {}));
    m_nGapStart = m_nGap = 0;
}

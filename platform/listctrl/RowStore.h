#pragma once
// The list's rows in a gap buffer: a deque with one run of unused slots (the
// gap) kept where the last insertion or removal happened. Rows are reached by
// index in O(1); inserting or removing a block costs its size plus the distance
// from the previous edit, so edits that move down the list (expanding or
// collapsing node after node) stay linear over the whole run instead of moving
// every later row each time. The gap widens by slots added at the end, at most
// a bounded number at a time beyond the block that needs them, and no row
// before the gap ever moves: one edit never copies or first touches the memory
// of the whole list, which at a million rows holds the caller for a tenth of a
// second.
#include "platform/listctrl/ListRow.h"
#include <deque>
#include <vector>

class CRowStore
{
public:
    CRowStore() = default;
    CRowStore(const CRowStore&) = delete;
    CRowStore& operator=(const CRowStore&) = delete;
    ~CRowStore() { Clear(); }  // a closing window is not held by its rows

    int Size() const { return static_cast<int>(m_slots.size()) - m_nGap; }
    // Precondition for both: 0 <= nRow < Size().
    CListRow& operator[](int nRow) { return m_slots[Slot(nRow)]; }
    const CListRow& operator[](int nRow) const { return m_slots[Slot(nRow)]; }

    void Insert(int nRow, std::vector<CListRow>&& rows);  // 0 <= nRow <= Size()
    void Erase(int nRow, int nCount);                     // the range lies inside
    void Clear();  // many rows are freed on a thread of their own

private:
    size_t Slot(int nRow) const { return static_cast<size_t>(nRow < m_nGapStart ? nRow : nRow + m_nGap); }
    void MoveGapTo(int nRow);
    void GrowGap(int nAtLeast);

    std::deque<CListRow> m_slots;  // the rows, with the gap's empty slots among them
    int m_nGapStart = 0;
    int m_nGap = 0;
};

#include "platform/listctrl/RowStore.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace {

CListRow MakeRow(int nId)
{
    CListRow row;
    row.lParam = nId;
    row.nIndent = nId % 7;
    row.SetText(0, "row " + std::to_string(nId));
    return row;
}

std::vector<CListRow> MakeRows(int nFirstId, int nCount)
{
    std::vector<CListRow> rows;
    for (int i = 0; i < nCount; ++i)
        rows.push_back(MakeRow(nFirstId + i));
    return rows;
}

// Every row in order, with the text that must have travelled with it.
void ExpectSame(const CRowStore& store, const std::vector<int>& expected)
{
    ASSERT_EQ(store.Size(), static_cast<int>(expected.size()));
    for (int i = 0; i < store.Size(); ++i) {
        ASSERT_EQ(store[i].lParam, expected[i]) << "row " << i;
        ASSERT_EQ(store[i].Text(0), "row " + std::to_string(expected[i])) << "row " << i;
    }
}

// A small linear congruential generator: the same edits on every run.
struct CEdits
{
    std::uint32_t nState = 12345;
    int Next(int nBound)
    {
        nState = nState * 1103515245u + 12345u;
        return static_cast<int>((nState >> 8) % static_cast<std::uint32_t>(nBound));
    }
};

} // namespace

// Blocks from one row to beyond one step of growth, at the top, the end and
// anywhere between, with the gap left in every kind of place.
TEST(RowStore, KeepsOrderAndTextsThroughEditsAnywhere)
{
    CRowStore store;
    std::vector<int> expected;
    CEdits edits;
    int nNextId = 0;
    for (int nStep = 0; nStep < 400; ++nStep) {
        const int nSize = store.Size();
        const bool bErase = nSize > 0 && edits.Next(3) == 0;
        const int nBlock = edits.Next(10) == 0 ? 1 + edits.Next(25000) : 1 + edits.Next(300);
        if (bErase) {
            const int nRow = edits.Next(nSize);
            const int nCount = std::min(nBlock, nSize - nRow);
            store.Erase(nRow, nCount);
            expected.erase(expected.begin() + nRow, expected.begin() + nRow + nCount);
        } else {
            const int nRow = edits.Next(3) == 0 ? nSize : edits.Next(nSize + 1);
            store.Insert(nRow, MakeRows(nNextId, nBlock));
            std::vector<int> ids(static_cast<size_t>(nBlock));
            std::iota(ids.begin(), ids.end(), nNextId);
            expected.insert(expected.begin() + nRow, ids.begin(), ids.end());
            nNextId += nBlock;
        }
        if (nStep % 50 == 0)
            ExpectSame(store, expected);
    }
    ExpectSame(store, expected);
    store.Clear();
    EXPECT_EQ(store.Size(), 0);
    store.Insert(0, MakeRows(7, 3));
    ExpectSame(store, {7, 8, 9});
}

// Growing the list never moves the rows above the edit: a store that copied
// itself whole to grow would hold its caller in proportion to its size.
TEST(RowStore, GrowingLeavesTheRowsAboveTheEditInPlace)
{
    CRowStore store;
    store.Insert(0, MakeRows(0, 1000));
    const CListRow* pFirst = &store[0];
    const CListRow* pMiddle = &store[500];
    std::vector<int> expected(1000);
    std::iota(expected.begin(), expected.end(), 0);
    // Each block goes in below the previous one and above a tail of rows, as
    // an expansion that moves down the list inserts them.
    int nNextId = 1000;
    int nRow = 600;
    for (int nBlock = 0; nBlock < 150; ++nBlock) {
        store.Insert(nRow, MakeRows(nNextId, 600));
        std::vector<int> ids(600);
        std::iota(ids.begin(), ids.end(), nNextId);
        expected.insert(expected.begin() + nRow, ids.begin(), ids.end());
        nNextId += 600;
        nRow += 600 + 1;
    }
    EXPECT_EQ(&store[0], pFirst);
    EXPECT_EQ(&store[500], pMiddle);
    ExpectSame(store, expected);
}

#pragma once
// A small named table of texts remembered across runs in the current user's
// settings key: "CacheSize-<name>" holds the row count, "Cache(<name>)<col>-<row>"
// each cell, NUL-padded to 255 bytes and stored with type REG_DWORD. Row 0 is
// the most recent. UI thread only.
#include <string>
#include <vector>

class HistoryTable
{
public:
    static constexpr int kCellBytes = 255;              // registry value size of a cell
    static constexpr int kMaxCellText = kCellBytes - 1;  // a cell keeps at most this many characters

    // Sets the name and shape, empties the table and loads it (Load).
    void Init(const std::string& strName, int nColumns, int nCapacity);
    // Reads the count and the valid rows from the registry, creating the
    // settings key when missing. A stored count below 0 reads as 0, above the
    // capacity as the capacity. Cells exist afterwards even when the registry
    // cannot be read.
    void Load();
    // Writes the count and every valid row. Does nothing before Init or after Release.
    void Save() const;
    // Frees the cells; count and capacity become 0 and the name "".
    void Release();

    // Puts texts (one per column; missing ones are empty, longer ones cut to
    // kMaxCellText) on row 0. A row whose column 0 equals texts[0] without
    // regard to case moves up and takes the new texts; otherwise every row
    // moves down one and, when the table is full, the last one is dropped.
    void AddEntry(const std::vector<std::string>& texts);

    // The first valid row whose column 0 equals strKey without regard to case;
    // -1 when there is none. O(rows).
    int FindRow(const std::string& strKey) const;

    // The text of a cell; "" outside the table.
    const std::string& Cell(int nColumn, int nRow) const;

    const std::string& Name() const { return m_strName; }
    int Columns() const { return m_nColumns; }
    int Capacity() const { return m_nCapacity; }
    int Count() const { return m_nCount; }

private:
    std::string& At(int nColumn, int nRow) { return m_cells[nRow * m_nColumns + nColumn]; }
    std::string CountValueName() const;
    std::string CellValueName(int nColumn, int nRow) const;
    void MoveRowsDown(int nFirstRow, int nLastRow);

    std::string m_strName;
    int m_nColumns = 0;
    int m_nCapacity = 0;
    int m_nCount = 0;
    std::vector<std::string> m_cells;  // row-major, m_nCapacity × m_nColumns
};

// The host history: "Host", column 0 the host, column 1 its community, 30 rows.
extern HistoryTable g_history;

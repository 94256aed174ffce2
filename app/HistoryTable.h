#pragma once
// A small named table of texts remembered across runs in the current user's
// settings key: "CacheSize-<name>" holds the row count, "Cache(<name>)<col>-<row>"
// each cell, NUL-padded to 255 bytes and stored with type REG_DWORD. Row 0 is
// the most recent. The table is positional, so a save re-reads it under the
// hive's lock and replays this process's additions on it: instances running
// side by side keep each other's rows. UI thread only.
#include "platform/registry/Registry.h"
#include <string>
#include <vector>

// One row: a text per column.
struct CHistoryRow
{
    std::vector<std::string> texts;
};

class CHistoryTable
{
public:
    static constexpr int kCellBytes = 255;              // registry value size of a cell
    static constexpr int kMaxCellText = kCellBytes - 1;  // a cell keeps at most this many characters

    // Sets the name and shape, empties the table and loads it (Load).
    void Init(const std::string& strName, int nColumns, int nCapacity);
    // Reads the count and the valid rows from the settings key, opened for
    // reading only. A stored count below 0 reads as 0, above the capacity as
    // the capacity. True when the key could be read; the table is empty, and
    // usable, when not.
    bool Load();
    // Re-reads the table from hKey, the settings key opened with
    // REG_OPTION_EXCLUSIVE and full access, replays on it the rows this
    // process added since Load, and writes the count and every valid row
    // through hKey. Writes nothing when nothing was added, before Init or
    // after Release. True unless a value could not be set.
    bool Save(HKEY hKey);
    // Save through a handle of its own. True when the key could be opened and written.
    bool Save();
    // Frees the rows; count and capacity become 0 and the name "".
    void Release();

    // Puts texts (one per column; missing ones are empty, longer ones cut to
    // kMaxCellText) on row 0. A row whose column 0 equals texts[0] without
    // regard to case moves up and takes the new texts; otherwise every row
    // moves down one and, when the table is full, the last one is dropped.
    void AddEntry(const std::vector<std::string>& texts);
    // True when AddEntry was called since Load.
    bool HasAdditions() const { return !m_additions.empty(); }

    // The first valid row whose column 0 equals strKey without regard to case;
    // -1 when there is none. O(rows).
    int FindRow(const std::string& strKey) const;

    // The text of a cell; "" outside the table.
    const std::string& Cell(int nColumn, int nRow) const;

    const std::string& Name() const { return m_strName; }
    int Columns() const { return m_nColumns; }
    int Capacity() const { return m_nCapacity; }
    int Count() const { return static_cast<int>(m_rows.size()); }

private:
    std::string CountValueName() const;
    std::string CellValueName(int nColumn, int nRow) const;
    void ReadRows(HKEY hKey);
    bool WriteRows(HKEY hKey) const;
    void PutOnTop(CHistoryRow row);

    std::string m_strName;
    int m_nColumns = 0;
    int m_nCapacity = 0;
    std::vector<CHistoryRow> m_rows;       // the valid rows, most recent first; each has m_nColumns texts
    std::vector<CHistoryRow> m_additions;  // rows added since Load, oldest first
};

// The host history: "Host", column 0 the host, column 1 its community, 30 rows.
extern CHistoryTable g_history;

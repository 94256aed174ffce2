#pragma once
// The cells of one SNMP table as its last walks found them: one row per
// instance (in OID order), the index parts as leading columns, then one column
// per column object that any row has. Keeps the walk before the last one, so
// that counters can be given as rates and changed cells told apart.
//
// UI thread (any one thread); no widgets. Walks are applied whole.
#include "platform/WinTypes.h"
#include "snmp/WalkMessages.h"
#include "tableview/InstanceIndex.h"
#include <map>
#include <optional>
#include <string>
#include <vector>

class CTableData
{
public:
    // What one applied walk changed, in row and column numbers of the new table.
    struct CChange
    {
        bool bShapeChanged = false;  // rows or columns came or went
        std::vector<std::pair<int, int>> cells;  // values that differ from the walk before
    };

    // strTableOid: the table's numeric OID text; its entry is the child 1.
    // indexParts: the entry's INDEX; empty when no module describes it (the
    // instance is then shown raw in one "Index" column).
    CTableData(const std::string& strTableOid, std::vector<CIndexPart> indexParts);

    const std::string& TableOid() const { return m_strTableOid; }

    // Takes one complete walk of the table made at dTime (seconds, any epoch).
    // Records outside the entry are passed over. O(records log records).
    CChange ApplyWalk(const std::vector<CWalkRecord>& records, double dTime);

    int WalkCount() const { return m_nWalks; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int IndexColumnCount() const;
    int ColumnCount() const { return IndexColumnCount() + static_cast<int>(m_columns.size()); }
    std::string HeaderText(int nColumn) const;
    // The cell's text: an index part, or the column object's value text (empty
    // where the row has no such variable).
    std::string CellText(int nRow, int nColumn) const;
    // The column object's type as its values came ("COUNTER32"...); empty for
    // index columns.
    std::string ColumnType(int nColumn) const;
    // Counter columns of the last walk, change per second since the walk
    // before; nullopt for other cells, a row or column new in the last walk, or
    // a counter that went backwards.
    std::optional<double> Rate(int nRow, int nColumn) const;
    // What sorting compares: the number of each cell where every cell of the
    // column holds one, the instance's place in OID order for a raw index
    // ("1.10" after "1.9"), else the text.
    enum class ESortBy { Number, OidOrder, Text };
    // O(1): found for each column when a walk is applied.
    ESortBy SortBy(int nColumn) const;

private:
    using Suffix = std::vector<UINT>;
    struct CCell
    {
        std::string m_strType, m_strValue;
    };
    struct CColumn
    {
        UINT m_nSubId = 0;
        std::string m_strName;
        std::string m_strType;
    };
    using Cells = std::map<UINT, CCell>;  // by column sub-identifier

    bool SplitOid(const std::string& strOid, UINT& nColumn, Suffix& suffix) const;
    void NameColumn(CColumn& column, const CWalkRecord& record, std::size_t nSuffixLength) const;
    const CCell* CellOf(int nRow, int nColumn) const;
    const CCell* PreviousCellOf(int nRow, int nColumn) const;
    ESortBy FindSortBy(int nColumn) const;

    std::string m_strTableOid;
    std::vector<UINT> m_entry;  // the entry's sub-identifiers
    std::vector<CIndexPart> m_indexParts;
    std::vector<CColumn> m_columns;  // in sub-identifier order
    std::vector<Suffix> m_rows;      // in OID order
    std::vector<std::vector<std::string>> m_rowIndex;  // index texts of each row
    std::map<Suffix, Cells> m_current, m_previous;
    std::vector<ESortBy> m_sortBy;  // by column
    double m_dTime = 0, m_dPreviousTime = 0;
    int m_nWalks = 0;
};

#include "tableview/TableData.h"
#include "tableview/CounterRate.h"
#include <QString>
#include <QStringList>
#include <algorithm>
#include <set>

namespace {

std::optional<std::vector<UINT>> ParseOid(const std::string& strOid)
{
    std::vector<UINT> ids;
    const QStringList parts = QString::fromStdString(strOid).split('.', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        bool bOk = false;
        const UINT n = part.toUInt(&bOk);
        if (!bOk)
            return std::nullopt;
        ids.push_back(n);
    }
    return ids;
}

bool IsNumberText(const std::string& strText)
{
    bool bOk = false;
    QString::fromStdString(strText).toDouble(&bOk);
    return bOk;
}

} // namespace

CTableData::CTableData(const std::string& strTableOid, std::vector<CIndexPart> indexParts)
    : m_strTableOid(strTableOid), m_indexParts(std::move(indexParts))
{
    m_entry = ParseOid(strTableOid).value_or(std::vector<UINT>());
    m_entry.push_back(1);
}

bool CTableData::SplitOid(const std::string& strOid, UINT& nColumn, Suffix& suffix) const
{
    const std::optional<std::vector<UINT>> ids = ParseOid(strOid);
    if (!ids || ids->size() < m_entry.size() + 2 || !std::equal(m_entry.begin(), m_entry.end(), ids->begin()))
        return false;
    nColumn = (*ids)[m_entry.size()];
    suffix.assign(ids->begin() + static_cast<long>(m_entry.size()) + 1, ids->end());
    return true;
}

// The column's name is the name text's component that stands for its
// sub-identifier: the one before the instance's components, when it is a name.
void CTableData::NameColumn(CColumn& column, const CWalkRecord& record, std::size_t nSuffixLength) const
{
    const QStringList parts = QString::fromStdString(record.m_strName).split('.', Qt::SkipEmptyParts);
    const qsizetype nAt = parts.size() - 1 - static_cast<qsizetype>(nSuffixLength);
    if (nAt >= 0 && !IsNumberText(parts[nAt].toStdString()))
        column.m_strName = parts[nAt].toStdString();
    else
        column.m_strName = std::to_string(column.m_nSubId);
}

CTableData::CChange CTableData::ApplyWalk(const std::vector<CWalkRecord>& records, double dTime)
{
    std::map<Suffix, Cells> next;
    std::map<UINT, CColumn> columns;
    for (const CWalkRecord& record : records) {
        UINT nColumn = 0;
        Suffix suffix;
        if (!SplitOid(record.m_strOid, nColumn, suffix))
            continue;
        next[suffix][nColumn] = CCell{record.m_strType, record.m_strValue};
        auto [it, bNew] = columns.try_emplace(nColumn);
        if (bNew) {
            it->second.m_nSubId = nColumn;
            it->second.m_strType = record.m_strType;
            NameColumn(it->second, record, suffix.size());
        }
    }
    CChange change;
    std::vector<CColumn> newColumns;
    for (auto& [nSubId, column] : columns)
        newColumns.push_back(std::move(column));
    std::vector<Suffix> newRows;
    for (const auto& [suffix, cells] : next)
        newRows.push_back(suffix);
    const auto sameSubIds = [](const CColumn& a, const CColumn& b) { return a.m_nSubId == b.m_nSubId; };
    change.bShapeChanged = newRows != m_rows || !std::equal(newColumns.begin(), newColumns.end(), m_columns.begin(),
                                                           m_columns.end(), sameSubIds);
    m_previous = std::move(m_current);
    m_current = std::move(next);
    m_dPreviousTime = m_dTime;
    m_dTime = dTime;
    m_columns = std::move(newColumns);
    m_rows = std::move(newRows);
    m_rowIndex.clear();
    for (const Suffix& suffix : m_rows)
        m_rowIndex.push_back(DecodeInstance(suffix, m_indexParts).value_or(std::vector<std::string>{RawInstanceText(suffix)}));
    ++m_nWalks;
    m_sortBy.clear();
    for (int nColumn = 0; nColumn < ColumnCount(); ++nColumn)
        m_sortBy.push_back(FindSortBy(nColumn));
    for (int nRow = 0; nRow < RowCount(); ++nRow)
        for (int nColumn = IndexColumnCount(); nColumn < ColumnCount(); ++nColumn) {
            const CCell* pNow = CellOf(nRow, nColumn);
            const CCell* pBefore = PreviousCellOf(nRow, nColumn);
            if (pNow && pBefore && pNow->m_strValue != pBefore->m_strValue)
                change.cells.emplace_back(nRow, nColumn);
        }
    return change;
}

int CTableData::IndexColumnCount() const
{
    return m_indexParts.empty() ? 1 : static_cast<int>(m_indexParts.size());
}

std::string CTableData::HeaderText(int nColumn) const
{
    if (nColumn < 0 || nColumn >= ColumnCount())
        return {};
    if (nColumn < IndexColumnCount())
        return m_indexParts.empty() ? "Index" : m_indexParts[static_cast<std::size_t>(nColumn)].m_strName;
    return m_columns[static_cast<std::size_t>(nColumn - IndexColumnCount())].m_strName;
}

const CTableData::CCell* CTableData::CellOf(int nRow, int nColumn) const
{
    if (nRow < 0 || nRow >= RowCount() || nColumn < IndexColumnCount() || nColumn >= ColumnCount())
        return nullptr;
    const Cells& cells = m_current.at(m_rows[static_cast<std::size_t>(nRow)]);
    const auto it = cells.find(m_columns[static_cast<std::size_t>(nColumn - IndexColumnCount())].m_nSubId);
    return it == cells.end() ? nullptr : &it->second;
}

const CTableData::CCell* CTableData::PreviousCellOf(int nRow, int nColumn) const
{
    if (!CellOf(nRow, nColumn))
        return nullptr;
    const auto itRow = m_previous.find(m_rows[static_cast<std::size_t>(nRow)]);
    if (itRow == m_previous.end())
        return nullptr;
    const auto it = itRow->second.find(m_columns[static_cast<std::size_t>(nColumn - IndexColumnCount())].m_nSubId);
    return it == itRow->second.end() ? nullptr : &it->second;
}

std::string CTableData::CellText(int nRow, int nColumn) const
{
    if (nRow < 0 || nRow >= RowCount() || nColumn < 0)
        return {};
    if (nColumn < IndexColumnCount()) {
        const std::vector<std::string>& index = m_rowIndex[static_cast<std::size_t>(nRow)];
        return static_cast<std::size_t>(nColumn) < index.size() ? index[static_cast<std::size_t>(nColumn)] : "";
    }
    const CCell* pCell = CellOf(nRow, nColumn);
    return pCell ? pCell->m_strValue : std::string();
}

std::string CTableData::ColumnType(int nColumn) const
{
    if (nColumn < IndexColumnCount() || nColumn >= ColumnCount())
        return {};
    return m_columns[static_cast<std::size_t>(nColumn - IndexColumnCount())].m_strType;
}

std::optional<double> CTableData::Rate(int nRow, int nColumn) const
{
    const CCell* pNow = CellOf(nRow, nColumn);
    const CCell* pBefore = PreviousCellOf(nRow, nColumn);
    if (!pNow || !pBefore || pNow->m_strType != pBefore->m_strType)
        return std::nullopt;
    return CounterRate(pNow->m_strType, pBefore->m_strValue, pNow->m_strValue, m_dTime - m_dPreviousTime);
}

CTableData::ESortBy CTableData::SortBy(int nColumn) const
{
    return nColumn >= 0 && nColumn < static_cast<int>(m_sortBy.size()) ? m_sortBy[static_cast<std::size_t>(nColumn)]
                                                                        : ESortBy::Text;
}

CTableData::ESortBy CTableData::FindSortBy(int nColumn) const
{
    const bool bIndex = nColumn < IndexColumnCount();
    for (int nRow = 0; nRow < RowCount(); ++nRow) {
        if (bIndex && m_rowIndex[static_cast<std::size_t>(nRow)].size() != m_indexParts.size())
            return ESortBy::OidOrder;  // a raw instance
        if (!IsNumberText(CellText(nRow, nColumn)))
            return bIndex ? ESortBy::OidOrder : ESortBy::Text;
    }
    return ESortBy::Number;
}

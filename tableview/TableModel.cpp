#include "tableview/TableModel.h"
#include "tableview/CounterRate.h"
#include <QColor>

CTableModel::CTableModel(CTableData data, QObject* pParent) : QAbstractTableModel(pParent), m_data(std::move(data))
{
}

void CTableModel::ApplyWalk(const std::vector<CWalkRecord>& records, double dTime)
{
    ClearHighlight();
    // Rows and columns are known only once the walk is taken: it is taken on a
    // copy, and only a change of shape resets the model.
    CTableData next = m_data;
    const CTableData::CChange change = next.ApplyWalk(records, dTime);
    if (change.bShapeChanged) {
        beginResetModel();
        m_data = std::move(next);
        endResetModel();
    } else {
        m_data = std::move(next);
        // Every counter's rate moves with a walk, so every cell is told.
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
    m_highlight.insert(change.cells.begin(), change.cells.end());
    for (const auto& [nRow, nColumn] : change.cells)
        emit dataChanged(index(nRow, nColumn), index(nRow, nColumn), {Qt::BackgroundRole});
}

void CTableModel::ClearHighlight()
{
    std::set<std::pair<int, int>> old;
    old.swap(m_highlight);
    for (const auto& [nRow, nColumn] : old)
        emit dataChanged(index(nRow, nColumn), index(nRow, nColumn), {Qt::BackgroundRole});
}

void CTableModel::SetPerSecond(bool bPerSecond)
{
    if (bPerSecond == m_bPerSecond)
        return;
    m_bPerSecond = bPerSecond;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

bool CTableModel::ShowsRate(int nColumn) const
{
    return m_bPerSecond && IsCounterType(m_data.ColumnType(nColumn));
}

QString CTableModel::CellText(int nRow, int nColumn) const
{
    if (!ShowsRate(nColumn))
        return QString::fromStdString(m_data.CellText(nRow, nColumn));
    const std::optional<double> dRate = m_data.Rate(nRow, nColumn);
    return dRate ? QString::number(*dRate, 'f', 1) : QString();
}

QVariant CTableModel::SortKey(int nRow, int nColumn) const
{
    if (ShowsRate(nColumn)) {
        const std::optional<double> dRate = m_data.Rate(nRow, nColumn);
        return dRate ? *dRate : -1.0;  // no rate sorts below every rate
    }
    switch (m_data.SortBy(nColumn)) {
    case CTableData::ESortBy::Number: return CellText(nRow, nColumn).toDouble();
    case CTableData::ESortBy::OidOrder: return static_cast<double>(nRow);
    case CTableData::ESortBy::Text: break;
    }
    return CellText(nRow, nColumn);
}

int CTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data.RowCount();
}

int CTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data.ColumnCount();
}

QVariant CTableModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid())
        return {};
    switch (nRole) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case kSortRole: return SortKey(index.row(), index.column());
    case Qt::BackgroundRole:
        return IsHighlighted(index.row(), index.column()) ? QVariant(QColor::fromRgba(kChangedColor)) : QVariant();
    case Qt::TextAlignmentRole:
        return m_data.SortBy(index.column()) == CTableData::ESortBy::Number || ShowsRate(index.column())
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    default: return {};
    }
}

QVariant CTableModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal || nRole != Qt::DisplayRole)
        return QAbstractTableModel::headerData(nSection, orientation, nRole);
    const QString strName = QString::fromStdString(m_data.HeaderText(nSection));
    return ShowsRate(nSection) ? strName + "/s" : strName;
}

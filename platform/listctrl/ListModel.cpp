#include "platform/listctrl/ListModel.h"
#include "platform/listctrl/ListCtrl.h"

CListModel::CListModel(QObject* pParent) : QAbstractTableModel(pParent) {}

void CListModel::InsertRows(int nFirst, std::vector<CListRow>&& rows)
{
    if (rows.empty())
        return;
    beginInsertRows(QModelIndex(), nFirst, nFirst + static_cast<int>(rows.size()) - 1);
    m_rows.Insert(nFirst, std::move(rows));
    endInsertRows();
}

void CListModel::RemoveRows(int nFirst, int nCount)
{
    if (nCount <= 0)
        return;
    beginRemoveRows(QModelIndex(), nFirst, nFirst + nCount - 1);
    m_rows.Erase(nFirst, nCount);
    endRemoveRows();
}

void CListModel::Clear()
{
    beginResetModel();
    m_rows.Clear();
    endResetModel();
}

void CListModel::InsertColumn(int nCol, Column column)
{
    beginInsertColumns(QModelIndex(), nCol, nCol);
    m_columns.insert(m_columns.begin() + nCol, std::move(column));
    endInsertColumns();
}

int CListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int CListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

// Only the view's keyboard search and accessibility read the data: the rows are
// painted by the control itself.
QVariant CListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !IsRow(index.row()))
        return QVariant();
    const int nRow = index.row(), nCol = index.column();
    return QString::fromLatin1(m_fnText ? m_fnText(nRow, nCol) : Row(nRow).Text(nCol));
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return QVariant();
    const Column& column = ColumnAt(section);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(column.strTitle);
    if (role == Qt::TextAlignmentRole) {
        const int nJustify = column.nFormat & LVCFMT_JUSTIFYMASK;
        const Qt::Alignment h = nJustify == LVCFMT_RIGHT ? Qt::AlignRight
                              : nJustify == LVCFMT_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
        return static_cast<int>(h | Qt::AlignVCenter);
    }
    return QVariant();
}

Qt::ItemFlags CListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

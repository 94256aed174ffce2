#pragma once
// The flat model behind CListCtrl: the rows (a gap buffer) and the column list.
// Rows are inserted and removed in blocks, one notification to the view each.
#include "platform/listctrl/ListRow.h"
#include "platform/listctrl/RowStore.h"
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

class CListModel : public QAbstractTableModel
{
public:
    struct Column
    {
        std::string strTitle;
        int nFormat = 0;  // LVCFMT_*
    };

    explicit CListModel(QObject* pParent = nullptr);

    int RowCount() const { return m_rows.Size(); }
    bool IsRow(int nRow) const { return nRow >= 0 && nRow < RowCount(); }
    // Precondition for both: IsRow(nRow).
    const CListRow& Row(int nRow) const { return m_rows[nRow]; }
    CListRow& Row(int nRow) { return m_rows[nRow]; }
    void InsertRows(int nFirst, std::vector<CListRow>&& rows);  // nFirst in [0, RowCount()]
    void RemoveRows(int nFirst, int nCount);                    // the range lies inside
    void Clear();

    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const Column& ColumnAt(int nCol) const { return m_columns[static_cast<size_t>(nCol)]; }
    void InsertColumn(int nCol, Column column);  // nCol in [0, ColumnCount()]
    // Where data() reads a cell's text (the list, which answers callback cells).
    void SetTextSource(std::function<std::string(int nRow, int nCol)> fnText) { m_fnText = std::move(fnText); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CRowStore m_rows;
    std::vector<Column> m_columns;
    std::function<std::string(int, int)> m_fnText;
};

#pragma once
// The Qt item model over one CTableData: what the table window's view shows,
// sorts and copies. Applying a walk of unchanged shape updates the changed
// cells in place (their views keep selection, sorting and scroll position)
// and marks them until ClearHighlight.
//
// UI thread only.
#include "tableview/TableData.h"
#include <QAbstractTableModel>
#include <QColor>
#include <set>
#include <utility>

class CTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;  // a double, or the text
    static constexpr QRgb kChangedColor = 0xFFFFE08A;

    explicit CTableModel(CTableData data, QObject* pParent = nullptr);

    const CTableData& Data() const { return m_data; }
    // Takes a walk of the table made at dTime seconds; cells whose value
    // changed are marked, those marked before are not.
    void ApplyWalk(const std::vector<CWalkRecord>& records, double dTime);
    void ClearHighlight();
    bool IsHighlighted(int nRow, int nColumn) const { return m_highlight.count({nRow, nColumn}) != 0; }
    // Counter columns show their change per second (empty without a rate).
    void SetPerSecond(bool bPerSecond);
    bool PerSecond() const { return m_bPerSecond; }
    // The text a cell shows now.
    QString CellText(int nRow, int nColumn) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;

private:
    bool ShowsRate(int nColumn) const;
    QVariant SortKey(int nRow, int nColumn) const;

    CTableData m_data;
    std::set<std::pair<int, int>> m_highlight;
    bool m_bPerSecond = false;
};

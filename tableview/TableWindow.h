#pragma once
// The table view: one SNMP table of one agent as rows and columns, with
// "Refresh", a refresh interval, and a "Per second" view of its counters.
// Header clicks sort (numbers as numbers); Ctrl+C copies the selected cells
// as tab-separated text. A changed cell is highlighted for kHighlightMs after
// the refresh that changed it.
//
// UI thread only; the walks run on threads of their own (CTableRefresher).
#include "tableview/TableModel.h"
#include "tableview/TableRefresher.h"
#include <QTimer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

class CTableWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHighlightMs = 1500;
    // The interval choices, in the order the box offers them (0: off).
    static constexpr int kIntervalSeconds[] = {0, 5, 10, 30, 60};

    // Walks the table at once with a copy of request (its profile included).
    // The title is "<strTableName> - <host>".
    CTableWindow(const CWalkRequest& request, const std::string& strTableName, CTableData data,
                 QWidget* pParent = nullptr);
    ~CTableWindow() override;

    const CTableModel& Model() const { return *m_pModel; }
    CTableRefresher& Refresher() { return *m_pRefresher; }
    QTableView& TableView() { return *m_pView; }
    QPushButton& RefreshButton() { return *m_pRefresh; }
    QComboBox& IntervalBox() { return *m_pInterval; }
    QCheckBox& PerSecondBox() { return *m_pPerSecond; }
    QLabel& StatusLabel() { return *m_pStatus; }
    // The selected cells, rows and columns as shown, one line per row, cells
    // separated by TABs; cells inside the selection's bounds but not selected
    // are empty.
    QString SelectionAsText() const;

signals:
    // A walk of the table ended and its records (or its error) are shown.
    void RefreshEnded();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreateControls();
    void StartRefresh();
    void OnWalkDone(std::vector<CWalkRecord> records, const std::string& strError);
    void OnIntervalChosen(int nIndex);

    std::unique_ptr<CTableModel> m_pModel;       // Owned.
    std::unique_ptr<CTableRefresher> m_pRefresher;  // Owned.
    QSortFilterProxyModel* m_pSorted = nullptr;  // Owned by the window as its child.
    QTableView* m_pView = nullptr;               // Owned by the window as its child.
    QPushButton* m_pRefresh = nullptr;           // Owned by the window as its child.
    QComboBox* m_pInterval = nullptr;            // Owned by the window as its child.
    QCheckBox* m_pPerSecond = nullptr;           // Owned by the window as its child.
    QLabel* m_pStatus = nullptr;                 // Owned by the window as its child.
    QTimer m_highlightTimer;
};

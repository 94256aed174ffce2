#include "tableview/TableWindow.h"
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

namespace {

double NowSeconds()
{
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

} // namespace

CTableWindow::CTableWindow(const CWalkRequest& request, const std::string& strTableName, CTableData data,
                           QWidget* pParent)
    : QWidget(pParent), m_pModel(std::make_unique<CTableModel>(std::move(data)))
{
    const std::string strTable = m_pModel->Data().TableOid();
    m_pRefresher = std::make_unique<CTableRefresher>(
        request, strTable,
        [this](std::vector<CWalkRecord> records, const std::string& strError) {
            OnWalkDone(std::move(records), strError);
        });
    CreateControls();
    m_highlightTimer.setSingleShot(true);
    connect(&m_highlightTimer, &QTimer::timeout, this, [this] { m_pModel->ClearHighlight(); });
    setWindowTitle(QString::fromStdString(strTableName + " - " + request.m_strHost));
    StartRefresh();
}

CTableWindow::~CTableWindow() = default;

void CTableWindow::CreateControls()
{
    m_pRefresh = new QPushButton("Refresh", this);
    m_pInterval = new QComboBox(this);
    for (int nSeconds : kIntervalSeconds)
        m_pInterval->addItem(nSeconds ? QString("%1 s").arg(nSeconds) : QString("Off"));
    m_pPerSecond = new QCheckBox("Per second", this);
    m_pStatus = new QLabel(this);
    auto* pBar = new QHBoxLayout;
    pBar->addWidget(m_pRefresh);
    pBar->addWidget(new QLabel("Refresh every:", this));
    pBar->addWidget(m_pInterval);
    pBar->addWidget(m_pPerSecond);
    pBar->addWidget(m_pStatus, 1);

    m_pSorted = new QSortFilterProxyModel(this);
    m_pSorted->setSourceModel(m_pModel.get());
    m_pSorted->setSortRole(CTableModel::kSortRole);
    m_pView = new QTableView(this);
    m_pView->setModel(m_pSorted);
    m_pView->setSortingEnabled(true);
    m_pView->sortByColumn(-1, Qt::AscendingOrder);  // OID order until a header is clicked
    m_pView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pView->verticalHeader()->hide();
    m_pView->installEventFilter(this);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->addLayout(pBar);
    pLayout->addWidget(m_pView, 1);

    connect(m_pRefresh, &QPushButton::clicked, this, &CTableWindow::StartRefresh);
    connect(m_pInterval, &QComboBox::activated, this, &CTableWindow::OnIntervalChosen);
    connect(m_pPerSecond, &QCheckBox::toggled, this, [this](bool bOn) { m_pModel->SetPerSecond(bOn); });
}

void CTableWindow::StartRefresh()
{
    if (m_pRefresher->Refresh())
        m_pStatus->setText("Refreshing...");
}

void CTableWindow::OnIntervalChosen(int nIndex)
{
    if (nIndex >= 0 && nIndex < static_cast<int>(std::size(kIntervalSeconds)))
        m_pRefresher->SetInterval(kIntervalSeconds[nIndex] * 1000);
}

void CTableWindow::OnWalkDone(std::vector<CWalkRecord> records, const std::string& strError)
{
    if (strError.empty()) {
        const bool bFirst = m_pModel->Data().WalkCount() == 0;
        m_pModel->ApplyWalk(records, NowSeconds());
        if (bFirst)
            m_pView->resizeColumnsToContents();
        m_highlightTimer.start(kHighlightMs);
        m_pStatus->setText(QString("%1 rows, refreshed at %2")
                               .arg(m_pModel->rowCount())
                               .arg(QDateTime::currentDateTime().toString("HH:mm:ss")));
    } else {
        // The cells keep the last walk that went to its end.
        m_pStatus->setText(QString::fromStdString(strError).trimmed());
    }
    emit RefreshEnded();
}

QString CTableWindow::SelectionAsText() const
{
    const QModelIndexList selected = m_pView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    std::map<int, std::map<int, QString>> cells;  // shown row, shown column: text
    int nFirstColumn = INT_MAX, nLastColumn = -1;
    for (const QModelIndex& index : selected) {
        const int nColumn = m_pView->horizontalHeader()->visualIndex(index.column());
        cells[index.row()][nColumn] = index.data().toString();
        nFirstColumn = std::min(nFirstColumn, nColumn);
        nLastColumn = std::max(nLastColumn, nColumn);
    }
    QString strText;
    for (const auto& [nRow, row] : cells) {
        QStringList line;
        for (int nColumn = nFirstColumn; nColumn <= nLastColumn; ++nColumn) {
            const auto it = row.find(nColumn);
            line << (it == row.end() ? QString() : it->second);
        }
        strText += line.join('\t') + '\n';
    }
    return strText;
}

bool CTableWindow::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // Ctrl+C belongs to the table while it has the focus, before any window shortcut.
    const bool bOverride = pEvent->type() == QEvent::ShortcutOverride;
    if (pWatched == m_pView && (bOverride || pEvent->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(pEvent)->matches(QKeySequence::Copy)) {
        pEvent->accept();
        if (!bOverride)
            QGuiApplication::clipboard()->setText(SelectionAsText());
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

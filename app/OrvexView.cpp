#include "app/OrvexView.h"
#include "app/DialogBackground.h"
#include "app/FindBar.h"
#include "app/HistoryTable.h"
#include "app/OrvexDoc.h"
#include "app/ResourceIds.h"
#include "app/SettingsDlg.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/WalkMessages.h"
#include "treelist/WideComboBox.h"
#include "ui/ImageButton.h"
#include "ui/MenuBarColor.h"
#include "ui/MyStatic.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr COLORREF kImageKey = RGB(255, 0, 255);
constexpr int kHoverLighten = 30;
constexpr int kButtonWidth = 70;
constexpr int kBoxTop = 5;
constexpr int kBoxHeight = 20;
// The least room between the "Community" label and its box.
constexpr int kLabelGap = 4;

// The Host box rebuilds its list from the history each time it drops down.
class CHostComboBox : public CWideComboBox
{
public:
    CHostComboBox(QWidget* pParent, COrvexView* pView) : CWideComboBox(pParent), m_pView(pView) {}
    void showPopup() override
    {
        m_pView->FillHostList();
        CWideComboBox::showPopup();
    }

private:
    COrvexView* m_pView;  // Not owned; the box's parent.
};

bool IsEnterKey(const QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return false;
    const int nKey = static_cast<const QKeyEvent*>(pEvent)->key();
    return nKey == Qt::Key_Return || nKey == Qt::Key_Enter;
}

} // namespace

CQueryBarLayout CQueryBarLayout::Compute(int cx, int cy, QSize szHost, QSize szComm)
{
    const int nBar = COrvexView::kBarHeight;
    CQueryBarLayout layout;
    layout.rcGrid = QRect(-1, nBar, cx, cy - nBar);
    const int nAvail = cx - 90;
    int nHostEnd = (nAvail / 3) * 2;
    int nCommWidth = nAvail - nHostEnd;
    if (nCommWidth < 150) {
        nHostEnd = nAvail / 2;
        nCommWidth = nAvail - nHostEnd;
    }
    const int nPad = (nBar - szHost.height()) / 2;
    layout.rcHostLabel = QRect(nPad, nPad + 4, szHost.width(), szHost.height());
    const int nHostX = szHost.width() + 2 * nPad;
    layout.rcHost = QRect(nHostX, kBoxTop, nHostEnd - nHostX, kBoxHeight);
    layout.rcCommLabel = QRect(nHostEnd + nPad + 20, nPad + 4, szComm.width(), szComm.height());
    layout.rcCommunity = QRect(nHostEnd + szComm.width() + 2 * nPad + 10, kBoxTop,
                               nCommWidth - (szComm.width() + 2 * nPad) - 10, kBoxHeight);
    // With labels taller than 8 pixels the box would start inside the label and
    // cover its last letters; the label moves left into the space after the Host box.
    const int nOverlap = layout.rcCommLabel.right() + 1 + kLabelGap - layout.rcCommunity.left();
    if (nOverlap > 0)
        layout.rcCommLabel.translate(-nOverlap, 0);
    layout.rcButton = QRect(cx - kButtonWidth, kBoxTop, kButtonWidth - nPad, kBoxHeight);
    return layout;
}

COrvexView::COrvexView(COrvexDoc* pDoc, QWidget* pParent)
    : QWidget(pParent), m_themeHelper(this, "BUTTON"), m_wndGrid(this), m_print(this, &m_wndGrid, pDoc),
      m_pDocument(pDoc)
{
    m_wndGrid.SetDlgCtrlID(kGridId);
    m_wndGrid.InitColumns();
    m_wndGrid.SetParentHandler([this](UINT nMsg, WPARAM, LPARAM) {
        if (nMsg == WM_QUERY_ENDED)
            OnQueryEnded();
        else if (nMsg == WM_TREELIST_PRINTPREVIEW)
            m_print.OnFilePrintPreview();
        return LRESULT(0);
    });
    CreateQueryBar();
    FillHostList();
    constexpr DWORD kFindColumns = (1u << COidTreeGrid::colMib) | (1u << COidTreeGrid::colValue)
        | (1u << COidTreeGrid::colOid);
    m_pFindBar = new CFindBar(&m_wndGrid, kFindColumns, this);
    m_pFindBar->hide();
    connect(m_pFindBar, &CFindBar::Closed, this, [this] { OnSize(width(), height()); });
    connect(this, &COrvexView::QueryEnded, m_pFindBar, &CFindBar::Refilter);
}

COrvexView::~COrvexView()
{
    // The grid stops its threads itself; it must no longer call back into a
    // half-destroyed view.
    m_wndGrid.SetParentHandler({});
}

void COrvexView::CreateQueryBar()
{
    m_pHostLabel = new CMyStatic(this, kHostLabelId);
    m_pHostLabel->SetWindowText("Host");
    m_pCommLabel = new CMyStatic(this, kCommLabelId);
    m_pCommLabel->SetWindowText("Community");

    m_pHost = new CHostComboBox(this, this);
    m_pHost->setEditable(true);
    // The history decides the entries; Enter must not add what was typed, and
    // the host is used exactly as typed: no completion from the entries.
    m_pHost->setInsertPolicy(QComboBox::NoInsert);
    m_pHost->setDuplicatesEnabled(true);
    m_pHost->setCompleter(nullptr);
    connect(m_pHost, &QComboBox::activated, this, [this](int nIndex) {
        if (nIndex >= 0)
            FillCommunityOf(m_pHost->itemText(nIndex));
    });
    connect(m_pHost->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { FillCommunityOf(m_pHost->currentText()); });

    m_pCommunity = new QLineEdit(this);

    m_pGo = new CImageButton(this, kGoId);
    m_pGo->SetWindowText("Go");
    m_pGo->SetThemeHelper(&m_themeHelper);
    m_pGo->OffsetColor(CImageButton::ColorBkIn, kHoverLighten);
    m_pGo->SetBitmaps(IDB_GO, kImageKey);
    connect(m_pGo, &QAbstractButton::clicked, this, &COrvexView::OnGo);

    m_font = font();
    for (QWidget* pChild : {static_cast<QWidget*>(m_pHostLabel), static_cast<QWidget*>(m_pCommLabel),
                            static_cast<QWidget*>(m_pHost), static_cast<QWidget*>(m_pCommunity),
                            static_cast<QWidget*>(m_pGo)})
        pChild->setFont(m_font);

    // Tab goes through the windows in their order of creation: grid first.
    setTabOrder(&m_wndGrid, m_pHost);
    setTabOrder(m_pHost, m_pCommunity);
    setTabOrder(m_pCommunity, m_pGo);
    for (QObject* pTarget : {static_cast<QObject*>(m_pHost), static_cast<QObject*>(m_pHost->lineEdit()),
                             static_cast<QObject*>(m_pCommunity), static_cast<QObject*>(m_pGo)})
        pTarget->installEventFilter(this);
}

std::string COrvexView::Caption() const
{
    return m_pGo->GetWindowText();
}

void COrvexView::SetQuery(const std::string& strHost, const std::string& strCommunity)
{
    m_pHost->setEditText(QString::fromLatin1(strHost.c_str(), int(strHost.size())));
    m_pCommunity->setText(QString::fromLatin1(strCommunity.c_str(), int(strCommunity.size())));
}

std::string COrvexView::WalkStatus() const
{
    return m_wndGrid.Progress().Text(CWalkProgress::Clock::now());
}

// --- Layout and background ------------------------------------------------------

void COrvexView::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    OnSize(width(), height());
}

void COrvexView::OnSize(int cx, int cy)
{
    const QFontMetrics metrics(m_font);
    const QSize szHost(metrics.horizontalAdvance("Host"), metrics.height());
    const QSize szComm(metrics.horizontalAdvance("Community"), metrics.height());
    CQueryBarLayout layout = CQueryBarLayout::Compute(cx, cy, szHost, szComm);
    if (m_pFindBar && !m_pFindBar->isHidden()) {
        const int nFindHeight = m_pFindBar->sizeHint().height();
        m_pFindBar->setGeometry(0, layout.rcGrid.top(), cx, nFindHeight);
        layout.rcGrid.setTop(layout.rcGrid.top() + nFindHeight);
    }
    const std::pair<QWidget*, QRect> places[] = {
        {&m_wndGrid, layout.rcGrid},          {m_pHostLabel, layout.rcHostLabel},
        {m_pHost, layout.rcHost},             {m_pCommLabel, layout.rcCommLabel},
        {m_pCommunity, layout.rcCommunity},   {m_pGo, layout.rcButton},
    };
    for (const auto& [pWindow, rc] : places) {
        pWindow->setGeometry(rc);
        pWindow->show();
        pWindow->lower();
    }
}

void COrvexView::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(this);
    painter.fillRect(pEvent->rect(), palette().color(QPalette::Button));
    const int nGridTop = m_wndGrid.geometry().top();
    QLinearGradient gradient(0, 0, 0, nGridTop);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, ToQColor(DarkenColour(GetMenuBarColor(), 60)));
    painter.fillRect(QRect(0, 0, width(), nGridTop), gradient);
}

// --- Host history ------------------------------------------------------------------

void COrvexView::FillHostList()
{
    const QString strKeep = m_pHost->currentText();
    m_pHost->clear();
    for (int nRow = 0; nRow < g_history.Count(); ++nRow) {
        const std::string& strHost = g_history.Cell(0, nRow);
        m_pHost->addItem(QString::fromLatin1(strHost.c_str(), int(strHost.size())));
    }
    const int nFound = m_pHost->findText(strKeep, Qt::MatchFixedString);
    m_pHost->setCurrentIndex(nFound);
    if (nFound < 0)
        m_pHost->setEditText(QString());
}

// Looked up by the host's text, not by its place in the list, which the
// history may have reordered since the list was filled.
void COrvexView::FillCommunityOf(const QString& strHost)
{
    const int nRow = g_history.FindRow(strHost.toLatin1().toStdString());
    if (nRow < 0)
        return;
    const std::string& strCommunity = g_history.Cell(1, nRow);
    m_pCommunity->setText(QString::fromLatin1(strCommunity.c_str(), int(strCommunity.size())));
}

// --- The query ---------------------------------------------------------------------

void COrvexView::OnGo()
{
    if (Caption() == "Go") {
        const QByteArray host = m_pHost->currentText().toLatin1();
        const QByteArray community = m_pCommunity->text().toLatin1();
        // SNMPv3 speaks for a user, not a community.
        if (host.isEmpty() || (community.isEmpty() && !QueryProfile().IsV3())) {
            AfxMessageBox(kRequiredText, MB_OK | MB_ICONERROR);
            return;
        }
        StartQuery(host.toStdString(), community.toStdString());
    } else {
        StopQuery();
    }
}

void COrvexView::StartQuery(const std::string& strHost, const std::string& strCommunity)
{
    SetButtonState(TRUE);
    g_history.AddEntry({strHost, strCommunity});
    FillHostList();  // the entries follow the history's new order
    // Whatever the previous query left running (its walk, its cleanings, its
    // queued messages) is cut off at once and ends on its own: a grid is never
    // fed by two walks, and the new query starts without waiting.
    m_wndGrid.ResetForQuery();
    if (m_pDocument)
        m_pDocument->SetTitle(strHost);
    if (!m_wndGrid.StartWalk(CWalkRequest{strHost, strCommunity, QueryProfile()}))
        SetButtonState(FALSE);
}

void COrvexView::StopQuery()
{
    m_wndGrid.Stop();
    SetButtonState(FALSE);
}

void COrvexView::SetButtonState(BOOL bRunning)
{
    m_pGo->SetWindowText(bRunning ? "Stop" : "Go");
    m_pGo->SetBitmaps(bRunning ? IDB_STOP : IDB_GO, kImageKey);
}

void COrvexView::OnQueryEnded()
{
    SetButtonState(FALSE);
    emit QueryEnded();
}

// --- Keyboard ------------------------------------------------------------------------

bool COrvexView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (IsEnterKey(pEvent)) {
        OnGo();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void COrvexView::keyPressEvent(QKeyEvent* pEvent)
{
    if (IsEnterKey(pEvent))
        OnGo();
    else
        QWidget::keyPressEvent(pEvent);
}

// --- Commands ------------------------------------------------------------------------

BOOL COrvexView::OnCommand(UINT nID)
{
    switch (nID) {
    case ID_SETTINGS: {
        CSettingsDlg dlg;  // no parent, as the settings dialog has always been opened
        dlg.DoModal();
        return TRUE;
    }
    case ID_COPY_TREE:
    case ID_EXPAND_ALL:
    case ID_COLLAPSE_ALL:
    case ID_EXPAND_NODE:
    case ID_COLLAPSE_NODE:
        OnEditCommand(nID);
        return TRUE;
    case ID_FILE_PRINT: m_print.OnFilePrint(); return TRUE;
    case ID_FILE_PRINT_DIRECT: m_print.OnFilePrintDirect(); return TRUE;
    case ID_FILE_PRINT_PREVIEW: m_print.OnFilePrintPreview(); return TRUE;
    case ID_EDIT_FIND:
        m_pFindBar->Open();
        OnSize(width(), height());
        return TRUE;
    case ID_EDIT_REPEAT:
    case ID_FIND_PREVIOUS:
        if (nID == ID_EDIT_REPEAT)
            m_pFindBar->FindNext();
        else
            m_pFindBar->FindPrevious();
        OnSize(width(), height());
        return TRUE;
    default:
        return FALSE;
    }
}

void COrvexView::OnEditCommand(UINT nID)
{
    switch (nID) {
    case ID_COPY_TREE: m_wndGrid.CopyTreeAsText(); break;
    case ID_EXPAND_ALL: m_wndGrid.ExpandCollapseAll(TRUE); break;
    case ID_COLLAPSE_ALL: m_wndGrid.ExpandCollapseAll(FALSE); break;
    case ID_EXPAND_NODE: m_wndGrid.ExpandSelected(); break;
    case ID_COLLAPSE_NODE: m_wndGrid.CollapseSelected(); break;
    default: break;
    }
}

BOOL COrvexView::OnUpdateCommand(CCmdUI& cmdUI)
{
    switch (cmdUI.m_nID) {
    case ID_SETTINGS:
    case ID_COPY_TREE:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_EDIT_FIND:
    case ID_EDIT_REPEAT:
    case ID_FIND_PREVIOUS:
        return TRUE;
    case ID_EXPAND_ALL:
    case ID_COLLAPSE_ALL:
        cmdUI.Enable(m_wndGrid.HasRoots());
        return TRUE;
    case ID_EXPAND_NODE:
        cmdUI.Enable(m_wndGrid.CanExpandSelected());
        return TRUE;
    case ID_COLLAPSE_NODE:
        cmdUI.Enable(m_wndGrid.CanCollapseSelected());
        return TRUE;
    default:
        return FALSE;
    }
}

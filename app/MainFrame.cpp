#include "app/MainFrame.h"
#include "app/ResourceTables.h"
#include "app/ChildFrame.h"
#include "app/OrvexView.h"
#include "app/MibFrameParts.h"
#include "app/ResourceIds.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/keyboard/KeyState.h"
#include "platform/res/PictureResources.h"
#include "ui/MenuBarColor.h"
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {

QString Latin1(const std::string& str)
{
    return QString::fromLatin1(str.data(), qsizetype(str.size()));
}

// "&New\tCtrl+N" shows "&New"; the shortcut text comes from the action's keys.
QString MenuLabel(const char* pszText)
{
    const QString strText = QString::fromLatin1(pszText);
    return strText.section(QLatin1Char('\t'), 0, 0);
}

// Menu bar and toolbar in the skin's colours: a soft gradient down to the
// menu-bar colour.
QString SkinStyleSheet()
{
    const QString strBar = ToQColor(GetMenuBarColor()).name();
    return QStringLiteral(
               "QToolBar { border: none; padding: 1px 2px; spacing: 1px;"
               " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 %1); }"
               "QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 %1); }")
        .arg(strBar);
}

} // namespace

CMainFrame::CMainFrame(CCmdTarget* pAppTarget)
    : m_pAppTarget(pAppTarget), m_pMdiArea(new QMdiArea(this))
{
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] { OnChildrenChanged(); });
    m_timerUpdate.setInterval(kUpdateIntervalMs);
    connect(&m_timerUpdate, &QTimer::timeout, this, [this] {
        UpdateCommandUI();
        UpdateIndicators();
        UpdateWalkPane();
        if (m_pMibParts)
            m_pMibParts->FollowSelection(SelectedOid());
    });
}

// The numeric OID of the active grid's selected row; empty for a row without one.
std::string CMainFrame::SelectedOid() const
{
    CChildFrame* pChild = MDIGetActive();
    COrvexView* pView = pChild ? pChild->GetActiveView() : nullptr;
    if (!pView)
        return "";
    COidTreeGrid& grid = pView->Grid();
    const int nRow = grid.SelectedRow();
    CTreeItem* pNode = nRow >= 0 ? grid.NodeAtRow(nRow) : nullptr;
    return pNode ? grid.InfoOf(pNode)->GetSubText(2) : "";
}

CMainFrame::~CMainFrame()
{
    // Document windows go while the frame is still whole.
    m_timerUpdate.stop();
    for (QMdiSubWindow* pWindow : m_pMdiArea->subWindowList())
        delete pWindow;
}

BOOL CMainFrame::LoadFrame(UINT nIDResource)
{
    if (MenuResource(nIDResource).empty() || ToolBarResource(nIDResource).empty())
        return FALSE;
    setWindowTitle(Latin1(LoadString(nIDResource)));
    setWindowIcon(QIcon(IconResourcePath(nIDResource)));
    CreateMenus(nIDResource, IDR_ORVEXTYPE);
    if (!CreateToolBar(nIDResource))
        return FALSE;
    CreateStatusBar();
    std::vector<QMenu*> menus = m_apMenuMain;
    menus.insert(menus.end(), m_apMenuDocument.begin(), m_apMenuDocument.end());
    m_pMibParts = new CMibFrameParts(this, menus);
    CreateAccelerators(nIDResource);
    ShowMenu(false);
    UpdateCommandUI();
    UpdateIndicators();
    m_timerUpdate.start();
    return TRUE;
}

QAction* CMainFrame::MakeAction(UINT nID, const char* pszMenuText)
{
    if (QAction* pAction = Action(nID))
        return pAction;
    auto* pAction = new QAction(MenuLabel(pszMenuText), this);
    pAction->setData(nID);
    const std::string strPrompt = LoadString(nID);
    pAction->setStatusTip(Latin1(StringPart(strPrompt, 0)));
    const std::string strTip = StringPart(strPrompt, 1);
    pAction->setToolTip(strTip.empty() ? MenuLabel(pszMenuText).remove(QLatin1Char('&')) : Latin1(strTip));
    connect(pAction, &QAction::triggered, this, [this, nID] { RouteCommand(nID); });
    m_mapActions[nID] = pAction;
    addAction(pAction);  // keeps its keys working while its menu is not shown
    return pAction;
}

void CMainFrame::CreateMenus(UINT nIDMain, UINT nIDDocument)
{
    m_pMenuBar = menuBar();
    m_pMenuBar->setObjectName("MenuBar");
    m_pMenuBar->setProperty("controlId", AFX_IDW_MENUBAR);
    for (const CPopupDef& popup : MenuResource(nIDMain))
        m_apMenuMain.push_back(CreatePopup(popup));
    for (const CPopupDef& popup : MenuResource(nIDDocument))
        m_apMenuDocument.push_back(CreatePopup(popup));
}

QMenu* CMainFrame::CreatePopup(const CPopupDef& popup)
{
    auto* pMenu = new QMenu(QString::fromLatin1(popup.pszText), this);
    for (const CMenuItemDef& item : popup.items) {
        if (item.nID == ID_SEPARATOR)
            pMenu->addSeparator();
        else
            pMenu->addAction(MakeAction(item.nID, item.pszText));
    }
    connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    return pMenu;
}

BOOL CMainFrame::CreateToolBar(UINT nIDResource)
{
    const QImage strip = LoadBitmapResource(nIDResource);
    if (strip.isNull())
        return FALSE;
    const QImage images = ApplyColorKey(strip, kToolBarTransparent);
    m_pToolBar = addToolBar(QStringLiteral("Standard"));
    m_pToolBar->setObjectName("ToolBar");
    m_pToolBar->setProperty("controlId", AFX_IDW_TOOLBAR);
    m_pToolBar->setIconSize(QSize(kToolBarImageWidth, kToolBarImageHeight));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    int nImage = 0;
    for (UINT nID : ToolBarResource(nIDResource)) {
        if (nID == ID_SEPARATOR) {
            m_pToolBar->addSeparator();
            continue;
        }
        const QRect rcImage(nImage++ * kToolBarImageWidth, 0, kToolBarImageWidth, kToolBarImageHeight);
        QAction* pAction = MakeAction(nID, "");
        pAction->setIcon(QIcon(QPixmap::fromImage(images.copy(rcImage))));
        m_pToolBar->addAction(pAction);
    }
    setStyleSheet(SkinStyleSheet());
    return TRUE;
}

void CMainFrame::CreateStatusBar()
{
    m_pStatusBar = statusBar();
    m_pStatusBar->setObjectName("StatusBar");
    m_pStatusBar->setProperty("controlId", AFX_IDW_STATUS_BAR);
    for (UINT nID : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        auto* pLabel = new QLabel(m_pStatusBar);
        pLabel->setProperty("controlId", nID);
        pLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pLabel->setAlignment(Qt::AlignCenter);
        pLabel->setMinimumWidth(pLabel->fontMetrics().horizontalAdvance(Latin1(LoadString(nID))) + 10);
        m_pStatusBar->addPermanentWidget(pLabel);
        m_mapIndicators[nID] = pLabel;
    }
    m_pStatusBar->showMessage(IdleText());
}

QString CMainFrame::IdleText() const
{
    if (CChildFrame* pChild = MDIGetActive())
        if (COrvexView* pView = pChild->GetActiveView())
            if (const std::string strStatus = pView->WalkStatus(); !strStatus.empty())
                return Latin1(strStatus);
    return Latin1(LoadString(AFX_IDS_IDLEMESSAGE));
}

void CMainFrame::UpdateWalkPane()
{
    if (m_pStatusBar && !m_bPrompt)
        m_pStatusBar->showMessage(IdleText());
}

void CMainFrame::CreateAccelerators(UINT nIDResource)
{
    std::map<UINT, QList<QKeySequence>> mapKeys;
    for (const CAccelDef& accel : AcceleratorResource(nIDResource))
        mapKeys[accel.nID].append(QKeySequence(QString::fromLatin1(accel.pszKey)));
    for (const auto& [nID, keys] : mapKeys) {
        const std::string strPrompt = LoadString(nID);
        MakeAction(nID, StringPart(strPrompt, 1).c_str())->setShortcuts(keys);
    }
}

void CMainFrame::ShowMenu(bool bDocument)
{
    if (!m_pMenuBar || (bDocument == m_bDocumentMenu && !m_pMenuBar->actions().isEmpty()))
        return;
    m_bDocumentMenu = bDocument;
    m_pMenuBar->clear();
    for (QMenu* pMenu : bDocument ? m_apMenuDocument : m_apMenuMain)
        m_pMenuBar->addMenu(pMenu);
}

void CMainFrame::AddChildFrame(CChildFrame* pFrame)
{
    m_pMdiArea->addSubWindow(pFrame);
    connect(pFrame, &QObject::destroyed, this, [this] { OnChildrenChanged(); });
    pFrame->showMaximized();
    m_pMdiArea->setActiveSubWindow(pFrame);
    OnChildrenChanged();
}

CChildFrame* CMainFrame::MDIGetActive() const
{
    if (auto* pActive = qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow()))
        return pActive;
    // The area has no active window while the application is inactive, and may
    // still list a window that is being destroyed (which no longer casts).
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (auto* pFrame = qobject_cast<CChildFrame*>(*it))
            return pFrame;
    return nullptr;
}

void CMainFrame::OnChildrenChanged()
{
    ShowMenu(MDIGetActive() != nullptr);
    UpdateCommandUI();
}

QAction* CMainFrame::Action(UINT nID) const
{
    const auto it = m_mapActions.find(nID);
    return it == m_mapActions.end() ? nullptr : it->second;
}

std::vector<CCmdTarget*> CMainFrame::CommandRoute() const
{
    std::vector<CCmdTarget*> route;
    if (CChildFrame* pChild = MDIGetActive())
        if (COrvexView* pView = pChild->GetActiveView())
            route.push_back(pView);
    route.push_back(const_cast<CMainFrame*>(this));
    if (m_pAppTarget)
        route.push_back(m_pAppTarget);
    return route;
}

BOOL CMainFrame::RouteCommand(UINT nID)
{
    for (CCmdTarget* pTarget : CommandRoute()) {
        CCmdUI cmdUI(nID);
        if (pTarget->OnUpdateCommand(cmdUI)) {
            // A command that is disabled right now is not run, whatever asked for it.
            if (cmdUI.m_bEnabled)
                pTarget->OnCommand(nID);
            return cmdUI.m_bEnabled;
        }
    }
    return FALSE;
}

void CMainFrame::UpdateCommandUI()
{
    const std::vector<CCmdTarget*> route = CommandRoute();
    for (const auto& [nID, pAction] : m_mapActions) {
        CCmdUI cmdUI(nID);
        bool bHandled = false;
        for (CCmdTarget* pTarget : route)
            if ((bHandled = pTarget->OnUpdateCommand(cmdUI)))
                break;
        pAction->setEnabled(bHandled && cmdUI.m_bEnabled);
        pAction->setCheckable(cmdUI.m_nCheck >= 0);
        if (cmdUI.m_nCheck >= 0)
            pAction->setChecked(cmdUI.m_nCheck == 1);
    }
}

void CMainFrame::UpdateIndicators()
{
    for (const auto& [nID, pLabel] : m_mapIndicators) {
        const int nKey = nID == ID_INDICATOR_CAPS ? VK_CAPITAL : nID == ID_INDICATOR_NUM ? VK_NUMLOCK : VK_SCROLL;
        pLabel->setText(IsKeyToggled(nKey) ? Latin1(LoadString(nID)) : QString());
    }
}

BOOL CMainFrame::OnCommand(UINT nID)
{
    switch (nID) {
    case ID_VIEW_TOOLBAR: OnViewToolBar(); return TRUE;
    case ID_VIEW_STATUS_BAR: OnViewStatusBar(); return TRUE;
    case ID_WINDOW_NEW: return FALSE;  // the application makes the window
    case ID_WINDOW_CASCADE: m_pMdiArea->cascadeSubWindows(); return TRUE;
    case ID_WINDOW_TILE_HORZ: m_pMdiArea->tileSubWindows(); return TRUE;
    case ID_WINDOW_ARRANGE: ArrangeIcons(); return TRUE;
    default: return FALSE;
    }
}

BOOL CMainFrame::OnUpdateCommand(CCmdUI& cmdUI)
{
    switch (cmdUI.m_nID) {
    case ID_VIEW_TOOLBAR:
        cmdUI.SetCheck(m_pToolBar && m_pToolBar->isVisibleTo(this) ? 1 : 0);
        return TRUE;
    case ID_VIEW_STATUS_BAR:
        cmdUI.SetCheck(m_pStatusBar && m_pStatusBar->isVisibleTo(this) ? 1 : 0);
        return TRUE;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_ARRANGE:
        cmdUI.Enable(MDIGetActive() != nullptr);
        return TRUE;
    default:
        return FALSE;
    }
}

void CMainFrame::OnViewToolBar()
{
    m_pToolBar->setVisible(!m_pToolBar->isVisibleTo(this));
    UpdateCommandUI();
}

void CMainFrame::OnViewStatusBar()
{
    m_pStatusBar->setVisible(!m_pStatusBar->isVisibleTo(this));
    UpdateCommandUI();
}

void CMainFrame::ArrangeIcons()
{
    // Minimised windows line up along the bottom edge, left to right.
    int x = 0;
    for (QMdiSubWindow* pWindow : m_pMdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!pWindow->isMinimized())
            continue;
        pWindow->move(x, m_pMdiArea->viewport()->height() - pWindow->height());
        x += pWindow->width();
    }
}

bool CMainFrame::event(QEvent* pEvent)
{
    // With no prompt to show, the first pane tells of the walk, or says "Ready".
    if (pEvent->type() == QEvent::StatusTip && m_pStatusBar) {
        const QString strTip = static_cast<QStatusTipEvent*>(pEvent)->tip();
        m_bPrompt = !strTip.isEmpty();
        m_pStatusBar->showMessage(m_bPrompt ? strTip : IdleText());
        return true;
    }
    return QMainWindow::event(pEvent);
}

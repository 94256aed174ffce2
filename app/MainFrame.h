#pragma once
// The main window: menu bar, toolbar, status bar (message pane and the CAP, NUM
// and SCRL indicators) and the area that holds the document windows. It owns one
// QAction per command, shared by menus, toolbar and accelerators, and routes
// each command to the active view, its frame, itself and the application.
#include "app/CmdTarget.h"
#include <QMainWindow>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

class CChildFrame;
class CMibFrameParts;
class QLabel;
class QMdiArea;
class QMenu;

class CMainFrame : public QMainWindow, public CCmdTarget
{
    Q_OBJECT
public:
    static constexpr int kUpdateIntervalMs = 250;  // command states follow the grid's

    // pAppTarget: the application, last in the command route (Not owned; may be null).
    explicit CMainFrame(CCmdTarget* pAppTarget = nullptr);
    ~CMainFrame() override;

    // Builds the frame from resource nIDResource: title, icon, menus, toolbar,
    // status bar, accelerators. FALSE when the resource does not exist.
    BOOL LoadFrame(UINT nIDResource);

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    // Adds a document window and shows it maximised; the area owns it.
    void AddChildFrame(CChildFrame* pFrame);
    CChildFrame* MDIGetActive() const;
    // The MIB details pane, modules window and status pane (Not owned: Qt child).
    CMibFrameParts* MibParts() const { return m_pMibParts; }

    // The action of command nID, or null.
    QAction* Action(UINT nID) const;
    // Runs command nID along the route; FALSE when nothing handles it.
    BOOL RouteCommand(UINT nID);
    // Brings every action's enabled and checked state up to date. Cheap.
    void UpdateCommandUI();

    BOOL OnCommand(UINT nID) override;
    BOOL OnUpdateCommand(CCmdUI& cmdUI) override;

protected:
    bool event(QEvent* pEvent) override;

private:
    QAction* MakeAction(UINT nID, const char* pszMenuText);
    void CreateMenus(UINT nIDMain, UINT nIDDocument);
    QMenu* CreatePopup(const struct CPopupDef& popup);
    BOOL CreateToolBar(UINT nIDResource);
    void CreateStatusBar();
    void CreateAccelerators(UINT nIDResource);
    void ShowMenu(bool bDocument);
    void OnChildrenChanged();
    void UpdateIndicators();
    // The first pane when no prompt is shown: the active view's walk, else "Ready".
    QString IdleText() const;
    void UpdateWalkPane();
    void OnViewToolBar();
    void OnViewStatusBar();
    void ArrangeIcons();
    std::vector<CCmdTarget*> CommandRoute() const;
    std::string SelectedOid() const;

    CCmdTarget* m_pAppTarget;                  // Not owned.
    QMdiArea* m_pMdiArea;                      // Not owned: Qt child.
    QStatusBar* m_pStatusBar = nullptr;        // Not owned: Qt child.
    QToolBar* m_pToolBar = nullptr;            // Not owned: Qt child.
    QMenuBar* m_pMenuBar = nullptr;            // Not owned: Qt child.
    std::map<UINT, QAction*> m_mapActions;     // Not owned: Qt children.
    std::vector<QMenu*> m_apMenuMain;          // Not owned: Qt children.
    std::vector<QMenu*> m_apMenuDocument;      // Not owned: Qt children.
    std::map<UINT, QLabel*> m_mapIndicators;   // Not owned: Qt children.
    CMibFrameParts* m_pMibParts = nullptr;     // Not owned: Qt child.
    bool m_bDocumentMenu = false;
    bool m_bPrompt = false;                    // a menu or toolbar prompt holds the first pane
    QTimer m_timerUpdate;
};

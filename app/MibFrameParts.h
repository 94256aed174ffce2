#pragma once
// What the main frame shows of the MIB modules: the "MIB Details" pane, the
// "MIB Modules" window, File > "Load MIB...", and a status-bar pane of its own
// with the counts of loaded and failed modules. Starts the background load of
// the MibPath setting when made, and again on Reload or a changed path.
#include "platform/winmsg/WinMsg.h"
#include <QObject>
#include <memory>
#include <string>
#include <vector>

class CMibDetailsPane;
class CMibModulesDlg;
class QAction;
class QLabel;
class QMainWindow;
class QMenu;

class CMibFrameParts : public QObject
{
    Q_OBJECT
public:
    // Adds the pane, the status pane and the actions ("MIB Details" and "MIB
    // Modules..." to every menu titled "&View", "Load MIB..." to every "&File"
    // menu) to the frame, and starts loading.
    CMibFrameParts(QMainWindow* pFrame, const std::vector<QMenu*>& menus);

    // Loads the MibPath setting again, in the background.
    void Reload();
    // The selected row's numeric OID (empty when none): the pane follows it.
    void FollowSelection(const std::string& strOid);

    CMibDetailsPane* DetailsPane() const { return m_pDetails; }
    QLabel* StatusPane() const { return m_pStatus; }

private:
    void OnLoaded();
    void OnLoadMib();
    void OnShowModules();

    QMainWindow* m_pFrame;             // Not owned.
    CMibDetailsPane* m_pDetails;       // Not owned: Qt child of the frame.
    QLabel* m_pStatus;                 // Not owned: Qt child of the status bar.
    CMibModulesDlg* m_pModules = nullptr;  // Not owned: Qt child of the frame.
    std::string m_strLoadingPath;
    CMsgWindow m_window;               // receives WM_MIB_LOADED
};

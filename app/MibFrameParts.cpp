#include "app/MibFrameParts.h"
#include "app/MibDetailsPane.h"
#include "app/MibModulesDlg.h"
#include "mib/MibLoader.h"
#include "mib/MibPath.h"
#include "snmp/AppSettings.h"
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>

CMibFrameParts::CMibFrameParts(QMainWindow* pFrame, const std::vector<QMenu*>& menus)
    : QObject(pFrame), m_pFrame(pFrame),
      m_window(this, [this](UINT message, WPARAM, LPARAM) {
          if (message == WM_MIB_LOADED)
              OnLoaded();
          return LRESULT{0};
      })
{
    m_pDetails = new CMibDetailsPane(pFrame);
    pFrame->addDockWidget(Qt::BottomDockWidgetArea, m_pDetails);
    m_pDetails->hide();
    m_pStatus = new QLabel("MIBs: loading...", pFrame->statusBar());
    m_pStatus->setObjectName("MibStatusPane");
    m_pStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pFrame->statusBar()->addPermanentWidget(m_pStatus);

    QAction* pDetails = m_pDetails->toggleViewAction();
    pDetails->setText("MIB &Details");
    auto* pModules = new QAction("MIB &Modules...", this);
    connect(pModules, &QAction::triggered, this, &CMibFrameParts::OnShowModules);
    auto* pLoad = new QAction("Load &MIB...", this);
    connect(pLoad, &QAction::triggered, this, &CMibFrameParts::OnLoadMib);
    for (QMenu* pMenu : menus) {
        if (pMenu->title() == "&View") {
            pMenu->addSeparator();
            pMenu->addAction(pDetails);
            pMenu->addAction(pModules);
        } else if (pMenu->title() == "&File") {
            // Before the separator and "Exit" at the end.
            const QList<QAction*> actions = pMenu->actions();
            pMenu->insertAction(actions.size() >= 2 ? actions[actions.size() - 2] : nullptr, pLoad);
        }
    }
    Reload();
}

void CMibFrameParts::Reload()
{
    m_strLoadingPath = AppSettings.MibPath();
    m_pStatus->setText("MIBs: loading...");
    StartMibLoad(m_strLoadingPath, MibPath::BaseFolder(), m_window.Handle());
}

void CMibFrameParts::OnLoaded()
{
    const CMibLoadReport report = LastMibLoadReport();
    std::size_t nFailedFiles = 0;
    std::string strLastFile = "\n";
    for (const CMibProblem& problem : report.problems)
        if (problem.strFile != strLastFile) {
            ++nFailedFiles;
            strLastFile = problem.strFile;
        }
    m_pStatus->setText(QString("MIBs: %1 loaded, %2 failed").arg(report.loaded.size()).arg(nFailedFiles));
    m_pDetails->Refresh();
    if (m_pModules)
        m_pModules->Refresh();
    // The path changed while this load ran: load the new one.
    if (AppSettings.MibPath() != m_strLoadingPath)
        Reload();
}

void CMibFrameParts::FollowSelection(const std::string& strOid)
{
    if (m_pDetails->isVisible())
        m_pDetails->ShowOid(strOid);
    if (AppSettings.MibPath() != m_strLoadingPath && m_pStatus->text() != "MIBs: loading...")
        Reload();  // the Settings dialog changed the path
}

void CMibFrameParts::OnLoadMib()
{
    const QString strFile = QFileDialog::getOpenFileName(m_pFrame, "Load MIB");
    if (strFile.isEmpty())
        return;
    std::string strError;
    if (!MibPath::CopyToUserFolder(strFile.toStdString(), &strError)) {
        QMessageBox::critical(m_pFrame, "Load MIB", QString::fromStdString("The file could not be copied: " + strError));
        return;
    }
    Reload();
}

void CMibFrameParts::OnShowModules()
{
    if (!m_pModules)
        m_pModules = new CMibModulesDlg(m_pFrame, [this] { Reload(); });
    m_pModules->Refresh();
    m_pModules->show();
    m_pModules->raise();
}

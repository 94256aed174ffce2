#include "app/OrvexApp.h"
#include "app/AboutDlg.h"
#include "app/ResourceTables.h"
#include "app/ChildFrame.h"
#include "app/HelpManual.h"
#include "app/MainFrame.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/ResourceIds.h"
#include "app/SettingsMigration.h"
#include "app/SettingsStore.h"
#include "app/SkinMultiDocTemplate.h"
#include "platform/crash/CrashReporter.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/net/Sockets.h"
#include "platform/print/PrintView.h"
#include "ui/SplashWnd.h"
#include <QApplication>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrinter>

namespace {

std::vector<std::string> ProcessArguments()
{
    std::vector<std::string> args;
    const QStringList list = QCoreApplication::arguments();
    for (qsizetype n = 1; n < list.size(); ++n)
        args.push_back(list[n].toLocal8Bit().toStdString());
    return args;
}

} // namespace

COrvexApp::COrvexApp()
    : COrvexApp(ProcessArguments())
{
}

COrvexApp::COrvexApp(std::vector<std::string> args)
    : m_args(std::move(args))
{
    InitAppResources();
    QApplication::setApplicationName(QString::fromLatin1(LoadString(AFX_IDS_APP_TITLE).c_str()));
    QApplication::setApplicationVersion(ORVEX_VERSION);
    // Print jobs start from the printer Print Setup chose.
    CPrintView::SetPrinterSelection([this] { return GetPrinter(); });
}

COrvexApp::~COrvexApp()
{
    // Windows before the template: they point at its documents.
    m_pMainWnd.reset();
    m_pDocTemplate.reset();
    CPrintView::SetPrinterSelection({});
}

BOOL COrvexApp::InitInstance()
{
    InstallCrashReporter();
    // Common controls and the framework's own start-up need nothing here.
    ShowSplash();
    LoadSettingsAndHome();
    if (!InitOle()) {
        HideSplash();  // a topmost splash would hide the message that ends start-up
        AfxMessageBox(LoadString(IDP_OLE_INIT_FAILED));
        return FALSE;
    }
    // The control container needs no start-up here either.
    m_pDocTemplate = std::make_unique<CSkinMultiDocTemplate>(IDR_ORVEXTYPE);
    // The document menu shares the toolbar's actions and so carries its images.
    if (!StartSockets()) {
        HideSplash();
        AfxMessageBox("Failed to init Winsock!", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (!CreateMainFrame())
        return FALSE;
    COrvexCommandLineInfo cmdInfo;
    ParseCommandLine(m_args, cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    m_pMainWnd->show();
    FillQueryBar(cmdInfo);
    UpdatePrinterSelection(TRUE);
    HideSplash();
    return TRUE;
}

int COrvexApp::ExitInstance()
{
    SaveSettings();
    return 0;
}

int COrvexApp::Run()
{
    if (!InitInstance()) {
        ExitInstance();
        return 1;
    }
    QApplication::exec();
    return ExitInstance();
}

void COrvexApp::InstallCrashReporter()
{
    Install(nullptr, kCrashRecipient, "Crash Report", ORVEX_VERSION);
}

void COrvexApp::ShowSplash()
{
    auto* pSplash = new CSplashWnd;  // Deletes itself when hidden.
    m_pSplash = pSplash;
    pSplash->Create(nullptr, kTagline, 0, CSplashWnd::SplashFadeIn | CSplashWnd::SplashFadeOut |
                                             CSplashWnd::SplashShadow | CSplashWnd::SplashCentreScreen);
    pSplash->SetBitmap(IDB_SPLASH, 255, 0, 255);
    pSplash->SetTextFont("Verdana", 80, 0);
    pSplash->SetTextRect(CRect(35, 135, 295, 160));
    pSplash->SetTextColor(RGB(0, 0, 0));
    pSplash->SetTextFormat(5);
    pSplash->Show();
}

CSplashWnd* COrvexApp::GetSplash() const
{
    return m_pSplash.data();
}

void COrvexApp::HideSplash()
{
    if (m_pSplash && m_pSplash->isVisible())
        m_pSplash->Hide();
}

void COrvexApp::LoadSettingsAndHome()
{
    // Only the application moves settings: the walk commands write no file.
    MoveOldSettings();
    LoadSettings();
    LoadHomePath();
}

BOOL COrvexApp::InitOle()
{
    return TRUE;  // no component services to start on this platform
}

BOOL COrvexApp::StartSockets()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 0), &data) == 0;
}

BOOL COrvexApp::CreateMainFrame()
{
    auto pFrame = std::make_unique<CMainFrame>(this);
    if (!pFrame->LoadFrame(IDR_MAINFRAME))
        return FALSE;
    pFrame->resize(1000, 700);
    m_pMainWnd = std::move(pFrame);
    m_pDocTemplate->SetMainFrame(m_pMainWnd.get());
    return TRUE;
}

void COrvexApp::FillQueryBar(const COrvexCommandLineInfo& info)
{
    CChildFrame* pChild = m_pMainWnd->MDIGetActive();
    COrvexView* pView = pChild ? pChild->GetActiveView() : nullptr;
    if (!pView || (info.m_strHost.empty() && info.m_strCommunity.empty()))
        return;
    pView->SetQuery(info.m_strHost, info.m_strCommunity);
    if (info.m_bGo)
        pView->OnGo();
}

BOOL COrvexApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        return m_pDocTemplate->OpenDocumentFile(nullptr) != nullptr;
    case CCommandLineInfo::FileOpen:
        // Opening can fail with a message, which the topmost splash would cover.
        HideSplash();
        return m_pDocTemplate->OpenDocumentFile(info.m_strFileName.c_str()) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

void COrvexApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
    // Forgetting the selection makes the next use start from the default printer.
    if (bForceDefaults)
        m_pPrinter.reset();
}

QPrinter* COrvexApp::GetPrinter()
{
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_pPrinter.get();
}

COrvexDoc* COrvexApp::ActiveDocument() const
{
    const CChildFrame* pChild = m_pMainWnd ? m_pMainWnd->MDIGetActive() : nullptr;
    return pChild ? pChild->GetActiveDocument() : nullptr;
}

void COrvexApp::OnFileNew()
{
    m_pDocTemplate->OpenDocumentFile(nullptr);
}

void COrvexApp::OnFileOpen()
{
    const QString strPath = QFileDialog::getOpenFileName(m_pMainWnd.get());
    if (!strPath.isEmpty())
        m_pDocTemplate->OpenDocumentFile(strPath.toLocal8Bit().constData());
}

void COrvexApp::OnFilePrintSetup()
{
    QPageSetupDialog dlg(GetPrinter(), m_pMainWnd.get());
    dlg.exec();
}

void COrvexApp::OnWindowNew()
{
    if (COrvexDoc* pDoc = ActiveDocument())
        m_pDocTemplate->CreateNewFrame(pDoc);
}

void COrvexApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->close();
}

void COrvexApp::OnAppAbout()
{
    CAboutDlg dlg(m_pMainWnd.get());
    dlg.DoModal();
}

void COrvexApp::OnHelpManual()
{
    OpenHelpManual(m_pMainWnd.get());
}

BOOL COrvexApp::OnCommand(UINT nID)
{
    switch (nID) {
    case ID_FILE_NEW: OnFileNew(); return TRUE;
    case ID_FILE_OPEN: OnFileOpen(); return TRUE;
    case ID_FILE_PRINT_SETUP: OnFilePrintSetup(); return TRUE;
    case ID_WINDOW_NEW: OnWindowNew(); return TRUE;
    case ID_APP_EXIT: OnAppExit(); return TRUE;
    case ID_APP_ABOUT: OnAppAbout(); return TRUE;
    case ID_HELP_MANUAL: OnHelpManual(); return TRUE;
    default: return FALSE;
    }
}

BOOL COrvexApp::OnUpdateCommand(CCmdUI& cmdUI)
{
    switch (cmdUI.m_nID) {
    case ID_WINDOW_NEW:
        cmdUI.Enable(ActiveDocument() != nullptr);
        return TRUE;
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
    case ID_HELP_MANUAL:
        return TRUE;
    default:
        return FALSE;
    }
}

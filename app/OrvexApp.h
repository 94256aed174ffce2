#pragma once
// The application object: brings the system up in a fixed order (InitInstance),
// runs the event loop and writes the settings back at the end (ExitInstance).
// It handles the application's own commands: File New, Open, Print Setup,
// Window New Window, Exit, About and the help manual.
//
// Each start-up step that talks to the platform is a virtual member, so that a
// derived application (tests) can watch the order or make a step fail.
#include "app/CmdTarget.h"
#include "app/OrvexCommandLineInfo.h"
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CSkinMultiDocTemplate;
class CSplashWnd;
class COrvexDoc;
class QPrinter;

class COrvexApp : public CCmdTarget
{
public:
    static constexpr const char* kTagline = "Walk any SNMP agent's MIB as a living tree";
    static constexpr const char* kCrashRecipient = "crash-reports@orvex.example";

    // Needs the QApplication to exist. args: the command line without the
    // program name (the real one by default).
    COrvexApp();
    explicit COrvexApp(std::vector<std::string> args);
    ~COrvexApp() override;
    COrvexApp(const COrvexApp&) = delete;
    COrvexApp& operator=(const COrvexApp&) = delete;

    // TRUE when the main window is up; FALSE: the process is to end.
    virtual BOOL InitInstance();
    // Saves settings and history; the process's exit code.
    virtual int ExitInstance();
    // InitInstance, the event loop when it succeeded, ExitInstance (always).
    int Run();

    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }
    CSkinMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
    // The splash window while it exists, else null.
    CSplashWnd* GetSplash() const;
    // The printer chosen for printing: the system's default one until Print Setup
    // changes it. Looked up on first use (asking the print system costs tens of
    // milliseconds, which start-up does not pay).
    QPrinter* GetPrinter();

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnWindowNew();
    void OnAppExit();
    void OnAppAbout();
    void OnHelpManual();

    BOOL OnCommand(UINT nID) override;
    BOOL OnUpdateCommand(CCmdUI& cmdUI) override;

protected:
    virtual void InstallCrashReporter();
    virtual void ShowSplash();
    virtual void LoadSettingsAndHome();
    virtual BOOL InitOle();
    virtual BOOL StartSockets();
    virtual BOOL CreateMainFrame();
    virtual BOOL ProcessShellCommand(const CCommandLineInfo& info);
    // --host/--community/--go: the query bar of the first window, filled (and run).
    void FillQueryBar(const COrvexCommandLineInfo& info);
    virtual void UpdatePrinterSelection(BOOL bForceDefaults);
    void HideSplash();

    std::vector<std::string> m_args;

private:
    COrvexDoc* ActiveDocument() const;

    QPointer<CSplashWnd> m_pSplash;                          // Deletes itself when hidden.
    std::unique_ptr<CSkinMultiDocTemplate> m_pDocTemplate;  // Owned.
    std::unique_ptr<CMainFrame> m_pMainWnd;                 // Owned.
    std::unique_ptr<QPrinter> m_pPrinter;                   // Owned; null until first needed.
};

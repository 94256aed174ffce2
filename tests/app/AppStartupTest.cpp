#include "app/ResourceTables.h"
#include "app/ChildFrame.h"
#include "app/CommandLineInfo.h"
#include "app/OrvexCommandLineInfo.h"
#include "app/HistoryTable.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/RegistryKeys.h"
#include "app/ResourceIds.h"
#include "app/SkinMultiDocTemplate.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"
#include "ui/SplashWnd.h"
#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct CShownBox
{
    std::string strText;
    UINT nType;
    bool bSplashVisible;
};

// Records the order of the start-up steps and what each saw; can fail a step.
class CTraceApp : public COrvexApp
{
public:
    explicit CTraceApp(std::vector<std::string> args = {}) : COrvexApp(std::move(args)) {}

    std::vector<std::string> m_steps;
    int m_nTimeoutAtFrame = -1;
    std::string m_strHistoryAtFrame;
    bool m_bSplashAtFrame = false;
    bool m_bFailOle = false;
    bool m_bFailSockets = false;

protected:
    // The crash handlers have their own test; this process keeps its own.
    void InstallCrashReporter() override { m_steps.push_back("crash"); }
    void ShowSplash() override { m_steps.push_back("splash"); COrvexApp::ShowSplash(); }
    void LoadSettingsAndHome() override { m_steps.push_back("settings"); COrvexApp::LoadSettingsAndHome(); }
    BOOL InitOle() override { m_steps.push_back("ole"); return m_bFailOle ? FALSE : COrvexApp::InitOle(); }
    BOOL StartSockets() override
    {
        m_steps.push_back("sockets");
        if (!m_bFailSockets)
            return COrvexApp::StartSockets();
        AppSettings.Timeout = 17;  // a change the exit after the failure must still save
        return FALSE;
    }
    BOOL CreateMainFrame() override
    {
        m_steps.push_back("frame");
        m_nTimeoutAtFrame = AppSettings.Timeout.load();
        m_strHistoryAtFrame = g_history.Count() > 0 ? g_history.Cell(0, 0) : "";
        m_bSplashAtFrame = GetSplash() && GetSplash()->isVisible();
        return COrvexApp::CreateMainFrame();
    }
    BOOL ProcessShellCommand(const CCommandLineInfo& info) override
    {
        m_steps.push_back("shell");
        return COrvexApp::ProcessShellCommand(info);
    }
};

class AppStartup : public testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        SetMessageBoxHook([this](HWND, const std::string& strText, const std::string&, UINT nType) {
            m_boxes.push_back({strText, nType, m_pApp && m_pApp->GetSplash() && m_pApp->GetSplash()->isVisible()});
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHook({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CTempXdg m_xdg;
    std::vector<CShownBox> m_boxes;
    CTraceApp* m_pApp = nullptr;  // Not owned: the app of the running test, for the hook.
};

std::optional<DWORD> StoredDword(const char* pszName)
{
    const auto value = RegProbeGet(HKEY_CURRENT_USER, kSettingsKey, pszName);
    if (!value || value->dwType != REG_DWORD || value->data.size() != 4)
        return std::nullopt;
    DWORD dw = 0;
    std::memcpy(&dw, value->data.data(), 4);
    return dw;
}

std::vector<QMdiSubWindow*> Windows(const COrvexApp& app)
{
    const QList<QMdiSubWindow*> list = app.GetMainFrame()->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    return {list.begin(), list.end()};
}

} // namespace

TEST_F(AppStartup, StepsInOrderSettingsBeforeFrameOneMaximisedUntitledWindow)
{
    RegProbePutDword(HKEY_CURRENT_USER, kSettingsKey, "Timeout", 42);
    g_history.Init("Host", 2, 30);
    g_history.AddEntry({"router7", "public"});
    g_history.Save();
    g_history.Release();

    CTraceApp app;
    m_pApp = &app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_steps, (std::vector<std::string>{"crash", "splash", "settings", "ole", "sockets", "frame", "shell"}));
    EXPECT_EQ(app.m_nTimeoutAtFrame, 42);
    EXPECT_EQ(app.m_strHistoryAtFrame, "router7");
    EXPECT_TRUE(app.m_bSplashAtFrame);
    EXPECT_NE(AppSettings.HomePath[0], '\0');
    EXPECT_TRUE(m_boxes.empty());

    // The splash is gone once the main window is up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.GetSplash(), nullptr);
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
    EXPECT_EQ(app.GetMainFrame()->windowTitle(), "Orvex");
    EXPECT_NE(app.GetPrinter(), nullptr);

    const std::vector<QMdiSubWindow*> windows = Windows(app);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(windows[0]->isMaximized());
    EXPECT_EQ(windows[0]->windowTitle(), "");
    ASSERT_EQ(app.GetDocTemplate()->GetDocumentCount(), 1u);
    EXPECT_EQ(app.GetDocTemplate()->GetDocument(0)->GetTitle(), "");
}

TEST_F(AppStartup, SecondNewIsAnIndependentWindow)
{
    CTraceApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(app.GetMainFrame()->RouteCommand(ID_FILE_NEW));
    const std::vector<QMdiSubWindow*> windows = Windows(app);
    ASSERT_EQ(windows.size(), 2u);
    auto* pFirst = qobject_cast<CChildFrame*>(windows[0]);
    auto* pSecond = qobject_cast<CChildFrame*>(windows[1]);
    ASSERT_TRUE(pFirst && pSecond);
    EXPECT_TRUE(pSecond->isMaximized());
    EXPECT_NE(pFirst->GetActiveDocument(), pSecond->GetActiveDocument());
    EXPECT_NE(pFirst->GetActiveView(), pSecond->GetActiveView());

    pFirst->GetActiveDocument()->SetTitle("10.0.0.1");
    EXPECT_EQ(pFirst->windowTitle(), "10.0.0.1");
    EXPECT_EQ(pSecond->windowTitle(), "");

    // Closing a window releases its document; the other stays.
    delete pFirst;
    EXPECT_EQ(app.GetDocTemplate()->GetDocumentCount(), 1u);
    EXPECT_EQ(app.GetDocTemplate()->GetDocument(0), pSecond->GetActiveDocument());
}

TEST_F(AppStartup, ExitWritesSettingsOnlyThen)
{
    CTraceApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_FALSE(StoredDword("Timeout").has_value());  // start-up reads, never writes

    AppSettings.Timeout = 30;
    g_history.AddEntry({"h2", "c2"});
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(StoredDword("Timeout"), std::optional<DWORD>(30));
    EXPECT_EQ(StoredDword("CacheSize-Host"), std::optional<DWORD>(1));
}

// A failing start-up step hides the splash before its message; after a
// sockets failure the run still ends through ExitInstance, which saves.
TEST_F(AppStartup, FailedStepsReportAfterTheSplash)
{
    CTraceApp ole;
    m_pApp = &ole;
    ole.m_bFailOle = true;
    EXPECT_FALSE(ole.InitInstance());
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].strText, LoadString(IDP_OLE_INIT_FAILED));
    EXPECT_FALSE(m_boxes[0].strText.empty());
    EXPECT_EQ(ole.GetMainFrame(), nullptr);

    CTraceApp app;
    m_pApp = &app;
    app.m_bFailSockets = true;
    ASSERT_FALSE(StoredDword("Timeout").has_value());
    EXPECT_EQ(app.Run(), 1);
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[1].strText, "Failed to init Winsock!");
    EXPECT_EQ(m_boxes[1].nType, MB_OK | MB_ICONERROR);
    EXPECT_EQ(app.GetMainFrame(), nullptr);
    EXPECT_EQ(app.m_steps.back(), "sockets");
    EXPECT_EQ(StoredDword("Timeout"), std::optional<DWORD>(17));
    for (const CShownBox& box : m_boxes)
        EXPECT_FALSE(box.bSplashVisible) << box.strText;
}

TEST_F(AppStartup, CommandLineOpensANamedDocument)
{
    QTemporaryDir dir;
    const QString strFile = dir.filePath("lab-switch.orvex");
    QFile file(strFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    CTraceApp app({"--some-future-option", strFile.toStdString()});
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(app.GetDocTemplate()->GetDocumentCount(), 1u);
    EXPECT_EQ(app.GetDocTemplate()->GetDocument(0)->GetTitle(), "lab-switch.orvex");
    EXPECT_EQ(Windows(app)[0]->windowTitle(), "lab-switch.orvex");

    CTraceApp missing({dir.filePath("nope").toStdString()});
    m_pApp = &missing;
    EXPECT_FALSE(missing.InitInstance());
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].strText, "Failed to open document.");
    EXPECT_FALSE(m_boxes[0].bSplashVisible) << "the message must not be hidden under the splash";
}

TEST(CommandLine, FlagsReachTheParserTheFirstNameWinsAndOurOptionsTakeValues)
{
    struct CRecordingInfo : CCommandLineInfo
    {
        std::vector<std::string> flags;
        bool bSawLast = false;
        void ParseParam(const std::string& strParam, BOOL bFlag, BOOL bLast) override
        {
            if (bFlag)
                flags.push_back(strParam);
            bSawLast = bSawLast || bLast;
            CCommandLineInfo::ParseParam(strParam, bFlag, bLast);
        }
    } info;
    ParseCommandLine({"--walk", "-x", "/tmp/a", "b", "-"}, info);
    EXPECT_EQ(info.flags, (std::vector<std::string>{"walk", "x"}));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "/tmp/a");  // a leading slash is a path here
    EXPECT_TRUE(info.bSawLast);

    COrvexCommandLineInfo orvex;
    ParseCommandLine({"--host", "10.1.1.1:1161", "--community", "-secret", "--go"}, orvex);
    EXPECT_EQ(orvex.m_strHost, "10.1.1.1:1161");
    EXPECT_EQ(orvex.m_strCommunity, "");  // a value that looks like a flag is none
    EXPECT_TRUE(orvex.m_bGo);
    EXPECT_EQ(orvex.m_nShellCommand, CCommandLineInfo::FileNew);

    COrvexCommandLineInfo withFile;
    ParseCommandLine({"--community", "public", "notes.txt", "--host"}, withFile);
    EXPECT_EQ(withFile.m_strCommunity, "public");
    EXPECT_EQ(withFile.m_strHost, "");
    EXPECT_FALSE(withFile.m_bGo);
    EXPECT_EQ(withFile.m_strFileName, "notes.txt");
}

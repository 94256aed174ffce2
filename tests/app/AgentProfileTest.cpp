// Per-agent profiles as a user meets them: the profile button and its dialog
// driven by keys and clicks, walks of a real snmpd over SNMPv3, the history
// across a restart of the application, and the files it leaves behind.
#include "app/AgentProfileDlg.h"
#include "app/ChildFrame.h"
#include "app/HistoryTable.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/registry/Registry.h"
#include "snmp/AppSettings.h"
#include "support/PumpUntil.h"
#include "support/SnmpdEnvironment.h"
#include "support/TempXdg.h"
#include "treelist/WideComboBox.h"
#include "ui/ImageButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace {

[[maybe_unused]] auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

using User = CSnmpdFixture::CV3User;
const User& ShaAes() { return CSnmpdFixture::kV3Users[1]; }

// Types into an edit field as a user does, replacing what it held.
void Type(QLineEdit* pEdit, const std::string& strText)
{
    pEdit->setFocus();
    pEdit->selectAll();
    QTest::keyClick(pEdit, Qt::Key_Backspace);
    QTest::keyClicks(pEdit, QString::fromLatin1(strText.c_str()));
}

// Picks the entry of a drop-down list by keys: Home, then Down nIndex times.
void Choose(QComboBox* pCombo, int nIndex)
{
    pCombo->setFocus();
    QTest::keyClick(pCombo, Qt::Key_Home);
    for (int i = 0; i < nIndex; ++i)
        QTest::keyClick(pCombo, Qt::Key_Down);
}

// What the user does in the profile dialog once it is up.
using DialogSteps = std::function<void(CAgentProfileDlg&)>;

// Runs steps in the next modal profile dialog (they must end it) while the
// returned watch lives; *pbSeen tells whether one came.
std::unique_ptr<QTimer> WhenDialogOpens(DialogSteps steps, bool* pbSeen)
{
    auto pTimer = std::make_unique<QTimer>();
    pTimer->setInterval(10);
    QObject::connect(pTimer.get(), &QTimer::timeout, [pTimer = pTimer.get(), steps = std::move(steps), pbSeen] {
        auto* pDlg = qobject_cast<CAgentProfileDlg*>(QApplication::activeModalWidget());
        if (!pDlg)
            return;
        pTimer->stop();
        *pbSeen = true;
        steps(*pDlg);
    });
    pTimer->start();
    return pTimer;
}

template <class T>
T* Item(CAgentProfileDlg& dlg, int nId)
{
    return qobject_cast<T*>(dlg.GetDlgItem(nId));
}

void ClickButton(CAgentProfileDlg& dlg, int nId)
{
    QTest::mouseClick(Item<QPushButton>(dlg, nId), Qt::LeftButton);
}

// The user of the SHA/AES test account, as typed into the dialog.
DialogSteps EnterShaAesUser(bool bRemember)
{
    return [bRemember](CAgentProfileDlg& dlg) {
        Choose(Item<QComboBox>(dlg, CAgentProfileDlg::IDC_VERSION), 2);  // v3
        Type(Item<QLineEdit>(dlg, CAgentProfileDlg::IDC_USER), ShaAes().pszName);
        Choose(Item<QComboBox>(dlg, CAgentProfileDlg::IDC_LEVEL), 2);  // authPriv
        Choose(Item<QComboBox>(dlg, CAgentProfileDlg::IDC_AUTH), 1);   // SHA
        Type(Item<QLineEdit>(dlg, CAgentProfileDlg::IDC_AUTH_PASS), ShaAes().AuthPass());
        Choose(Item<QComboBox>(dlg, CAgentProfileDlg::IDC_PRIV), 1);  // AES
        Type(Item<QLineEdit>(dlg, CAgentProfileDlg::IDC_PRIV_PASS), ShaAes().PrivPass());
        if (bRemember) {
            Item<QCheckBox>(dlg, CAgentProfileDlg::IDC_REMEMBER)->setFocus();
            QTest::keyClick(Item<QCheckBox>(dlg, CAgentProfileDlg::IDC_REMEMBER), Qt::Key_Space);
        }
        ClickButton(dlg, IDOK);
    };
}

// Every file under strDir that holds strNeedle as text or as the registry
// export's hexadecimal bytes ("61,62,...").
std::vector<std::string> FilesHolding(const QString& strDir, const std::string& strNeedle)
{
    QByteArray hex;
    for (const char c : strNeedle)
        hex += QByteArray(1, c).toHex() + ",";
    hex.chop(1);
    std::vector<std::string> files;
    for (QDirIterator it(strDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray content = file.readAll().toLower();
        if (content.contains(QByteArray::fromStdString(strNeedle)) || content.contains(hex))
            files.push_back(file.fileName().toStdString());
    }
    return files;
}

class AgentProfile : public testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            m_boxes.push_back(text);
            return IDOK;
        });
        Start();
    }
    void TearDown() override
    {
        m_pApp.reset();
        SetMessageBoxHook({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AppSettings.Reset();
    }

    // A run of the application: the settings and the history as stored.
    void Start()
    {
        AppSettings.Reset();
        m_pApp = std::make_unique<COrvexApp>(std::vector<std::string>{});
        ASSERT_TRUE(m_pApp->InitInstance());
        AppSettings.SetBase(".1.3.6.1.2.1.1");
        AppSettings.Timeout = 3;
        AppSettings.Retries = 0;
        CMainFrame* pFrame = m_pApp->GetMainFrame();
        pFrame->resize(1000, 600);
        pFrame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pFrame));
        QApplication::setActiveWindow(pFrame);
    }
    // The run ends as at exit (settings written); a new one starts.
    void Restart()
    {
        EXPECT_EQ(m_pApp->ExitInstance(), 0);
        m_pApp.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Start();
    }

    COrvexView& View() const { return *m_pApp->GetMainFrame()->MDIGetActive()->GetActiveView(); }
    QLineEdit& HostEdit() const { return *View().HostBox().lineEdit(); }
    std::string VersionShown() const { return View().ProfileButton().text().toStdString(); }

    // Clicks the profile button; steps run in its dialog.
    void EditProfile(DialogSteps steps)
    {
        bool bSeen = false;
        const auto pWatch = WhenDialogOpens(std::move(steps), &bSeen);
        QTest::mouseClick(&View().ProfileButton(), Qt::LeftButton);
        EXPECT_TRUE(bSeen);
    }
    // Clicks Go and waits for the walk's end; the number of rows shown.
    int GoAndWait()
    {
        QTest::mouseClick(&View().GoButton(), Qt::LeftButton);
        EXPECT_TRUE(PumpUntil([&] { return View().Caption() == "Go" && !View().Grid().ThreadsRunning(); }, 15000));
        return View().Grid().GetItemCount();
    }
    // Chooses the remembered host strHost with the arrow keys, as from the list.
    void ChooseHost(const std::string& strHost)
    {
        HostEdit().setFocus();
        for (int i = 0; i < View().HostBox().count(); ++i)
            QTest::keyClick(&HostEdit(), Qt::Key_Up);
        for (int i = 0; i < View().HostBox().count() && HostEdit().text().toStdString() != strHost; ++i)
            QTest::keyClick(&HostEdit(), Qt::Key_Down);
        ASSERT_EQ(HostEdit().text().toStdString(), strHost);
    }

    CTempXdg m_xdg;
    std::unique_ptr<COrvexApp> m_pApp;
    std::vector<std::string> m_boxes;
};

} // namespace

TEST_F(AgentProfile, AHostRememberedWithV3ComesBackAfterARestartWithoutItsPassphrases)
{
    const std::string strAgent = CSnmpdEnvironment::Agent().Address();
    EXPECT_EQ(VersionShown(), "v1");  // the settings' default
    Type(&HostEdit(), strAgent);
    EditProfile(EnterShaAesUser(true));
    EXPECT_EQ(VersionShown(), "v3");
    Type(&View().CommunityBox(), "");  // a v3 walk needs no community
    EXPECT_GT(GoAndWait(), 0);
    EXPECT_EQ(m_boxes, std::vector<std::string>{});
    // Another host, set to v1, stays a v1 agent.
    Type(&HostEdit(), "other.invalid");
    Type(&View().CommunityBox(), "public");
    EditProfile([](CAgentProfileDlg& dlg) {
        Choose(Item<QComboBox>(dlg, CAgentProfileDlg::IDC_VERSION), 0);
        ClickButton(dlg, IDOK);
    });
    EXPECT_EQ(VersionShown(), "v1");
    GoAndWait();
    m_boxes.clear();

    Restart();
    for (const std::string& strSecret : {ShaAes().AuthPass(), ShaAes().PrivPass()})
        EXPECT_EQ(FilesHolding(QDir::cleanPath(m_xdg.UserHiveDir() + "/../.."), strSecret), std::vector<std::string>{})
            << strSecret;
    EXPECT_EQ(QFile(m_xdg.UserHiveFile()).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    ChooseHost(strAgent);
    EXPECT_EQ(VersionShown(), "v3");
    // The keys open the session: no dialog asks, the walk fills the tree.
    bool bAsked = false;
    {
        const auto pWatch = WhenDialogOpens([](CAgentProfileDlg& dlg) { ClickButton(dlg, IDCANCEL); }, &bAsked);
        EXPECT_GT(GoAndWait(), 0);
    }
    EXPECT_FALSE(bAsked);
    EXPECT_EQ(m_boxes, std::vector<std::string>{});
    // Choosing the other host brings its own version back.
    ChooseHost("other.invalid");
    EXPECT_EQ(VersionShown(), "v1");
    EXPECT_EQ(View().CommunityBox().text(), "public");
}

TEST_F(AgentProfile, PassphrasesNotRememberedAreAskedForWhenTheWalkStarts)
{
    const std::string strAgent = CSnmpdEnvironment::Agent().Address();
    Type(&HostEdit(), strAgent);
    EditProfile(EnterShaAesUser(false));
    EXPECT_GT(GoAndWait(), 0);
    Restart();
    ChooseHost(strAgent);
    ASSERT_EQ(VersionShown(), "v3");

    // Cancel: nothing starts.
    bool bAsked = false;
    auto pWatch = WhenDialogOpens([](CAgentProfileDlg& dlg) {
        auto* pPrompt = qobject_cast<QLabel*>(dlg.GetDlgItem(CAgentProfileDlg::IDC_PROMPT));
        ASSERT_NE(pPrompt, nullptr);
        EXPECT_EQ(pPrompt->text().toStdString(), COrvexView::kPassphrasesPrompt);
        ClickButton(dlg, IDCANCEL);
    }, &bAsked);
    QTest::mouseClick(&View().GoButton(), Qt::LeftButton);
    EXPECT_TRUE(bAsked);
    EXPECT_EQ(View().Caption(), "Go");
    EXPECT_EQ(View().Grid().GetItemCount(), 0);

    // The passphrases typed when asked: the walk runs with them.
    bAsked = false;
    pWatch = WhenDialogOpens([](CAgentProfileDlg& dlg) {
        Type(Item<QLineEdit>(dlg, CAgentProfileDlg::IDC_AUTH_PASS), ShaAes().AuthPass());
        Type(Item<QLineEdit>(dlg, CAgentProfileDlg::IDC_PRIV_PASS), ShaAes().PrivPass());
        ClickButton(dlg, IDOK);
    }, &bAsked);
    EXPECT_GT(GoAndWait(), 0);
    EXPECT_TRUE(bAsked);
    EXPECT_EQ(m_boxes, std::vector<std::string>{});
}

TEST_F(AgentProfile, AHistoryOfTheEarlierFormLoadsAndKeepsWorking)
{
    m_pApp.reset();
    // Two columns only, as every earlier version wrote them.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Orvex\\Settings\\", 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    const DWORD nCount = 2;
    RegSetValueEx(hKey, "CacheSize-Host", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nCount), sizeof nCount);
    const std::pair<const char*, const char*> cells[] = {{"Cache(Host)0-0", "old.invalid"},
                                                         {"Cache(Host)1-0", "oldcomm"},
                                                         {"Cache(Host)0-1", "older.invalid"},
                                                         {"Cache(Host)1-1", "oldercomm"}};
    for (const auto& [pszName, pszText] : cells) {
        char buf[255] = {};
        std::strncpy(buf, pszText, sizeof buf - 1);
        RegSetValueEx(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(buf), sizeof buf);
    }
    RegCloseKey(hKey);
    Start();
    AppSettings.Version = 2;
    ChooseHost("older.invalid");
    EXPECT_EQ(View().CommunityBox().text(), "oldercomm");
    EXPECT_EQ(VersionShown(), "v2c");  // no profile: the settings' version

    // A profile given to one old host leaves the other row as it was.
    ChooseHost("old.invalid");
    EditProfile([](CAgentProfileDlg& dlg) {
        Type(Item<QLineEdit>(dlg, CAgentProfileDlg::IDC_TIMEOUT), "1");
        ClickButton(dlg, IDOK);
    });
    GoAndWait();
    Restart();
    AppSettings.Version = 1;
    ChooseHost("older.invalid");
    EXPECT_EQ(View().CommunityBox().text(), "oldercomm");
    EXPECT_EQ(VersionShown(), "v1");
    ChooseHost("old.invalid");
    EXPECT_EQ(View().CommunityBox().text(), "oldcomm");
    EXPECT_EQ(VersionShown(), "v2c");  // remembered from the run before
}

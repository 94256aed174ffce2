// The find bar in a whole main window, driven by keys: Ctrl+F, typing, Enter,
// F3 and Shift+F3, Escape; find and filter on trees walked from a real snmpd,
// and find while a walk is still running.
#include "app/ChildFrame.h"
#include "app/FindBar.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/FakeAgent.h"
#include "support/SnmpdEnvironment.h"
#include "support/TempXdg.h"
#include "tests/treelist/TreeTestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

using namespace treetest;

namespace {

[[maybe_unused]] auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

bool WaitFor(const std::function<bool()>& pred, int nMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < nMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return pred();
}

Node* ByLabel(const CTreeListCtrl& c, const std::string& label)
{
    for (Node* p : AllNodes(c))
        if (c.InfoOf(p)->GetText() == label)
            return p;
    return nullptr;
}

// Every node's label and expansion, and the rows.
std::pair<std::vector<std::pair<std::string, BOOL>>, Strings> Snapshot(const CTreeListCtrl& c)
{
    std::vector<std::pair<std::string, BOOL>> nodes;
    for (Node* p : AllNodes(c))
        nodes.emplace_back(c.InfoOf(p)->GetText(), c.HasChildren(p) ? c.IsCollapsed(p) : FALSE);
    return {nodes, RowLabels(c)};
}

class FindBar : public testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            m_boxes.push_back(text);
            return IDOK;
        });
        AppSettings.Reset();
        ASSERT_TRUE(m_app.InitInstance());
        // After the start-up, which loads the settings.
        AppSettings.SetBase(".1.3.6.1.2.1.1");
        AppSettings.Timeout = 2;
        AppSettings.Retries = 0;
        CMainFrame* pFrame = m_app.GetMainFrame();
        auto* pChild = qobject_cast<CChildFrame*>(pFrame->MdiArea()->subWindowList().value(0));
        ASSERT_NE(pChild, nullptr);
        m_pView = pChild->GetActiveView();
        pFrame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pFrame));
        QApplication::setActiveWindow(pFrame);
        Grid().setFocus();
    }
    void TearDown() override
    {
        SetMessageBoxHook({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    COidTreeGrid& Grid() { return m_pView->Grid(); }
    CFindBar& Bar() { return m_pView->FindBar(); }
    std::string Selected() { return Grid().GetItemText(Grid().SelectedRow(), 0); }
    bool Idle() { return m_pView->Caption() == "Go" && !Grid().ThreadsRunning(); }

    void Walk(const std::string& strAgent)
    {
        m_pView->SetQuery(strAgent, "public");
        m_pView->OnGo();
        ASSERT_TRUE(WaitFor([&] { return Idle() && Grid().HasRoots(); }));
        Grid().setFocus();
    }
    // Keys go where the user's focus is.
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void Type(const char* pszText) { QTest::keyClicks(QApplication::focusWidget(), pszText); }
    void Retype(const char* pszText)
    {
        Bar().FindBox().selectAll();
        Type(pszText);
    }

    CTempXdg m_xdg;
    COrvexApp m_app{std::vector<std::string>{}};
    COrvexView* m_pView = nullptr;  // Not owned.
    std::vector<std::string> m_boxes;
};

} // namespace

TEST_F(FindBar, FindWithTheKeysOfTheWindow)
{
    Walk(CSnmpdEnvironment::Agent().Address());
    ASSERT_EQ(Grid().GetItemCount(), 1);  // "system", collapsed
    EXPECT_TRUE(Bar().isHidden());

    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Bar().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), &Bar().FindBox());
    EXPECT_GE(Grid().geometry().top(), Bar().geometry().bottom());

    // Typing finds as it goes, without regard to case, inside the collapsed top node.
    Type("SYSNAME");
    EXPECT_EQ(Selected(), "sysName.0");
    EXPECT_FALSE(Grid().IsCollapsed(Grid().RootAt(0)));
    EXPECT_EQ(Bar().Message(), "");
    // The only match: F3 goes round to it again and says so.
    Key(Qt::Key_F3);
    EXPECT_EQ(Selected(), "sysName.0");
    EXPECT_EQ(Bar().Message(), "Passed the last row; went on from the first");
    Type("X");
    EXPECT_EQ(Bar().Message(), CFindBar::kNoMatch);
    EXPECT_EQ(Selected(), "sysName.0");

    // Match case.
    QTest::mouseClick(&Bar().MatchCaseBox(), Qt::LeftButton);
    Bar().FindBox().setFocus();
    Retype("SYSNAME");
    EXPECT_EQ(Bar().Message(), CFindBar::kNoMatch);
    Retype("sysName");
    EXPECT_EQ(Selected(), "sysName.0");
    QTest::mouseClick(&Bar().MatchCaseBox(), Qt::LeftButton);
    Bar().FindBox().setFocus();

    // Enter and F3 go forwards, Shift+F3 and Shift+Enter backwards, round the ends.
    Retype("sysOR");
    const std::string strFirst = Selected();
    Key(Qt::Key_Return);
    const std::string strSecond = Selected();
    EXPECT_NE(strSecond, strFirst);
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), strFirst);
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Bar().Message(), "Passed the first row; went on from the last");
    EXPECT_NE(Selected(), strFirst);
    Key(Qt::Key_F3);
    EXPECT_EQ(Selected(), strFirst);
    EXPECT_EQ(Bar().Message(), "Passed the last row; went on from the first");

    // A bad regular expression is shown in the bar; nothing moves.
    QTest::mouseClick(&Bar().RegexBox(), Qt::LeftButton);
    Bar().FindBox().setFocus();
    Retype("sys(Name");
    EXPECT_EQ(Bar().Message().rfind("Bad regular expression: ", 0), 0u) << Bar().Message();
    EXPECT_EQ(Selected(), strFirst);
    Retype("^sys(Name|Contact)\\.0$");
    EXPECT_EQ(Selected(), "sysContact.0");
    Key(Qt::Key_F3);
    EXPECT_EQ(Selected(), "sysName.0");

    // Escape closes the bar and hands the keys back to the grid.
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Bar().isHidden());
    EXPECT_EQ(QApplication::focusWidget(), &Grid());
    EXPECT_EQ(Grid().geometry().top(), COrvexView::kBarHeight);
    // F3 repeats the last find with the bar closed.
    Key(Qt::Key_F3);
    EXPECT_EQ(Selected(), "sysContact.0");
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(FindBar, FilterAWalkOfSnmpdAndClearItBackToTheSameTree)
{
    Walk(CSnmpdEnvironment::Agent().Address());
    Node* pSystem = Grid().RootAt(0);
    Grid().ExpandNode(pSystem, 0);
    Node* pTable = ByLabel(Grid(), "sysORTable.sysOREntry");
    ASSERT_NE(pTable, nullptr);
    Grid().ExpandNode(pTable, Grid().RowOfNode(pTable));
    const auto before = Snapshot(Grid());
    ASSERT_EQ(Check(Grid()), "");

    Key(Qt::Key_F, Qt::ControlModifier);
    Bar().FilterBox().setFocus();
    Type("sysname");
    Key(Qt::Key_Return);
    EXPECT_EQ(RowLabels(Grid()), (Strings{"system", "sysName.0"}));
    EXPECT_EQ(Bar().Message(), "Filter: 1 match");
    EXPECT_EQ(Check(Grid()), "");
    // The OID column is searched; the type column is not.
    Bar().FilterBox().selectAll();
    Type(".1.3.6.1.2.1.1.5.0");
    Key(Qt::Key_Return);
    EXPECT_EQ(RowLabels(Grid()), (Strings{"system", "sysName.0"}));
    Bar().FilterBox().selectAll();
    Type("OCTETSTRING");
    Key(Qt::Key_Return);
    EXPECT_EQ(Bar().Message(), CFindBar::kNoMatch);
    EXPECT_EQ(Grid().GetItemCount(), 0);

    // Copy and print take what is shown.
    Bar().FilterBox().selectAll();
    Type("sysname");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid().CountPrintRows(), 2);
    Grid().CopyTreeAsText();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("system\t"));
    EXPECT_TRUE(lines[1].startsWith("sysName.0\tOCTETSTRING\t"));

    // Typing pauses apply the filter too; an empty field restores the tree.
    Bar().FilterBox().selectAll();
    Type("sysLocation");
    ASSERT_TRUE(WaitFor([&] { return RowLabels(Grid()).back() == "sysLocation.0"; }));
    EXPECT_EQ(RowLabels(Grid()), (Strings{"system", "sysLocation.0"}));
    Bar().FilterBox().selectAll();
    Key(Qt::Key_Delete);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid().IsFiltered());
    EXPECT_EQ(Snapshot(Grid()), before);
    EXPECT_EQ(Check(Grid()), "");

    // Closing the bar clears a filter as well.
    Type("sysOR");
    Key(Qt::Key_Return);
    EXPECT_TRUE(Grid().IsFiltered());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid().IsFiltered());
    EXPECT_EQ(Snapshot(Grid()), before);
    EXPECT_EQ(Check(Grid()), "");
    EXPECT_TRUE(m_boxes.empty());
}

// The agent holds its answer to the fourth request until the test lets it go.
TEST_F(FindBar, FindWhileTheWalkRuns)
{
    AppSettings.Timeout = 120;  // the held request must not time out however slow the machine
    const std::vector<CFakeAgent::CVar> table = {
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "test box"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.4.0", 0x04, "admin"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "box1"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.6.0", 0x04, "lab"),
    };
    std::atomic<bool> bRelease{false};
    CFakeAgent agent([&](const CFakeAgent::CRequest& request, std::size_t nIndex) {
        while (nIndex >= 3 && !bRelease.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return CFakeAgent::NextFrom(table, request);
    });
    struct CRelease
    {
        std::atomic<bool>& bFlag;
        ~CRelease() { bFlag = true; }
    } release{bRelease};

    m_pView->SetQuery(agent.Address(), "public");
    m_pView->OnGo();
    ASSERT_TRUE(WaitFor([&] { return ByLabel(Grid(), "sysName") != nullptr; }));
    Node* pTop = Grid().RootAt(0);
    ASSERT_EQ(Grid().InfoOf(pTop)->GetText(), "system (Querying...)");
    Grid().setFocus();

    Key(Qt::Key_F, Qt::ControlModifier);
    Type("admin");  // a value that has arrived
    EXPECT_EQ(Selected(), "system (Querying...)");
    EXPECT_TRUE(Grid().IsCollapsed(pTop));
    EXPECT_EQ(Bar().Message(),
              "Found inside \"system (Querying...)\", which opens once its query or cleaning has ended");
    Retype("lab");  // one that has not
    EXPECT_EQ(Bar().Message(), CFindBar::kNoMatch);

    bRelease = true;
    ASSERT_TRUE(WaitFor([&] { return Idle() && Grid().InfoOf(Grid().RootAt(0))->GetText() == "system"; }));
    Key(Qt::Key_F3);
    EXPECT_EQ(Selected(), "sysLocation.0");
    EXPECT_EQ(Bar().Message(), "");
    EXPECT_EQ(Check(Grid()), "");
    EXPECT_TRUE(m_boxes.empty());
}

// A filter set before the walk: nodes arrive and are cleaned behind it, and the
// end of the query runs it again over the cleaned labels.
TEST_F(FindBar, AFilterStaysOnThroughAWalkAndItsCleaning)
{
    Key(Qt::Key_F, Qt::ControlModifier);
    Bar().FilterBox().setFocus();
    Type("sysname");
    Key(Qt::Key_Return);
    EXPECT_EQ(Bar().Message(), CFindBar::kNoMatch);  // nothing walked yet

    m_pView->SetQuery(CSnmpdEnvironment::Agent().Address(), "public");
    m_pView->OnGo();
    ASSERT_TRUE(WaitFor([&] { return Idle() && Grid().HasRoots(); }));
    EXPECT_TRUE(Grid().IsFiltered());
    EXPECT_EQ(RowLabels(Grid()), (Strings{"system", "sysName.0"}));
    EXPECT_EQ(Bar().Message(), "Filter: 1 match");
    EXPECT_EQ(Check(Grid()), "");

    Bar().FilterBox().setFocus();
    Key(Qt::Key_Escape);
    EXPECT_EQ(RowLabels(Grid()), (Strings{"system"}));
    EXPECT_TRUE(Grid().IsCollapsed(Grid().RootAt(0)));
    EXPECT_EQ(Check(Grid()), "");
    EXPECT_TRUE(m_boxes.empty());
}

// The status bar's first pane during and after a walk of a real agent, in the
// whole application window: typed into the query bar, started with Enter.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/PumpUntil.h"
#include "support/SnmpdFixture.h"
#include "support/TempXdg.h"
#include "treelist/WideComboBox.h"
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WalkStatus : public testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        ASSERT_TRUE(m_agent.IsRunning()) << m_agent.Error();
        ASSERT_TRUE(m_app.InitInstance());
        m_pFrame = m_app.GetMainFrame();
        auto* pChild = qobject_cast<CChildFrame*>(m_pFrame->MdiArea()->subWindowList().value(0));
        ASSERT_NE(pChild, nullptr);
        m_pView = pChild->GetActiveView();
        AppSettings.SetBase(".1.3");
        AppSettings.Version = 2;
        AppSettings.MaxRepetitions = 10;
        SetMessageBoxHook([this](HWND, const std::string& strText, const std::string&, UINT) {
            m_boxes.push_back(strText);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHook({});
        m_agent.Resume();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AppSettings.Reset();
    }

    // Types host and community into the bar and presses Enter in the community box.
    void Go(const std::string& strHost, const std::string& strCommunity)
    {
        QLineEdit* pHostEdit = m_pView->HostBox().lineEdit();
        pHostEdit->clear();
        QTest::keyClicks(pHostEdit, QString::fromStdString(strHost));
        m_pView->CommunityBox().clear();
        QTest::keyClicks(&m_pView->CommunityBox(), QString::fromStdString(strCommunity));
        QTest::keyClick(&m_pView->CommunityBox(), Qt::Key_Return);
    }
    QString Pane() const { return m_pFrame->statusBar()->currentMessage(); }
    bool PaneMatches(const char* pszPattern) const { return QRegularExpression(pszPattern).match(Pane()).hasMatch(); }

    CTempXdg m_xdg;
    CSnmpdFixture m_agent;
    COrvexApp m_app{std::vector<std::string>{}};
    CMainFrame* m_pFrame = nullptr;  // Not owned.
    COrvexView* m_pView = nullptr;   // Not owned.
    std::vector<std::string> m_boxes;
};

} // namespace

TEST_F(WalkStatus, CountRateAndTimeWhileItRunsThenTheTotal)
{
    EXPECT_EQ(Pane(), "Ready");
    Go(m_agent.Address(), "public");
    ASSERT_EQ(m_pView->Caption(), "Stop");
    // Held in the middle: the agent is stopped once the first answers are in.
    ASSERT_TRUE(PumpUntil([&] { return m_pView->Grid().Progress().Records() >= 10; }, 20000));
    m_agent.Pause();
    ASSERT_TRUE(PumpUntil([&] { return PaneMatches("^\\d+ variables received, \\d+ per second, \\d+\\.\\d s so far$"); },
                          5000))
        << Pane().toStdString();
    m_agent.Resume();
    ASSERT_TRUE(PumpUntil([&] { return PaneMatches("^\\d+ variables in \\d+\\.\\d\\d s$"); }, 60000))
        << Pane().toStdString();
    const std::uint64_t nRecords = m_pView->Grid().Progress().Records();
    EXPECT_GT(nRecords, 500u);
    EXPECT_TRUE(Pane().startsWith(QString::number(nRecords) + " variables in ")) << Pane().toStdString();
    EXPECT_TRUE(m_boxes.empty());

    // A menu prompt borrows the pane; the walk's text comes back after it.
    QStatusTipEvent prompt("Create a new document");
    QCoreApplication::sendEvent(m_pFrame, &prompt);
    EXPECT_EQ(Pane(), "Create a new document");
    QStatusTipEvent none("");
    QCoreApplication::sendEvent(m_pFrame, &none);
    EXPECT_TRUE(Pane().startsWith(QString::number(nRecords) + " variables in ")) << Pane().toStdString();
}

TEST_F(WalkStatus, AnErrorIsTheTextAtTheEnd)
{
    Go("[::1", "public");
    ASSERT_TRUE(PumpUntil([&] { return !m_boxes.empty(); }, 20000));
    ASSERT_TRUE(PumpUntil([&] { return Pane().startsWith("Error: Malformed host, [::1;"); }, 5000))
        << Pane().toStdString();
    EXPECT_FALSE(Pane().contains('\n'));
}

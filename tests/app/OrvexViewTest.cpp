#include "app/CmdUI.h"
#include "app/HistoryTable.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/ResourceIds.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/PumpUntil.h"
#include "support/SnmpdEnvironment.h"
#include "support/TempXdg.h"
#include "tests/grid/OidTreeGridTestPeer.h"
#include "treelist/WideComboBox.h"
#include "ui/ImageButton.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

[[maybe_unused]] auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

constexpr const char* kSystemGroup = ".1.3.6.1.2.1.1";

// Runs the event loop until pred holds or nMs passed; the final value of pred.
bool WaitFor(const std::function<bool()>& pred, int nMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < nMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return pred();
}

class OrvexView : public testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        AppSettings.SetBase(kSystemGroup);
        AppSettings.Timeout = 2;
        AppSettings.Retries = 0;
        g_history.Init("Host", 2, 30);
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            m_boxes.push_back(text);
            return IDOK;
        });
        m_pView = NewView(m_doc);
    }
    void TearDown() override
    {
        m_pView.reset();
        SetMessageBoxHook({});
        g_history.Release();
        AppSettings.Reset();
    }
    static std::unique_ptr<COrvexView> NewView(COrvexDoc& doc)
    {
        auto pView = std::make_unique<COrvexView>(&doc);
        pView->resize(800, 500);
        pView->show();
        return pView;
    }
    static std::string Agent() { return CSnmpdEnvironment::Agent().Address(); }
    static bool Idle(COrvexView& view)
    {
        return view.Caption() == "Go" && view.GoButton().isEnabled();
    }

    CTempXdg m_xdg;
    COrvexDoc m_doc;
    std::unique_ptr<COrvexView> m_pView;
    std::vector<std::string> m_boxes;
};

TEST_F(OrvexView, GoNeedsHostAndCommunityAndChangesNothingWithout)
{
    for (const auto& [host, community] : {std::pair{"", "public"}, std::pair{"10.0.0.1", ""}}) {
        m_pView->SetQuery(host, community);
        m_pView->OnGo();
        EXPECT_EQ(m_boxes.back(), COrvexView::kRequiredText);
        EXPECT_EQ(m_pView->Caption(), "Go");
        EXPECT_TRUE(m_pView->GoButton().isEnabled());
    }
    EXPECT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(g_history.Count(), 0);
    EXPECT_EQ(m_doc.GetTitle(), "");
    EXPECT_FALSE(m_pView->Grid().ThreadsRunning());
}

TEST_F(OrvexView, QueryBarLayoutAt400Pixels)
{
    // avail 310: two thirds leave the community only 104, so the bar splits in halves.
    const CQueryBarLayout layout = CQueryBarLayout::Compute(400, 300, QSize(24, 14), QSize(60, 14));
    EXPECT_EQ(layout.rcGrid, QRect(-1, 28, 400, 272));
    EXPECT_EQ(layout.rcHostLabel, QRect(7, 11, 24, 14));
    EXPECT_EQ(layout.rcHost, QRect(38, 5, 155 - 38, 20));
    // The label leaves 4 pixels before its box instead of running into it.
    EXPECT_EQ(layout.rcCommLabel, QRect(239 - 4 - 60, 11, 60, 14));
    // The profile button takes the right end of the community's share.
    EXPECT_EQ(layout.rcCommunity, QRect(155 + 60 + 14 + 10, 5, 155 - 74 - 10 - 36 - 4, 20));
    EXPECT_EQ(layout.rcProfile, QRect(layout.rcCommunity.right() + 1 + 4, 5, 36, 20));
    EXPECT_EQ(layout.rcProfile.right(), 155 + 155 - 1);
    EXPECT_EQ(layout.rcButton, QRect(330, 5, 63, 20));
    // Wide enough for the two-thirds split.
    EXPECT_EQ(CQueryBarLayout::Compute(800, 300, QSize(24, 14), QSize(60, 14)).rcCommunity.left(), 472 + 60 + 14 + 10);

    m_pView->resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_pView->Grid().geometry(), QRect(-1, 28, 400, 272));
    EXPECT_EQ(m_pView->GoButton().geometry().left(), 330);
    EXPECT_EQ(m_pView->HostBox().geometry().right() + 1, 155);
}

TEST_F(OrvexView, HostHistoryOrderCaseAndCommunityOfChosenRow)
{
    // Names under .invalid fail at once, without asking any resolver.
    for (const auto& [host, community] : {std::pair{"R1.invalid", "A"}, std::pair{"R2.invalid", "C"},
                                          std::pair{"r1.invalid", "B"}}) {
        m_pView->SetQuery(host, community);
        m_pView->OnGo();
        ASSERT_TRUE(WaitFor([&] { return Idle(*m_pView); }));
    }
    ASSERT_EQ(g_history.Count(), 2);
    EXPECT_EQ(g_history.Cell(0, 0), "r1.invalid");
    EXPECT_EQ(g_history.Cell(1, 0), "B");
    EXPECT_EQ(g_history.Cell(0, 1), "R2.invalid");
    EXPECT_EQ(m_doc.GetTitle(), "r1.invalid");
    EXPECT_EQ(m_boxes.size(), 3u);  // each walk's error text

    g_history.AddEntry({"h3", "c3"});
    // Typed text that is no entry is gone after the rebuild; an entry in other case is chosen.
    m_pView->HostBox().setEditText("nowhere");
    m_pView->FillHostList();
    EXPECT_EQ(m_pView->HostBox().count(), 3);
    EXPECT_EQ(m_pView->HostBox().currentText(), "");
    m_pView->HostBox().setEditText("R1.INVALID");
    m_pView->FillHostList();
    EXPECT_EQ(m_pView->HostBox().currentIndex(), 1);
    EXPECT_EQ(m_pView->HostBox().currentText(), "r1.invalid");
    // The third entry is history row 2.
    emit m_pView->HostBox().activated(2);
    EXPECT_EQ(m_pView->CommunityBox().text(), "C");
}

TEST_F(OrvexView, WalkWithCleaningEndsOnQueryEndedAndEnterStartsIt)
{
    m_pView->SetQuery(Agent(), "public");
    QTest::keyClick(&m_pView->CommunityBox(), Qt::Key_Return);
    EXPECT_EQ(m_pView->Caption(), "Stop");
    ASSERT_TRUE(WaitFor([&] { return m_pView->Caption() == "Go"; }));
    EXPECT_TRUE(m_pView->GoButton().isEnabled());
    EXPECT_TRUE(m_pView->Grid().HasRoots());
    EXPECT_GT(m_pView->Grid().GetItemCount(), 0);
    EXPECT_EQ(m_doc.GetTitle(), Agent());
    EXPECT_TRUE(m_boxes.empty());

    // A second query replaces the tree rather than adding to it.
    const int nRows = m_pView->Grid().GetItemCount();
    m_pView->OnGo();
    ASSERT_TRUE(WaitFor([&] { return m_pView->Caption() == "Go"; }));
    EXPECT_EQ(m_pView->Grid().GetItemCount(), nRows);
}

TEST_F(OrvexView, EveryEndOfAWalkTurnsTheButtonBackToGo)
{
    // Cleaning off, and a base that is a leaf: the walk returns nothing.
    for (const char* pszBase : {kSystemGroup, ".1.3.6.1.2.1.1.1.0"}) {
        for (BYTE bCleaning : {BYTE{0}, BYTE{1}}) {
            AppSettings.Cleaning = bCleaning;
            AppSettings.SetBase(pszBase);
            m_pView->SetQuery(Agent(), "public");
            QTest::mouseClick(&m_pView->GoButton(), Qt::LeftButton);
            EXPECT_EQ(m_pView->Caption(), "Stop");
            EXPECT_TRUE(WaitFor([&] { return Idle(*m_pView); })) << pszBase << " cleaning " << int(bCleaning);
            EXPECT_EQ(m_pView->Grid().HasRoots(), pszBase == kSystemGroup);
        }
    }
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(OrvexView, EditCommandsFollowTheGridAndTwoViewsWalkSideBySide)
{
    CCmdUI expandAll(ID_EXPAND_ALL), copy(ID_COPY_TREE), unknown(ID_APP_ABOUT);
    EXPECT_TRUE(m_pView->OnUpdateCommand(expandAll));
    EXPECT_FALSE(expandAll.m_bEnabled);
    EXPECT_TRUE(m_pView->OnUpdateCommand(copy));
    EXPECT_TRUE(copy.m_bEnabled);
    EXPECT_FALSE(m_pView->OnUpdateCommand(unknown));

    CSnmpdFixture second;
    ASSERT_TRUE(second.IsRunning()) << second.Error();
    COrvexDoc doc2;
    std::unique_ptr<COrvexView> pView2 = NewView(doc2);
    m_pView->SetQuery(Agent(), "public");
    pView2->SetQuery(second.Address(), "public");
    m_pView->OnGo();
    pView2->OnGo();
    EXPECT_TRUE(pView2->Caption() == "Stop" && m_pView->Caption() == "Stop");
    ASSERT_TRUE(WaitFor([&] { return Idle(*m_pView) && Idle(*pView2); }));
    EXPECT_EQ(m_doc.GetTitle(), Agent());
    EXPECT_EQ(doc2.GetTitle(), second.Address());
    EXPECT_EQ(m_pView->Grid().GetItemCount(), pView2->Grid().GetItemCount());
    EXPECT_TRUE(m_boxes.empty());

    CCmdUI expandAgain(ID_EXPAND_ALL);
    m_pView->OnUpdateCommand(expandAgain);
    EXPECT_TRUE(expandAgain.m_bEnabled);
    const int nBefore = m_pView->Grid().GetItemCount();
    EXPECT_TRUE(m_pView->OnCommand(ID_EXPAND_ALL));
    EXPECT_GT(m_pView->Grid().GetItemCount(), nBefore);
    EXPECT_TRUE(m_pView->OnCommand(ID_COLLAPSE_ALL));
    ASSERT_TRUE(PumpUntil([&] { return !m_pView->Grid().IsWholeTreeJobRunning(); }, 60000));
    EXPECT_EQ(m_pView->Grid().GetItemCount(), m_pView->Grid().RootCount());
    EXPECT_EQ(pView2->Grid().GetItemCount(), nBefore);  // the other window is untouched
}

} // namespace

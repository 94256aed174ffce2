// A document window used as a user uses it: the whole main frame, mouse and
// keys sent to the grid's viewport, the Host box and the Go/Stop button,
// against a fake agent.
#include "app/ChildFrame.h"
#include "app/HistoryTable.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/ResourceIds.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/FakeAgent.h"
#include "support/MainWindowTest.h"
#include "support/PumpUntil.h"
#include "support/TempXdg.h"
#include "tests/treelist/TreeTestUtil.h"
#include "treelist/WideComboBox.h"
#include "ui/HtmlToolTip.h"
#include "ui/ImageButton.h"

#include <QApplication>
#include <condition_variable>
#include <mutex>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using treetest::CellPoint;
using treetest::DoubleClick;

// A small agent: the system group and a two-row interface table.
std::vector<CFakeAgent::CVar> SmallMib(const std::string& strDescr = "test agent")
{
    return {
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, strDescr),
        CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 12345),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "box"),
        CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 2),
        CFakeAgent::Bytes(".1.3.6.1.2.1.2.2.1.2.1", 0x04, "eth0"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.2.2.1.2.2", 0x04, "eth1"),
        CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.3.1", 0x02, 6),
        CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.3.2", 0x02, 24),
    };
}

// Answers GET-NEXT from table; from request nSilentFrom on, nothing more.
CFakeAgent::Script TableAgent(std::vector<CFakeAgent::CVar> table, std::size_t nSilentFrom = SIZE_MAX)
{
    return [table = std::move(table), nSilentFrom](const CFakeAgent::CRequest& request, std::size_t nIndex) {
        if (nIndex >= nSilentFrom) {
            CFakeAgent::CAnswer silent;
            silent.eKind = CFakeAgent::CAnswer::Kind::Silent;
            return silent;
        }
        return CFakeAgent::NextFrom(table, request);
    };
}

// Answers GET-NEXT from table; from request nHoldFrom on, each answer waits
// until Release (the agent's thread blocks, the walk waits for its answer).
class CHeldAgent
{
public:
    CHeldAgent(std::vector<CFakeAgent::CVar> table, std::size_t nHoldFrom)
        : m_agent([this, table = std::move(table), nHoldFrom](const CFakeAgent::CRequest& request, std::size_t nIndex) {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (nIndex >= nHoldFrom)
                  m_cvOpen.wait(lock, [this] { return m_bOpen; });
              return CFakeAgent::NextFrom(table, request);
          })
    {
    }
    ~CHeldAgent() { Release(); }
    void Release()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bOpen = true;
        m_cvOpen.notify_all();
    }
    CFakeAgent& Agent() { return m_agent; }

private:
    std::mutex m_mutex;
    std::condition_variable m_cvOpen;
    bool m_bOpen = false;
    CFakeAgent m_agent;  // last: its thread ends before the gate goes
};

class QueryWindow : public CMainWindowTest
{
protected:
    QWidget* Viewport() const { return Grid().viewport(); }
    QLineEdit& HostEdit() const { return *View().HostBox().lineEdit(); }
    void ClickGo() const { QTest::mouseClick(&View().GoButton(), Qt::LeftButton); }
    // Types host and community and clicks Go.
    void Query(const std::string& strHost, const std::string& strCommunity = "public")
    {
        Type(HostEdit(), strHost);
        Type(View().CommunityBox(), strCommunity);
        ClickGo();
    }
    bool WaitForGo() const { return WaitForQuery(View()); }
    // The grid has the keyboard focus, as after a click into it.
    void FocusGrid() const
    {
        Grid().setFocus();
        QApplication::processEvents();
    }
    void Pump() const
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    int RowOf(const std::string& strLabel) const
    {
        for (int nRow = 0; nRow < Grid().GetItemCount(); ++nRow)
            if (Grid().GetItemText(nRow, 0) == strLabel)
                return nRow;
        return -1;
    }
};

// --- Enter and double-click belong to the grid -------------------------------

TEST_F(QueryWindow, DoubleClickAndEnterInAFinishedTreeNeverWalkAgain)
{
    CFakeAgent agent(TableAgent(SmallMib()));
    Query(agent.Address());
    ASSERT_TRUE(WaitForGo());
    ASSERT_EQ(Grid().GetItemCount(), 2);
    const std::size_t nRequests = agent.RequestCount();

    // A double-click on a parent row's label expands it, and nothing more.
    DoubleClick(Viewport(), CellPoint(Grid(), 0, 0));
    Pump();
    EXPECT_EQ(View().Caption(), "Go");
    EXPECT_EQ(Grid().GetItemText(0, 0), "system");
    EXPECT_EQ(Grid().GetItemCount(), 5);

    // Enter on a leaf's MIB, Type and OID cells opens nothing and starts nothing.
    const int nLeaf = RowOf("sysDescr.0");
    ASSERT_NE(nLeaf, -1);
    for (int nColumn : {0, 1, 3}) {
        QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nLeaf, nColumn));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        Pump();
        EXPECT_EQ(View().Caption(), "Go") << nColumn;
        EXPECT_EQ(QApplication::focusWidget(), &Grid()) << "no editor on column " << nColumn;
    }
    // Nor on a parent row, nor on a Value cell with writing off.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), 0, 2));
    QTest::keyClick(&Grid(), Qt::Key_Enter);
    AppSettings.WriteOn = 0;
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nLeaf, 2));
    QTest::keyClick(&Grid(), Qt::Key_Return);
    DoubleClick(Viewport(), CellPoint(Grid(), nLeaf, 2));
    Pump();
    EXPECT_EQ(View().Caption(), "Go");
    EXPECT_EQ(Grid().GetItemCount(), 5);
    EXPECT_EQ(agent.RequestCount(), nRequests);
    EXPECT_TRUE(m_boxes.empty());

    // With writing on, the Value cell of a leaf still opens its editor.
    AppSettings.WriteOn = 1;
    DoubleClick(Viewport(), CellPoint(Grid(), nLeaf, 2));
    Pump();
    auto* pEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(pEditor, nullptr);
    EXPECT_EQ(pEditor->text(), "test agent");
    QTest::keyClick(pEditor, Qt::Key_Escape);
    EXPECT_EQ(View().Caption(), "Go");
}

TEST_F(QueryWindow, EnterAndDoubleClickInTheGridNeverStopARunningWalk)
{
    AppSettings.Timeout = 30;  // the third request stays unanswered throughout
    CFakeAgent agent(TableAgent(SmallMib(), 2));
    Query(agent.Address());
    ASSERT_TRUE(agent.WaitForRequests(3));
    ASSERT_TRUE(PumpUntil([&] { return Grid().GetItemCount() == 1; }));
    ASSERT_EQ(View().Caption(), "Stop");

    FocusGrid();
    QTest::keyClick(&Grid(), Qt::Key_Return);  // nothing selected yet
    DoubleClick(Viewport(), CellPoint(Grid(), 0, 1));
    QTest::keyClick(&Grid(), Qt::Key_Return);
    Pump();
    EXPECT_EQ(View().Caption(), "Stop");
    EXPECT_EQ(Grid().GetItemCount(), 1);
    EXPECT_EQ(agent.RequestCount(), 3u);
}

// --- The Host box ----------------------------------------------------------------

TEST_F(QueryWindow, TheHostIsWalkedExactlyAsTyped)
{
    CFakeAgent agent(TableAgent(SmallMib()));
    // A remembered host that begins with the agent's address (and cannot be reached).
    g_history.AddEntry({agent.Address() + "9.invalid", "other"});
    View().FillHostList();
    Query(agent.Address());
    EXPECT_EQ(HostEdit().text().toStdString(), agent.Address());
    ASSERT_TRUE(WaitForGo());
    EXPECT_EQ(View().GetDocument()->GetTitle(), agent.Address());
    EXPECT_EQ(g_history.Cell(0, 0), agent.Address());
    EXPECT_GT(agent.RequestCount(), 0u);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(QueryWindow, TheCommunityAlwaysBelongsToTheHostShown)
{
    g_history.AddEntry({"a.invalid", "ca"});
    g_history.AddEntry({"b.invalid", "cb"});
    g_history.AddEntry({"c.invalid", "cc"});
    View().FillHostList();  // c, b, a
    // A query moves a.invalid to the top of the history.
    Query("a.invalid", "ca");
    ASSERT_TRUE(WaitForGo());
    ASSERT_EQ(g_history.Cell(0, 0), "a.invalid");

    const auto ExpectCommunityOfShownHost = [&](const char* pszStep) {
        const std::string strHost = HostEdit().text().toStdString();
        const int nRow = g_history.FindRow(strHost);
        ASSERT_NE(nRow, -1) << pszStep;
        EXPECT_EQ(View().CommunityBox().text().toStdString(), g_history.Cell(1, nRow)) << pszStep;
    };
    // Choosing entries with the arrow keys, without opening the list.
    HostEdit().setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}) {
        QTest::keyClick(&HostEdit(), key);
        ExpectCommunityOfShownHost(key == Qt::Key_Down ? "down" : "up");
    }
    // Typing a known host and leaving the box.
    for (const char* pszHost : {"b.invalid", "C.INVALID", "a.invalid"}) {
        Type(HostEdit(), pszHost);
        QTest::keyClick(&HostEdit(), Qt::Key_Tab);
        EXPECT_EQ(HostEdit().text().toStdString(), pszHost);
        EXPECT_EQ(View().CommunityBox().text().toStdString(),
                  std::string("c") + static_cast<char>(std::tolower(pszHost[0])))
            << pszHost;
    }
    // A host that is not remembered leaves the community as it is.
    View().CommunityBox().setText("mine");
    Type(HostEdit(), "new.invalid");
    QTest::keyClick(&HostEdit(), Qt::Key_Tab);
    EXPECT_EQ(View().CommunityBox().text(), "mine");
}

// --- Tooltip, colours and columns ----------------------------------------------

TEST_F(QueryWindow, ShortenedCellsShowTheirTooltipAfterTheFirstWindowClosed)
{
    CFakeAgent agent(TableAgent(SmallMib(std::string(400, 'd') + "<end")));
    ASSERT_TRUE(m_pFrame->RouteCommand(ID_FILE_NEW));
    ASSERT_EQ(m_pFrame->MdiArea()->subWindowList().size(), 2);
    m_pFrame->MdiArea()->subWindowList(QMdiArea::CreationOrder).first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m_pFrame->MdiArea()->subWindowList().size(), 1);

    Query(agent.Address());
    ASSERT_TRUE(WaitForGo());
    DoubleClick(Viewport(), CellPoint(Grid(), 0, 0));
    const int nRow = RowOf("sysDescr.0");
    ASSERT_NE(nRow, -1);
    Viewport()->repaint();
    treetest::MouseMove(Viewport(), CellPoint(Grid(), nRow, 2), Qt::NoButton);
    CHtmlToolTip* pTip = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (pTip = CHtmlToolTip::Shared()) && pTip->isVisible(); }, 3000));
    if (pTip) {
        EXPECT_EQ(pTip->text(), CHtmlToolTip::ToRichText(std::string(400, 'd') + "<<end"));
    }
}

// The darkest pixel of a cell of the grid's picture, as 0..255 luminance.
int DarkestIn(const QImage& image, const CRect& rc)
{
    int nDarkest = 255;
    for (int y = rc.top + 1; y < rc.bottom - 1; ++y)
        for (int x = rc.left + 1; x < rc.right - 1; ++x)
            nDarkest = std::min(nDarkest, qGray(image.pixel(x, y)));
    return nDarkest;
}

TEST_F(QueryWindow, TextOnInferredCellsOfTheSelectedRowStaysReadable)
{
    AppSettings.Cleaning = 0;
    CFakeAgent agent(TableAgent(SmallMib()));
    Query(agent.Address());
    // With cleaning off the tree keeps its raw shape; the last top node is finished last.
    ASSERT_TRUE(PumpUntil([&] { return Grid().GetItemCount() == 2 && Grid().GetItemText(1, 0) == "interfaces"; }));
    // interfaces > ifTable > ifEntry > ifDescr > 1: a click on the leaf infers the row.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), 1, 0));
    QTest::keyClick(&Grid(), Qt::Key_Asterisk, Qt::KeypadModifier);
    const int nDescr = RowOf("ifDescr");
    ASSERT_NE(nDescr, -1);
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nDescr + 1, 0));
    const int nType = RowOf("ifType");
    ASSERT_EQ(Grid().GetItemText(nType, 2), "6");
    // The inferred row selected, its Value cell the current one: its Type cell
    // shows inferred text on the inferred colour in the selected row.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nType, 2));
    ASSERT_EQ(Grid().SelectedRow(), nType);
    const QImage image = Viewport()->grab().toImage();
    CRect rcType;
    Grid().GetSubItemRect(nType, 1, LVIR_BOUNDS, rcType);
    const QRgb background = image.pixel(rcType.right - 3, rcType.CenterPoint().y);
    EXPECT_EQ(qRed(background), 0xD0);  // the inferred colour
    EXPECT_LT(DarkestIn(image, rcType), 0x60);
}

TEST_F(QueryWindow, TheLastColumnFillsAndADoubleClickOnABorderFitsTheColumn)
{
    CFakeAgent agent(TableAgent(SmallMib(std::string(120, 'w'))));
    Query(agent.Address());
    ASSERT_TRUE(WaitForGo());
    QHeaderView* pHeader = Grid().GetHeaderCtrl();
    const auto RightEdge = [&](int nColumn) {
        return pHeader->sectionViewportPosition(nColumn) + pHeader->sectionSize(nColumn);
    };
    const auto DoubleClickBorder = [&](int nColumn) {
        QTest::mouseDClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier,
                           QPoint(RightEdge(nColumn) - 1, pHeader->height() / 2));
    };
    EXPECT_EQ(RightEdge(3), Viewport()->width());
    m_pFrame->resize(1200, 700);
    Pump();
    EXPECT_EQ(RightEdge(3), Viewport()->width());

    // Only top nodes shown, their Type cells empty: the column keeps room for its title.
    Grid().SetColumnWidth(1, 20);
    DoubleClickBorder(1);
    EXPECT_GE(Grid().GetColumnWidth(1), pHeader->sectionSizeHint(1));
    EXPECT_GT(Grid().GetColumnWidth(1), QFontMetrics(pHeader->font()).horizontalAdvance("Type"));

    DoubleClick(Viewport(), CellPoint(Grid(), 0, 0));
    const int nRow = RowOf("sysDescr.0");
    ASSERT_NE(nRow, -1);
    // The Value column fits its longest text: nothing is shortened any more.
    DoubleClickBorder(2);
    Viewport()->repaint();
    EXPECT_EQ(Grid().InfoOf(Grid().NodeAtRow(nRow))->TipMask() & 0x4u, 0u);
    EXPECT_GT(Grid().GetColumnWidth(2), QFontMetrics(Grid().font()).horizontalAdvance(QString(120, 'w')));
    EXPECT_GE(RightEdge(3), Viewport()->width());

    // The MIB column fits its labels, indent and icon included: here it narrows.
    DoubleClickBorder(0);
    EXPECT_LT(Grid().GetColumnWidth(0), 200);
    Viewport()->repaint();
    for (int nShown = 0; nShown < Grid().GetItemCount(); ++nShown)
        EXPECT_EQ(Grid().InfoOf(Grid().NodeAtRow(nShown))->TipMask() & 0x1u, 0u) << Grid().GetItemText(nShown, 0);
}

// --- Stop and close return at once ------------------------------------------------

TEST_F(QueryWindow, StopDuringAnUnansweredRequestReturnsAtOnceAndANewGoWorks)
{
    AppSettings.Timeout = 30;
    CHeldAgent held(SmallMib(), 2);
    Query(held.Agent().Address());
    ASSERT_TRUE(held.Agent().WaitForRequests(3));
    ASSERT_TRUE(PumpUntil([&] { return Grid().TreeAsText().size() > 0 && RowOf("system (Querying...)") == 0; }));
    const auto pOld = Grid().CurrentQuery();

    ClickGo();  // Stop
    EXPECT_EQ(View().Caption(), "Go");
    EXPECT_TRUE(View().GoButton().isEnabled());
    EXPECT_EQ(pOld->m_bWalking.load(), 1);  // the request still waits: nothing waited for it
    // The top node lost its status and opens with a click on its box.
    EXPECT_EQ(Grid().GetItemText(0, 0), "system");
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, treetest::BoxCentre(Grid(), 0));
    EXPECT_EQ(Grid().GetItemCount(), 3);

    // A new Go on the same window, against another agent, runs at once.
    CFakeAgent other(TableAgent({CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "other")}));
    Query(other.Address());
    ASSERT_TRUE(WaitForGo());
    EXPECT_EQ(pOld->m_bWalking.load(), 1);
    const std::string strTree = Grid().TreeAsText();
    EXPECT_NE(strTree.find("sysName.0\tOCTETSTRING\tother"), std::string::npos) << strTree;
    // The old walk's late answer goes nowhere; the old walk lets go of everything.
    held.Release();
    ASSERT_TRUE(PumpUntil([&] { return pOld.use_count() == 1; }));
    Pump();
    EXPECT_EQ(pOld->m_bWalking.load(), 0);
    EXPECT_EQ(Grid().TreeAsText(), strTree);
    EXPECT_EQ(View().Caption(), "Go");
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(QueryWindow, ClosingTheWindowDuringAnUnansweredRequestReturnsAtOnce)
{
    AppSettings.Timeout = 30;
    CHeldAgent held(SmallMib(), 2);
    Query(held.Agent().Address());
    ASSERT_TRUE(held.Agent().WaitForRequests(3));
    const auto pQuery = Grid().CurrentQuery();
    m_pFrame->MDIGetActive()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_pFrame->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(pQuery->m_bWalking.load(), 1);  // the window went without waiting for the walk
    held.Release();
    ASSERT_TRUE(PumpUntil([&] { return pQuery.use_count() == 1; }));
    EXPECT_EQ(pQuery->m_bWalking.load(), 0);
    EXPECT_TRUE(m_boxes.empty());
}

// --- A fold under an inference ----------------------------------------------------

TEST_F(QueryWindow, AnInferredNodeThatAFoldMakesALeafKeepsItsOwnValue)
{
    AppSettings.Timeout = 30;
    // system > sysDescr > {1, 2} and sysObjectID > {1}: the walk's end waits.
    CHeldAgent held({CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.1", 0x04, "d1"),
                     CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.2", 0x04, "d2"),
                     CFakeAgent::Bytes(".1.3.6.1.2.1.1.2.1", 0x04, "o1")},
                    3);
    Query(held.Agent().Address());
    ASSERT_TRUE(held.Agent().WaitForRequests(4));
    ASSERT_TRUE(PumpUntil([&] {
        const std::string strText = Grid().TreeAsText();
        return std::count(strText.begin(), strText.end(), '\n') == 6;
    }));
    // While the top node is still queried, the keypad opens it and a click infers.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), 0, 0));
    QTest::keyClick(&Grid(), Qt::Key_Asterisk, Qt::KeypadModifier);
    ASSERT_EQ(Grid().GetItemCount(), 6);
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), RowOf("sysDescr") + 1, 0));
    ASSERT_EQ(Grid().GetItemText(RowOf("sysObjectID"), 2), "o1");  // inferred

    held.Release();  // the walk ends; the cleaning folds sysObjectID > 1
    ASSERT_TRUE(WaitForGo());
    const int nLeaf = RowOf("sysObjectID.1");
    ASSERT_NE(nLeaf, -1);
    const CNodeInfo* pInfo = Grid().InfoOf(Grid().NodeAtRow(nLeaf));
    EXPECT_EQ(pInfo->CellColor(1), CNodeInfo::NoColor);
    EXPECT_EQ(pInfo->GetSubText(1), "o1");
    // The next click on a leaf empties the inferred cells, not the variable's own.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), RowOf("2"), 0));
    EXPECT_EQ(Grid().GetItemText(RowOf("sysObjectID.1"), 2), "o1");
    EXPECT_EQ(pInfo->CellColor(1), CNodeInfo::NoColor);
    EXPECT_EQ(Grid().GetItemText(RowOf("sysDescr"), 2), "d2");  // inferred from the new leaf
}

} // namespace

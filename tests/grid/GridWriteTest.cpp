// Cell write: which cells open an editor, and what a confirmed edit sends.
#include "support/FakeAgent.h"
#include "GridTestUtil.h"
#include "support/SnmpdFixture.h"
#include "treelist/CellEditCtrl.h"

namespace {

class GridWrite : public CGridTest
{
protected:
    void SetUp() override
    {
        CGridTest::SetUp();
        AppSettings.Cleaning = 0;
        AppSettings.Timeout = 1;
        AppSettings.Retries = 0;
    }

    // A grid holding sysLocation.0 and sysServices.0 under "system", for host
    // and community, with the row of strLeaf ("sysLocation" ...) selected in
    // the Value column.
    void Fill(CTestGrid& grid, const std::string& strHost, const std::string& strCommunity)
    {
        Peer(grid).SetRequest(CWalkRequest{strHost, strCommunity});
        Deliver(grid, "system.sysLocation.0", "OCTETSTRING", "old place", ".1.3.6.1.2.1.1.6.0");
        Deliver(grid, "system.sysServices.0", "INTEGER", "72", ".1.3.6.1.2.1.1.7.0");
        SendMessage(grid.WindowHandle(), WM_WALK_STOPPED, 0, 0);
    }
    CTreeItem* Select(CTestGrid& grid, const std::string& strLeaf, int nColumn = COidTreeGrid::colValue)
    {
        CTreeItem* pNode = FindPath(grid, {"system", strLeaf, "0"});
        grid.RevealNode(pNode);
        grid.SetCurrentColumn(nColumn);
        return pNode;
    }
};

TEST_F(GridWrite, OnlyTheValueCellOfALeafOpensAnEditor)
{
    CTestGrid grid;
    Fill(grid, "127.0.0.1:1", "private");
    EXPECT_FALSE(grid.HandleEnterKey());  // nothing selected: the control does nothing either
    Select(grid, "sysLocation");
    EXPECT_FALSE(grid.HandleEnterKey());  // the editor opens
    for (int nColumn : {COidTreeGrid::colMib, COidTreeGrid::colType, COidTreeGrid::colOid}) {
        grid.SetCurrentColumn(nColumn);
        EXPECT_TRUE(grid.HandleEnterKey()) << nColumn;
    }
    grid.SetCurrentColumn(COidTreeGrid::colValue);
    AppSettings.WriteOn = 0;
    EXPECT_TRUE(grid.HandleEnterKey());
    AppSettings.WriteOn = 1;
    grid.RevealNode(FindPath(grid, {"system", "sysLocation"}));  // a row with children
    EXPECT_TRUE(grid.HandleEnterKey());
    grid.SetCurrentColumn(-1);
    EXPECT_FALSE(grid.HandleEnterKey());

    // A double-click on the Value cell of the leaf takes the same path and opens the editor.
    grid.show();
    Select(grid, "sysLocation");
    CRect rcCell;
    ASSERT_TRUE(grid.GetSubItemRect(grid.SelectedRow(), COidTreeGrid::colValue, LVIR_BOUNDS, rcCell));
    NMITEMACTIVATE activate;
    activate.iItem = grid.SelectedRow();
    activate.iSubItem = COidTreeGrid::colValue;
    activate.ptAction = rcCell.CenterPoint();
    AppSettings.WriteOn = 0;
    grid.OnDblClk(&activate);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.findChild<CCellEditCtrl*>(), nullptr);
    AppSettings.WriteOn = 1;
    grid.OnDblClk(&activate);
    QCoreApplication::processEvents();
    CCellEditCtrl* pEditor = grid.findChild<CCellEditCtrl*>();
    ASSERT_NE(pEditor, nullptr);
    EXPECT_EQ(pEditor->text().toStdString(), "old place");
}

TEST_F(GridWrite, ConfirmedEditSendsOneSetWithTheGridsHostAndCommunity)
{
    CFakeAgent agent([](const CFakeAgent::CRequest& request, std::size_t) {
        CFakeAgent::CAnswer answer;
        answer.vars = request.vars;
        return answer;
    });
    CTestGrid grid;
    Fill(grid, agent.Address(), "secret");

    CTreeItem* pLeaf = Select(grid, "sysServices");
    ASSERT_FALSE(grid.HandleEnterKey());
    EndEdit(grid, nullptr);  // Escape: nothing is sent
    EXPECT_EQ(agent.RequestCount(), 0u);
    ASSERT_FALSE(grid.HandleEnterKey());
    EndEdit(grid, "5");
    ASSERT_EQ(agent.RequestCount(), 1u);
    const CFakeAgent::CRequest request = agent.Requests()[0];
    EXPECT_EQ(request.nCommand, 0xA3);
    EXPECT_EQ(request.strCommunity, "secret");
    ASSERT_EQ(request.vars.size(), 1u);
    EXPECT_EQ(request.vars[0].name, CFakeAgent::ParseOid(".1.3.6.1.2.1.1.7.0"));
    EXPECT_EQ(request.vars[0].type, 0x02);
    EXPECT_EQ(request.vars[0].nNumber, 5);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(grid.GetItemText(grid.RowOfNode(pLeaf), COidTreeGrid::colValue), "5");  // the written text
}

TEST_F(GridWrite, RefusedOrMisdirectedWritesShowUpdateFailed)
{
    CFakeAgent agent([](const CFakeAgent::CRequest& request, std::size_t) {
        CFakeAgent::CAnswer answer;
        answer.nErrorStatus = 4;
        answer.nErrorIndex = 1;
        answer.vars = request.vars;
        return answer;
    });
    CTestGrid grid;
    Fill(grid, agent.Address(), "private");
    CTreeItem* pLeaf = Select(grid, "sysServices");
    ASSERT_FALSE(grid.HandleEnterKey());
    EndEdit(grid, "5");
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0], "Error: Attempting to Write\n Status:4\n Message:READ ONLY\n");
    EXPECT_EQ(m_boxes[1], "Error: Update Failed!");
    EXPECT_EQ(m_nBoxType, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(grid.InfoOf(pLeaf)->GetSubText(COidTreeGrid::cellValue), "72");

    // The editor was opened on sysServices.0, but its row now shows another
    // variable: the text is not written to that one.
    m_boxes.clear();
    ASSERT_FALSE(grid.HandleEnterKey());
    Select(grid, "sysLocation");
    EndEdit(grid, "7");
    EXPECT_EQ(agent.RequestCount(), 1u);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], "Error: Update Failed!");
}

// What the user types is sent as typed or not at all; a session that cannot be
// opened says why in the window.
TEST_F(GridWrite, TextsThatAreNoValueAndUnreachableHostsAreShownNotSent)
{
    CFakeAgent agent([](const CFakeAgent::CRequest& request, std::size_t) {
        CFakeAgent::CAnswer answer;
        answer.vars = request.vars;
        return answer;
    });
    CTestGrid grid;
    Fill(grid, agent.Address(), "private");
    CTreeItem* pLeaf = Select(grid, "sysServices");
    for (const char* pszText : {"abc", "0x10", "2junk", "1e9", "2147483648"}) {
        m_boxes.clear();
        ASSERT_FALSE(grid.HandleEnterKey());
        EndEdit(grid, pszText);
        EXPECT_EQ(m_boxes, (std::vector<std::string>{"Error: Error: Invalid value, " + std::string(pszText) +
                                                         ", for type INTEGER: a whole number from -2147483648 to "
                                                         "2147483647 is expected.\n",
                                                     "Error: Update Failed!"}));
    }
    EXPECT_EQ(agent.RequestCount(), 0u);
    EXPECT_EQ(grid.InfoOf(pLeaf)->GetSubText(COidTreeGrid::cellValue), "72");

    m_boxes.clear();
    Peer(grid).SetRequest(CWalkRequest{"127.0.0.1:99999", "private"});
    ASSERT_FALSE(grid.HandleEnterKey());
    testing::internal::CaptureStdout();
    EndEdit(grid, "5");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "error on SnmpMgrOpen 22\n");
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"Error: error on SnmpMgrOpen 22\n'127.0.0.1:99999' is not a host name "
                                                 "or address with an optional port from 1 to 65535.\n",
                                                 "Error: Update Failed!"}));
}

TEST_F(GridWrite, WritesToARealAgent)
{
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    CTestGrid grid;
    Fill(grid, agent.Address(), CSnmpdFixture::kWriteCommunity);
    Select(grid, "sysLocation");
    ASSERT_FALSE(grid.HandleEnterKey());
    testing::internal::CaptureStdout();
    EndEdit(grid, "lab 2");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OCTET STRING - lab 2\n");  // the agent's answer
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.1.6.0"), "\"lab 2\"");
}

} // namespace

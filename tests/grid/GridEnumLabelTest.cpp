// Enumeration labels of INTEGER values in the grid, with a vendor-like module
// loaded: the Value cell shows them only when ShowEnumLabels is on, its tooltip
// always tells them, and a label in the cell is written back as its number.
#include "GridTestUtil.h"
#include "mib/MibLoader.h"
#include "support/FakeAgent.h"
#include "support/MibFiles.h"
#include "ui/HtmlToolTip.h"

#include <QTest>

namespace {

const std::string kState = ".1.3.6.1.4.1.99999.1.1.1.2";  // up(1), down(2), testing(3)
const std::string kTemp = ".1.3.6.1.4.1.99999.1.1.1.3";   // a plain number

class GridEnumLabels : public CGridTest
{
protected:
    void SetUp() override
    {
        CGridTest::SetUp();
        AppSettings.Cleaning = 0;
        AppSettings.Timeout = 2;
        AppSettings.Retries = 1;
        m_files.Write("ACME-SWITCH-MIB.txt", CMibFiles::kVendorModule);
        ASSERT_FALSE(LoadMibModules(m_files.Folder(), CMibFiles::BaseFolder()).loaded.empty());
    }
    void TearDown() override
    {
        UnloadMibModules();
        CGridTest::TearDown();
    }

    void Walk(CTestGrid& grid)
    {
        grid.ResetForQuery();
        const int nEnded = grid.m_nQueryEnded;
        ASSERT_TRUE(grid.StartWalk(CWalkRequest{m_agent.Address(), "private"}));
        ASSERT_TRUE(WaitUntil([&] { return grid.m_nQueryEnded > nEnded && !grid.ThreadsRunning(); }));
    }
    // The leaf whose OID cell is strOid, or null.
    static CTreeItem* Leaf(CTestGrid& grid, const std::string& strOid)
    {
        for (CTreeItem* pNode : treetest::AllNodes(grid))
            if (grid.InfoOf(pNode)->GetSubText(COidTreeGrid::cellOid) == strOid)
                return pNode;
        return nullptr;
    }
    static std::string Value(CTestGrid& grid, const std::string& strOid)
    {
        const CTreeItem* pLeaf = Leaf(grid, strOid);
        return pLeaf ? grid.InfoOf(pLeaf)->GetSubText(COidTreeGrid::cellValue) : "<no leaf>";
    }

    CMibFiles m_files;
    // The walked variables; a SET is answered with what it sent.
    const std::vector<CFakeAgent::CVar> m_vars = {
        CFakeAgent::Number(kState + ".1", 0x02, 1),
        CFakeAgent::Number(kState + ".2", 0x02, 7),   // no label for 7
        CFakeAgent::Number(kState + ".3", 0x42, 2),   // a Gauge32 is no INTEGER
        CFakeAgent::Number(kTemp + ".1", 0x02, 2),
    };
    CFakeAgent m_agent{[this](const CFakeAgent::CRequest& request, std::size_t) {
        if (request.nCommand != 0xA3)
            return CFakeAgent::NextFrom(m_vars, request);
        CFakeAgent::CAnswer answer;
        answer.vars = request.vars;
        return answer;
    }};
};

} // namespace

TEST_F(GridEnumLabels, TheValueCellShowsLabelsOnlyWhenAskedAndOnlyForEnumeratedIntegers)
{
    CTestGrid grid;
    Walk(grid);
    EXPECT_EQ(Value(grid, kState + ".1"), "1");  // off by default: the texts stay as they were

    AppSettings.ShowEnumLabels = 1;
    Walk(grid);
    EXPECT_EQ(Value(grid, kState + ".1"), "up(1)");
    EXPECT_EQ(Value(grid, kState + ".2"), "7");
    EXPECT_EQ(Value(grid, kState + ".3"), "2");
    EXPECT_EQ(Value(grid, kTemp + ".1"), "2");
    const CTreeItem* pLeaf = Leaf(grid, kState + ".1");
    ASSERT_TRUE(pLeaf);
    EXPECT_EQ(grid.InfoOf(grid.ParentOf(pLeaf))->GetText(), "acmePortState");  // names as before

    UnloadMibModules();
    Walk(grid);
    EXPECT_EQ(Value(grid, kState + ".1"), "1");
}

TEST_F(GridEnumLabels, HoveringAnEnumeratedValueTellsItsLabel)
{
    CTestGrid grid;
    Walk(grid);
    treetest::Show(grid, 800, 400);
    CHtmlToolTip* pTip = CHtmlToolTip::Shared();
    ASSERT_NE(pTip, nullptr);

    const int nRow = grid.RevealNode(Leaf(grid, kState + ".1"));
    treetest::MouseMove(grid.viewport(), treetest::CellPoint(grid, nRow, COidTreeGrid::colValue), Qt::NoButton);
    QTRY_VERIFY_WITH_TIMEOUT(pTip->isVisible(), 2000);
    EXPECT_EQ(pTip->text(), CHtmlToolTip::ToRichText("up(1)"));

    // A plain number that fits its cell has no tip.
    const int nTempRow = grid.RevealNode(Leaf(grid, kTemp + ".1"));
    treetest::MouseMove(grid.viewport(), treetest::CellPoint(grid, nTempRow, COidTreeGrid::colValue), Qt::NoButton);
    EXPECT_FALSE(pTip->isVisible());
    treetest::MouseMove(grid.viewport(), treetest::CellPoint(grid, nTempRow, COidTreeGrid::colValue) + QPoint(2, 0), Qt::NoButton);
    QTest::qWait(700);
    EXPECT_FALSE(pTip->isVisible());
}

TEST_F(GridEnumLabels, AShownLabelIsWrittenAsItsNumber)
{
    AppSettings.ShowEnumLabels = 1;
    CTestGrid grid;
    Walk(grid);
    CTreeItem* pLeaf = Leaf(grid, kState + ".1");
    ASSERT_TRUE(pLeaf);
    const std::size_t nWalkRequests = m_agent.RequestCount();
    const auto LastSet = [&] { return m_agent.Requests().back(); };

    grid.RevealNode(pLeaf);
    grid.SetCurrentColumn(COidTreeGrid::colValue);
    ASSERT_FALSE(grid.HandleEnterKey());
    EndEdit(grid, "down(2)");
    ASSERT_EQ(m_agent.RequestCount(), nWalkRequests + 1);
    ASSERT_EQ(LastSet().vars.size(), 1u);
    EXPECT_EQ(LastSet().vars[0].type, 0x02);
    EXPECT_EQ(LastSet().vars[0].nNumber, 2);
    EXPECT_EQ(grid.GetItemText(grid.RowOfNode(pLeaf), COidTreeGrid::colValue), "down(2)");

    // A number typed shows as its label once written.
    ASSERT_FALSE(grid.HandleEnterKey());
    EndEdit(grid, "3");
    EXPECT_EQ(LastSet().vars[0].nNumber, 3);
    EXPECT_EQ(grid.GetItemText(grid.RowOfNode(pLeaf), COidTreeGrid::colValue), "testing(3)");

    // A label the object does not define is no number: refused, nothing sent.
    ASSERT_FALSE(grid.HandleEnterKey());
    EndEdit(grid, "down(3)");
    EXPECT_EQ(m_agent.RequestCount(), nWalkRequests + 2);
    EXPECT_FALSE(m_boxes.empty());
    EXPECT_EQ(grid.GetItemText(grid.RowOfNode(pLeaf), COidTreeGrid::colValue), "testing(3)");
}

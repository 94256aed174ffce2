// Inference: a click on an instance leaf shows its table row across the table.
#include "GridTestUtil.h"

namespace {

constexpr COLORREF kGrey = 0x00D0D0D0;

class GridInfer : public CGridTest
{
protected:
    void SetUp() override
    {
        CGridTest::SetUp();
        AppSettings.Cleaning = 0;
        // ifIndex, ifDescr, ifType with instances 1 and 2; ifSpeed with 1 only.
        for (const char* pszColumn : {"ifIndex", "ifDescr", "ifType"})
            for (const char* pszRow : {"1", "2"})
                Deliver(m_grid, std::string("interfaces.ifTable.ifEntry.") + pszColumn + "." + pszRow, pszColumn,
                        std::string(pszColumn) + "-" + pszRow, std::string(".oid.") + pszColumn + "." + pszRow);
        Deliver(m_grid, "interfaces.ifTable.ifEntry.ifSpeed.1", "GAUGE32", "100", ".oid.ifSpeed.1");
        Deliver(m_grid, "interfaces.ifTable.ifEntry.ifSpeed.1", "GAUGE32", "100", ".oid.ifSpeed.1");
        SendMessage(m_grid.WindowHandle(), WM_WALK_STOPPED, 0, 0);
    }

    CTreeItem* Node(const std::string& strColumn, const std::string& strRow = {})
    {
        std::vector<std::string> path{"interfaces", "ifTable", "ifEntry", strColumn};
        if (!strRow.empty())
            path.push_back(strRow);
        return FindPath(m_grid, path);
    }
    // "type|value|oid @colour of type,colour of value" of a column node.
    std::string Cells(const std::string& strColumn)
    {
        const CNodeInfo* pInfo = m_grid.InfoOf(Node(strColumn));
        char szColors[32];
        std::snprintf(szColors, sizeof szColors, "@%X,%X", pInfo->CellColor(0), pInfo->CellColor(1));
        return pInfo->GetSubText(0) + "|" + pInfo->GetSubText(1) + "|" + pInfo->GetSubText(2) + szColors;
    }

    CTestGrid m_grid;
};

TEST_F(GridInfer, ClickFillsTheRowAcrossTheTableAndTheNextClickReplacesIt)
{
    // Through the click path: the row of ifDescr.2, once the table is shown.
    const int nRow = m_grid.RevealNode(Node("ifDescr", "2"));
    ASSERT_GE(nRow, 0);
    LVHITTESTINFO hit;
    hit.iItem = nRow;
    hit.iSubItem = 2;
    EXPECT_EQ(m_grid.OnCellClick(0, CPoint(), &hit, FALSE), nullptr);
    EXPECT_EQ(Cells("ifIndex"), "ifIndex|ifIndex-2|@D0D0D0,D0D0D0");
    EXPECT_EQ(Cells("ifDescr"), "ifDescr|ifDescr-2|@D0D0D0,D0D0D0");
    EXPECT_EQ(Cells("ifType"), "ifType|ifType-2|@D0D0D0,D0D0D0");
    EXPECT_EQ(Cells("ifSpeed"), "||@FFFFFFFF,FFFFFFFF");  // no instance 2: untouched
    EXPECT_EQ(Peer(m_grid).Inferred().size(), 3u);
    // The rows show the new texts.
    EXPECT_EQ(m_grid.GetItemText(m_grid.RowOfNode(Node("ifIndex")), 2), "ifIndex-2");
    ExpectConsistent(m_grid);

    // A later click on another instance, with another colour: emptied, then refilled.
    AppSettings.InferColor = 0x00112233;
    m_grid.InferFromLeaf(Node("ifType", "1"));
    EXPECT_EQ(Cells("ifIndex"), "ifIndex|ifIndex-1|@112233,112233");
    EXPECT_EQ(Cells("ifSpeed"), "GAUGE32|100|@112233,112233");  // the first of its two "1" children
    EXPECT_EQ(Peer(m_grid).Inferred().size(), 4u);

    // The same leaf twice: same cells, each node listed once.
    m_grid.InferFromLeaf(Node("ifDescr", "2"));
    m_grid.InferFromLeaf(Node("ifDescr", "2"));
    EXPECT_EQ(Peer(m_grid).Inferred().size(), 3u);
    EXPECT_EQ(Cells("ifSpeed"), "||@FFFFFF,FFFFFF");  // emptied and not refilled: white
    EXPECT_EQ(Cells("ifType"), "ifType|ifType-2|@112233,112233");
}

TEST_F(GridInfer, OffClicksOnlyEmptyAndOddLeavesInferNothing)
{
    m_grid.InferFromLeaf(Node("ifDescr", "1"));
    ASSERT_EQ(Peer(m_grid).Inferred().size(), 4u);
    AppSettings.Inferance = 0;
    m_grid.InferFromLeaf(Node("ifIndex", "2"));
    EXPECT_TRUE(Peer(m_grid).Inferred().empty());
    EXPECT_EQ(Cells("ifIndex"), "||@FFFFFF,FFFFFF");
    EXPECT_EQ(Cells("ifSpeed"), "||@FFFFFF,FFFFFF");

    AppSettings.Inferance = 1;
    // A leaf right under its top node, and a top node without children.
    Deliver(m_grid, "flat.leaf", "INTEGER", "1");
    Deliver(m_grid, "lonely");
    m_grid.InferFromLeaf(FindPath(m_grid, {"flat", "leaf"}));
    EXPECT_TRUE(Peer(m_grid).Inferred().empty());
    m_grid.InferFromLeaf(Node("ifDescr", "1"));
    m_grid.InferFromLeaf(FindPath(m_grid, {"lonely (Querying...)"}));
    EXPECT_TRUE(Peer(m_grid).Inferred().empty());
    EXPECT_EQ(Cells("ifDescr"), "||@FFFFFF,FFFFFF");
}

TEST_F(GridInfer, FoldingInferredNodesAwayEmptiesTheInference)
{
    // Keyboard expansion lets a user click into a subtree under cleaning; a fold
    // that frees inferred nodes must not leave them listed.
    m_grid.InferFromLeaf(Node("ifDescr", "1"));
    ASSERT_FALSE(Peer(m_grid).Inferred().empty());
    CTreeItem* pTop = m_grid.RootAt(0);
    ASSERT_TRUE(Peer(m_grid).MergeChild(CNodeMerge{pTop, FindPath(m_grid, {"interfaces", "ifTable"}), 2, FALSE}));
    EXPECT_TRUE(Peer(m_grid).Inferred().empty());
    CTreeItem* pCopy = FindPath(m_grid, {"interfaces.ifTable.ifEntry", "ifIndex"});
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(m_grid.InfoOf(pCopy)->GetSubText(1), "");  // the copy shows no stale inferred text
    m_grid.InferFromLeaf(FindPath(m_grid, {"interfaces.ifTable.ifEntry", "ifType", "2"}));
    EXPECT_EQ(Peer(m_grid).Inferred().size(), 3u);
    ExpectConsistent(m_grid);
}

} // namespace

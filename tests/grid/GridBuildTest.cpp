// Tree building from walk records, the window's set-up, hooks and commands.
#include "GridTestUtil.h"

#include <QKeyEvent>

namespace {

std::string WithoutStatus(const std::string& strLabel)
{
    return COidTreeGridTestPeer::WithoutStatus(strLabel);
}

class GridBuild : public CGridTest
{
protected:
    void SetUp() override
    {
        CGridTest::SetUp();
        AppSettings.Cleaning = 0;
    }
    CTestGrid m_grid;
};

TEST_F(GridBuild, ThreeIconsOnATransparentGround)
{
    CImageList* pImages = m_grid.GetImageList(LVSIL_SMALL);
    ASSERT_EQ(pImages->GetImageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(qAlpha(pImages->GetImage(i).pixel(15, 0)), 0);
        EXPECT_EQ(qAlpha(pImages->GetImage(i).pixel(8, 8)), 255);
    }
}

TEST_F(GridBuild, RecordsBecomeNodesAlongTheirNames)
{
    Deliver(m_grid, "system.sysDescr.0", "OCTETSTRING", "box", ".1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(m_grid.GetItemCount(), 1);  // only the top node has a row
    Deliver(m_grid, "system.sysObjectID.0", "OBJECTIDENTIFIER", ".1.3.6", ".1.3.6.1.2.1.1.2.0");
    Deliver(m_grid, "interfaces.ifTable.ifEntry.ifIndex.1", "INTEGER", "1");
    Deliver(m_grid, "interfaces.ifTable.ifEntry.ifIndex.10", "INTEGER", "10");  // a sibling of 1
    Deliver(m_grid, "interfaces.ifTable.ifEntry.ifIndex.10", "INTEGER", "11");  // the same name again
    Deliver(m_grid, ".x.y", "INTEGER", "5");  // a full name (outside internet): a top node of its own
    EXPECT_EQ(Dump(m_grid),
              "system #0\n"
              "  sysDescr #1\n"
              "    0 = OCTETSTRING|box|.1.3.6.1.2.1.1.1.0 #1\n"
              "  sysObjectID #1\n"
              "    0 = OBJECTIDENTIFIER|.1.3.6|.1.3.6.1.2.1.1.2.0 #1\n"
              "interfaces #0\n"
              "  ifTable #1\n"
              "    ifEntry #1\n"
              "      ifIndex #1\n"
              "        1 = INTEGER|1|.1 #1\n"
              "        10 = INTEGER|10|.1 #1\n"
              "        10 = INTEGER|11|.1 #1\n"
              ".x (Querying...) #0\n"
              "  y = INTEGER|5|.1 #1\n");
    // The next full name shares the top node while its first component does.
    Deliver(m_grid, ".x.z", "INTEGER", "6");
    Deliver(m_grid, ".xy.0", "INTEGER", "7");
    EXPECT_EQ(m_grid.RootCount(), 4);
    EXPECT_NE(FindPath(m_grid, {".x", "z"}), nullptr);
    EXPECT_NE(FindPath(m_grid, {".xy (Querying...)", "0"}), nullptr);
    ExpectConsistent(m_grid);
}

TEST_F(GridBuild, OddNamesPlaceWhatTheyCanAndNothingElse)
{
    Deliver(m_grid, ".orphan.0");  // the first record may be a full name too
    EXPECT_EQ(m_grid.RootCount(), 1);
    Deliver(m_grid, "a.b.c");
    Deliver(m_grid, "solo");  // no "." : a top node without cells
    Deliver(m_grid, "d..e");  // stops at the empty component
    Deliver(m_grid, "d..f");  // the same prefix must not reach nodes of other names
    Deliver(m_grid, "");
    SendMessage(m_grid.WindowHandle(), WM_WALK_RECORD, 0, 0);
    EXPECT_EQ(Dump(m_grid),
              ".orphan #0\n  0 = INTEGER|1|.1 #1\na #0\n  b #1\n    c = INTEGER|1|.1 #1\nsolo #0\nd (Querying...) #0\n");

    // 2001 characters: the first 1023 ("top" and 510 components ".n") are
    // placed as usual, the rest becomes one leaf with the cells.
    std::string strLong = "top";
    while (strLong.size() < 2000)
        strLong += ".n";
    Deliver(m_grid, strLong);
    EXPECT_EQ(Peer(m_grid).PrevName(), strLong.substr(0, 1023));
    CTreeItem* pNode = m_grid.RootAt(4);
    int nDepth = 0;
    for (; m_grid.HasChildren(pNode); ++nDepth) {
        auto pos = m_grid.FirstChildPosition(pNode);
        pNode = m_grid.NextChild(pNode, pos);
    }
    EXPECT_EQ(nDepth, 511);
    EXPECT_EQ(m_grid.InfoOf(pNode)->GetText(), strLong.substr(1024));
    EXPECT_EQ(m_grid.InfoOf(pNode)->GetSubText(0), "INTEGER");
    ExpectConsistent(m_grid);
}

// Names too long for the name buffer keep every component: instances that
// differ only beyond the buffer stay apart, and their common head is placed once.
TEST_F(GridBuild, LongNamesStayDistinctAndWhole)
{
    std::string strHead = "top";
    for (int i = 0; i < 120; ++i)
        strHead += ".123456789";  // 1203 characters
    const std::vector<std::string> names = {strHead + ".1", strHead + ".2", strHead + ".10.5", "top.5"};
    for (const std::string& strName : names)
        Deliver(m_grid, strName, "INTEGER", strName.substr(strName.rfind('.') + 1));
    ASSERT_EQ(m_grid.RootCount(), 1);

    std::vector<CTreeItem*> leaves;
    for (CTreeItem* pNode : treetest::AllNodes(m_grid))
        if (!m_grid.HasChildren(pNode))
            leaves.push_back(pNode);
    ASSERT_EQ(leaves.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string strPath;
        for (CTreeItem* pNode = leaves[i]; pNode; pNode = m_grid.ParentOf(pNode))
            strPath = WithoutStatus(m_grid.InfoOf(pNode)->GetText()) + (strPath.empty() ? "" : "." + strPath);
        EXPECT_EQ(strPath, names[i]);
        EXPECT_EQ(m_grid.InfoOf(leaves[i])->GetSubText(1), names[i].substr(names[i].rfind('.') + 1));
    }
    // The first three share one head: 1 top node, 102 head nodes below it, 3
    // leaves; "top.5" adds its leaf beside the head.
    EXPECT_EQ(treetest::AllNodes(m_grid).size(), 1u + 102u + 3u + 1u);
    ExpectConsistent(m_grid);
}

TEST_F(GridBuild, EndMessagesRelabelOnceAndQueriesStartOver)
{
    for (int nQuery = 0; nQuery < 2; ++nQuery) {
        m_grid.ResetForQuery();
        Deliver(m_grid, "ip.ipForwarding.0", "INTEGER", "2");
        SendMessage(m_grid.WindowHandle(), nQuery ? WM_WALK_DONE : WM_WALK_STOPPED, 0, 0);
        SendMessage(m_grid.WindowHandle(), WM_WALK_DONE, 0, 0);  // no top node any more
        // Cleaning is off: the raw shape stays, and no leaf icon (2) appears.
        EXPECT_EQ(Dump(m_grid), "ip #0\n  ipForwarding #1\n    0 = INTEGER|2|.1 #1\n");
    }
    EXPECT_EQ(m_grid.m_nQueryEnded, 2);  // every end of a walk ends the query for the view

    // Records and texts still queued when the handle is retired are freed (ASan).
    const HWND hOld = m_grid.WindowHandle();
    ASSERT_TRUE(PostMessage(hOld, WM_WALK_RECORD, reinterpret_cast<WPARAM>(NewRecord("a.b")), 0, FreeWalkPayload));
    ASSERT_TRUE(PostMessage(hOld, WM_WALK_ERROR, 0, reinterpret_cast<LPARAM>(NewWalkErrorText("x")), FreeWalkPayload));
    m_grid.Stop();
    EXPECT_FALSE(IsWindow(hOld));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_grid.RootCount(), 1);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(GridBuild, BusyTopNodesCannotBeExpandedAndNothingIsDeletedOrDragged)
{
    // Expand All and Collapse All end inside the call here, whatever the machine's speed.
    COidTreeGridTestPeer(m_grid).SetJobSliceTime(std::chrono::seconds(60));
    Deliver(m_grid, "system.sysDescr.0");
    Deliver(m_grid, "system.sysName.0");
    CTreeItem* pTop = m_grid.RootAt(0);
    CTreeItem* pLeaf = FindPath(m_grid, {"system (Querying...)", "sysDescr", "0"});
    m_grid.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_FALSE(m_grid.MayExpand(pTop, 0));
    EXPECT_FALSE(m_grid.CanExpandSelected());
    m_grid.ExpandCollapseAll(TRUE);
    EXPECT_EQ(m_grid.GetItemCount(), 1);

    SendMessage(m_grid.WindowHandle(), WM_WALK_DONE, 0, 0);
    EXPECT_TRUE(m_grid.CanExpandSelected());
    m_grid.SetCurrentColumn(-1);  // no current column: no selected node
    EXPECT_FALSE(m_grid.CanExpandSelected());
    m_grid.SetCurrentColumn(0);
    m_grid.ExpandSelected();
    EXPECT_EQ(m_grid.GetItemCount(), 3);  // one level
    m_grid.ExpandCollapseAll(TRUE);
    EXPECT_EQ(m_grid.GetItemCount(), 5);
    ExpectConsistent(m_grid);

    // Icons: a node's own image, else by children and state.
    EXPECT_EQ(m_grid.RowImageFor(pLeaf), 1);
    m_grid.InfoOf(pLeaf)->SetImageIndex(-1);
    m_grid.InfoOf(pTop)->SetImageIndex(-1);
    EXPECT_EQ(m_grid.RowImageFor(pLeaf), 2);
    EXPECT_EQ(m_grid.RowImageFor(pTop), 0);  // expanded
    m_grid.ExpandCollapseAll(FALSE);
    EXPECT_EQ(m_grid.RowImageFor(pTop), 1);  // collapsed
    EXPECT_EQ(m_grid.GetItemCount(), 1);

    // Delete removes nothing; a drag never starts.
    m_grid.setFocus();
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_grid, &del);
    EXPECT_EQ(m_grid.RootCount(), 1);
    EXPECT_EQ(m_grid.GetItemCount(), 1);
}

TEST_F(GridBuild, WalkErrorShowsItsBoxAndEndsTheQuery)
{
    SendMessage(m_grid.WindowHandle(), WM_WALK_ERROR, 0, reinterpret_cast<LPARAM>(NewWalkErrorText("Error: Unable to resolve Host\n")));
    SendMessage(m_grid.WindowHandle(), WM_WALK_ERROR, 0, 0);  // no text: no box, the query still ends
    EXPECT_EQ(m_boxes, std::vector<std::string>{"Error: Error: Unable to resolve Host\n"});
    EXPECT_EQ(m_nBoxType, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(m_grid.m_nQueryEnded, 0);  // posted, not sent
    EXPECT_TRUE(WaitUntil([&] { return m_grid.m_nQueryEnded == 2; }, 2000));
}

} // namespace

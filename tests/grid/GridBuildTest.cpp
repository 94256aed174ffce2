// Tree building from walk records, the window's set-up and its hooks.
#include "GridTestUtil.h"
#include "grid/RowIcons.h"
#include "platform/listctrl/HeaderCtrl.h"

namespace {

class GridBuild : public CGridTest
{
protected:
    void SetUp() override
    {
        CGridTest::SetUp();
        AppSettings.Cleaning = 0;
    }
};

TEST_F(GridBuild, SetUpGivesColumnsGridLinesAndIcons)
{
    CTestGrid grid;
    ASSERT_EQ(grid.GetColumnCount(), 4);
    const char* titles[] = {"MIB", "Type", "Value", "OID"};
    const int widths[] = {200, 100, 250, 150};
    for (int i = 0; i < 4; ++i) {
        char szTitle[32] = {};
        LVCOLUMN column;
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = szTitle;
        column.cchTextMax = sizeof szTitle;
        ASSERT_TRUE(grid.GetColumn(i, &column));
        EXPECT_STREQ(szTitle, titles[i]);
        EXPECT_EQ(column.cx, widths[i]);
        EXPECT_EQ(column.fmt, LVCFMT_LEFT);
    }
    EXPECT_EQ(grid.GetExtendedStyle(), LVS_EX_GRIDLINES);

    // Three 16x16 images whose key colour became transparent, each with a drawing.
    CImageList* pImages = grid.GetImageList(LVSIL_SMALL);
    ASSERT_NE(pImages, nullptr);
    ASSERT_EQ(pImages->GetImageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const QImage& image = pImages->GetImage(i);
        EXPECT_EQ(image.size(), QSize(16, 16));
        int nOpaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                nOpaque += qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(nOpaque, 40) << "image " << i;
        EXPECT_EQ(qAlpha(image.pixel(15, 0)), 0) << "corner of image " << i;
    }
    EXPECT_FALSE(grid.HasRoots());
}

TEST_F(GridBuild, SystemAndInterfacesExample)
{
    CTestGrid grid;
    Deliver(grid, "system.sysDescr.0", "OCTETSTRING", "Linux box", ".1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(Dump(grid),
              "system (Querying...) #0\n"
              "  sysDescr #1\n"
              "    0 = OCTETSTRING|Linux box|.1.3.6.1.2.1.1.1.0 #1\n");
    EXPECT_EQ(grid.GetItemCount(), 1);  // only the top node has a row
    ExpectConsistent(grid);

    Deliver(grid, "system.sysObjectID.0", "OBJECTIDENTIFIER", ".1.3.6.1.4.1.8072", ".1.3.6.1.2.1.1.2.0");
    Deliver(grid, "interfaces.ifNumber.0", "INTEGER", "2", ".1.3.6.1.2.1.2.1.0");
    EXPECT_EQ(Dump(grid),
              "system #0\n"
              "  sysDescr #1\n"
              "    0 = OCTETSTRING|Linux box|.1.3.6.1.2.1.1.1.0 #1\n"
              "  sysObjectID #1\n"
              "    0 = OBJECTIDENTIFIER|.1.3.6.1.4.1.8072|.1.3.6.1.2.1.1.2.0 #1\n"
              "interfaces (Querying...) #0\n"
              "  ifNumber #1\n"
              "    0 = INTEGER|2|.1.3.6.1.2.1.2.1.0 #1\n");
    EXPECT_EQ(grid.GetItemText(0, 0), "system");
    EXPECT_EQ(grid.GetItemText(1, 0), "interfaces (Querying...)");
    ExpectConsistent(grid);
    EXPECT_TRUE(grid.HasRoots());
    EXPECT_EQ(grid.m_nCleaners.load(), 0);  // Cleaning off: no thread
}

TEST_F(GridBuild, SiblingsRepeatsAndOddNames)
{
    CTestGrid grid;
    // Instance 10 after 1 is a sibling, not a child; a repeated name adds a sibling leaf.
    Deliver(grid, "a.ifIndex.1", "INTEGER", "1");
    Deliver(grid, "a.ifIndex.10", "INTEGER", "10");
    Deliver(grid, "a.ifIndex.10", "INTEGER", "11");
    // A name starting with "." goes one level below the current top node.
    Deliver(grid, ".x.y", "INTEGER", "5");
    EXPECT_EQ(Dump(grid),
              "a (Querying...) #0\n"
              "  ifIndex #1\n"
              "    1 = INTEGER|1|.1 #1\n"
              "    10 = INTEGER|10|.1 #1\n"
              "    10 = INTEGER|11|.1 #1\n"
              "  x #1\n"
              "    y = INTEGER|5|.1 #1\n");

    // A name without "." is a top node without cells; "b..c" stops at the empty component.
    Deliver(grid, "solo", "INTEGER", "7");
    Deliver(grid, "b..c", "INTEGER", "8");
    // Sharing the prefix up to the empty component must not reach nodes of other names.
    Deliver(grid, "b..d", "INTEGER", "9");
    EXPECT_EQ(Dump(grid),
              "a #0\n"
              "  ifIndex #1\n"
              "    1 = INTEGER|1|.1 #1\n"
              "    10 = INTEGER|10|.1 #1\n"
              "    10 = INTEGER|11|.1 #1\n"
              "  x #1\n"
              "    y = INTEGER|5|.1 #1\n"
              "solo #0\n"
              "b (Querying...) #0\n");
    ExpectConsistent(grid);

    // Empty names and null records change nothing.
    Deliver(grid, "");
    SendMessage(grid.WindowHandle(), WM_WALK_RECORD, 0, 0);
    EXPECT_EQ(grid.RootCount(), 3);
}

TEST_F(GridBuild, DotFirstWithoutTopNodeAndOverlongNames)
{
    CTestGrid grid;
    Deliver(grid, ".orphan.0");
    EXPECT_EQ(grid.RootCount(), 0);

    // 2000 characters: cut to 1023, placed up to the cut, no write past the buffers.
    std::string strLong = "top";
    while (strLong.size() < 2000)
        strLong += ".n";
    Deliver(grid, strLong, "INTEGER", "3");
    EXPECT_EQ(std::string(grid.m_szPrevName), strLong.substr(0, 1023));
    EXPECT_EQ(grid.m_szPrevName[1023], '\0');
    CTreeItem* pNode = grid.RootAt(0);
    int nDepth = 0;
    while (grid.HasChildren(pNode)) {
        auto pos = grid.FirstChildPosition(pNode);
        pNode = grid.NextChild(pNode, pos);
        ++nDepth;
    }
    EXPECT_EQ(nDepth, 510);  // ".n" repeated up to character 1023
    // The cut falls after a whole component, which carries the record's cells.
    EXPECT_EQ(grid.InfoOf(pNode)->GetSubText(0), "INTEGER");
    ExpectConsistent(grid);
}

TEST_F(GridBuild, EndMessagesRelabelOnceAndNewQueriesStartOver)
{
    CTestGrid grid;
    Deliver(grid, "ip.ipForwarding.0");
    SendMessage(grid.WindowHandle(), WM_WALK_STOPPED, 0, 0);
    EXPECT_EQ(grid.GetItemText(0, 0), "ip");
    SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);  // no top node any more: nothing
    EXPECT_EQ(grid.GetItemText(0, 0), "ip");
    EXPECT_EQ(grid.m_nQueryEnded, 0);  // a stopped walk and a normal end with Cleaning off send nothing

    // Two queries over the same names each build the complete tree.
    for (int nQuery = 0; nQuery < 2; ++nQuery) {
        ASSERT_TRUE(grid.StopAndWait(1000));
        ASSERT_TRUE(grid.ResetForQuery());
        EXPECT_EQ(grid.RootCount(), 0);
        Deliver(grid, "ip.ipForwarding.0", "INTEGER", "2");
        Deliver(grid, "ip.ipDefaultTTL.0", "INTEGER", "64");
        SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
        EXPECT_EQ(Dump(grid),
                  "ip #0\n"
                  "  ipForwarding #1\n"
                  "    0 = INTEGER|2|.1 #1\n"
                  "  ipDefaultTTL #1\n"
                  "    0 = INTEGER|64|.1 #1\n");
    }
}

TEST_F(GridBuild, HooksAndSelectionCommands)
{
    CTestGrid grid;
    Deliver(grid, "system.sysDescr.0");
    Deliver(grid, "system.sysName.0");
    CTreeItem* pTop = grid.RootAt(0);
    CTreeItem* pDescr = FindPath(grid, {"system (Querying...)", "sysDescr"});
    CTreeItem* pLeaf = FindPath(grid, {"system (Querying...)", "sysDescr", "0"});
    ASSERT_TRUE(pDescr && pLeaf);

    // A top node being filled cannot be expanded: not by click, command or Expand All.
    EXPECT_FALSE(grid.MayExpand(pTop, 0));
    grid.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_FALSE(grid.CanExpandSelected());
    grid.ExpandCollapseAll(TRUE);
    EXPECT_EQ(grid.GetItemCount(), 1);
    EXPECT_FALSE(grid.MayDeleteByKey(pTop, 0));
    EXPECT_EQ(grid.MakeDragImage(0), nullptr);

    SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
    EXPECT_TRUE(grid.MayExpand(pTop, 0));
    EXPECT_TRUE(grid.CanExpandSelected());
    grid.SetCurrentColumn(-1);  // no current column: no selected node
    EXPECT_FALSE(grid.CanExpandSelected());
    grid.SetCurrentColumn(0);
    grid.ExpandSelected();
    EXPECT_EQ(grid.GetItemCount(), 3);  // one level
    EXPECT_TRUE(grid.CanCollapseSelected());
    ExpectConsistent(grid);

    grid.ExpandCollapseAll(TRUE);
    EXPECT_EQ(grid.GetItemCount(), 5);
    ExpectConsistent(grid);
    // Icons: own images first; without one, by children and state.
    EXPECT_EQ(grid.RowImageFor(pTop), 0);
    EXPECT_EQ(grid.RowImageFor(pLeaf), 1);
    grid.InfoOf(pDescr)->SetImageIndex(-1);
    EXPECT_EQ(grid.RowImageFor(pDescr), 0);  // expanded
    grid.CollapseNode(pDescr);
    EXPECT_EQ(grid.RowImageFor(pDescr), 1);  // collapsed
    grid.InfoOf(pLeaf)->SetImageIndex(-1);
    EXPECT_EQ(grid.RowImageFor(pLeaf), 2);   // no children
    EXPECT_EQ(grid.RowImageFor(nullptr), 0);

    grid.ExpandCollapseAll(FALSE);
    EXPECT_EQ(grid.GetItemCount(), 1);
    EXPECT_FALSE(grid.CanCollapseSelected());
    ExpectConsistent(grid);
}

TEST_F(GridBuild, WalkErrorShowsBoxAndEndsQuery)
{
    CTestGrid grid;
    SendMessage(grid.WindowHandle(), WM_WALK_ERROR, 0, reinterpret_cast<LPARAM>(NewWalkErrorText("Error: Unable to resolve Host\n")));
    SendMessage(grid.WindowHandle(), WM_WALK_ERROR, 0, 0);  // no text: no box, still ends the query
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], "Error: Error: Unable to resolve Host\n");
    EXPECT_EQ(m_boxTypes[0], MB_OK | MB_ICONSTOP);
    EXPECT_EQ(grid.m_nQueryEnded, 0);  // posted, not sent
    EXPECT_TRUE(WaitUntil([&] { return grid.m_nQueryEnded == 2; }, 2000));
}

TEST_F(GridBuild, QueuedPayloadsAreFreedWithTheHandle)
{
    // Run under AddressSanitizer this shows as a leak when not freed.
    CTestGrid grid;
    const HWND hOld = grid.WindowHandle();
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(PostMessage(hOld, WM_WALK_RECORD, reinterpret_cast<WPARAM>(NewRecord("a.b")), 0, FreeWalkPayload));
    ASSERT_TRUE(PostMessage(hOld, WM_WALK_ERROR, 0, reinterpret_cast<LPARAM>(NewWalkErrorText("x")), FreeWalkPayload));
    ASSERT_TRUE(grid.StopAndWait(1000));
    EXPECT_FALSE(IsWindow(hOld));
    EXPECT_TRUE(IsWindow(grid.WindowHandle()));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.RootCount(), 0);
    EXPECT_TRUE(m_boxes.empty());
}

} // namespace

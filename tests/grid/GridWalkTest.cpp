// Whole queries: a real walk into the grid, its text copy, and closing or
// restarting while the walk and the cleanings run.
#include "GridTestUtil.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include "support/FakeAgent.h"
#include "support/HostileMib.h"
#include "support/SnmpdFixture.h"
#include "treelist/LineText.h"

#include <QElapsedTimer>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

namespace {

class GridWalk : public CGridTest
{
protected:
    void SetUp() override
    {
        CGridTest::SetUp();
        AppSettings.Timeout = 2;
        AppSettings.Retries = 1;
    }

    static void Start(CTestGrid& grid, const std::string& strHost)
    {
        grid.ResetForQuery();
        ASSERT_TRUE(grid.StartWalk(CWalkRequest{strHost, CSnmpdFixture::kReadCommunity}));
    }
    static bool QueryOver(CTestGrid& grid)
    {
        if (grid.ThreadsRunning())
            return false;
        for (auto pos = grid.FirstRootPosition(); pos;)
            if (grid.InfoOf(grid.NextRoot(pos))->GetText().find(' ') != std::string::npos)
                return false;
        return true;
    }
};

// Field nField (0 = label) of every line of the copied text, where not empty.
std::set<std::string> Fields(const std::string& strText, std::size_t nField)
{
    std::set<std::string> values;
    std::istringstream lines(strText);
    for (std::string strLine; std::getline(lines, strLine);) {
        std::istringstream fields(strLine);
        std::string strField;
        for (std::size_t i = 0; i <= nField && std::getline(fields, strField, '\t'); ++i)
            if (i == nField && !strField.empty())
                values.insert(strField);
    }
    return values;
}

// Parts of the agent's MIB that change between two walks (processes, sockets,
// neighbours); the walk and the tool may see them differently.
bool IsVolatile(const std::string& strOid)
{
    for (const char* pszPrefix : {".1.3.6.1.2.1.25.4.", ".1.3.6.1.2.1.25.5.", ".1.3.6.1.2.1.6.13.",
                                  ".1.3.6.1.2.1.6.19.", ".1.3.6.1.2.1.6.20.", ".1.3.6.1.2.1.7.5.",
                                  ".1.3.6.1.2.1.7.7.", ".1.3.6.1.2.1.4.35.", ".1.3.6.1.2.1.4.22."})
        if (strOid.rfind(pszPrefix, 0) == 0)
            return true;
    return false;
}

TEST_F(GridWalk, FullWalkOfSnmpdIntoTheCleanedTree)
{
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    CTestGrid grid;
    Start(grid, agent.Address());
    ASSERT_TRUE(WaitUntil([&] { return QueryOver(grid); }, 120000));
    EXPECT_TRUE(m_boxes.empty()) << m_boxes.front();
    EXPECT_GE(grid.m_nQueryEnded, 1);
    ExpectConsistent(grid);

    grid.CopyTreeAsText();
    const std::string strText = GetClipboardText();
    // One line per node, whatever line ends the agent's values hold.
    EXPECT_EQ(static_cast<std::size_t>(std::count(strText.begin(), strText.end(), '\n')),
              treetest::AllNodes(grid).size());
    EXPECT_NE(strText.find("\nsysDescr.0\tOCTETSTRING\t"), std::string::npos);
    EXPECT_NE(strText.find("\t.1.3.6.1.2.1.1.1.0\t\n"), std::string::npos);
    EXPECT_EQ(strText.rfind("system\t\t\t\t\n", 0), 0u);

    // The same variables as the command-line walk of the same agent.
    std::string strTool;
    ASSERT_EQ(agent.RunTool("snmpwalk", {"-v1", "-c", "public", "-On", agent.Address(), ".1.3"}, &strTool), 0);
    std::set<std::string> toolOids;
    for (std::size_t nLine = 0; nLine < strTool.size();) {
        const std::size_t nEnd = std::min(strTool.find('\n', nLine), strTool.size());
        const std::string strLine = strTool.substr(nLine, nEnd - nLine);
        if (strLine.rfind(".1.3.", 0) == 0 && strLine.find(" = ") != std::string::npos)
            toolOids.insert(strLine.substr(0, strLine.find(" = ")));
        nLine = nEnd + 1;
    }
    const std::set<std::string> gridOids = Fields(strText, 3);
    ASSERT_GT(toolOids.size(), 100u);
    std::vector<std::string> differ;
    std::set_symmetric_difference(toolOids.begin(), toolOids.end(), gridOids.begin(), gridOids.end(),
                                  std::back_inserter(differ));
    std::erase_if(differ, IsVolatile);
    EXPECT_TRUE(differ.empty()) << differ.size() << " differ, first " << differ.front();
}

TEST_F(GridWalk, ClosingOrRestartingWhileThreadsRunIsSafe)
{
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    {
        // Closed while the walk runs: the walk goes on alone.
        auto pGrid = std::make_unique<CTestGrid>();
        Start(*pGrid, agent.Address());
        ASSERT_TRUE(WaitUntil([&] { return pGrid->RootCount() >= 2; }));
        pGrid.reset();
    }
    {
        // Closed while cleanings run (the walk has ended).
        auto pGrid = std::make_unique<CTestGrid>();
        Start(*pGrid, agent.Address());
        ASSERT_TRUE(WaitUntil([&] { return !pGrid->CurrentQuery()->m_bWalking.load(); }, 60000));
        pGrid.reset();
    }
    {
        // A new query while the cleanings of the last one run: they are cut off.
        CTestGrid grid;
        for (int nTop = 0; nTop < 20; ++nTop)
            for (int i = 0; i < 400; ++i)
                Deliver(grid, "t" + std::to_string(nTop) + ".c" + std::to_string(i) + ".e.0");
        SendMessage(grid.WindowHandle(), WM_WALK_DONE, 0, 0);
        const std::shared_ptr<const CQueryState> pOld = grid.CurrentQuery();
        ASSERT_GT(pOld->m_nCleaners.load(), 0);
        Start(grid, agent.Address());
        EXPECT_NE(grid.CurrentQuery(), pOld);
        ASSERT_TRUE(WaitUntil([&] { return QueryOver(grid); }, 120000));
        EXPECT_EQ(grid.InfoOf(grid.RootAt(0))->GetText(), "system");
        ExpectConsistent(grid);
    }
}

TEST_F(GridWalk, AWalkWaitingForAnAnswerIsCutOffAndNeverJoinedByASecond)
{
    AppSettings.Timeout = 1;
    AppSettings.Retries = 0;
    CFakeAgent silent([](const CFakeAgent::CRequest&, std::size_t) {
        CFakeAgent::CAnswer answer;
        answer.eKind = CFakeAgent::CAnswer::Kind::Silent;
        return answer;
    });
    auto pGrid = std::make_unique<CTestGrid>();
    Start(*pGrid, silent.Address());
    ASSERT_TRUE(silent.WaitForRequests(1));
    // This query's walk runs.
    EXPECT_FALSE(pGrid->StartWalk(CWalkRequest{silent.Address(), CSnmpdFixture::kReadCommunity}));
    const std::shared_ptr<const CQueryState> pFirst = pGrid->CurrentQuery();
    // A new query does not wait for the first walk, which goes on alone.
    Start(*pGrid, silent.Address());
    EXPECT_EQ(pFirst->m_bWalking.load(), 1);
    ASSERT_TRUE(silent.WaitForRequests(2));
    const std::shared_ptr<const CQueryState> pSecond = pGrid->CurrentQuery();
    pGrid.reset();  // nor does the window's end
    EXPECT_EQ(pSecond->m_bWalking.load(), 1);
    ASSERT_TRUE(WaitUntil([&] { return !pFirst->m_bWalking.load() && !pSecond->m_bWalking.load(); }));
    EXPECT_EQ(silent.RequestCount(), 2u);
    EXPECT_TRUE(m_boxes.empty());  // their texts went nowhere
}

// The labels from the top node down to pNode, joined by ".".
std::string PathOf(COidTreeGrid& grid, CTreeItem* pNode)
{
    std::string strPath;
    for (; pNode; pNode = grid.ParentOf(pNode))
        strPath = grid.InfoOf(pNode)->GetText() + (strPath.empty() ? "" : "." + strPath);
    return strPath;
}

CTreeItem* NodeWithOid(COidTreeGrid& grid, const std::string& strOid)
{
    for (CTreeItem* pNode : treetest::AllNodes(grid))
        if (grid.InfoOf(pNode)->GetSubText(COidTreeGrid::cellOid) == strOid)
            return pNode;
    return nullptr;
}

std::string NameOf(const CFakeAgent::Oid& name)
{
    std::vector<UINT> ids(name.begin(), name.end());
    const AsnObjectIdentifier oid{static_cast<UINT>(ids.size()), ids.data()};
    char* pszName = nullptr;
    EXPECT_TRUE(SnmpMgrOidToStr(&oid, &pszName));
    const std::string strName = pszName ? pszName : "";
    SnmpUtilMemFree(pszName);
    return strName;
}

// What a hostile agent sends shows as sent, under its whole name, and the copy
// keeps every node on one line of five fields.
TEST_F(GridWalk, HostileAgentShowsWhatItSentOneNodePerLine)
{
    const std::vector<CFakeAgent::CVar> vars = HostileVars();
    CFakeAgent agent([&](const CFakeAgent::CRequest& request, std::size_t) { return CFakeAgent::NextFrom(vars, request); });
    CTestGrid grid;
    Start(grid, agent.Address());
    // The last cleaning tells the view (no walk runs then); the whole walk may
    // still be queued when the walk thread ends.
    ASSERT_TRUE(WaitUntil([&] { return grid.m_nQueryEnded > 0 && QueryOver(grid); }));
    EXPECT_TRUE(m_boxes.empty()) << m_boxes.front();
    ExpectConsistent(grid);

    for (const CHostileVar& v : HostileMib()) {
        const std::string strOid = OidText(v.var.name);
        CTreeItem* pLeaf = NodeWithOid(grid, strOid);
        ASSERT_NE(pLeaf, nullptr) << strOid << "\n" << Dump(grid);
        EXPECT_EQ(PathOf(grid, pLeaf), NameOf(v.var.name));
        EXPECT_EQ(grid.InfoOf(pLeaf)->GetSubText(COidTreeGrid::cellType), v.strType) << strOid;
        EXPECT_EQ(grid.InfoOf(pLeaf)->GetSubText(COidTreeGrid::cellValue), v.strValue) << strOid;
    }
    // The two names longer than the name buffer differ only in their last component.
    const auto labelOf = [&](std::size_t i) { return grid.InfoOf(NodeWithOid(grid, OidText(HostileMib()[i].var.name)))->GetText(); };
    EXPECT_NE(labelOf(9), labelOf(10));
    EXPECT_EQ(PathOf(grid, NodeWithOid(grid, ".1.3.5.1.0")).rfind(".iso.", 0), 0u);

    grid.CopyTreeAsText();
    const std::string strText = GetClipboardText();
    std::size_t nLines = 0;
    std::istringstream lines(strText);
    for (std::string strLine; std::getline(lines, strLine); ++nLines)
        EXPECT_EQ(std::count(strLine.begin(), strLine.end(), '\t'), 4) << strLine;
    EXPECT_EQ(nLines, treetest::AllNodes(grid).size());
    std::string strDescr;
    AppendLineField(strDescr, HostileMib()[1].strValue);
    EXPECT_NE(strText.find("\tOCTETSTRING\t" + strDescr + "\t.1.3.6.1.2.1.1.1.0\t\n"), std::string::npos);
}

} // namespace

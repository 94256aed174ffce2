// Find and filter of the tree-list control: the matcher's rules, the search
// order with its wrap-around, revealing matches in collapsed branches (and
// not past a node that may not expand), and filtering with the consistency
// check, an exact restore, nodes added while filtered, and the copy.
#include "tests/treelist/TreeTestUtil.h"
#include "treelist/TreeMatcher.h"

#include <map>
#include <random>

using namespace treetest;

namespace {

CTreeMatcher Matcher(const std::string& pattern, UINT nFlags = 0, DWORD nMask = CTreeMatcher::kAllColumns)
{
    CTreeMatcher m;
    m.Set(pattern, nFlags, nMask);
    return m;
}

bool Match(const CTreeMatcher& m, const std::string& label, const Strings& cells = {})
{
    std::unique_ptr<CNodeInfo> pInfo(Info(label, cells));
    return m.Matches(*pInfo) != FALSE;
}

// Every node's label with its expansion, and the rows: what a clear must give back.
struct Snapshot
{
    std::vector<std::pair<std::string, BOOL>> nodes;
    Strings rows;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CTreeListCtrl& c)
{
    Snapshot s;
    for (Node* p : AllNodes(c))
        s.nodes.emplace_back(c.InfoOf(p)->GetText(), c.HasChildren(p) ? c.IsCollapsed(p) : FALSE);
    s.rows = RowLabels(c);
    return s;
}

Node* ByLabel(const CTreeListCtrl& c, const std::string& label)
{
    for (Node* p : AllNodes(c))
        if (c.InfoOf(p)->GetText() == label)
            return p;
    return nullptr;
}

std::string SelectedLabel(CTestTree& c)
{
    const int nRow = c.SelectedRow();
    return nRow < 0 ? "" : c.GetItemText(nRow, 0);
}

// system
//   sysDescr   [OCTETSTRING, "Linux box", .1.1]
//   sysORTable
//     sysOREntry
//       sysORDescr [OCTETSTRING, "The MIB for SNMPv2", .9.1.3]
//       sysORID    [OBJECTIDENTIFIER, ".1.3.6", .9.1.2]
// interfaces
//   ifNumber       [INTEGER, "2", .2.1]
//   ifTable
//     ifDescr      [OCTETSTRING, "eth0", .2.2.1.2]
// Everything collapsed.
class TreeFind : public testing::Test
{
protected:
    void SetUp() override { Build(c); }
    static void Build(CTreeListCtrl& c)
    {
        Node* sys = Root(c, "system");
        c.AddChildNode(sys, Info("sysDescr", {"OCTETSTRING", "Linux box", ".1.1"}), FALSE);
        Node* entry = Child(c, Child(c, sys, "sysORTable"), "sysOREntry");
        c.AddChildNode(entry, Info("sysORDescr", {"OCTETSTRING", "The MIB for SNMPv2", ".9.1.3"}), FALSE);
        c.AddChildNode(entry, Info("sysORID", {"OBJECTIDENTIFIER", ".1.3.6", ".9.1.2"}), FALSE);
        Node* ifs = Root(c, "interfaces");
        c.AddChildNode(ifs, Info("ifNumber", {"INTEGER", "2", ".2.1"}), FALSE);
        c.AddChildNode(Child(c, ifs, "ifTable"), Info("ifDescr", {"OCTETSTRING", "eth0", ".2.2.1.2"}), FALSE);
    }
    std::string Find(const std::string& pattern, CTreeListCtrl::EFindStep eStep, UINT nFlags = 0)
    {
        const CTreeListCtrl::CFindResult r = c.FindAndShow(Matcher(pattern, nFlags), eStep);
        return r.pMatch ? c.InfoOf(r.pMatch)->GetText() : "";
    }
    CTestTree c;
};

} // namespace

TEST(TreeMatcher, PlainTextCaseAndColumns)
{
    EXPECT_TRUE(Match(Matcher("SYSDESCR"), "sysDescr"));
    EXPECT_FALSE(Match(Matcher("SYSDESCR", CTreeMatcher::fMatchCase), "sysDescr"));
    EXPECT_TRUE(Match(Matcher("sysDescr", CTreeMatcher::fMatchCase), "sysDescr.0"));
    // Bytes are Latin-1 characters: case folds beyond ASCII too.
    EXPECT_TRUE(Match(Matcher("\xC9T\xC9"), "l'\xE9t\xE9"));
    EXPECT_FALSE(Match(Matcher("\xC9T\xC9", CTreeMatcher::fMatchCase), "l'\xE9t\xE9"));
    // Regular-expression characters mean themselves in a plain pattern.
    EXPECT_TRUE(Match(Matcher(".1.3"), "x", {"", ".1.3.6"}));
    EXPECT_FALSE(Match(Matcher("1.3"), "x", {"", "1x3"}));

    // Only the columns of the mask: here the label and column 2 (cell 1).
    const DWORD nMask = 1u | (1u << 2);
    EXPECT_TRUE(Match(Matcher("eth0", 0, nMask), "ifDescr", {"OCTETSTRING", "eth0", ".1"}));
    EXPECT_FALSE(Match(Matcher("OCTET", 0, nMask), "ifDescr", {"OCTETSTRING", "eth0", ".1"}));
    EXPECT_FALSE(Match(Matcher(".1", 0, nMask), "ifDescr", {"OCTETSTRING", "eth0", ".1"}));

    // An empty pattern matches nothing, not everything.
    EXPECT_TRUE(Matcher("").IsEmpty());
    EXPECT_FALSE(Match(Matcher(""), "anything"));
}

TEST(TreeMatcher, RegularExpressionsAndBadOnes)
{
    const UINT re = CTreeMatcher::fRegularExpression;
    EXPECT_TRUE(Match(Matcher("^if(In|Out)Octets$", re), "ifinoctets"));
    EXPECT_FALSE(Match(Matcher("^if(In|Out)Octets$", re | CTreeMatcher::fMatchCase), "ifinoctets"));
    EXPECT_FALSE(Match(Matcher("^Octets", re), "ifInOctets"));
    EXPECT_TRUE(Match(Matcher("\\.9\\.1\\.[23]$", re), "x", {"", "", ".1.3.6.1.2.1.1.9.1.3"}));

    CTreeMatcher bad;
    EXPECT_FALSE(bad.Set("sys(Descr", re));
    EXPECT_NE(bad.ErrorText(), "");
    EXPECT_TRUE(bad.IsEmpty());
    EXPECT_FALSE(bad.Matches(*std::unique_ptr<CNodeInfo>(Info("sys(Descr"))));
    // The same text is a fine plain pattern.
    EXPECT_TRUE(bad.Set("sys(Descr", 0));
    EXPECT_EQ(bad.ErrorText(), "");
    EXPECT_TRUE(bad.Matches(*std::unique_ptr<CNodeInfo>(Info("sys(Descr"))));
}

TEST_F(TreeFind, NextAndPreviousGoRoundTheEnds)
{
    const CTreeMatcher m = Matcher("descr");
    Node* sysDescr = ByLabel(c, "sysDescr");
    Node* sysORDescr = ByLabel(c, "sysORDescr");
    Node* ifDescr = ByLabel(c, "ifDescr");
    BOOL bWrapped = TRUE;
    EXPECT_EQ(c.FindNode(m, nullptr, TRUE, FALSE, &bWrapped), sysDescr);
    EXPECT_FALSE(bWrapped);
    EXPECT_EQ(c.FindNode(m, sysDescr, TRUE, FALSE, &bWrapped), sysORDescr);
    EXPECT_EQ(c.FindNode(m, sysORDescr, TRUE, FALSE, &bWrapped), ifDescr);
    EXPECT_FALSE(bWrapped);
    EXPECT_EQ(c.FindNode(m, ifDescr, TRUE, FALSE, &bWrapped), sysDescr);
    EXPECT_TRUE(bWrapped);
    EXPECT_EQ(c.FindNode(m, sysDescr, FALSE, FALSE, &bWrapped), ifDescr);
    EXPECT_TRUE(bWrapped);
    EXPECT_EQ(c.FindNode(m, ifDescr, FALSE, FALSE, &bWrapped), sysORDescr);
    EXPECT_EQ(c.FindNode(m, nullptr, FALSE, FALSE, &bWrapped), ifDescr);
    // Included, the start itself is the match; a lone match is found again from itself.
    EXPECT_EQ(c.FindNode(m, ifDescr, TRUE, TRUE), ifDescr);
    EXPECT_EQ(c.FindNode(Matcher("ifNumber"), ByLabel(c, "ifNumber"), TRUE, FALSE, &bWrapped),
              ByLabel(c, "ifNumber"));
    EXPECT_TRUE(bWrapped);
    EXPECT_EQ(c.FindNode(Matcher("absent"), sysDescr, TRUE, FALSE), nullptr);
    EXPECT_EQ(c.FindNode(Matcher("absent"), nullptr, FALSE, TRUE), nullptr);
}

TEST_F(TreeFind, MatchesInCollapsedBranchesAreRevealedAndStepsGoOnFromThem)
{
    Show(c);
    EXPECT_EQ(RowLabels(c), (Strings{"system", "interfaces"}));
    EXPECT_EQ(Find("mib for", CTreeListCtrl::fsNext), "sysORDescr");  // a value, four levels down
    EXPECT_EQ(SelectedLabel(c), "sysORDescr");
    EXPECT_EQ(RowLabels(c), (Strings{"system", "sysDescr", "sysORTable", "sysOREntry", "sysORDescr", "sysORID",
                                     "interfaces"}));
    EXPECT_EQ(Check(c), "");

    EXPECT_EQ(Find("descr", CTreeListCtrl::fsNext), "ifDescr");
    EXPECT_EQ(SelectedLabel(c), "ifDescr");
    EXPECT_EQ(Find("descr", CTreeListCtrl::fsNext), "sysDescr");  // round the end
    EXPECT_EQ(Find("descr", CTreeListCtrl::fsPrevious), "ifDescr");
    // Typing on: the selected row is tried first.
    EXPECT_EQ(Find("ifdescr", CTreeListCtrl::fsAgain), "ifDescr");
    // An OID cell; the selection moved by hand is where the next step starts.
    c.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Find(".9.1.2", CTreeListCtrl::fsNext), "sysORID");
    // No match leaves the selection where it was.
    EXPECT_EQ(Find("nothing here", CTreeListCtrl::fsNext), "");
    EXPECT_EQ(SelectedLabel(c), "sysORID");
    EXPECT_EQ(Check(c), "");
}

TEST_F(TreeFind, ABranchThatMayNotExpandIsSelectedInsteadAndLeftClosed)
{
    c.bRefuseBusy = true;
    Node* sys = ByLabel(c, "system");
    c.InfoOf(sys)->SetText("system (Querying...)");
    c.RefreshRow(sys);
    Show(c);
    CTreeListCtrl::CFindResult r = c.FindAndShow(Matcher("sysOR"), CTreeListCtrl::fsNext);
    EXPECT_EQ(r.pMatch, ByLabel(c, "sysORTable"));
    EXPECT_EQ(r.pShown, sys);
    EXPECT_TRUE(c.IsCollapsed(sys));
    EXPECT_EQ(SelectedLabel(c), "system (Querying...)");
    // The next step goes on from the hidden match, not from the selected top node.
    r = c.FindAndShow(Matcher("sysOR"), CTreeListCtrl::fsNext);
    EXPECT_EQ(r.pMatch, ByLabel(c, "sysOREntry"));
    EXPECT_EQ(r.pShown, sys);
    r = c.FindAndShow(Matcher("sysOR"), CTreeListCtrl::fsPrevious);
    EXPECT_EQ(r.pMatch, ByLabel(c, "sysORTable"));
    // A node below a busy one that is itself free still expands once reached.
    c.InfoOf(sys)->SetText("system");
    c.RefreshRow(sys);
    r = c.FindAndShow(Matcher("sysORID"), CTreeListCtrl::fsNext);
    EXPECT_EQ(r.pShown, r.pMatch);
    EXPECT_EQ(SelectedLabel(c), "sysORID");
    EXPECT_EQ(Check(c), "");
}

TEST_F(TreeFind, TheFindPositionGoesWithAFreedNode)
{
    Show(c);
    EXPECT_EQ(Find("sysOREntry", CTreeListCtrl::fsNext), "sysOREntry");
    Node* pTable = ByLabel(c, "sysORTable");
    c.RemoveNode(pTable, c.RowOfNode(pTable));
    // The freed match is no starting point; the search starts at the selected row.
    c.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Find("descr", CTreeListCtrl::fsNext), "sysDescr");
    c.RemoveAllNodes();
    EXPECT_EQ(Find("descr", CTreeListCtrl::fsNext), "");
}

TEST_F(TreeFind, FilterShowsMatchesWithTheirAncestorsAndClearRestoresExactly)
{
    Show(c);
    // Some expansion of the user's own: system open, sysORTable open below it, interfaces closed.
    c.ExpandNode(ByLabel(c, "system"), 0);
    c.ExpandNode(ByLabel(c, "sysORTable"), c.RowOfNode(ByLabel(c, "sysORTable")));
    c.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);  // sysDescr
    const Snapshot before = Take(c);
    ASSERT_EQ(Check(c), "");

    EXPECT_EQ(c.ApplyFilter(Matcher("eth0")), 1);
    EXPECT_TRUE(c.IsFiltered());
    EXPECT_EQ(RowLabels(c), (Strings{"interfaces", "ifTable", "ifDescr"}));
    EXPECT_EQ(Check(c), "");
    EXPECT_EQ(c.SelectedRow(), -1);  // sysDescr is not shown

    // A second pattern replaces the first; matches with children keep them hidden.
    EXPECT_EQ(c.ApplyFilter(Matcher("sysOR")), 4);
    EXPECT_EQ(RowLabels(c), (Strings{"system", "sysORTable", "sysOREntry", "sysORDescr", "sysORID"}));
    EXPECT_EQ(Check(c), "");
    // Collapsing and expanding inside the filter keeps to the filtered rows.
    Node* sys = ByLabel(c, "system");
    c.CollapseNode(sys);
    EXPECT_EQ(RowLabels(c), (Strings{"system"}));
    int nLast = 0;
    c.ExpandSubtree(sys, nLast);
    EXPECT_EQ(nLast, 4);
    EXPECT_EQ(RowLabels(c), (Strings{"system", "sysORTable", "sysOREntry", "sysORDescr", "sysORID"}));
    EXPECT_EQ(Check(c), "");
    // Find keeps to what the filter leaves.
    EXPECT_EQ(Find("descr", CTreeListCtrl::fsNext), "sysORDescr");
    EXPECT_EQ(Find("descr", CTreeListCtrl::fsNext), "sysORDescr");

    EXPECT_EQ(c.ApplyFilter(Matcher("no such text")), 0);
    EXPECT_EQ(c.GetItemCount(), 0);
    EXPECT_EQ(Check(c), "");

    c.ClearFilter();
    EXPECT_FALSE(c.IsFiltered());
    EXPECT_EQ(Take(c), before);
    EXPECT_EQ(Check(c), "");
}

TEST_F(TreeFind, TheCopyHoldsWhatTheFilterLeavesCollapsedOrNot)
{
    c.ApplyFilter(Matcher("ifDescr"));
    c.CollapseNode(ByLabel(c, "interfaces"));
    EXPECT_EQ(c.TreeAsText(), "interfaces\t\nifTable\t\nifDescr\tOCTETSTRING\teth0\t.2.2.1.2\t\n");
    c.ClearFilter();
    const std::string strAll = c.TreeAsText();
    EXPECT_EQ(std::count(strAll.begin(), strAll.end(), '\n'), 10);
}

// Nodes that arrive while a filter is on: the ones that match show, with the
// ancestors the filter had hidden; after the clear the tree is the one the
// same additions give without a filter.
TEST_F(TreeFind, NodesAddedWhileFilteredAndTheClearAfterThem)
{
    CTestTree twin;
    Build(twin);
    for (CTestTree* t : {&c, &twin}) {
        Node* sys = ByLabel(*t, "system");
        t->ExpandNode(sys, t->RowOfNode(sys));
        t->ExpandNode(ByLabel(*t, "sysORTable"), t->RowOfNode(ByLabel(*t, "sysORTable")));
    }
    c.ApplyFilter(Matcher("eth"));
    const auto both = [&](const std::function<void(CTestTree&)>& step) {
        step(c);
        step(twin);
        ASSERT_EQ(Check(c), "");
        ASSERT_EQ(Check(twin), "");
    };
    // A match under hidden ancestors: they pass again, collapsed, the topmost with its row.
    both([](CTestTree& t) { Child(t, ByLabel(t, "sysOREntry"), "eth1"); });
    EXPECT_EQ(RowLabels(c), (Strings{"system", "interfaces", "ifTable", "ifDescr"}));
    EXPECT_TRUE(c.IsCollapsed(ByLabel(c, "system")));
    EXPECT_FALSE(c.IsFilteredOut(ByLabel(c, "sysOREntry")));
    EXPECT_TRUE(c.IsFilteredOut(ByLabel(c, "sysORID")));
    // No match: nothing shows, the rows stay.
    both([](CTestTree& t) { Child(t, ByLabel(t, "ifTable"), "ifType"); });
    EXPECT_EQ(c.GetItemCount(), 4);
    // A match added with its row under a shown, expanded parent.
    both([](CTestTree& t) { Child(t, ByLabel(t, "ifTable"), "eth2", TRUE); });
    EXPECT_EQ(RowLabels(c).back(), "eth2");
    // A new top node that matches, and one that does not.
    both([](CTestTree& t) { Root(t, "ethernet"); });
    both([](CTestTree& t) { Child(t, Root(t, "at"), "atTable"); });
    EXPECT_EQ(RowLabels(c).back(), "ethernet");

    c.ClearFilter();
    EXPECT_EQ(Take(c), Take(twin));
    EXPECT_EQ(Check(c), "");
}

// Random trees, filters and moves inside them; every state checked, and the
// clear always gives back the tree as it was.
TEST(TreeFindRandom, FilterAndClearKeepTheRowsConsistent)
{
    std::mt19937 rng(17);
    const Strings words{"alpha", "beta", "gamma", "delta"};
    for (int nRound = 0; nRound < 30; ++nRound) {
        CTestTree c;
        std::vector<Node*> nodes{Root(c, "r0")};
        for (int i = 1; i < 120; ++i) {
            Node* parent = nodes[rng() % nodes.size()];
            const std::string label = words[rng() % words.size()] + std::to_string(i);
            nodes.push_back(rng() % 6 == 0 ? Root(c, label) : Child(c, parent, label));
        }
        for (int i = 0; i < 40; ++i) {
            Node* p = nodes[rng() % nodes.size()];
            c.ExpandNode(p, c.RowOfNode(p));
        }
        const Snapshot before = Take(c);
        c.ApplyFilter(Matcher(words[rng() % words.size()].substr(0, 3) + std::to_string(rng() % 10)));
        ASSERT_EQ(Check(c), "") << "round " << nRound;
        for (int i = 0; i < 20; ++i) {
            Node* p = nodes[rng() % nodes.size()];
            if (rng() % 2)
                c.ExpandNode(p, c.RowOfNode(p));
            else
                c.CollapseNode(p);
            ASSERT_EQ(Check(c), "") << "round " << nRound << " step " << i;
        }
        c.ClearFilter();
        ASSERT_EQ(Take(c), before) << "round " << nRound;
        ASSERT_EQ(Check(c), "") << "round " << nRound;
    }
}

// A node whose children the filter hides draws no box, and a node whose later
// siblings it hides ends its branch with a corner.
TEST(TreeFindDraw, HiddenChildrenAndSiblingsDrawNoBoxAndNoLine)
{
    CTestTree tree;
    Node* r = Root(tree, "R");
    Node* x = Child(tree, r, "X");
    Child(tree, x, "x1");
    Child(tree, r, "Y");
    tree.ExpandNode(r, 0);
    ASSERT_EQ(RowLabels(tree), (Strings{"R", "X", "Y"}));
    const auto row1 = [&] {
        CRect rc;
        tree.GetItemRect(1, &rc, LVIR_BOUNDS);
        const int yc = rc.top + 8 + ((rc.Height() - 16) >> 1);
        const QImage image = tree.RenderRow(1, false);
        return std::pair{Pixel(image, 19, yc), Pixel(image, 24, rc.bottom - 1)};
    };
    EXPECT_EQ(row1(), std::pair(RGB(198, 198, 198), kLineColour)) << "box frame, and a tee on to Y";

    tree.ApplyFilter(Matcher("X", CTreeMatcher::fMatchCase));
    ASSERT_EQ(RowLabels(tree), (Strings{"R", "X"}));
    EXPECT_EQ(row1(), std::pair(RGB(255, 255, 255), RGB(255, 255, 255))) << "no box, a corner";
    // Nor does a click where the box was open anything.
    LVHITTESTINFO ht;
    EXPECT_TRUE(tree.ClickToggle(BoxCentre(tree, 1).x(), BoxCentre(tree, 1).y(), ht));
    EXPECT_EQ(tree.GetItemCount(), 2);
}

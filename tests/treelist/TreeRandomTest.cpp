// Long seeded sequences of every structural operation, by call and by the
// control's own input (keys, box clicks, drags), with the rows checked
// against a plain recomputation after each step (or every few steps, so that
// lazily kept row numbers pile up between checks).
#include "TreeTestUtil.h"

#include <random>

using namespace treetest;

namespace {

class CSequence
{
public:
    CSequence(CTestTree& c, unsigned seed) : m_c(c), m_rng(seed) {}

    // One random operation; returns its name for failure messages.
    std::string Step()
    {
        const std::vector<Node*> all = AllNodes(m_c);
        if (all.empty() || Chance(10))
            return Root(m_c, Label()), "add root";
        Node* pNode = all[Below(all.size())];
        switch (Below(15)) {
        case 0:
        case 1:
        case 2:
            return all.size() > 400 ? Remove(pNode) : AddChild(pNode);
        case 3: m_c.ExpandNode(pNode, m_c.RowOfNode(pNode)); return "expand";
        case 4: m_c.CollapseNode(pNode); return "collapse";
        case 5: {
            int last = 0;
            m_c.ExpandSubtree(pNode, last);
            return "expand subtree";
        }
        case 6: return Remove(pNode);
        case 7: return m_c.CopySubtree(all[Below(all.size())], all[Below(all.size())]), "copy subtree";
        case 8: m_c.RevealNode(pNode); return "reveal";
        case 9: return Key();
        case 10: return BoxClick();
        case 11: return Drag();
        case 12:
            m_c.InfoOf(pNode)->SetText(m_c.InfoOf(pNode)->GetText() + "'");
            m_c.RefreshRow(pNode);
            return "refresh";
        case 13:
            m_c.MoveChildren(pNode, all[Below(all.size())]);  // refused while either shows children
            return "move children";
        default: return Chance(30) ? (m_c.RemoveAllNodes(), std::string("remove all")) : AddChild(pNode);
        }
    }

private:
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_rng); }
    bool Chance(int nOneIn) { return Below(static_cast<size_t>(nOneIn)) == 0; }
    std::string Label() { return "n" + std::to_string(m_nNext++); }

    std::string AddChild(Node* pParent)
    {
        Child(m_c, pParent, Label(), Chance(2) ? TRUE : FALSE);
        return "add child";
    }

    std::string Remove(Node* pNode)
    {
        m_c.RemoveNode(pNode, Chance(2) ? m_c.RowOfNode(pNode) : m_c.CachedRowOf(pNode));
        return "remove";
    }

    std::string Key()
    {
        if (m_c.GetItemCount() == 0)
            return "no key";
        const int nRow = static_cast<int>(Below(static_cast<size_t>(m_c.GetItemCount())));
        m_c.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        static const Qt::Key keys[] = {Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Delete};
        const Qt::Key key = keys[Below(4)];
        QTest::keyClick(&m_c, key, key == Qt::Key_Delete ? Qt::NoModifier : Qt::KeypadModifier);
        return "key";
    }

    // Rows on the page, so that the mouse can reach them.
    int VisibleRow()
    {
        const int nCount = std::min(m_c.GetCountPerPage(), m_c.GetItemCount() - m_c.GetTopIndex());
        return nCount > 0 ? m_c.GetTopIndex() + static_cast<int>(Below(static_cast<size_t>(nCount))) : -1;
    }

    std::string BoxClick()
    {
        const int nRow = VisibleRow();
        if (nRow >= 0)
            QTest::mouseClick(m_c.viewport(), Qt::LeftButton, Qt::NoModifier, BoxCentre(m_c, nRow));
        return "box click";
    }

    // A drop that is allowed moves the subtree: the target's last child then
    // carries the dragged subtree's labels.
    std::string Drag()
    {
        const int nFrom = VisibleRow();
        const int nTo = VisibleRow();
        if (nFrom < 0)
            return "no drag";
        Node* pDragged = m_c.NodeAtRow(nFrom);
        Node* pTarget = m_c.NodeAtRow(nTo);
        const bool bAllowed = nFrom != nTo && !m_c.IsRootNode(pDragged) && m_c.ParentOf(pDragged) != pTarget
                           && !m_c.IsInSubtree(pDragged, pTarget);
        const Strings labels = Labels(pDragged);
        const size_t nBefore = AllNodes(m_c).size();
        DragAndDrop(m_c, nFrom, nTo);
        EXPECT_EQ(AllNodes(m_c).size(), nBefore);
        if (bAllowed) {
            EXPECT_EQ(Labels(Children(m_c, pTarget).back()), labels);
        }
        return bAllowed ? "drop" : "refused drop";
    }

    Strings Labels(Node* pTop)
    {
        std::vector<Node*> subtree;
        PreOrder(m_c, pTop, subtree);
        Strings labels;
        for (Node* p : subtree)
            labels.push_back(m_c.InfoOf(p)->GetText());
        return labels;
    }

    CTestTree& m_c;
    std::mt19937 m_rng;
    int m_nNext = 0;
};

}  // namespace

// Checked after every step, and only every few steps so that lazily kept row
// numbers pile up between checks.
TEST(TreeRandom, RowsMatchAPlainRecomputation)
{
    for (const auto& [seed, nSteps, nCheckEvery] : {std::tuple{1u, 700, 1}, {2u, 700, 1}, {3u, 700, 1},
                                                   {11u, 1500, 7}, {12u, 1500, 7}}) {
        CTestTree c;
        c.bCopyInfos = true;
        Show(c, 500, 320);
        CSequence sequence(c, seed);
        for (int step = 1; step <= nSteps; ++step) {
            const std::string op = sequence.Step();
            if (step % nCheckEvery == 0 || step == nSteps) {
                ASSERT_EQ(Check(c), "") << "seed " << seed << ", step " << step << " (" << op << ")";
            }
        }
    }
}

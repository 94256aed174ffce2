#pragma once
// Checks a tree-list control against a plain recomputation of what its rows
// must be: the shown nodes in pre-order, each row's item data, indent and
// label, row numbers of shown and hidden nodes, levels and parents, and that
// every node sits in exactly one place. Returns the first difference found,
// empty when there is none.
#include "treelist/TreeListCtrl.h"

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace treetest {

using Node = CTreeListCtrl::CTreeItem;

inline std::vector<Node*> Children(const CTreeListCtrl& c, const Node* p)
{
    std::vector<Node*> out;
    for (auto pos = c.FirstChildPosition(p); pos;)
        out.push_back(c.NextChild(p, pos));
    return out;
}

inline std::vector<Node*> Roots(const CTreeListCtrl& c)
{
    std::vector<Node*> out;
    for (auto pos = c.FirstRootPosition(); pos;)
        out.push_back(c.NextRoot(pos));
    return out;
}

// Every node in pre-order, shown or not.
inline void PreOrder(const CTreeListCtrl& c, Node* p, std::vector<Node*>& out)
{
    out.push_back(p);
    for (Node* child : Children(c, p))
        PreOrder(c, child, out);
}

inline std::vector<Node*> AllNodes(const CTreeListCtrl& c)
{
    std::vector<Node*> out;
    for (Node* r : Roots(c))
        PreOrder(c, r, out);
    return out;
}

inline void ShownPreOrder(const CTreeListCtrl& c, Node* p, std::vector<Node*>& out)
{
    out.push_back(p);
    if (c.IsCollapsed(p))
        return;
    for (Node* child : Children(c, p))
        ShownPreOrder(c, child, out);
}

inline std::vector<Node*> ShownNodes(const CTreeListCtrl& c)
{
    std::vector<Node*> out;
    for (Node* r : Roots(c))
        ShownPreOrder(c, r, out);
    return out;
}

inline std::string CheckStructure(CTreeListCtrl& c, std::set<const Node*>& seen)
{
    std::ostringstream err;
    std::vector<std::pair<Node*, Node*>> pending;  // node, expected parent
    for (Node* r : Roots(c))
        pending.push_back({r, nullptr});
    int nRoots = 0;
    for (size_t i = 0; i < pending.size(); ++i) {
        auto [p, parent] = pending[i];
        if (!seen.insert(p).second)
            return "node reached twice";
        if (!parent) {
            ++nRoots;
            if (!c.IsRootNode(p) || c.RootIndexOf(p) != nRoots - 1 || c.RootAt(nRoots - 1) != p)
                return "root list disagrees with root accessors";
        } else if (c.IsRootNode(p)) {
            return "child taken for a root";
        }
        if (c.ParentOf(p) != parent)
            return "wrong parent";
        const int expectedLevel = parent ? c.LevelOf(parent) + 1 : 1;
        if (c.LevelOf(p) != expectedLevel) {
            err << "level " << c.LevelOf(p) << " instead of " << expectedLevel;
            return err.str();
        }
        const std::vector<Node*> kids = Children(c, p);
        if (static_cast<int>(kids.size()) != c.ChildCount(p) || (c.HasChildren(p) != 0) != !kids.empty())
            return "child count disagrees with the child list";
        if (!c.InfoOf(p))
            return "node without info";
        for (Node* k : kids)
            pending.push_back({k, p});
    }
    if (nRoots != c.RootCount())
        return "root count";
    return "";
}

inline std::string CheckRows(CTreeListCtrl& c, const std::set<const Node*>& all)
{
    std::ostringstream err;
    const std::vector<Node*> shown = ShownNodes(c);
    if (c.GetItemCount() != static_cast<int>(shown.size())) {
        err << "row count " << c.GetItemCount() << " instead of " << shown.size();
        return err.str();
    }
    for (int row = 0; row < static_cast<int>(shown.size()); ++row) {
        Node* p = shown[static_cast<size_t>(row)];
        if (c.NodeAtRow(row) != p) {
            err << "row " << row << " holds the wrong node";
            return err.str();
        }
        LVITEM item;
        item.mask = LVIF_INDENT;
        item.iItem = row;
        c.GetItem(&item);
        if (item.iIndent != c.LevelOf(p) || c.GetItemText(row, 0) != c.InfoOf(p)->GetText()) {
            err << "row " << row << " indent or label";
            return err.str();
        }
    }
    // Row numbers, asked in reverse so that lazily kept numbers are found from behind too.
    for (int row = static_cast<int>(shown.size()) - 1; row >= 0; --row) {
        Node* p = shown[static_cast<size_t>(row)];
        if (c.RowOfNode(p) != row || c.CachedRowOf(p) != row) {
            err << "row number of row " << row << ": " << c.RowOfNode(p) << "/" << c.CachedRowOf(p);
            return err.str();
        }
    }
    const std::set<const Node*> shownSet(shown.begin(), shown.end());
    for (const Node* p : all) {
        if (shownSet.count(p))
            continue;
        Node* hidden = const_cast<Node*>(p);
        if (c.RowOfNode(hidden) != -1 || c.CachedRowOf(hidden) != -1)
            return "hidden node with a row number";
        // Hidden parents are collapsed, so that showing them later shows one level.
        if (c.HasChildren(p) && !c.IsCollapsed(p))
            return "hidden node left expanded";
    }
    return "";
}

inline std::string Check(CTreeListCtrl& c)
{
    std::set<const Node*> all;
    std::string err = CheckStructure(c, all);
    if (err.empty())
        err = CheckRows(c, all);
    return err;
}

}  // namespace treetest

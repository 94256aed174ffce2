#pragma once
// Checks a tree-list control against a plain recomputation of what its rows
// must be: the shown nodes in pre-order, each row's item data, indent and
// label, the row numbers of shown and hidden nodes, levels and parents, and
// that every node sits in exactly one place. Returns the first difference
// found, empty when there is none.
#include "treelist/TreeListCtrl.h"

#include <set>
#include <string>
#include <vector>

namespace treetest {

using Node = CTreeListCtrl::CTreeItem;

// The children of p, or the roots for null.
inline std::vector<Node*> Children(const CTreeListCtrl& c, const Node* p)
{
    std::vector<Node*> out;
    for (auto pos = p ? c.FirstChildPosition(p) : c.FirstRootPosition(); pos;)
        out.push_back(p ? c.NextChild(p, pos) : c.NextRoot(pos));
    return out;
}

// p and its descendants in pre-order (only the shown ones with bShownOnly).
inline void PreOrder(const CTreeListCtrl& c, Node* p, std::vector<Node*>& out, bool bShownOnly = false)
{
    out.push_back(p);
    if (!bShownOnly || !c.IsCollapsed(p))
        for (Node* child : Children(c, p))
            PreOrder(c, child, out, bShownOnly);
}

inline std::vector<Node*> AllNodes(const CTreeListCtrl& c, bool bShownOnly = false)
{
    std::vector<Node*> out;
    for (Node* r : Children(c, nullptr))
        PreOrder(c, r, out, bShownOnly);
    return out;
}

inline std::string CheckStructure(CTreeListCtrl& c, Node* parent, std::set<const Node*>& seen)
{
    const std::vector<Node*> kids = Children(c, parent);
    if (parent && static_cast<int>(kids.size()) != c.ChildCount(parent))
        return "child count disagrees with the child list";
    for (size_t i = 0; i < kids.size(); ++i) {
        Node* p = kids[i];
        if (!seen.insert(p).second)
            return "node reached twice";
        if (c.ParentOf(p) != parent || (c.IsRootNode(p) != 0) != !parent || !c.InfoOf(p))
            return "wrong parent, root flag or info";
        if (!parent && (c.RootIndexOf(p) != static_cast<int>(i) || c.RootAt(static_cast<int>(i)) != p))
            return "root list disagrees with root accessors";
        if (c.LevelOf(p) != (parent ? c.LevelOf(parent) + 1 : 1))
            return "wrong level";
        const std::string err = CheckStructure(c, p, seen);
        if (!err.empty())
            return err;
    }
    return "";
}

inline std::string CheckRows(CTreeListCtrl& c, const std::set<const Node*>& all)
{
    const std::vector<Node*> shown = AllNodes(c, true);
    if (c.GetItemCount() != static_cast<int>(shown.size()))
        return "row count " + std::to_string(c.GetItemCount()) + " instead of " + std::to_string(shown.size());
    for (int row = 0; row < static_cast<int>(shown.size()); ++row) {
        LVITEM item;
        item.mask = LVIF_INDENT;
        item.iItem = row;
        c.GetItem(&item);
        Node* p = shown[static_cast<size_t>(row)];
        if (c.NodeAtRow(row) != p || item.iIndent != c.LevelOf(p) || c.GetItemText(row, 0) != c.InfoOf(p)->GetText())
            return "row " + std::to_string(row) + ": node, indent or label";
    }
    // Row numbers, asked from the bottom so that lazily kept numbers are found from behind too.
    for (int row = static_cast<int>(shown.size()) - 1; row >= 0; --row) {
        Node* p = shown[static_cast<size_t>(row)];
        if (c.RowOfNode(p) != row || c.CachedRowOf(p) != row)
            return "row number of row " + std::to_string(row);
    }
    const std::set<const Node*> shownSet(shown.begin(), shown.end());
    for (const Node* p : all) {
        Node* hidden = const_cast<Node*>(p);
        if (shownSet.count(p))
            continue;
        if (c.RowOfNode(hidden) != -1 || c.CachedRowOf(hidden) != -1)
            return "hidden node with a row number";
        if (c.HasChildren(p) && !c.IsCollapsed(p))  // so that showing it later shows one level
            return "hidden node left expanded";
    }
    return "";
}

inline std::string Check(CTreeListCtrl& c)
{
    std::set<const Node*> all;
    std::string err = CheckStructure(c, nullptr, all);
    if (err.empty() && static_cast<int>(Children(c, nullptr).size()) != c.RootCount())
        err = "root count";
    return err.empty() ? CheckRows(c, all) : err;
}

}  // namespace treetest

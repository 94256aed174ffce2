#pragma once
// The menu a right click on the grid opens: copies of the clicked node's
// texts, expanding and collapsing its subtree, and the single operations on
// its variable (Get, Walk from Here, Set Value...). Items that do not apply to
// the node are shown disabled. UI thread only.
#include "grid/OidTreeGrid.h"
#include <functional>

class QMenu;

class CGridContextMenu
{
public:
    static constexpr const char* kCopyValue = "Copy Value";
    static constexpr const char* kCopyOid = "Copy OID";
    static constexpr const char* kCopyName = "Copy Name";
    static constexpr const char* kCopyRow = "Copy Row";
    static constexpr const char* kCopySubtree = "Copy Subtree";
    static constexpr const char* kExpandSubtree = "Expand Subtree";
    static constexpr const char* kCollapseSubtree = "Collapse Subtree";
    static constexpr const char* kGet = "Get";
    static constexpr const char* kWalkFromHere = "Walk from Here";
    static constexpr const char* kSetValue = "Set Value...";
    static constexpr const char* kShowTable = "Show Table";

    // walkFrom opens a new document window walking the request it is given;
    // showTable opens the table view of the selected row's table, and
    // canShowTable tells whether that row lies in a table.
    CGridContextMenu(COidTreeGrid& grid, std::function<void(const CWalkRequest&)> walkFrom,
                     std::function<bool()> canShowTable, std::function<void()> showTable);

    // Selects the row at pt (viewport coordinates), opens the menu there and
    // carries out the item chosen. Returns when the menu has closed and the
    // item's work is done.
    void Run(const QPoint& pt);

private:
    using CTreeItem = CTreeListCtrl::CTreeItem;
    // The menu for pNode (null: every item disabled); each action's data is
    // its item's index in the menu.
    void Fill(QMenu& menu, CTreeItem* pNode);
    void Carry(const QString& strItem, CTreeItem* pNode);
    void SetValue(CTreeItem* pNode);
    void WalkFrom(CTreeItem* pNode);

    COidTreeGrid& m_grid;
    std::function<void(const CWalkRequest&)> m_walkFrom;
    std::function<bool()> m_canShowTable;
    std::function<void()> m_showTable;
};

#pragma once
// Shared by the grid's tests: records through the grid's own message path, a
// dump of the tree, a consistency check of tree and rows, waiting on the loop.
#include "grid/OidTreeGrid.h"
#include "tests/grid/OidTreeGridTestPeer.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "snmp/WalkMessages.h"
#include "tests/treelist/TreeTestUtil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <sstream>

using CTreeItem = CTreeListCtrl::CTreeItem;

// The grid with its hooks in reach, counting WM_QUERY_ENDED to its parent.
class CTestGrid : public COidTreeGrid
{
public:
    using COidTreeGrid::HandleEnterKey;
    using COidTreeGrid::MayExpand;
    using COidTreeGrid::OnCellClick;
    using COidTreeGrid::OnDblClk;
    using COidTreeGrid::OnEndLabelEdit;
    using COidTreeGrid::RowImageFor;

    CTestGrid()
    {
        InitColumns();
        resize(800, 600);
        SetParentHandler([this](UINT nMsg, WPARAM, LPARAM) { return LRESULT(m_nQueryEnded += nMsg == WM_QUERY_ENDED); });
    }
    int m_nQueryEnded = 0;
};

// Default settings; message boxes recorded as "caption: text".
class CGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string& caption, UINT nType) {
            m_boxes.push_back(caption + ": " + text);
            m_nBoxType = nType;
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHook({}); }
    std::vector<std::string> m_boxes;
    UINT m_nBoxType = 0;  // of the last box
};

inline COidTreeGridTestPeer Peer(COidTreeGrid& grid)
{
    return COidTreeGridTestPeer(grid);
}

inline CWalkRecord* NewRecord(const std::string& strName, const std::string& strType = "INTEGER",
                              const std::string& strValue = "1", const std::string& strOid = ".1")
{
    return new CWalkRecord{strOid, strName, strType, strValue, {}};
}

// A record as the walk delivers it, through the window procedure.
inline void Deliver(COidTreeGrid& grid, const std::string& strName, const std::string& strType = "INTEGER",
                    const std::string& strValue = "1", const std::string& strOid = ".1")
{
    SendMessage(grid.WindowHandle(), WM_WALK_RECORD, reinterpret_cast<WPARAM>(NewRecord(strName, strType, strValue, strOid)), 0);
}

inline bool WaitUntil(const std::function<bool()>& pred, int nMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < nMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return pred();
}

// One line per node in pre-order: indent, label, " = type|value|oid" when a cell
// is set, " #image".
inline std::string Dump(COidTreeGrid& grid)
{
    std::ostringstream out;
    for (CTreeItem* pNode : treetest::AllNodes(grid)) {
        const CNodeInfo* pInfo = grid.InfoOf(pNode);
        const std::string strCells = pInfo->GetSubText(0) + "|" + pInfo->GetSubText(1) + "|" + pInfo->GetSubText(2);
        out << std::string(2 * (grid.LevelOf(pNode) - 1), ' ') << pInfo->GetText()
            << (strCells != "||" ? " = " + strCells : "") << " #" << pInfo->ImageIndex() << "\n";
    }
    return out.str();
}

// Tree and rows agree (the tree-list control's own consistency check).
inline void ExpectConsistent(COidTreeGrid& grid)
{
    EXPECT_EQ(treetest::Check(grid), "");
}

// The end of an in-place edit of the selected row's Value cell, as the editor
// reports it; null is an edit given up.
inline LRESULT EndEdit(CTestGrid& grid, const char* pszText)
{
    std::string strText = pszText ? pszText : "";
    NMLVDISPINFO info;
    info.hdr.code = LVN_ENDLABELEDIT;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = grid.SelectedRow();
    info.item.iSubItem = COidTreeGrid::colValue;
    info.item.pszText = pszText ? strText.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(strText.size());
    return grid.OnEndLabelEdit(&info);
}

// The node reached from the roots through these labels, or null.
inline CTreeItem* FindPath(COidTreeGrid& grid, const std::vector<std::string>& path)
{
    CTreeItem* pNode = nullptr;
    for (const std::string& strLabel : path) {
        const std::vector<CTreeItem*> children = treetest::Children(grid, pNode);
        const auto it = std::find_if(children.begin(), children.end(),
                                     [&](CTreeItem* p) { return grid.InfoOf(p)->GetText() == strLabel; });
        if (it == children.end())
            return nullptr;
        pNode = *it;
    }
    return pNode;
}

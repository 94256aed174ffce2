#pragma once
// Shared by the grid's tests: records through the grid's own message path, a
// dump of the tree, a consistency check of tree and rows, waiting on the loop.
#include "grid/ZIduvAROVEvod.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "snmp/WalkMessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <functional>
#include <sstream>

using CTreeItem = CTreeListCtrl::CTreeItem;

// The grid with its hooks in reach, counting WM_QUERY_ENDED to its parent.
class CTestGrid : public ZIduvAROVEvod
{
public:
    using ZIduvAROVEvod::HandleEnterKey;
    using ZIduvAROVEvod::MayExpand;
    using ZIduvAROVEvod::OnCellClick;
    using ZIduvAROVEvod::OnDblClk;
    using ZIduvAROVEvod::OnEndLabelEdit;
    using ZIduvAROVEvod::RowImageFor;

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

inline CWalkRecord* NewRecord(const std::string& strName, const std::string& strType = "INTEGER",
                              const std::string& strValue = "1", const std::string& strOid = ".1")
{
    return new CWalkRecord{strOid, strName, strType, strValue};
}

// A record as the walk delivers it, through the window procedure.
inline void Deliver(ZIduvAROVEvod& grid, const std::string& strName, const std::string& strType = "INTEGER",
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
inline void DumpNode(ZIduvAROVEvod& grid, CTreeItem* pNode, int nDepth, std::ostringstream& out)
{
    const CNodeInfo* pInfo = grid.InfoOf(pNode);
    const std::string strCells = pInfo->GetSubText(0) + "|" + pInfo->GetSubText(1) + "|" + pInfo->GetSubText(2);
    out << std::string(2 * nDepth, ' ') << pInfo->GetText() << (strCells != "||" ? " = " + strCells : "") << " #"
        << pInfo->ImageIndex() << "\n";
    for (auto pos = grid.FirstChildPosition(pNode); pos;)
        DumpNode(grid, grid.NextChild(pNode, pos), nDepth + 1, out);
}

inline std::string Dump(ZIduvAROVEvod& grid)
{
    std::ostringstream out;
    for (auto pos = grid.FirstRootPosition(); pos;)
        DumpNode(grid, grid.NextRoot(pos), 0, out);
    return out.str();
}

// Links and levels agree; the shown nodes are appended to shown in pre-order.
inline void CheckSubtree(ZIduvAROVEvod& grid, CTreeItem* pNode, bool bShown, std::vector<CTreeItem*>& shown)
{
    if (bShown)
        shown.push_back(pNode);
    for (auto pos = grid.FirstChildPosition(pNode); pos;) {
        CTreeItem* pChild = grid.NextChild(pNode, pos);
        ASSERT_EQ(grid.ParentOf(pChild), pNode);
        ASSERT_EQ(grid.LevelOf(pChild), grid.LevelOf(pNode) + 1);
        CheckSubtree(grid, pChild, bShown && !grid.IsCollapsed(pNode), shown);
    }
}

// The tree-list invariants: rows are the shown nodes in pre-order, each knows its row.
inline void ExpectConsistent(ZIduvAROVEvod& grid)
{
    std::vector<CTreeItem*> shown;
    for (auto pos = grid.FirstRootPosition(); pos;) {
        CTreeItem* pRoot = grid.NextRoot(pos);
        ASSERT_EQ(grid.LevelOf(pRoot), 1);
        CheckSubtree(grid, pRoot, true, shown);
    }
    ASSERT_EQ(grid.GetItemCount(), static_cast<int>(shown.size()));
    for (int i = 0; i < grid.GetItemCount(); ++i) {
        ASSERT_EQ(grid.NodeAtRow(i), shown[i]) << "row " << i;
        ASSERT_EQ(grid.CachedRowOf(shown[i]), i);
        ASSERT_EQ(grid.GetItemText(i, 0), grid.InfoOf(shown[i])->GetText());
    }
}

// The node reached from the roots through these labels, or null.
inline CTreeItem* FindPath(ZIduvAROVEvod& grid, const std::vector<std::string>& path)
{
    CTreeItem* pNode = nullptr;
    for (const std::string& strLabel : path) {
        auto pos = pNode ? grid.FirstChildPosition(pNode) : grid.FirstRootPosition();
        CTreeItem* pParent = pNode;
        for (pNode = nullptr; pos && !pNode;) {
            CTreeItem* pCand = pParent ? grid.NextChild(pParent, pos) : grid.NextRoot(pos);
            if (grid.InfoOf(pCand)->GetText() == strLabel)
                pNode = pCand;
        }
        if (!pNode)
            return nullptr;
    }
    return pNode;
}

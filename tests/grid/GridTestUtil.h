#pragma once
// Helpers shared by the grid's tests: records fed through the grid's own
// message path, a readable dump of the tree, a consistency check of tree and
// rows, and waiting while the event loop runs.
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
#include <string>
#include <vector>

using CTreeItem = CTreeListCtrl::CTreeItem;

// The hooks a test needs to reach; nothing else changes.
class CTestGrid : public ZIduvAROVEvod
{
public:
    using ZIduvAROVEvod::HandleEnterKey;
    using ZIduvAROVEvod::OnCellClick;
    using ZIduvAROVEvod::OnEndLabelEdit;
    using ZIduvAROVEvod::OnDblClk;
    using ZIduvAROVEvod::RowImageFor;
    using ZIduvAROVEvod::MayExpand;
    using ZIduvAROVEvod::MayDeleteByKey;
    using ZIduvAROVEvod::MakeDragImage;

    CTestGrid()
    {
        InitColumns();
        resize(800, 600);
        SetParentHandler([this](UINT nMsg, WPARAM, LPARAM) {
            if (nMsg == WM_QUERY_ENDED)
                ++m_nQueryEnded;
            return LRESULT(0);
        });
    }
    int m_nQueryEnded = 0;
};

// Settings back to their defaults around each test.
class CGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string& caption, UINT type) {
            m_boxes.push_back(caption + ": " + text);
            m_boxTypes.push_back(type);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHook({});
        AppSettings.Reset();
    }
    std::vector<std::string> m_boxes;
    std::vector<UINT> m_boxTypes;
};

inline CWalkRecord* NewRecord(const std::string& strName, const std::string& strType = "INTEGER",
                              const std::string& strValue = "1", const std::string& strOid = ".1")
{
    auto* pRecord = new CWalkRecord;
    pRecord->m_strName = strName;
    pRecord->m_strType = strType;
    pRecord->m_strValue = strValue;
    pRecord->m_strOid = strOid;
    return pRecord;
}

// Delivers a record as the walk would, through the window procedure (the
// grid takes it over).
inline void Deliver(ZIduvAROVEvod& grid, const std::string& strName, const std::string& strType = "INTEGER",
                    const std::string& strValue = "1", const std::string& strOid = ".1")
{
    SendMessage(grid.WindowHandle(), WM_WALK_RECORD,
                reinterpret_cast<WPARAM>(NewRecord(strName, strType, strValue, strOid)), 0);
}

// Runs the event loop until pred holds or nMs pass; the result of pred.
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

// One line per node in pre-order: indent, label, the cells when any is set
// ("= type|value|oid") and the image ("#n").
inline void DumpNode(ZIduvAROVEvod& grid, CTreeItem* pNode, int nDepth, std::ostringstream& out)
{
    const CNodeInfo* pInfo = grid.InfoOf(pNode);
    out << std::string(static_cast<std::size_t>(2 * nDepth), ' ') << pInfo->GetText();
    const std::string strCells = pInfo->GetSubText(0) + "|" + pInfo->GetSubText(1) + "|" + pInfo->GetSubText(2);
    if (strCells != "||")
        out << " = " << strCells;
    out << " #" << pInfo->ImageIndex() << "\n";
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

// Shown nodes in pre-order, as the rows must hold them.
inline void CollectShown(ZIduvAROVEvod& grid, CTreeItem* pNode, std::vector<CTreeItem*>& shown)
{
    shown.push_back(pNode);
    if (grid.IsCollapsed(pNode))
        return;
    for (auto pos = grid.FirstChildPosition(pNode); pos;)
        CollectShown(grid, grid.NextChild(pNode, pos), shown);
}

inline void CheckLinks(ZIduvAROVEvod& grid, CTreeItem* pNode)
{
    for (auto pos = grid.FirstChildPosition(pNode); pos;) {
        CTreeItem* pChild = grid.NextChild(pNode, pos);
        ASSERT_EQ(grid.ParentOf(pChild), pNode);
        ASSERT_EQ(grid.LevelOf(pChild), grid.LevelOf(pNode) + 1);
        CheckLinks(grid, pChild);
    }
}

// The tree-list invariants: rows are the shown nodes in pre-order, each row's
// node knows its row, parents and levels agree.
inline void ExpectConsistent(ZIduvAROVEvod& grid)
{
    std::vector<CTreeItem*> shown;
    for (auto pos = grid.FirstRootPosition(); pos;) {
        CTreeItem* pRoot = grid.NextRoot(pos);
        ASSERT_EQ(grid.ParentOf(pRoot), nullptr);
        ASSERT_EQ(grid.LevelOf(pRoot), 1);
        CheckLinks(grid, pRoot);
        CollectShown(grid, pRoot, shown);
    }
    ASSERT_EQ(grid.GetItemCount(), static_cast<int>(shown.size()));
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        ASSERT_EQ(grid.NodeAtRow(i), shown[static_cast<std::size_t>(i)]) << "row " << i;
        ASSERT_EQ(grid.CachedRowOf(shown[static_cast<std::size_t>(i)]), i);
        ASSERT_EQ(grid.GetItemText(i, 0), grid.InfoOf(shown[static_cast<std::size_t>(i)])->GetText()) << "row " << i;
    }
}

// The node reached from the roots by labels, or null.
inline CTreeItem* FindPath(ZIduvAROVEvod& grid, const std::vector<std::string>& path)
{
    CTreeItem* pNode = nullptr;
    for (const std::string& strLabel : path) {
        CTreeItem* pFound = nullptr;
        auto pos = pNode ? grid.FirstChildPosition(pNode) : grid.FirstRootPosition();
        while (pos && !pFound) {
            CTreeItem* pCand = pNode ? grid.NextChild(pNode, pos) : grid.NextRoot(pos);
            if (grid.InfoOf(pCand)->GetText() == strLabel)
                pFound = pCand;
        }
        if (!pFound)
            return nullptr;
        pNode = pFound;
    }
    return pNode;
}

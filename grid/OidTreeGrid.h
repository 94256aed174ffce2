#pragma once
// COidTreeGrid: the OID tree grid, the window in which one query lives. A
// tree-list control with the four columns of the OID tree ("MIB", "Type",
// "Value", "OID"), the target of the walk thread, and the owner of the
// cleaning threads that fold single-child chains once a top node is complete.
//
// Threads:
//  - UI thread: the window, the list rows, every change of the tree, and all
//    of this class's members except the ones named below.
//  - The walk thread (snmp/MibWalk.h) copies the request and the window handle
//    at its start and holds a share of the query's state
//    (grid/QueryState.h), whose m_bRun it reads and m_bWalking it writes;
//    everything else reaches the grid as posted or sent messages.
//  - Cleaning threads (one per top node) hold a share of the query's state too
//    and read the child lists of the nodes in their subtree only under its tree
//    lock; every change is made on the UI thread inside the WM_CLEAN_UPDATE they
//    send and wait for.
//  - Ending a query (Stop, ResetForQuery, the destructor) waits for no thread:
//    it retires the query's handle and marks its state under the tree lock, so
//    the query's threads neither read a node nor reach the grid again, and end
//    on their own in the background.
//
// Callers: the query view (and the headless walk, which drives a view) uses the
// operations of the query view below; the print view the printing calls; the
// walk and the cleaning threads reach the grid only through its messages.
//
// Messages arrive through a CMsgWindow handle, one per query: what a thread of
// an ended query still sends is dropped (queued payloads are freed).
#include "grid/NodeMerge.h"
#include "grid/QueryState.h"
#include "platform/gdi/ImageList.h"
#include "platform/winmsg/WinMsg.h"
#include "snmp/WalkProgress.h"
#include "snmp/SnmpWrite.h"
#include "snmp/WalkTarget.h"
#include "treelist/TreeListCtrl.h"

#include <QDateTime>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CWalkRecord;

class COidTreeGrid : public CTreeListCtrl, protected CWalkTarget
{
public:
    // Columns and their cells (cell i is column i + 1).
    enum EColumn { colMib = 0, colType = 1, colValue = 2, colOid = 3 };
    enum ECell { cellType = 0, cellValue = 1, cellOid = 2 };
    static constexpr int kNameSize = 1024;          // name buffer and depths
    static constexpr COLORREF kClearedCellColor = 0xFFFFFF;
    static constexpr const char* kQuerying = " (Querying...)";
    static constexpr const char* kCleaning = " (Cleaning...)";
    // TRUE when a node's label says it is still being queried or cleaned.
    static BOOL HasStatus(const std::string& strLabel);

    // Creates the control with its image list and a message handle (the
    // window's creation).
    explicit COidTreeGrid(QWidget* pParent = nullptr);
    // Ends the query (its threads end on their own, without the grid), then
    // frees the tree. Returns at once.
    ~COidTreeGrid() override;

    // --- Operations of the query view -----------------------------------------
    // Once after creation: grid lines only, the four columns, no inferred cells.
    void InitColumns();
    // Ends the current query at once: its walk and cleanings are told to stop
    // and are no longer heard (late records, texts and updates are dropped), the
    // top nodes lose " (Querying...)" and " (Cleaning...)", and the grid takes a
    // fresh handle and state. Waits for no thread; no WM_QUERY_ENDED follows.
    void Stop();
    // Ends the current query (Stop) and prepares a new one: building state,
    // inferred list and flags reset (m_bRun = 1), every node removed.
    void ResetForQuery();
    // Keeps the request (writes use the same agent and profile), starts the
    // walk thread on it and its count in Progress(). False when the current
    // query's walk was started already (two walks never feed one grid) or no
    // thread could be created.
    bool StartWalk(const CWalkRequest& request);
    // True while the current query's walk or one of its cleaning threads runs.
    bool ThreadsRunning() const;
    // The current query's state, as its threads share it (they keep it after
    // the query has ended).
    std::shared_ptr<const CQueryState> CurrentQuery() const { return m_pQuery; }
    // "Expand All" (TRUE) / "Collapse All" (FALSE) over the top nodes that carry
    // no status when the job reaches them: a whole-tree job of the control
    // (ExpandAll, CollapseAll), in slices of about 8 ms, which a newer command
    // replaces and a new query (ResetForQuery) or the window's end cancels;
    // IsWholeTreeJobRunning tells whether it still runs. Cost O(nodes) in all.
    void ExpandCollapseAll(BOOL bExpand);
    BOOL HasRoots() const;
    // The last walk's records, time and end, as its messages arrived.
    const CWalkProgress& Progress() const { return m_progress; }
    BOOL CanExpandSelected();
    void ExpandSelected();
    BOOL CanCollapseSelected();
    void CollapseSelected();
    // The handle messages of the current query reach the grid through.
    // WM_QUERY_ENDED goes to the list's parent handler (SetParentHandler).
    HWND WindowHandle() const;

    // --- Single operations on one node (OidTreeGridNode.cpp; UI thread) ------
    // The row at pt (viewport coordinates) selected and focused, its column
    // made the current one; the row's node, null when pt hits no row.
    CTreeItem* SelectAt(const QPoint& pt);
    // The selected row's node when there is a current column, else null.
    CTreeItem* FocusedNode() { return SelectedNode(); }
    // The text of a column (colMib: the label) of the node.
    std::string CellText(CTreeItem* pNode, int nColumn) const;
    // The labels from the top node down to the node joined by ".", statuses
    // left out: "system.sysDescr.0".
    std::string NamePath(CTreeItem* pNode) const;
    // The node's OID text: its own, or for a node without one the OID its
    // first variable below it has, cut by the name components in between
    // (each stands for one sub-identifier). Empty when none can be told.
    // O(depth + nodes before that variable).
    std::string NodeOid(CTreeItem* pNode) const;
    // Ctrl+C: the focused cell's text on the clipboard; nothing without one.
    void CopyFocusedCell();
    // The agent of the last walk started: what a single operation asks. Host
    // empty before any walk.
    const CWalkRequest& QueryRequest() const { return m_request; }
    // A variable of an agent: a leaf with an OID, after a walk has started.
    bool IsAgentVariable(CTreeItem* pNode) const;
    // Get: the leaf's type and value refreshed with one GET to the query's
    // agent; the failure's text in an "Error" box. True when refreshed.
    bool GetValue(CTreeItem* pNode);
    // Set Value: writes strValue as strType to the leaf's variable, with the
    // checks and messages of a cell edit; the cells show what was written.
    // True when written.
    bool SetValue(CTreeItem* pNode, const std::string& strType, const std::string& strValue);
    // Every record placed from now on also goes to listener (empty: none); the
    // records of walks started while one is set carry their snmpwalk value text.
    void SetRecordListener(std::function<void(const CWalkRecord&)> listener) { m_recordListener = std::move(listener); }

    // --- Inference (UI thread) ---------------------------------------------
    // Shows the leaf's table row across its table (the click on a leaf does this).
    void InferFromLeaf(CTreeItem* pLeaf);

    // --- Printing (OidTreeGridPrint.cpp; UI thread) ------------------------
    // The rows printed: every root and, below it in pre-order, the descendants
    // that are shown (children of collapsed nodes left out), which are the
    // list's rows. O(1).
    int CountPrintRows() const;
    // Rows one page holds when it is rcDraw in pDC's current units, measured in
    // the grid's font: |height / (cy + 3)| - 2 for the height cy of "A", but at
    // least 1 (a page with room for no row still carries one).
    int PrintLinesPerPage(CDC* pDC, const CRect& rcDraw);
    // Draws page nPage of nPages (1 = the first) into pDC within rcDraw: the
    // header row, the rows of that page only, and on the line below the page's
    // last row the agent and start of the walk and "Page N of M".
    // O(rows of the page x depth).
    void PrintGridPage(CDC* pDC, const CRect& rcDraw, UINT nPage, UINT nPages);

protected:
    // The current query's state.
    CQueryState& QueryState() const { return *m_pQuery; }
    // How a cleaning thread is started; false when it cannot be. The default
    // runs it on a new detached thread.
    struct CCleanBlock
    {
        COidTreeGrid* m_pGrid;  // Not owned; used only under the query's tree lock while the query lasts.
        CTreeItem* m_pTop;       // Not owned (the tree's).
        HWND m_hWnd;             // the handle of the query the cleaning belongs to
        std::shared_ptr<CQueryState> m_pQuery;  // the query's state, shared
    };
    virtual bool LaunchCleaner(std::unique_ptr<CCleanBlock> pBlock);
    // The thread procedure: cleans, reports WM_CLEAN_DONE while its query lasts,
    // takes its count back.
    static void CleaningThread(std::unique_ptr<CCleanBlock> pBlock);

    // --- Hooks of the tree-list control ----------------------------------------
    std::unique_ptr<CNodeInfo> CloneInfo(const CNodeInfo& info) override;
    int RowImageFor(CTreeItem* pNode) override;
    void OnCellEditDone(CTreeItem* pNode, LVITEM* pItem) override;
    QWidget* OnCellClick(UINT nFlags, CPoint pt, LVHITTESTINFO* pHit, BOOL bWide) override;
    CImageList* MakeDragImage(int nRow) override;
    BOOL MayExpand(CTreeItem* pNode, int nRow) override;
    BOOL MayDeleteByKey(CTreeItem* pNode, int nRow) override;
    BOOL HandleEnterKey() override;
    std::string CellTip(const CTreeItem* pNode, int nColumn) override;

    // --- Messages ----------------------------------------------------------------
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEndLabelEdit(NMLVDISPINFO* pInfo) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void OnDblClk(NMITEMACTIVATE* pActivate) override;
    void OnDeleteAllItems() override;

private:
    class CCleaner;
    friend class COidTreeGridTestPeer;  // the tests' view of the building state and flags

    // Tree building (UI thread)
    // Places one record along its name path; see the .cpp for the rules. O(name).
    void PlaceRecord(const CWalkRecord& record);
    // Ends the current top node's query: status removed, cleaning started when
    // bMayClean and the "Cleaning" setting allow. A top node is finished once.
    void FinishTopNode(BOOL bMayClean);

    // Inference (UI thread)
    void InferUnder(CTreeItem* pAncestor, const std::string& strKey);
    BOOL FindChildValue(CTreeItem* pNode, const std::string& strText, std::string& strType,
                        std::string& strValue) const;
    void ResetInferredCells();

    // Cleaning, UI thread inside WM_CLEAN_UPDATE: applies one update. False when
    // the update no longer matches the tree (which is then left as it was).
    // O(children moved + depth).
    bool MergeChild(const CNodeMerge& merge);

    // Label without its status: cut before the first space.
    static std::string WithoutStatus(const std::string& strLabel);

    // Window messages of the walk and the cleaning.
    void OnWalkError(LPARAM lParam);
    void OnWalkEnd(BOOL bMayClean);
    LRESULT OnCleanUpdate(WPARAM wParam, LPARAM lParam);
    void OnCleanDone(CTreeItem* pTop);
    void NewMsgWindow();
    // Tells the query's threads to stop and cuts them off: its handle retired,
    // its state marked under the tree lock. Waits at most for a read of the tree
    // in progress.
    void LetThreadsGo();
    void RemoveStatuses();

    // Tree building
    // Places the components of szName (nLen characters, zero-padded to
    // kNameSize) from the first that differs from m_szPrevName; the last one
    // gets pCells' texts when pCells is not null.
    void PlaceComponents(const char* szName, int nLen, const CWalkRecord* pCells);
    CTreeItem* AddTopNode(const std::string& strComponent);
    CTreeItem* AddPathNode(CTreeItem* pParent, const std::string& strComponent, const CWalkRecord* pCells);
    // Removes the status of a finished top node and, when bClean, starts its cleaning.
    void FinishNode(CTreeItem* pTop, BOOL bClean);
    void StartCleaning(CTreeItem* pTop);
    void SetLabel(CTreeItem* pNode, const std::string& strLabel);

    // Cleaning
    // The last node of the chain when it still stands as merge says, else null.
    CTreeItem* ChainEnd(const CNodeMerge& merge) const;
    bool FoldChain(const CNodeMerge& merge);
    // A folded node shows its own variable: it leaves the inferred list and its
    // cells their inferred colour.
    void ForgetInferred(CTreeItem* pNode);
    void ForgetInferredIn(CTreeItem* pTop);

    // Cell write: the SET of the edited value, then its messages in their boxes
    // ("Update Failed!" last). True when the value was written.
    CWriteResult WriteCell(CTreeItem* pNode, const std::string& strType, const std::string& strValue);
    bool ShowWriteResult(const CWriteResult& result);

    // Inference and selection
    void SetInferredCells(CTreeItem* pNode, const std::string& strType, const std::string& strValue,
                          COLORREF color);
    CTreeItem* SelectedNode();

    // Printing
    struct CPrintPage;
    void PrintHeader(CDC* pDC, const CPrintPage& page);
    void PrintRow(CDC* pDC, const CPrintPage& page, CTreeItem* pNode, int nRow, int nLine);
    void PrintRowImage(CDC* pDC, const CPrintPage& page, CImageList& images, int nImage, const CRect& rcImage);
    void PrintFooter(CDC* pDC, const CPrintPage& page, int nLine, UINT nPage, UINT nPages);

    std::vector<CTreeItem*> m_apInferred;      // nodes showing inferred cells; size = their count
    char m_szPrevName[kNameSize] = {};         // name of the last record placed, zero-padded
    CTreeItem* m_apLevelItem[kNameSize] = {};  // last node placed per depth; [0] = current top node
    CWalkProgress m_progress;                  // UI thread only
    // The agent and local start time of the walk that filled the tree (set by
    // StartWalk, cleared by ResetForQuery); null time: no walk.
    std::string m_strWalkAgent;
    QDateTime m_timeWalk;
    CImageList m_imageList;
    std::unique_ptr<CMsgWindow> m_pMsgWnd;  // Owned; the current query's handle
    std::shared_ptr<CQueryState> m_pQuery;  // the current query's state, shared with its threads
    int m_nOpenCleanings = 0;               // cleanings started in this query whose end was not handled yet
    bool m_bWalkEnded = true;               // the query's walk end message was handled
    CTreeItem* m_pEditNode = nullptr;       // node whose Value cell the open editor writes; Not owned
    std::function<void(const CWalkRecord&)> m_recordListener;
};

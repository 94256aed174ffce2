#pragma once
// CTreeListCtrl: a general tree-list control. A report-mode list whose rows are
// the shown nodes of a tree, in pre-order: roots are always shown, a child is
// shown when its parent is shown and expanded; while a filter is on, only the
// nodes it leaves are shown. Adds indentation by level, +/- boxes,
// expand/collapse by mouse and keyboard, a current column in the selected row,
// in-place cell editing, drag and drop of subtrees, tooltips for shortened
// cells, find and filter. Knows nothing of SNMP; owners customise it through
// the virtual hooks.
//
// Invariants after every public operation:
//  1. the list rows are exactly the shown nodes in pre-order;
//  2. every shown node's row holds the node as item data and CachedRowOf(node)
//     is that row (hidden nodes: -1);
//  3. a root's level is 1, a child's is its parent's + 1; a row's indent is the
//     node's level when the row was inserted;
//  4. a node is either a root or in exactly one parent's children.
//
// Cost: row numbers are kept lazily (rows below the first changed row are
// renumbered when asked for), so structural operations cost O(rows they insert
// or delete + depth) rather than O(all rows), and a node's children are
// inserted or removed as one block of rows.
//
// UI thread only, including the tree structure itself.
#include "platform/gdi/Brush.h"
#include "platform/gdi/Pen.h"
#include "platform/listctrl/ListCtrl.h"
#include "treelist/NodeInfo.h"
#include "treelist/TreeItem.h"
#include "treelist/TreeMatcher.h"

#include <QBasicTimer>
#include <QPoint>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCellComboCtrl;
class CCellEditCtrl;
class CDC;
class CHtmlToolTip;
class CImageList;
class CTreeExport;

// Sent to the parent window: F10 (and the header menu's "Print Preview").
constexpr UINT WM_TREELIST_PRINTPREVIEW = 7770;
// Sent to the control: copy the whole tree to the clipboard as text.
constexpr UINT WM_TREELIST_COPYTEXT = 7771;

class CTreeListCtrl : public CListCtrl
{

public:
    using CTreeItem = ::CTreeItem;
    // Iteration over children or roots: the next element, null at the end.
    struct PositionTag;
    using POSITION = PositionTag*;

    explicit CTreeListCtrl(QWidget* pParent = nullptr);
    // Frees every root with its info and subtree (on a thread of its own).
    ~CTreeListCtrl() override;

    // --- Node accessors (O(1) unless stated) ---------------------------
    CTreeItem* ParentOf(const CTreeItem* pNode) const;
    CNodeInfo* InfoOf(const CTreeItem* pNode) const;
    // Replaces the node's info with pInfo (the previous one is freed). A null
    // pInfo is ignored.
    void SetInfoOf(CTreeItem* pNode, std::unique_ptr<CNodeInfo> pInfo);
    BOOL IsCollapsed(const CTreeItem* pNode) const;
    int LevelOf(const CTreeItem* pNode) const;  // O(depth)
    // The node's row while shown, else -1. Amortised O(1).
    int CachedRowOf(CTreeItem* pNode);
    int ChildCount(const CTreeItem* pNode) const;
    BOOL HasChildren(const CTreeItem* pNode) const;
    POSITION FirstChildPosition(const CTreeItem* pNode) const;
    CTreeItem* NextChild(const CTreeItem* pNode, POSITION& pos) const;
    POSITION FirstRootPosition() const;
    CTreeItem* NextRoot(POSITION& pos) const;
    int RootCount() const;
    CTreeItem* RootAt(int nIndex) const;               // null out of range; O(index)
    int RootIndexOf(const CTreeItem* pNode) const;     // -1 when not a root; O(index)
    BOOL IsRootNode(const CTreeItem* pNode) const;
    CTreeItem* NodeAtRow(int nRow) const;              // the row's item data

    // --- Structure ------------------------------------------------------
    // Appends a root and its row at the end; takes pInfo (null: a new empty info).
    CTreeItem* AddRootNode(std::unique_ptr<CNodeInfo> pInfo);
    // Appends a child (takes pInfo; null: a new empty info). With bShowNow and a
    // shown, expanded parent the child's row is inserted after the parent's last
    // shown descendant. Without bShowNow the parent ends collapsed: rows of its
    // children that were shown are removed. Null parent: returns null.
    CTreeItem* AddChildNode(CTreeItem* pParent, std::unique_ptr<CNodeInfo> pInfo, BOOL bShowNow);
    // Adds a copy of pSource's subtree (infos from CloneInfo) as the last child of
    // pNewParent; only the copy's top row is shown, when pNewParent is expanded.
    BOOL CopySubtree(CTreeItem* pNewParent, CTreeItem* pSource);
    // Moves every child of pFrom, with its subtree, to the end of pTo's children
    // (sibling order kept, levels follow); pTo ends collapsed. Only while no
    // row changes: FALSE (nothing moved) when pFrom or pTo shows children, or
    // pTo lies in pFrom's subtree. O(children moved + depth).
    BOOL MoveChildren(CTreeItem* pFrom, CTreeItem* pTo);
    // Removes the node, its subtree and their rows; when the node was shown at a
    // row r > 0, then selects row r (or r - 1 past the end). The row argument is
    // not read: the control finds the node's row itself.
    void RemoveNode(CTreeItem* pNode, int nRow);
    // Removes every node and row, leaving no selection. O(roots + rows); the
    // nodes and rows are freed on a thread of their own.
    void RemoveAllNodes();
    // Shows the node's children (one level). Returns the last row inserted, nRow
    // when nothing was (no children or already expanded).
    int ExpandNode(CTreeItem* pNode, int nRow);
    // Hides every descendant; each one that was expanded ends collapsed.
    void CollapseNode(CTreeItem* pNode);
    // Expands the node and every node below it; nLastRow = last row inserted
    // (unchanged when the node has no children).
    void ExpandSubtree(CTreeItem* pNode, int& nLastRow);
    // Expands the node's ancestors, selects and focuses its row, scrolls it into view.
    int RevealNode(CTreeItem* pNode);
    // Row of a shown node, -1 for a hidden node or one not in the tree.
    int RowOfNode(CTreeItem* pNode);
    // Pre-order successor of pNode within pTop's subtree (with bShownOnly the
    // children of collapsed nodes are skipped). When there is none, or pNode is
    // not reached: pNode with bInit, null without. O(depth).
    CTreeItem* NextInTree(CTreeItem* pTop, CTreeItem* pNode, BOOL bInit, BOOL bShownOnly) const;
    // TRUE when pNode is pTop or below it. O(depth of pNode).
    BOOL IsInSubtree(const CTreeItem* pTop, const CTreeItem* pNode) const;
    // Repaints the node's row after its texts changed (nothing when it has no
    // row): rows keep no texts, they read the node's.
    void RefreshRow(CTreeItem* pNode);

    // --- Expand All and Collapse All in slices (TreeListCtrlExpandAll.cpp) ----
    // A whole-tree job works on the UI thread in slices of about 8 ms: the
    // first inside the call, the next ones from a zero timer, so the window
    // paints and answers in between; a tree done in the first slice is done
    // on return. Roots are taken in order, each judged by skip (true: passed
    // over) when the job reaches it. Undisturbed, the rows and states at the
    // end are those of ExpandSubtree (CollapseNode) of every root not passed
    // over. Between slices anything may happen, under these rules:
    //  - a newer ExpandAll or CollapseAll replaces the running job;
    //  - RemoveAllNodes, ApplyFilter, ClearFilter and the destruction cancel it;
    //  - a node removed (RemoveNode) or whose children move (MoveChildren)
    //    while the job's cursor lies in its subtree moves the cursor to the
    //    next node in pre-order after the subtree (for a collapse: the next
    //    node in post-order), so the job never touches a freed node;
    //  - nodes added, nodes the user expands or collapses: the job meets them
    //    in their state when its cursor reaches them (what lies behind the
    //    cursor is left as it is); a node hidden by then is passed over;
    //  - a node's children are shown in one block; a block's rows are made
    //    over several slices and dropped (made again) when a child of it is
    //    removed, moved or refreshed (RefreshRow, SetInfoOf) meanwhile. A
    //    block of thousands of rows goes in or out early in a slice, so a
    //    slice lasts about its time or one block's edit.
    // Owners that change a hidden node's texts therefore call RefreshRow too.
    // While a job runs the application shows the wait cursor.
    using RootFilter = std::function<bool(const CTreeItem*)>;
    void ExpandAll(RootFilter skip);
    void CollapseAll(RootFilter skip);
    BOOL IsWholeTreeJobRunning() const { return m_pJob ? TRUE : FALSE; }
    void CancelWholeTreeJob();

    // --- Control operations ----------------------------------------------
    int ColumnCount() const;
    int SelectedRow() const;   // first selected row, -1 when none
    // Scrolls horizontally so that the column starts at the client's left edge
    // unless it is wholly visible already.
    void MakeColumnVisible(int nColumn);
    // Expands or collapses the node when (x, y) hits its +/- box. FALSE when it did.
    BOOL ClickToggle(int x, int y, LVHITTESTINFO& ht);
    // The owner sets the image size after attaching its small image list: the
    // indent step, the +/- box base and the height of the drag auto-scroll bands.
    void SetImageSize(int nWidth, int nHeight);
    int CurrentColumn() const { return m_nCurColumn; }   // display position, -1: none
    void SetCurrentColumn(int nColumn) { m_nCurColumn = nColumn; }
    int DragRow() const { return m_nDragRow; }
    BOOL IsDragging() const { return m_bDragging; }

    // --- Find and filter (TreeListCtrlFind.cpp) -----------------------------
    // Nodes are searched in pre-order over every root, collapsed branches
    // included; nodes a filter hides are passed over.
    // The first node matcher matches after pFrom (before it, without bForward),
    // going round past the end; pFrom itself is tried first with bIncludeFrom,
    // else last. Null pFrom: from the first node (the last, backwards),
    // included. Null when nothing matches. pbWrapped: set when the search went
    // round. O(nodes) at worst, O(1) per node passed over.
    CTreeItem* FindNode(const CTreeMatcher& matcher, CTreeItem* pFrom, BOOL bForward, BOOL bIncludeFrom,
                        BOOL* pbWrapped = nullptr) const;
    enum EFindStep { fsNext, fsPrevious, fsAgain };
    struct CFindResult
    {
        CTreeItem* pMatch = nullptr;  // null: no match
        CTreeItem* pShown = nullptr;  // the row selected: the match, or its ancestor that may not expand
        BOOL bWrapped = FALSE;
    };
    // Finds from where the user is (the last match while its row is still the
    // selected one, else the selected node, else the start): fsNext and
    // fsPrevious step past it, fsAgain tries it first. The match's collapsed
    // ancestors are expanded from the top down while MayExpand agrees; the
    // match, or the ancestor that refused, is selected, focused and scrolled
    // into view. Nothing changes without a match.
    CFindResult FindAndShow(const CTreeMatcher& matcher, EFindStep eStep);
    // Shows only the nodes matcher matches and their ancestors, each ancestor
    // expanded when MayExpand (given the row it will have) agrees. The rest of
    // the state is kept for ClearFilter. Replaces an earlier filter. Nodes
    // added later show when they match, collapsed. Returns the number of
    // matching nodes. The selected node stays selected when it stays shown.
    // O(nodes).
    int ApplyFilter(const CTreeMatcher& matcher);
    // Back to every node, each expanded or collapsed as before ApplyFilter
    // (nodes added meanwhile as they would be without the filter). O(nodes).
    void ClearFilter();
    BOOL IsFiltered() const { return m_pFilter ? TRUE : FALSE; }
    // TRUE for a node the filter hides (never without a filter).
    BOOL IsFilteredOut(const CTreeItem* pNode) const { return pNode && pNode->m_bFilteredOut ? TRUE : FALSE; }

    // --- Drawing, editing and copy (TreeListCtrlDraw.cpp, TreeListCtrlEdit.cpp,
    // TreeListCtrlCopy.cpp) ------------------------------------------------

    // Box of the +/- sign for a node of level nLevel in a row with bounds rcBounds.
    CRect BoxGeometry(int nLevel, const CRect& rcBounds) const;
    // In-place editor over sub-item nColumn of nRow; null when the row cannot be
    // made visible. The editor owns itself.
    CCellEditCtrl* EditCell(int nRow, int nColumn);
    // In-place editor over column 0 of nRow within rc (client coordinates).
    CCellEditCtrl* EditLabelCell(int nRow, const CRect& rc);
    // Every node (but those a filter hides) as a line of tab-separated texts,
    // as the copy puts it on the clipboard. O(nodes).
    std::string TreeAsText();
    // Appends the lines of pTop and its descendants (but those a filter
    // hides), or of pTop alone without bDescendants, as TreeAsText writes
    // them. O(subtree).
    void AppendSubtreeText(std::string& text, CTreeItem* pTop, BOOL bDescendants);
    // Writes every node (but those a filter hides) to out in pre-order, or
    // only pTop's subtree when pTop is not null (depths counted from it), then
    // finishes it. Texts as they stand (no escapes). O(nodes).
    void ExportTree(CTreeExport& out, CTreeItem* pTop = nullptr);
    // Copies TreeAsText() to the clipboard (nothing when the tree is empty).
    void CopyTreeAsText();
    int PutTextOnClipboard(const std::string& text);
    // Drop-down editor over sub-item nColumn of nRow offering choices (copied),
    // as an owner opens it for a ctComboBox cell; null when the row cannot be
    // made visible. The editor owns itself.
    CCellComboCtrl* EditComboCell(int nRow, int nColumn, const CStringList& choices);

protected:
    // --- Virtual hooks, in slot order ---------------------------------
    // Lines and +/- box of pNode drawn at nRow. The base reads the tree's
    // sibling order only, never row numbers: O(depth + hidden siblings).
    virtual void DrawTreeBranch(CDC* pDC, CTreeItem* pNode, int nRow, const CRect& rcBounds);
    // A new info for the copy of info, or null (then the copy gets an empty one).
    virtual std::unique_ptr<CNodeInfo> CloneInfo(const CNodeInfo& info);
    // Image for the row of pNode; -1 keeps the row's image.
    virtual int RowImageFor(CTreeItem* pNode);
    virtual COLORREF FocusCellColor();
    // End of an in-place edit with a text: stores it in the node and the list cell.
    virtual void OnCellEditDone(CTreeItem* pNode, LVITEM* pItem);
    // A left click on a cell that did not toggle a +/- box: opens an editor on it.
    virtual QWidget* OnCellClick(UINT nFlags, CPoint pt, LVHITTESTINFO* pHit, BOOL bWide);
    // Image of the row for dragging; the caller deletes it. Null: no drag.
    virtual CImageList* MakeDragImage(int nRow);
    virtual BOOL MayExpand(CTreeItem* pNode, int nRow);
    virtual BOOL AfterExpand(CTreeItem* pNode, int nRow);
    virtual BOOL MayCollapse(CTreeItem* pNode);
    virtual BOOL AfterCollapse(CTreeItem* pNode);
    virtual BOOL MayDeleteByKey(CTreeItem* pNode, int nRow);
    virtual BOOL MayExpandAllByKey(CTreeItem* pNode, int nRow);
    virtual BOOL MayCollapseByKey(CTreeItem* pNode, int nRow);
    virtual BOOL MayExpandByKey(CTreeItem* pNode, int nRow);
    // TRUE: the Enter key was handled, no editor opens.
    virtual BOOL HandleEnterKey();
    // FALSE: the click or double-click is ignored altogether.
    virtual BOOL AcceptClick(LVHITTESTINFO* pHit);
    // The hover tip of a cell (nColumn 0 is the label); empty: no tip. By
    // default the whole text of a cell drawn shortened. Called on mouse moves.
    virtual std::string CellTip(const CTreeItem* pNode, int nColumn);

    // How long one slice of a whole-tree job works: half a frame, so the
    // window paints at 60 Hz meanwhile. A slice makes at least one step (a
    // node, or the rows of up to 256 children). Tests shorten it.
    void SetJobSliceTime(std::chrono::microseconds slice) { m_jobSlice = slice; }

    // --- Drawing ---------------------------------------------------------
    void DrawItem(DRAWITEMSTRUCT* pDrawItem) override;
    // A row's texts are its node's label and cells.
    std::string GetDispInfoText(int nItem, int nSubItem) const override;
    void DrawFocusCell(CDC* pDC, int nRow, int nColumn, CNodeInfo* pInfo);
    void DrawCellControl(CDC* pDC, CTreeItem* pNode, int nRow, int nColumn);
    const char* ShortenToFit(CDC* pDC, const char* pszText, int nWidth, int nOffset);
    struct SRowPaint;  // what DrawItem knows of the row it paints
    int DrawTreePart(CDC* pDC, const SRowPaint& row);
    void DrawLabel(CDC* pDC, const SRowPaint& row);
    void DrawSubItem(CDC* pDC, const SRowPaint& row, int nColumn, const CRect& rcCell);
    // Width that shows every text of nColumn whole in the shown rows from the
    // top one on (at most kFitRows of them), indent and icon included; what a
    // double-click on the column's header border sets, no less than the title.
    int sizeHintForColumn(int nColumn) const override;
    static constexpr int kFitRows = 1000;
    // Steps shared by the editors: the row made visible, the cell scrolled into
    // view and clipped to the client area. FALSE when the row cannot be shown.
    BOOL CellEditRect(int nRow, int nColumn, CRect& rc);

    // --- List notifications and messages ------------------------------------
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEndLabelEdit(NMLVDISPINFO* pInfo) override;
    void OnDblClk(NMITEMACTIVATE* pActivate) override;
    void OnBeginDrag(NMLISTVIEW* pView) override;
    void OnKeyDown(NMLVKEYDOWN* pKey) override;

    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

    CPoint m_ptTipMouse{-1, -1};
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nCurColumn = 0;
    int m_nDragRow = -1;
    int m_nHoverRow = -1;
    BOOL m_bDragging = FALSE;

    // Drawing resources
    CPen m_penLines{PS_SOLID, 1, RGB(192, 192, 192)};     // tree connecting lines
    CPen m_penBoxFrame{PS_SOLID, 1, RGB(198, 198, 198)};  // frame of the +/- box
    CPen m_penSign{PS_SOLID, 1, RGB(0, 0, 0)};            // the "+" and "-" signs
    CBrush m_brushBox{RGB(255, 255, 255)};                // inside of the +/- box
    std::string m_strShortened;                           // ShortenToFit's result
    // Deletes the open in-place editors while the control is still whole: an
    // editor closing later would report to a control half destroyed.
    struct CEditorCloser
    {
        CTreeListCtrl* pList;
        ~CEditorCloser();
    } m_editorCloser{this};

private:
    // Tree structure
    CTreeItem* NewNode(std::unique_ptr<CNodeInfo> pInfo);
    // Takes every root off the control and frees them with their subtrees in the background.
    void FreeAllNodes();
    void DeleteNode(CTreeItem* pNode);       // info first, then the node and its subtree
    void Unlink(CTreeItem* pNode);           // from its parent or from the roots
    BOOL IsShown(const CTreeItem* pNode) const;
    // Children that a filter leaves (all of them without one).
    bool HasChildrenToShow(const CTreeItem* pNode) const;
    void PushChildrenToShow(CTreeItem* pNode, std::vector<CTreeItem*>& stack) const;
    int RowAfterSubtree(CTreeItem* pNode);   // row after a shown node's last shown descendant
    int DetachNode(CTreeItem* pNode);
    void ShowWholeSubtree(CTreeItem* pTop, CTreeItem*& pLastParent);

    // Rows (nLevel: the node's level when the caller knows it)
    CListRow RowFor(CTreeItem* pNode, int nLevel = -1) const;
    void InsertNodeRows(int nRow, const std::vector<CTreeItem*>& nodes);
    void InsertBuiltRows(int nRow, const std::vector<CTreeItem*>& nodes, std::vector<CListRow> rows);
    // Marks the node (at nRow) expanded and inserts its children's rows after
    // it, each child with children collapsed. Returns the last row inserted.
    int InsertChildRows(CTreeItem* pNode, int nRow, const std::vector<CTreeItem*>& children,
                        std::vector<CListRow> rows);
    // Hides the node's shown descendants, collapsing every expanded node on the
    // way; their rows (starting at nRow) are deleted unless nRow is -1. Returns
    // how many there were.
    int HideDescendants(CTreeItem* pNode, int nRow);
    void RowsInserted(int nRow, int nCount);
    void RowsRemoved(int nRow);
    // Renumbers from the mark until pNode's row is found; -1 when it is not.
    int FindRowFrom(CTreeItem* pNode);

    // Find and filter
    CTreeItem* PreOrderNext(CTreeItem* pNode) const;   // null after the last node
    CTreeItem* PreOrderPrev(CTreeItem* pNode) const;   // null before the first
    CTreeItem* LastInPreOrder() const;
    std::vector<CTreeItem*> NodesInPreOrder() const;
    CTreeItem* ShowFound(CTreeItem* pMatch);
    void ForgetFound(CTreeItem* pDeleted);
    // Every row again from the flags, in one block; with bOpenToMatches each
    // node with children to show is expanded when MayExpand agrees.
    void RebuildRows(bool bOpenToMatches);
    void KeepUnfilteredState(CTreeItem* pParent, BOOL bShowNow);
    void ShowFilteredPath(CTreeItem* pNode);

    // Whole-tree jobs
    struct CWholeTreeJob;
    void StartJob(bool bExpand, RootFilter skip);
    void RunJobSlice();
    // One step of the job: the next root to work on, or a step of the
    // expansion or collapse at the cursor. False when no root is left.
    bool JobStep(CWholeTreeJob& job);
    bool ExpandStep(CWholeTreeJob& job);    // the cursor is on a node
    bool CollapseStep(CWholeTreeJob& job);  // the cursor is on a node
    bool PrepareRows(CWholeTreeJob& job);
    void CommitRows(CWholeTreeJob& job);
    bool NextTop(CWholeTreeJob& job);
    CTreeItem* FirstChildToShow(const CTreeItem* pNode) const;
    CTreeItem* NextSiblingToShow(const CTreeItem* pNode) const;
    // The first node after pNode's subtree in pre-order within pTop's, or null.
    CTreeItem* NextAfterSubtree(const CTreeItem* pTop, const CTreeItem* pNode) const;
    // Called before pNode and its subtree are freed, or its children moved.
    void JobNodeRemoving(CTreeItem* pNode);
    void JobChildrenMoving(CTreeItem* pFrom);
    void JobNodeChanged(const CTreeItem* pNode);

    // Input
    bool ToggleNode(CTreeItem* pNode, int nRow, bool bTopFirst);
    void HandleRowKey(WORD wKey);
    void MoveCurrentColumn(int nDelta);
    void StartEditCurrentCell();
    void RepaintRow(int nRow);
    void SelectAndFocus(int nRow);

    // Drag and drop
    void DragMove(const QPoint& pt, UINT nKeyFlags);
    void DragTimer();
    int InScrollBand(int y) const;
    void SetDropHighlight(int nRow);
    void EndDragImage();
    void CancelDrag();
    BOOL MayDrop(CTreeItem* pDragged, CTreeItem* pTarget) const;
    void Drop();

    // Tooltips
    std::string TipAt(const QPoint& pt);
    void TrackTip(const QPoint& pt);
    void TipTimer();
    void HideTip();

    CTreeItem::Chain m_roots;
    int m_nRenumberMark = 0;              // rows below it carry their right numbers
    QPoint m_ptLastMouse;                 // where the cursor was last seen over the rows
    QBasicTimer m_timerDrag;              // 300 ms while dragging: auto-scroll, auto-expand
    QBasicTimer m_timerTip;               // 500 ms hover delay of the tooltip
    // The application's one tooltip, shared by every control: it lives as long as any of them.
    const std::shared_ptr<CHtmlToolTip> m_pTip;
    std::unique_ptr<CTreeMatcher> m_pFilter;  // Owned; null while every node is shown
    CTreeItem* m_pFoundNode = nullptr;    // the last match; Not owned
    CTreeItem* m_pFoundShown = nullptr;   // the row selected for it; Not owned
    struct CJobDeleter
    {
        void operator()(CWholeTreeJob* pJob) const;
    };
    std::unique_ptr<CWholeTreeJob, CJobDeleter> m_pJob;  // Owned; null while no Expand All or Collapse All runs
    QBasicTimer m_timerJob;                 // zero timer: the job's next slice
    std::chrono::microseconds m_jobSlice{8000};
};

#pragma once
// Report-mode list control: rows of per-column texts with item data, indent,
// image, state bits and check state, under a header of columns.
//
// CListCtrl IS the view (a QAbstractItemView subclass over a flat model of its
// own), so a derived control overrides the Qt event handlers directly. "Client"
// coordinates are the viewport's: row 0 starts at y = 0 when scrolled to the
// top, and x = 0 is the left edge of the visible area (column 0 starts at
// -horizontal scroll offset). Rows have one height: font ascent + descent +
// external leading + 4 pixels. Vertical scrolling is by whole rows.
//
// Painting is the owner's: for every visible row the view calls the virtual
// DrawItem once with the whole row (owner-drawn fixed rows); with
// LVS_EX_GRIDLINES set the list then draws the grid lines over it.
//
// Everything here runs on the UI thread. The view keeps nothing per row: its
// layout, scrolling, hit tests and painting cost O(visible rows) whatever the
// row count (row n lies at (n - top row) x row height). Row insertion and
// removal are O(rows moved) in the row store plus O(1) for the view;
// InsertItems/DeleteItems move a whole block at once.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/listctrl/ListRow.h"

#include <QAbstractItemView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDC;          // platform/gdi: device context over a QPainter
class CImageList;   // platform/gdi: image strip
class CHeaderCtrl;
class CListModel;
class QPainter;

// pszText of an LVITEM to set: the cell's text is a callback text, asked of
// the owner (GetDispInfoText) whenever the list needs it, and kept nowhere.
inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(-1);

// LVITEM mask bits
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;

// Item states. Selection and focus are the view's; the others are kept per row.
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }

// GetNextItem flags
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_CUT = 0x0004;
constexpr UINT LVNI_DROPHILITED = 0x0008;

// Column formats and LVCOLUMN mask bits
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;

// Item rectangle codes
constexpr UINT LVIR_BOUNDS = 0;
constexpr UINT LVIR_ICON = 1;
constexpr UINT LVIR_LABEL = 2;

// Hit-test flags
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;
constexpr UINT LVHT_TORIGHT = 0x0020;
constexpr UINT LVHT_TOLEFT = 0x0040;

// Image lists
constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVSIL_STATE = 2;

// Extended styles (only grid lines have an effect)
constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;

// Owner drawing
constexpr UINT ODT_LISTVIEW = 102;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_FOCUS = 0x0010;

// Notification codes (as the list sends them to its own handlers)
constexpr int NM_DBLCLK = -3;
constexpr int LVN_DELETEALLITEMS = -104;
constexpr int LVN_ENDLABELEDIT = -106;
constexpr int LVN_BEGINDRAG = -109;
constexpr int LVN_KEYDOWN = -155;

// Mouse key flags of a move or click
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

class CListCtrl;

struct LVITEM
{
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;  // set: NUL-terminated text or LPSTR_TEXTCALLBACK; get: buffer of cchTextMax bytes
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};

struct LVCOLUMN
{
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
};

struct LVHITTESTINFO
{
    CPoint pt;              // in: client point
    UINT flags = 0;         // out: LVHT_*
    int iItem = -1;         // out: row, -1 when none
    int iSubItem = -1;      // out: column index, -1 when none
};

struct NMHDR
{
    CListCtrl* hwndFrom = nullptr;  // Not owned.
    WPARAM idFrom = 0;
    int code = 0;
};

struct NMLVDISPINFO
{
    NMHDR hdr;
    LVITEM item;
};

struct NMLISTVIEW
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    CPoint ptAction;
    LPARAM lParam = 0;
};

struct NMITEMACTIVATE
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = -1;
    CPoint ptAction;
    UINT uKeyFlags = 0;
};

struct NMLVKEYDOWN
{
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct DRAWITEMSTRUCT
{
    UINT CtlType = ODT_LISTVIEW;
    UINT CtlID = 0;
    UINT itemID = 0;               // the row
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;            // ODS_*
    CListCtrl* hwndItem = nullptr; // Not owned.
    CDC* pDC = nullptr;            // Not owned; valid during the call only.
    CRect rcItem;                  // the row's bounds, client coordinates
    LPARAM itemData = 0;
    QPainter* pPainter = nullptr;  // Not owned; the painter under pDC.
};

class CListCtrl : public QAbstractItemView
{

public:
    explicit CListCtrl(QWidget* pParent = nullptr);
    ~CListCtrl() override;
    CListCtrl(const CListCtrl&) = delete;
    CListCtrl& operator=(const CListCtrl&) = delete;

    // --- Columns ---------------------------------------------------------
    // Inserts a column before nCol (clamped to the count); returns its index.
    int InsertColumn(int nCol, const std::string& heading, int nFormat = LVCFMT_LEFT, int nWidth = 100);
    int GetColumnCount() const;
    int GetColumnWidth(int nCol) const;          // 0 for a column that does not exist
    BOOL SetColumnWidth(int nCol, int cx);
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;  // LVCF_FMT, LVCF_WIDTH, LVCF_TEXT
    CHeaderCtrl* GetHeaderCtrl() const;          // Not owned by the caller.
    // Replaces the header with pHeader (the list takes ownership); columns stay.
    void SetHeaderCtrl(CHeaderCtrl* pHeader);

    // --- Rows --------------------------------------------------------------
    int GetItemCount() const;
    // Inserts one row at pItem->iItem (clamped); LVIF_TEXT/PARAM/INDENT/IMAGE/STATE
    // are taken from the item. Returns the row, -1 on a bad argument.
    int InsertItem(const LVITEM* pItem);
    int InsertItem(int nItem, const std::string& text);
    // Inserts rows before nFirst as one block. Returns nFirst, -1 when out of range.
    int InsertItems(int nFirst, std::vector<CListRow> rows);
    BOOL DeleteItem(int nItem);
    // Deletes rows [nFirst, nFirst + nCount) as one block.
    BOOL DeleteItems(int nFirst, int nCount);
    // Deletes every row; OnDeleteAllItems is called first.
    BOOL DeleteAllItems();

    BOOL SetItem(const LVITEM* pItem);   // by mask; iSubItem > 0 takes only LVIF_TEXT
    BOOL GetItem(LVITEM* pItem) const;   // by mask; text is cut to cchTextMax - 1 bytes
    // Gives the cell an own text (a callback cell stops being one).
    BOOL SetItemText(int nItem, int nSubItem, const std::string& text);
    // The own text, or for a callback cell the owner's; empty for a bad index.
    std::string GetItemText(int nItem, int nSubItem) const;
    LPARAM GetItemData(int nItem) const;                     // 0 for a bad index
    UINT GetItemState(int nItem, UINT nMask) const;
    // Selecting a row deselects every other one (single selection); LVIS_FOCUSED
    // makes it the current row.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetCheck(int nItem, BOOL bCheck = TRUE);             // state image 2 / 1
    BOOL GetCheck(int nItem) const;
    // Next row after nItem (-1: from the start) with all of nFlags (LVNI_*); -1 if none.
    int GetNextItem(int nItem, UINT nFlags) const;

    // --- Geometry (client coordinates) ---------------------------------
    int GetRowHeight() const;
    int GetTopIndex() const;
    int GetCountPerPage() const;  // rows fully visible
    void GetClientRect(CRect* pRect) const;
    // LVIR_BOUNDS: the whole row over all columns; LVIR_ICON: the small icon
    // after the indent; LVIR_LABEL: from the icon to column 0's right edge.
    BOOL GetItemRect(int nItem, CRect* pRect, UINT nCode) const;
    // nSubItem 0 gives the rectangles of GetItemRect, except that LVIR_BOUNDS
    // is column 0's cell; other sub-items give their cell for every code.
    BOOL GetSubItemRect(int nItem, int nSubItem, UINT nCode, CRect& rect) const;
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* pInfo) const;

    // --- Scrolling and painting ----------------------------------------
    // Scrolls so that the row is visible; without bPartialOK it must be wholly
    // visible (as far as the view's height allows). FALSE for a bad row.
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    // Scrolls by size.cx pixels horizontally and size.cy pixels (whole rows) vertically.
    BOOL Scroll(CSize size);
    BOOL RedrawItems(int nFirst, int nLast);
    void SetRedraw(BOOL bRedraw = TRUE);
    BOOL IsRedrawOn() const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const CRect& rect, BOOL bErase = TRUE);
    void UpdateWindow();  // paints pending updates now

    // --- Styles, images ------------------------------------------------
    DWORD SetExtendedStyle(DWORD dwNewStyle);  // returns the previous style
    // The list does not own image lists. Returns the previous one.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // Size of one small image: the indent step and the icon rectangle (0 x 0 with no list).
    CSize GetSmallImageSize() const;

    // --- Identity, capture, messages -----------------------------------
    int GetDlgCtrlID() const { return m_nCtrlId; }
    void SetDlgCtrlID(int nId) { m_nCtrlId = nId; }
    // Mouse capture as the drag code sees it: lost when the window is deactivated.
    void SetCapture();
    void ReleaseCapture();
    BOOL HasCapture() const { return m_bCapture ? TRUE : FALSE; }

    // A message to the control itself: goes through WindowProc.
    LRESULT SendCtrlMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Receiver of messages the control sends to its parent window (empty: none).
    using ParentHandler = std::function<LRESULT(UINT nMsg, WPARAM wParam, LPARAM lParam)>;
    void SetParentHandler(ParentHandler handler);
    LRESULT SendParentMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // The end-of-label-edit path: an in-place editor reports its result here
    // (code LVN_ENDLABELEDIT); the list hands it to OnEndLabelEdit.
    LRESULT NotifyEndLabelEdit(NMLVDISPINFO* pInfo);

    // The view's side: a cell's rectangle, the cell at a point, scrolling to a row.
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = QAbstractItemView::EnsureVisible) override;
    // The widest text of the visible rows in the column (a double-click on a
    // header border fits the column to it).
    int sizeHintForColumn(int nColumn) const override;

protected:
    // Paints one whole row. The base draws the row's texts plainly.
    virtual void DrawItem(DRAWITEMSTRUCT* pDrawItem);
    // The text of a callback cell, asked whenever the list needs it (painting,
    // GetItemText, GetItem); the list keeps no copy. The base answers "".
    virtual std::string GetDispInfoText(int nItem, int nSubItem) const;
    // Messages to the control; the base answers 0.
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Notifications, as the list sends them to itself (the base does nothing, answers 0).
    virtual LRESULT OnEndLabelEdit(NMLVDISPINFO* pInfo);
    virtual void OnDblClk(NMITEMACTIVATE* pActivate);   // after the second click selected the row
    virtual void OnBeginDrag(NMLISTVIEW* pView);        // left button dragged from a row
    virtual void OnKeyDown(NMLVKEYDOWN* pKey);          // before the list's own key handling
    virtual void OnDeleteAllItems();                    // before DeleteAllItems empties the list

    // The view's model index of a cell (invalid for a bad row).
    QModelIndex IndexOf(int nItem, int nSubItem = 0) const;
    // Key flags (MK_*) of a mouse event.
    static UINT KeyFlagsOf(const QMouseEvent& event);

    // Paints the rows the update rectangle meets, and nothing else.
    void paintEvent(QPaintEvent* pEvent) override;
    // Up/Down, Page Up/Down, Home and End move the current row; Left and Right
    // scroll sideways by a step.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    // The header above the viewport, the scroll ranges (whole rows vertically).
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Left button: the list's own click (select and focus the row) and drag detection.
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    void UpdateRowHeight();
    void AttachHeader(CHeaderCtrl* pHeader);
    void UpdateScrollBars();
    void FitColumn(int nCol);
    void PaintRow(QPainter* pPainter, int nItem);
    int RowAtY(int y) const;          // row whose band holds client y (may be no row)
    int ColumnLeft(int nCol) const;   // client x of the column's left edge
    void PaintGridLines(QPainter* pPainter, const CRect& rcRow) const;
    void DefaultDrawItem(const DRAWITEMSTRUCT& drawItem) const;
    void SelectRow(int nItem);

    std::unique_ptr<CListModel> m_pModel;   // Owned.
    CHeaderCtrl* m_pHeader = nullptr;       // Owned through Qt parenting.
    CImageList* m_pSmallImages = nullptr;   // Not owned.
    CImageList* m_pStateImages = nullptr;   // Not owned.
    CImageList* m_pNormalImages = nullptr;  // Not owned.
    ParentHandler m_fnParent;
    DWORD m_dwExStyle = 0;
    int m_nRowHeight = 0;
    int m_nCtrlId = 0;
    int m_nPressRow = -1;        // row under a left press that may start a drag
    QPoint m_ptPress;
    bool m_bCapture = false;
    bool m_bInGeometries = false;  // updateGeometries resizes the header, which may call back
};

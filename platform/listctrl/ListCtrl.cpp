#include "platform/listctrl/ListCtrl.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/ImageList.h"
#include "platform/listctrl/HeaderCtrl.h"
#include "platform/listctrl/ListModel.h"
#include "platform/listctrl/VirtualKeys.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPaintEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kViewStates = LVIS_SELECTED | LVIS_FOCUSED;

// The item's data, indent and image, as far as its mask names them.
void ApplyItemFields(const LVITEM& item, CListRow& row)
{
    if (item.mask & LVIF_PARAM)
        row.lParam = item.lParam;
    if (item.mask & LVIF_INDENT)
        row.nIndent = item.iIndent;
    if (item.mask & LVIF_IMAGE)
        row.nImage = item.iImage;
}

// An LVITEM's text for a row: none, a callback, or an own text.
void SetRowText(CListRow& row, int nSubItem, const char* pszText)
{
    if (pszText == LPSTR_TEXTCALLBACK)
        row.SetCallback(nSubItem);
    else
        row.SetText(nSubItem, pszText ? pszText : "");
}

// Copies text into a caller's buffer of nSize bytes, cut to fit with its NUL.
void CopyOut(const std::string& text, char* pszBuffer, int nSize)
{
    if (!pszBuffer || nSize <= 0)
        return;
    const size_t n = std::min(text.size(), static_cast<size_t>(nSize - 1));
    std::memcpy(pszBuffer, text.data(), n);
    pszBuffer[n] = '\0';
}

}  // namespace

CListCtrl::CListCtrl(QWidget* pParent)
    : QAbstractItemView(pParent), m_pModel(std::make_unique<CListModel>())
{
    setModel(m_pModel.get());
    m_pModel->SetTextSource([this](int nRow, int nCol) { return GetItemText(nRow, nCol); });
    AttachHeader(new CHeaderCtrl(this));
    // The row count only moves the scroll range, which the delayed layout sets.
    const auto relayout = [this] { scheduleDelayedItemsLayout(); };
    connect(m_pModel.get(), &QAbstractItemModel::rowsInserted, this, relayout);
    connect(m_pModel.get(), &QAbstractItemModel::rowsRemoved, this, relayout);
    connect(m_pModel.get(), &QAbstractItemModel::modelReset, this, relayout);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(false);
    // Keyboard navigation scrolls rows into view itself (keyPressEvent).
    setAutoScroll(false);
    setMouseTracking(true);
    UpdateRowHeight();
}

// The view is detached from the model first, so it never sees the model die.
CListCtrl::~CListCtrl()
{
    setModel(nullptr);
}

void CListCtrl::AttachHeader(CHeaderCtrl* pHeader)
{
    pHeader->setParent(this);
    pHeader->setModel(m_pModel.get());
    const auto columnsChanged = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(pHeader, &QHeaderView::sectionResized, this, columnsChanged);
    connect(pHeader, &QHeaderView::sectionMoved, this, columnsChanged);
    connect(pHeader, &QHeaderView::sectionCountChanged, this, columnsChanged);
    connect(pHeader, &QHeaderView::geometriesChanged, this, [this] { updateGeometries(); });
    connect(pHeader, &QHeaderView::sectionHandleDoubleClicked, this, [this](int nCol) { FitColumn(nCol); });
    m_pHeader = pHeader;
    m_pHeader->show();
    updateGeometries();
}

// ---------------------------------------------------------------------------
// Columns

int CListCtrl::InsertColumn(int nCol, const std::string& heading, int nFormat, int nWidth)
{
    nCol = std::clamp(nCol, 0, m_pModel->ColumnCount());
    m_pModel->InsertColumn(nCol, CListModel::Column{heading, nFormat});
    m_pHeader->resizeSection(nCol, std::max(0, nWidth));
    return nCol;
}

int CListCtrl::GetColumnCount() const
{
    return m_pModel->ColumnCount();
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= GetColumnCount())
        return 0;
    return m_pHeader->sectionSize(nCol);
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx)
{
    if (nCol < 0 || nCol >= GetColumnCount() || cx < 0)
        return FALSE;
    m_pHeader->resizeSection(nCol, cx);
    return TRUE;
}

BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const
{
    if (!pColumn || nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    const CListModel::Column& column = m_pModel->ColumnAt(nCol);
    if (pColumn->mask & LVCF_FMT)
        pColumn->fmt = column.nFormat;
    if (pColumn->mask & LVCF_WIDTH)
        pColumn->cx = GetColumnWidth(nCol);
    if (pColumn->mask & LVCF_TEXT)
        CopyOut(column.strTitle, pColumn->pszText, pColumn->cchTextMax);
    if (pColumn->mask & LVCF_SUBITEM)
        pColumn->iSubItem = nCol;
    return TRUE;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return m_pHeader;
}

void CListCtrl::SetHeaderCtrl(CHeaderCtrl* pHeader)
{
    if (!pHeader || pHeader == m_pHeader)
        return;
    std::vector<int> widths;
    for (int i = 0; i < GetColumnCount(); ++i)
        widths.push_back(GetColumnWidth(i));
    CHeaderCtrl* pOld = m_pHeader;
    AttachHeader(pHeader);
    delete pOld;
    for (int i = 0; i < static_cast<int>(widths.size()); ++i)
        m_pHeader->resizeSection(i, widths[static_cast<size_t>(i)]);
}

// ---------------------------------------------------------------------------
// Rows

int CListCtrl::GetItemCount() const
{
    return m_pModel->RowCount();
}

int CListCtrl::InsertItem(const LVITEM* pItem)
{
    if (!pItem || pItem->iSubItem != 0)
        return -1;
    CListRow row;
    if (pItem->mask & LVIF_TEXT)
        SetRowText(row, 0, pItem->pszText);
    ApplyItemFields(*pItem, row);
    if (pItem->mask & LVIF_STATE)
        row.nState = pItem->state & pItem->stateMask & ~kViewStates;
    const int nRow = std::clamp(pItem->iItem, 0, GetItemCount());
    std::vector<CListRow> rows;
    rows.push_back(std::move(row));
    InsertItems(nRow, std::move(rows));
    if (pItem->mask & LVIF_STATE)
        SetItemState(nRow, pItem->state, pItem->stateMask & kViewStates);
    return nRow;
}

int CListCtrl::InsertItem(int nItem, const std::string& text)
{
    LVITEM item;
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<char*>(text.c_str());
    return InsertItem(&item);
}

int CListCtrl::InsertItems(int nFirst, std::vector<CListRow> rows)
{
    if (nFirst < 0 || nFirst > GetItemCount())
        return -1;
    m_pModel->InsertRows(nFirst, std::move(rows));
    return nFirst;
}

BOOL CListCtrl::DeleteItem(int nItem)
{
    return DeleteItems(nItem, 1);
}

// The view would move the current row (and with single selection, the
// selection) to a neighbour of a deleted current row; the list instead leaves
// no current and no selected row, as a deleted item takes its states with it.
BOOL CListCtrl::DeleteItems(int nFirst, int nCount)
{
    if (nFirst < 0 || nCount < 0 || nFirst + nCount > GetItemCount())
        return FALSE;
    if (nCount == 0)
        return TRUE;
    const int nCurrent = currentIndex().row();
    if (nCurrent >= nFirst && nCurrent < nFirst + nCount)
        selectionModel()->clearCurrentIndex();
    const int nSelected = GetNextItem(-1, LVNI_SELECTED);
    if (nSelected >= nFirst && nSelected < nFirst + nCount)
        selectionModel()->clearSelection();
    m_pModel->RemoveRows(nFirst, nCount);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    OnDeleteAllItems();
    selectionModel()->clear();
    m_pModel->Clear();
    return TRUE;
}

BOOL CListCtrl::SetItem(const LVITEM* pItem)
{
    if (!pItem || !m_pModel->IsRow(pItem->iItem) || pItem->iSubItem < 0)
        return FALSE;
    CListRow& row = m_pModel->Row(pItem->iItem);
    if (pItem->mask & LVIF_TEXT)
        SetRowText(row, pItem->iSubItem, pItem->pszText);
    if (pItem->iSubItem == 0) {
        ApplyItemFields(*pItem, row);
        if (pItem->mask & LVIF_STATE)
            SetItemState(pItem->iItem, pItem->state, pItem->stateMask);
    }
    RedrawItems(pItem->iItem, pItem->iItem);
    return TRUE;
}

BOOL CListCtrl::GetItem(LVITEM* pItem) const
{
    if (!pItem || !m_pModel->IsRow(pItem->iItem))
        return FALSE;
    const CListRow& row = m_pModel->Row(pItem->iItem);
    if (pItem->mask & LVIF_TEXT)
        CopyOut(GetItemText(pItem->iItem, pItem->iSubItem), pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & LVIF_PARAM)
        pItem->lParam = row.lParam;
    if (pItem->mask & LVIF_INDENT)
        pItem->iIndent = row.nIndent;
    if (pItem->mask & LVIF_IMAGE)
        pItem->iImage = row.nImage;
    if (pItem->mask & LVIF_STATE)
        pItem->state = GetItemState(pItem->iItem, pItem->stateMask);
    return TRUE;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::string& text)
{
    if (!m_pModel->IsRow(nItem) || nSubItem < 0)
        return FALSE;
    m_pModel->Row(nItem).SetText(nSubItem, text);
    RedrawItems(nItem, nItem);
    return TRUE;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    if (!m_pModel->IsRow(nItem))
        return std::string();
    const CListRow& row = m_pModel->Row(nItem);
    return row.IsCallback(nSubItem) ? GetDispInfoText(nItem, nSubItem) : row.Text(nSubItem);
}

std::string CListCtrl::GetDispInfoText(int, int) const
{
    return std::string();
}

LPARAM CListCtrl::GetItemData(int nItem) const
{
    return m_pModel->IsRow(nItem) ? m_pModel->Row(nItem).lParam : 0;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    if (!m_pModel->IsRow(nItem))
        return 0;
    UINT state = m_pModel->Row(nItem).nState;
    if ((nMask & LVIS_SELECTED) && selectionModel()->isRowSelected(nItem, QModelIndex()))
        state |= LVIS_SELECTED;
    if ((nMask & LVIS_FOCUSED) && currentIndex().isValid() && currentIndex().row() == nItem)
        state |= LVIS_FOCUSED;
    return state & nMask;
}

// nItem -1 applies the states to every row.
BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    if (nItem == -1) {
        for (int i = 0; i < GetItemCount(); ++i)
            if (GetItemState(i, nMask) != (nState & nMask))
                SetItemState(i, nState, nMask);
        return TRUE;
    }
    if (!m_pModel->IsRow(nItem))
        return FALSE;
    const QModelIndex index = IndexOf(nItem);
    if (nMask & LVIS_SELECTED) {
        const auto command = (nState & LVIS_SELECTED) ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Deselect;
        selectionModel()->select(index, command | QItemSelectionModel::Rows);
    }
    if (nMask & LVIS_FOCUSED) {
        if (nState & LVIS_FOCUSED)
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        else if (currentIndex().row() == nItem)
            selectionModel()->clearCurrentIndex();
    }
    const UINT nKept = nMask & ~kViewStates;
    CListRow& row = m_pModel->Row(nItem);
    row.nState = (row.nState & ~nKept) | (nState & nKept);
    RedrawItems(nItem, nItem);
    return TRUE;
}

BOOL CListCtrl::SetCheck(int nItem, BOOL bCheck)
{
    return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
}

BOOL CListCtrl::GetCheck(int nItem) const
{
    const int nImage = static_cast<int>(GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12);
    return nImage - 1 > 0 ? TRUE : FALSE;
}

int CListCtrl::GetNextItem(int nItem, UINT nFlags) const
{
    if (nFlags == LVNI_SELECTED) {  // the common question, answered from the selection
        int nBest = -1;
        for (const QModelIndex& index : selectionModel()->selectedRows())
            if (index.row() > nItem && (nBest == -1 || index.row() < nBest))
                nBest = index.row();
        return nBest;
    }
    for (int i = std::max(0, nItem + 1); i < GetItemCount(); ++i)
        if (GetItemState(i, nFlags) == nFlags)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------
// Geometry

int CListCtrl::GetRowHeight() const
{
    return m_nRowHeight;
}

int CListCtrl::GetTopIndex() const
{
    const_cast<CListCtrl*>(this)->executeDelayedItemsLayout();
    return verticalScrollBar()->value();
}

int CListCtrl::GetCountPerPage() const
{
    return m_nRowHeight > 0 ? viewport()->height() / m_nRowHeight : 0;
}

void CListCtrl::GetClientRect(CRect* pRect) const
{
    if (pRect)
        *pRect = CRect(0, 0, viewport()->width(), viewport()->height());
}

int CListCtrl::ColumnLeft(int nCol) const
{
    return m_pHeader->sectionViewportPosition(nCol);
}

int CListCtrl::RowAtY(int y) const
{
    if (m_nRowHeight <= 0)
        return -1;
    // Floor division: a point above the viewport is above the top row.
    const int nBand = y >= 0 ? y / m_nRowHeight : -((-y + m_nRowHeight - 1) / m_nRowHeight);
    return GetTopIndex() + nBand;
}

BOOL CListCtrl::GetItemRect(int nItem, CRect* pRect, UINT nCode) const
{
    if (!pRect || !m_pModel->IsRow(nItem))
        return FALSE;
    const int top = (nItem - GetTopIndex()) * m_nRowHeight;
    const int left = -m_pHeader->offset();
    const CRect bounds(left, top, left + m_pHeader->length(), top + m_nRowHeight);
    if (nCode == LVIR_BOUNDS) {
        *pRect = bounds;
        return TRUE;
    }
    if (nCode != LVIR_ICON && nCode != LVIR_LABEL)
        return FALSE;
    const CSize image = GetSmallImageSize();
    const int x0 = GetColumnCount() > 0 ? ColumnLeft(0) : left;
    const int iconLeft = x0 + m_pModel->Row(nItem).nIndent * image.cx;
    const CRect icon(iconLeft, top, iconLeft + image.cx, top + m_nRowHeight);
    if (nCode == LVIR_ICON)
        *pRect = icon;
    else
        *pRect = CRect(icon.right, top, std::max(icon.right, x0 + GetColumnWidth(0)), top + m_nRowHeight);
    return TRUE;
}

BOOL CListCtrl::GetSubItemRect(int nItem, int nSubItem, UINT nCode, CRect& rect) const
{
    if (nSubItem < 0 || nSubItem >= std::max(1, GetColumnCount()))
        return FALSE;
    if (nSubItem == 0 && nCode != LVIR_BOUNDS)
        return GetItemRect(nItem, &rect, nCode);
    CRect bounds;
    if (!GetItemRect(nItem, &bounds, LVIR_BOUNDS))
        return FALSE;
    const int x = ColumnLeft(nSubItem);
    rect = CRect(x, bounds.top, x + GetColumnWidth(nSubItem), bounds.bottom);
    return TRUE;
}

// A row is hit anywhere across its columns (not only on its label).
int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info;
    info.pt = pt;
    const int nItem = SubItemHitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return nItem;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* pInfo) const
{
    if (!pInfo)
        return -1;
    pInfo->iItem = pInfo->iSubItem = -1;
    const CPoint pt = pInfo->pt;
    const int left = -m_pHeader->offset();
    if (pt.y < 0) {
        pInfo->flags = LVHT_ABOVE;
        return -1;
    }
    if (pt.x < left || pt.x >= left + m_pHeader->length() || m_nRowHeight <= 0) {
        pInfo->flags = LVHT_NOWHERE | (pt.x < left ? LVHT_TOLEFT : LVHT_TORIGHT);
        return -1;
    }
    const int nItem = RowAtY(pt.y);
    const int nColumn = m_pHeader->logicalIndexAt(pt.x);
    if (!m_pModel->IsRow(nItem) || nColumn < 0) {
        pInfo->flags = LVHT_NOWHERE;
        return -1;
    }
    pInfo->iItem = nItem;
    pInfo->iSubItem = nColumn;
    CRect icon;
    GetItemRect(nItem, &icon, LVIR_ICON);
    pInfo->flags = (nColumn == 0 && icon.PtInRect(pt)) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    return nItem;
}

// ---------------------------------------------------------------------------
// Scrolling and painting

BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK)
{
    if (!m_pModel->IsRow(nItem))
        return FALSE;
    const int nTop = GetTopIndex();  // lays out pending rows, so the scroll range is right
    const int nPage = GetCountPerPage();
    const bool bPartlyBelow = viewport()->height() % std::max(1, m_nRowHeight) != 0;
    const int nLastVisible = nTop + nPage - ((bPartialOK && bPartlyBelow) ? 0 : 1);
    if (nItem < nTop)
        verticalScrollBar()->setValue(nItem);
    else if (nItem > nLastVisible)
        verticalScrollBar()->setValue(nItem - std::max(1, nPage) + 1);
    return TRUE;
}

BOOL CListCtrl::Scroll(CSize size)
{
    executeDelayedItemsLayout();
    updateGeometries();
    if (size.cx != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + size.cx);
    if (size.cy != 0 && m_nRowHeight > 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + size.cy / m_nRowHeight);
    return TRUE;
}

BOOL CListCtrl::RedrawItems(int nFirst, int nLast)
{
    if (nFirst > nLast || !IsRedrawOn())
        return FALSE;
    // Plain arithmetic on purpose: asking the view for rectangles would force a
    // layout of every row after each change.
    const int nTop = verticalScrollBar()->value();
    const int y0 = (std::max(nFirst, nTop) - nTop) * m_nRowHeight;
    const int y1 = (nLast - nTop + 1) * m_nRowHeight;
    if (y1 > 0 && y0 < viewport()->height())
        viewport()->update(0, y0, viewport()->width(), y1 - y0);
    return TRUE;
}

void CListCtrl::SetRedraw(BOOL bRedraw)
{
    viewport()->setUpdatesEnabled(bRedraw != FALSE);
}

BOOL CListCtrl::IsRedrawOn() const
{
    return viewport()->updatesEnabled() ? TRUE : FALSE;
}

void CListCtrl::Invalidate(BOOL)
{
    viewport()->update();
}

void CListCtrl::InvalidateRect(const CRect& rect, BOOL)
{
    viewport()->update(rect.ToQRect());
}

void CListCtrl::UpdateWindow()
{
    if (IsRedrawOn() && viewport()->isVisible())
        viewport()->repaint();
}

// ---------------------------------------------------------------------------
// Styles, images

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle)
{
    const DWORD dwOld = m_dwExStyle;
    m_dwExStyle = dwNewStyle;
    if (dwOld != dwNewStyle)
        viewport()->update();
    return dwOld;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    CImageList** ppSlot = nImageListType == LVSIL_SMALL ? &m_pSmallImages
                        : nImageListType == LVSIL_STATE ? &m_pStateImages : &m_pNormalImages;
    CImageList* pOld = *ppSlot;
    *ppSlot = pImageList;
    viewport()->update();
    return pOld;
}

CImageList* CListCtrl::GetImageList(int nImageListType) const
{
    return nImageListType == LVSIL_SMALL ? m_pSmallImages
         : nImageListType == LVSIL_STATE ? m_pStateImages : m_pNormalImages;
}

// ---------------------------------------------------------------------------
// Capture and messages

void CListCtrl::SetCapture()
{
    m_bCapture = true;
}

void CListCtrl::ReleaseCapture()
{
    m_bCapture = false;
}

LRESULT CListCtrl::SendCtrlMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return WindowProc(nMsg, wParam, lParam);
}

void CListCtrl::SetParentHandler(ParentHandler handler)
{
    m_fnParent = std::move(handler);
}

LRESULT CListCtrl::SendParentMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return m_fnParent ? m_fnParent(nMsg, wParam, lParam) : 0;
}

LRESULT CListCtrl::NotifyEndLabelEdit(NMLVDISPINFO* pInfo)
{
    if (!pInfo)
        return 0;
    pInfo->hdr.hwndFrom = this;
    pInfo->hdr.code = LVN_ENDLABELEDIT;
    return OnEndLabelEdit(pInfo);
}

LRESULT CListCtrl::WindowProc(UINT, WPARAM, LPARAM)
{
    return 0;
}

LRESULT CListCtrl::OnEndLabelEdit(NMLVDISPINFO*)
{
    return 0;
}

void CListCtrl::OnDblClk(NMITEMACTIVATE*) {}
void CListCtrl::OnBeginDrag(NMLISTVIEW*) {}
void CListCtrl::OnKeyDown(NMLVKEYDOWN*) {}
void CListCtrl::OnDeleteAllItems() {}

// ---------------------------------------------------------------------------
// Painting

void CListCtrl::DrawItem(DRAWITEMSTRUCT* pDrawItem)
{
    if (pDrawItem && pDrawItem->pPainter)
        DefaultDrawItem(*pDrawItem);
}

void CListCtrl::DefaultDrawItem(const DRAWITEMSTRUCT& drawItem) const
{
    QPainter& painter = *drawItem.pPainter;
    const bool bSelected = (drawItem.itemState & ODS_SELECTED) != 0;
    const QPalette& pal = palette();
    painter.fillRect(drawItem.rcItem.ToQRect(), bSelected ? pal.highlight() : pal.base());
    painter.setPen(bSelected ? pal.highlightedText().color() : pal.text().color());
    const int nItem = static_cast<int>(drawItem.itemID);
    for (int nCol = 0; nCol < GetColumnCount(); ++nCol) {
        CRect cell;
        if (nCol == 0)
            GetItemRect(nItem, &cell, LVIR_LABEL);
        else
            GetSubItemRect(nItem, nCol, LVIR_BOUNDS, cell);
        cell.DeflateRect(2, 0);
        painter.drawText(cell.ToQRect(), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         QString::fromLatin1(GetItemText(nItem, nCol)));
    }
}

void CListCtrl::PaintGridLines(QPainter* pPainter, const CRect& rcRow) const
{
    pPainter->save();
    pPainter->setPen(palette().color(QPalette::Button).darker(110));
    pPainter->drawLine(rcRow.left, rcRow.bottom - 1, rcRow.right - 1, rcRow.bottom - 1);
    for (int nCol = 0; nCol < GetColumnCount(); ++nCol) {
        const int x = ColumnLeft(nCol) + GetColumnWidth(nCol) - 1;
        pPainter->drawLine(x, rcRow.top, x, rcRow.bottom - 1);
    }
    pPainter->restore();
}

void CListCtrl::paintEvent(QPaintEvent* pEvent)
{
    executeDelayedItemsLayout();
    const QRect rcUpdate = pEvent->rect();
    const int nFirst = std::max(0, RowAtY(rcUpdate.top()));
    const int nLast = std::min(GetItemCount() - 1, RowAtY(rcUpdate.bottom()));
    if (nFirst > nLast)
        return;
    QPainter painter(viewport());
    for (int nItem = nFirst; nItem <= nLast; ++nItem)
        PaintRow(&painter, nItem);
}

void CListCtrl::PaintRow(QPainter* pPainter, int nItem)
{
    DRAWITEMSTRUCT drawItem;
    drawItem.CtlID = static_cast<UINT>(m_nCtrlId);
    drawItem.itemID = static_cast<UINT>(nItem);
    drawItem.hwndItem = this;
    drawItem.itemData = GetItemData(nItem);
    drawItem.pPainter = pPainter;
    GetItemRect(nItem, &drawItem.rcItem, LVIR_BOUNDS);
    if (GetItemState(nItem, LVIS_SELECTED))
        drawItem.itemState |= ODS_SELECTED;
    if (GetItemState(nItem, LVIS_FOCUSED) && hasFocus())
        drawItem.itemState |= ODS_FOCUS;
    if (!isEnabled())
        drawItem.itemState |= ODS_DISABLED;
    {
        CDC dc(pPainter);  // saves the painter's state and restores it when it goes
        drawItem.pDC = &dc;
        DrawItem(&drawItem);
    }
    if (m_dwExStyle & LVS_EX_GRIDLINES)
        PaintGridLines(pPainter, drawItem.rcItem);
}

// ---------------------------------------------------------------------------
// The view: geometry from the row height and the header alone

QRect CListCtrl::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != m_pModel.get())
        return QRect();
    CRect cell;
    if (!GetSubItemRect(index.row(), index.column(), LVIR_BOUNDS, cell))
        return QRect();
    return cell.ToQRect();
}

QModelIndex CListCtrl::indexAt(const QPoint& point) const
{
    LVHITTESTINFO hit;
    hit.pt = CPoint(point);
    return SubItemHitTest(&hit) < 0 ? QModelIndex() : IndexOf(hit.iItem, hit.iSubItem);
}

void CListCtrl::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    if (hint == PositionAtTop)
        verticalScrollBar()->setValue(index.row());
    else
        EnsureVisible(index.row(), FALSE);
}

int CListCtrl::sizeHintForColumn(int nColumn) const
{
    if (nColumn < 0 || nColumn >= GetColumnCount())
        return -1;
    const QFontMetrics metrics(font());
    const int nFirst = std::max(0, GetTopIndex());
    const int nEnd = std::min(GetItemCount(), nFirst + GetCountPerPage() + 1);
    int nWidth = 0;
    for (int nRow = nFirst; nRow < nEnd; ++nRow)
        nWidth = std::max(nWidth, metrics.horizontalAdvance(QString::fromLatin1(GetItemText(nRow, nColumn))));
    return nWidth + 4;  // the 2 pixels DefaultDrawItem keeps on either side
}

void CListCtrl::FitColumn(int nCol)
{
    if (nCol < 0 || nCol >= GetColumnCount())
        return;
    const int nHeader = m_pHeader->isHidden() ? 0 : m_pHeader->sectionSizeHint(nCol);
    m_pHeader->resizeSection(nCol, std::max(sizeHintForColumn(nCol), nHeader));
}

// Without a current row every move starts at row 0.
QModelIndex CListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int nLast = GetItemCount() - 1;
    if (nLast < 0 || GetColumnCount() == 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return IndexOf(0, 0);
    const int nRow = current.row();
    const int nPage = GetCountPerPage();
    int nNew = nRow;
    switch (action) {
    case MoveUp:
    case MovePrevious: nNew = std::max(0, nRow - 1); break;
    case MoveDown:
    case MoveNext: nNew = std::min(nLast, nRow + 1); break;
    case MovePageUp: nNew = std::max(0, nRow - nPage); break;
    case MovePageDown: nNew = std::min(nLast, nRow + nPage); break;
    case MoveHome: nNew = 0; break;
    case MoveEnd: nNew = nLast; break;
    case MoveLeft:
    case MoveRight: {
        QScrollBar* pBar = horizontalScrollBar();
        pBar->setValue(pBar->value() + (action == MoveLeft ? -1 : 1) * pBar->singleStep());
        break;
    }
    }
    return IndexOf(nNew, current.column());
}

int CListCtrl::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int CListCtrl::verticalOffset() const
{
    return verticalScrollBar()->value() * m_nRowHeight;
}

bool CListCtrl::isIndexHidden(const QModelIndex&) const
{
    return false;
}

// Whole rows from the one at the rectangle's top to the one at its bottom.
void CListCtrl::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int nLast = GetItemCount() - 1;
    if (nLast < 0 || GetColumnCount() == 0)
        return;
    const QRect rc = rect.normalized();
    const int nTop = std::clamp(RowAtY(rc.top()), 0, nLast);
    const int nBottom = std::clamp(RowAtY(rc.bottom()), 0, nLast);
    selectionModel()->select(QItemSelection(IndexOf(nTop, 0), IndexOf(nBottom, GetColumnCount() - 1)), command);
}

// Only the visible part of each range: a selection of many rows costs nothing more.
QRegion CListCtrl::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int nTop = verticalScrollBar()->value();
    const int nBottom = nTop + GetCountPerPage();
    for (const QItemSelectionRange& range : selection) {
        const int nFirst = std::max(range.top(), nTop);
        const int nLast = std::min(range.bottom(), nBottom);
        if (nFirst <= nLast)
            region += QRect(0, (nFirst - nTop) * m_nRowHeight, viewport()->width(), (nLast - nFirst + 1) * m_nRowHeight);
    }
    return region;
}

void CListCtrl::updateGeometries()
{
    if (m_bInGeometries)
        return;
    m_bInGeometries = true;
    int nHeaderHeight = 0;
    if (!m_pHeader->isHidden())
        nHeaderHeight = std::min(std::max(m_pHeader->minimumHeight(), m_pHeader->sizeHint().height()), m_pHeader->maximumHeight());
    setViewportMargins(0, nHeaderHeight, 0, 0);
    const QRect rcViewport = viewport()->geometry();
    m_pHeader->setGeometry(rcViewport.left(), rcViewport.top() - nHeaderHeight, rcViewport.width(), nHeaderHeight);
    QMetaObject::invokeMethod(m_pHeader, "updateGeometries");
    UpdateScrollBars();
    m_bInGeometries = false;
    QAbstractItemView::updateGeometries();
}

// Vertically one step is one row and the last position shows the last row at
// the bottom; sideways the step is a share of the width by the columns that fit.
void CListCtrl::UpdateScrollBars()
{
    const int nCount = GetItemCount();
    const int nPage = nCount > 0 ? std::max(1, GetCountPerPage()) : 0;
    verticalScrollBar()->setRange(0, std::max(0, nCount - nPage));
    verticalScrollBar()->setPageStep(nPage);
    verticalScrollBar()->setSingleStep(1);

    QSize size = viewport()->size();
    const int nLength = m_pHeader->length();
    int nFitting = 0;
    for (int nOrder = GetColumnCount() - 1, nWidth = 0; nOrder >= 0; --nOrder) {
        nWidth += m_pHeader->sectionSize(m_pHeader->logicalIndex(nOrder));
        if (nWidth > size.width())
            break;
        ++nFitting;
    }
    const QSize maxSize = maximumViewportSize();
    if (maxSize.width() >= nLength && verticalScrollBar()->maximum() <= 0)
        size = maxSize;
    horizontalScrollBar()->setPageStep(size.width());
    horizontalScrollBar()->setRange(0, std::max(0, nLength - size.width()));
    horizontalScrollBar()->setSingleStep(std::max(size.width() / (nFitting + 1), 2));
}

void CListCtrl::scrollContentsBy(int dx, int dy)
{
    m_pHeader->setOffset(horizontalScrollBar()->value());
    QAbstractItemView::scrollContentsBy(dx, dy * m_nRowHeight);
}

// The focus and selection look belong to the whole row, not one cell.
void CListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (previous.isValid())
        RedrawItems(previous.row(), previous.row());
    if (current.isValid())
        RedrawItems(current.row(), current.row());
}

// ---------------------------------------------------------------------------
// Input

QModelIndex CListCtrl::IndexOf(int nItem, int nSubItem) const
{
    return m_pModel->IsRow(nItem) ? m_pModel->index(nItem, nSubItem) : QModelIndex();
}

UINT CListCtrl::KeyFlagsOf(const QMouseEvent& event)
{
    UINT flags = 0;
    if (event.buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
    if (event.buttons() & Qt::RightButton) flags |= MK_RBUTTON;
    if (event.buttons() & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (event.modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event.modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

void CListCtrl::SelectRow(int nItem)
{
    SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CListCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    m_nPressRow = -1;
    if (pEvent->button() == Qt::LeftButton) {
        m_ptPress = pEvent->position().toPoint();
        m_nPressRow = HitTest(CPoint(m_ptPress));
    }
    QAbstractItemView::mousePressEvent(pEvent);
}

// A left-button move past the drag distance from a row starts a drag; other
// left-button moves do nothing (no selection by dragging).
void CListCtrl::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!(pEvent->buttons() & Qt::LeftButton)) {
        QAbstractItemView::mouseMoveEvent(pEvent);
        return;
    }
    const QPoint pt = pEvent->position().toPoint();
    if (m_nPressRow < 0 || (pt - m_ptPress).manhattanLength() < QApplication::startDragDistance())
        return;
    NMLISTVIEW view;
    view.hdr.hwndFrom = this;
    view.hdr.idFrom = static_cast<WPARAM>(m_nCtrlId);
    view.hdr.code = LVN_BEGINDRAG;
    view.iItem = m_nPressRow;
    view.ptAction = CPoint(m_ptPress);
    view.lParam = GetItemData(m_nPressRow);
    m_nPressRow = -1;
    OnBeginDrag(&view);
}

void CListCtrl::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_nPressRow = -1;
    QAbstractItemView::mouseReleaseEvent(pEvent);
}

void CListCtrl::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QAbstractItemView::mouseDoubleClickEvent(pEvent);
        return;
    }
    LVHITTESTINFO hit;
    hit.pt = CPoint(pEvent->position().toPoint());
    SubItemHitTest(&hit);
    if (hit.iItem >= 0)
        SelectRow(hit.iItem);
    NMITEMACTIVATE activate;
    activate.hdr.hwndFrom = this;
    activate.hdr.idFrom = static_cast<WPARAM>(m_nCtrlId);
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = hit.iItem;
    activate.iSubItem = hit.iSubItem;
    activate.ptAction = hit.pt;
    activate.uKeyFlags = KeyFlagsOf(*pEvent);
    OnDblClk(&activate);
}

void CListCtrl::keyPressEvent(QKeyEvent* pEvent)
{
    NMLVKEYDOWN key;
    key.hdr.hwndFrom = this;
    key.hdr.idFrom = static_cast<WPARAM>(m_nCtrlId);
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VirtualKeyOf(*pEvent);
    QPointer<CListCtrl> pSelf(this);
    OnKeyDown(&key);
    if (!pSelf)
        return;
    const int nCurrent = currentIndex().row();
    QAbstractItemView::keyPressEvent(pEvent);
    if (currentIndex().isValid() && currentIndex().row() != nCurrent)
        EnsureVisible(currentIndex().row(), FALSE);
}

bool CListCtrl::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::WindowDeactivate)
        m_bCapture = false;
    return QAbstractItemView::event(pEvent);
}

void CListCtrl::changeEvent(QEvent* pEvent)
{
    QAbstractItemView::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange)
        UpdateRowHeight();
}

// Font height + external leading + 4.
void CListCtrl::UpdateRowHeight()
{
    const QFontMetrics metrics(font());
    m_nRowHeight = metrics.ascent() + metrics.descent() + std::max(0, metrics.leading()) + 4;
    scheduleDelayedItemsLayout();
    viewport()->update();
}

CSize CListCtrl::GetSmallImageSize() const
{
    CSize size;
    if (m_pSmallImages && !m_pSmallImages->GetIconSize(&size.cx, &size.cy))
        size = CSize();
    return size;
}

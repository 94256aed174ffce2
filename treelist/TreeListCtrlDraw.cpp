// Owner drawing of the tree-list rows: the tree part of column 0 (indent, icon,
// connecting lines, +/- box), the texts shortened to fit, cell colours, the
// focus cell of the selected row and the look of cells with a control type.
#include "treelist/TreeListCtrl.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/SysMetrics.h"
#include "ui/ThemeHelper.h"
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

// Text format of every cell: vertically centred single line, "&" plain, not clipped.
constexpr UINT kCellFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;  // 0xA24
constexpr int kLabelInset = 2;    // label text inset on each side
constexpr int kLabelOffset = 4;   // room ShortenToFit keeps in the label
constexpr int kCellInset = 6;     // cell text inset on each side
constexpr int kCellOffset = 12;   // room ShortenToFit keeps in a cell
constexpr int kButtonWidth = 20;  // the "..." button of a ctButton cell
constexpr const char* kEllipsis = "...";
// Texts this many times longer than the width in pixels are too long without
// measuring them whole (no printable character is narrower than a pixel).
constexpr std::size_t kCharsPerPixel = 4;

DWORD TipBit(int nColumn)
{
    return nColumn >= 0 && nColumn < 32 ? DWORD{1} << nColumn : 0;
}

void SetTipBit(CNodeInfo* pInfo, int nColumn, bool bShortened)
{
    if (!pInfo)
        return;
    const DWORD nMask = pInfo->TipMask();
    pInfo->SetTipMask(bShortened ? nMask | TipBit(nColumn) : nMask & ~TipBit(nColumn));
}

CNodeInfo::CONTROLTYPE CellType(const CNodeInfo* pInfo, int nColumn)
{
    CNodeInfo::CONTROLTYPE type = CNodeInfo::ctNone;
    if (pInfo && nColumn > 0)
        pInfo->CellControlType(nColumn - 1, type);
    return type;
}

// WCAG relative luminance of a colour, 0 (black) to 1 (white).
double Luminance(COLORREF cr)
{
    const auto linear = [](unsigned c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(cr)) + 0.7152 * linear(GetGValue(cr)) + 0.0722 * linear(GetBValue(cr));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// crText where it reads well on crBk (contrast 4.5:1 or better), else black
// or white, whichever reads better.
COLORREF ReadableText(COLORREF crText, COLORREF crBk)
{
    constexpr double kReadable = 4.5;
    if (Contrast(crText, crBk) >= kReadable)
        return crText;
    constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
    return Contrast(kBlack, crBk) >= Contrast(kWhite, crBk) ? kBlack : kWhite;
}

// The state image of a row whose icon is at (x, y): right of the icon, so that
// state images of another width never cover it, and only where column 0 has room.
void DrawStateImage(CDC* pDC, CImageList* pStates, UINT nState, int x, int y, int w, int nColumn0Right,
                    bool bEnabled)
{
    const UINT nStateImage = (nState & LVIS_STATEIMAGEMASK) >> 12;
    int s = 0, sy = 0;
    if (nStateImage == 0 || !pStates || !pStates->GetIconSize(&s, &sy) || x + w + s >= nColumn0Right)
        return;
    pStates->Draw(pDC, static_cast<int>(nStateImage) - 1, CPoint(x + w, y),
                  bEnabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND25);
}

} // namespace

// What DrawItem knows of the row it paints.
struct CTreeListCtrl::SRowPaint
{
    int nRow = -1;
    CTreeItem* pNode = nullptr;
    CNodeInfo* pInfo = nullptr;
    int nLevel = 0;
    UINT nState = 0;              // LVIS_* bits of the item
    int nImage = 0;
    CRect rcBounds;
    CRect rcLabel;
    CRect rcClip;
    int nColumn0Right = 0;        // client x of column 0's right edge
    bool bEnabled = true;
    bool bSelected = false;
    COLORREF crBk = 0;
    COLORREF crText = 0;
    int nSplit = 0;               // tree part | rest of the row
};

CRect CTreeListCtrl::BoxGeometry(int nLevel, const CRect& rcBounds) const
{
    const int w = m_nImageWidth;
    const int h = m_nImageHeight;
    const int yc = rcBounds.top + (w >> 1) + ((rcBounds.Height() - h) >> 1);
    const int nBoxWidth = (w >> 1) + 3;
    const int nBoxHeight = (h >> 1) + 3;
    const int xc = rcBounds.left + nLevel * w - (w >> 1);
    const int left = xc - (nBoxWidth >> 1);
    const int top = yc - (nBoxHeight >> 1);
    return CRect(left, top, left + nBoxWidth, top + nBoxHeight);
}

void CTreeListCtrl::DrawItem(DRAWITEMSTRUCT* pDrawItem)
{
    if (!pDrawItem || pDrawItem->CtlType != ODT_LISTVIEW || pDrawItem->itemAction != ODA_DRAWENTIRE)
        return;
    // The list is asked each time, so an image list its owner replaced is never used.
    CImageList* pImages = GetImageList(LVSIL_SMALL);
    CDC* pDC = pDrawItem->pDC;
    if (!pImages || !pDC)
        return;

    SRowPaint row;
    row.nRow = static_cast<int>(pDrawItem->itemID);
    LVITEM item;
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = row.nRow;
    item.stateMask = 0xFFFF;
    if (!GetItem(&item))
        return;
    row.pNode = reinterpret_cast<CTreeItem*>(item.lParam);
    row.pInfo = row.pNode ? InfoOf(row.pNode) : nullptr;
    row.nLevel = row.pNode ? LevelOf(row.pNode) : item.iIndent;
    row.nState = item.state;
    row.nImage = item.iImage;
    row.rcBounds = pDrawItem->rcItem;
    GetItemRect(row.nRow, &row.rcLabel, LVIR_LABEL);
    pDC->GetClipBox(&row.rcClip);
    row.nColumn0Right = row.rcBounds.left + GetColumnWidth(0);

    row.bEnabled = isEnabled();
    row.bSelected = (pDrawItem->itemState & ODS_SELECTED) != 0;
    if (!row.bEnabled) {
        row.crBk = GetSysColor(COLOR_BTNFACE, this);
        row.crText = GetSysColor(COLOR_WINDOWTEXT, this);
    } else if (row.bSelected) {
        row.crBk = GetSysColor(COLOR_HIGHLIGHT, this);
        row.crText = GetSysColor(COLOR_HIGHLIGHTTEXT, this);
    } else {
        row.crBk = GetSysColor(COLOR_WINDOW, this);
        row.crText = GetSysColor(COLOR_WINDOWTEXT, this);
    }

    const int nImage = RowImageFor(row.pNode);
    if (nImage != -1 && nImage != row.nImage) {
        LVITEM image;
        image.mask = LVIF_IMAGE;
        image.iItem = row.nRow;
        image.iImage = nImage;
        SetItem(&image);
        row.nImage = nImage;
    }

    pDC->SetBkMode(TRANSPARENT);  // every cell background is filled before its text
    row.nSplit = DrawTreePart(pDC, row);
    if (row.bSelected && m_nCurColumn == 0 && row.bEnabled) {
        const CRect rcFocus(row.nSplit, row.rcLabel.top, row.rcLabel.right, row.rcLabel.bottom);
        const CBrush brush(FocusCellColor());
        pDC->FillRect(rcFocus, &brush);
        pDC->DrawFocusRect(rcFocus);
    }
    // After the focus cell of column 0, which would otherwise cover it.
    DrawStateImage(pDC, GetImageList(LVSIL_STATE), row.nState, row.rcBounds.left + row.nLevel * m_nImageWidth,
                   row.rcBounds.bottom - m_nImageHeight - (row.rcBounds.Height() - m_nImageHeight) / 2,
                   m_nImageWidth, row.nColumn0Right, row.bEnabled);
    DrawLabel(pDC, row);

    int nLeft = row.nColumn0Right;
    for (int nColumn = 1; nColumn < GetColumnCount(); ++nColumn) {
        const CRect rcCell(nLeft, row.rcBounds.top, nLeft + GetColumnWidth(nColumn), row.rcBounds.bottom);
        nLeft = rcCell.right;
        CRect rcVisible;
        if (rcVisible.IntersectRect(rcCell, row.rcClip))
            DrawSubItem(pDC, row, nColumn, rcCell);
        if (row.bSelected)
            DrawCellControl(pDC, row.pNode, row.nRow, nColumn);
    }
}

// Backgrounds, icon and branch lines; returns the split between
// the tree part (never highlighted) and the rest of the row.
int CTreeListCtrl::DrawTreePart(CDC* pDC, const SRowPaint& row)
{
    const int w = m_nImageWidth;
    const int h = m_nImageHeight;
    const CRect& rc = row.rcBounds;
    const int x = rc.left + row.nLevel * w;
    const int y = rc.bottom - h - (rc.Height() - h) / 2;
    // Column 0's edge is taken in client coordinates, so that a scrolled list
    // clips the icon where column 0 really ends.
    const bool bIconFits = x + w <= row.nColumn0Right - 2;
    const int nRoom = row.nColumn0Right - x;  // for a clipped icon

    const int nSplit = std::min(rc.left + (row.nLevel + 1) * w + 2, row.nColumn0Right);
    pDC->FillSolidRect(CRect(rc.left, rc.top, nSplit, rc.bottom),
                       GetSysColor(row.bEnabled ? COLOR_WINDOW : COLOR_BTNFACE, this));
    pDC->FillSolidRect(CRect(nSplit, rc.top, rc.right, rc.bottom), row.crBk);

    if (bIconFits || nRoom >= 0) {
        UINT nStyle = ILD_TRANSPARENT;
        if ((row.nState & LVIS_CUT) || !row.bEnabled)
            nStyle |= ILD_BLEND50;
        // No room at all draws no icon (a width of 0 would mean the whole image).
        if (bIconFits || nRoom > 0)
            GetImageList(LVSIL_SMALL)->DrawEx(pDC, row.nImage, CPoint(x, y), CSize(bIconFits ? 0 : nRoom, 0),
                                              CLR_DEFAULT, CLR_DEFAULT, nStyle);
        if (row.pNode)
            DrawTreeBranch(pDC, row.pNode, row.nRow, rc);
    }

    return nSplit;
}

void CTreeListCtrl::DrawLabel(CDC* pDC, const SRowPaint& row)
{
    const std::string text = GetItemText(row.nRow, 0);
    const char* pszShown = ShortenToFit(pDC, text.c_str(), row.rcLabel.Width() + 1, kLabelOffset);
    SetTipBit(row.pInfo, 0, pszShown != text.c_str());
    CRect rcText(row.rcLabel);
    rcText.DeflateRect(kLabelInset, 0);
    if (rcText.left >= row.nColumn0Right)
        return;
    // Kept inside column 0 even where a deep indent leaves no room for the label.
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(CRect(row.rcBounds.left, row.rcBounds.top, row.nColumn0Right, row.rcBounds.bottom));
    pDC->SetBkColor(row.crBk);
    pDC->SetTextColor(row.crText);
    pDC->DrawText(pszShown, -1, &rcText, kCellFormat | DT_LEFT);
    pDC->RestoreDC(nSaved);
}

void CTreeListCtrl::DrawSubItem(CDC* pDC, const SRowPaint& row, int nColumn, const CRect& rcCell)
{
    const CNodeInfo::CONTROLTYPE type = CellType(row.pInfo, nColumn);
    const COLORREF crCell = row.pInfo ? row.pInfo->CellColor(nColumn - 1) : CNodeInfo::NoColor;
    if (crCell != CNodeInfo::NoColor) {
        if (type == CNodeInfo::ctColorSwatch) {
            CRect rcSwatch(rcCell);
            rcSwatch.bottom -= 1;
            rcSwatch.DeflateRect(5, 3);
            pDC->FillSolidRect(rcSwatch, RGB(0, 0, 0));
            rcSwatch.DeflateRect(1, 1);
            pDC->FillSolidRect(rcSwatch, crCell);
        } else if (row.bEnabled) {
            pDC->FillSolidRect(rcCell, crCell);
        }
    }

    const std::string text = GetItemText(row.nRow, nColumn);
    if (type == CNodeInfo::ctCheckBox) {
        const int nSide = rcCell.Height();
        const int left = rcCell.left + (rcCell.Width() - nSide) / 2;
        CRect rcBox(left, rcCell.top, left + nSide, rcCell.bottom);
        const bool bChecked = text == "Enabled";
        const CThemeHelper theme(this, "BUTTON");
        if (theme.IsOpen()) {
            theme.DrawThemeBackground(pDC, BP_CHECKBOX, bChecked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, rcBox);
        } else {
            rcBox.DeflateRect(3, 3);
            pDC->DrawFrameControl(&rcBox, DFC_BUTTON, DFCS_BUTTONCHECK | (bChecked ? DFCS_CHECKED : 0));
        }
        return;
    }

    const char* pszShown = text.c_str();
    if (text.empty()) {
        SetTipBit(row.pInfo, nColumn, false);
    } else {
        pszShown = ShortenToFit(pDC, text.c_str(), rcCell.Width() + 1, kCellOffset);
        SetTipBit(row.pInfo, nColumn, pszShown != text.c_str());
    }
    UINT nJustify = DT_LEFT;
    if (pszShown == text.c_str()) {
        LVCOLUMN column;
        column.mask = LVCF_FMT;
        GetColumn(nColumn, &column);
        const int nFormat = column.fmt & LVCFMT_JUSTIFYMASK;
        nJustify = nFormat == LVCFMT_RIGHT ? DT_RIGHT : nFormat == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
    }
    const bool bFocusCell = row.bSelected && !m_bDragging && nColumn == m_nCurColumn;
    if (row.bSelected && !m_bDragging)
        DrawFocusCell(pDC, row.nRow, nColumn, row.pInfo);
    if (text.empty())
        return;
    CRect rcText(rcCell);
    rcText.DeflateRect(kCellInset, 0);
    // A cell of its own colour keeps its text readable on it, selected or not
    // (the selection's text colour is meant for the selection's background).
    const bool bOwnColour = crCell != CNodeInfo::NoColor && row.bEnabled && type != CNodeInfo::ctColorSwatch;
    pDC->SetBkColor(row.crBk);
    pDC->SetTextColor(bOwnColour && !bFocusCell ? ReadableText(row.crText, crCell) : row.crText);
    pDC->DrawText(pszShown, -1, &rcText, kCellFormat | nJustify);
}

void CTreeListCtrl::DrawTreeBranch(CDC* pDC, CTreeItem* pNode, int /*nRow*/, const CRect& rcBounds)
{
    if (!pDC || !pNode)
        return;
    CPen* pOldPen = pDC->SelectObject(&m_penLines);
    const int w = m_nImageWidth;
    const int nLevel = LevelOf(pNode);
    const int half = w >> 1;
    const CRect box = BoxGeometry(nLevel, rcBounds);
    const int xc = box.left + (box.Width() >> 1);
    const int yc = box.top + (box.Height() >> 1);
    const int nColumn0Right = rcBounds.left + GetColumnWidth(0);

    // The node's own column holds a corner, or a tee when a shown sibling
    // follows; each ancestor's column a line through when one follows it.
    // Sibling order decides, not row numbers: after an edit far above, those
    // are made right again only up to the row asked for, and a page painted at
    // the end of a million rows would renumber them all.
    int nChildLevel = nLevel;
    for (const CTreeItem* p = pNode; p->m_pParentNode; p = p->m_pParentNode, --nChildLevel) {
        const int x = rcBounds.left + nChildLevel * w - half;
        const bool bFollowed = NextSiblingToShow(p) != nullptr;
        if (p == pNode) {
            pDC->MoveTo(x, rcBounds.top);
            pDC->LineTo(x, bFollowed ? rcBounds.bottom : yc);
            pDC->MoveTo(x, yc);
            pDC->LineTo(std::min(nColumn0Right, x + half), yc);
        } else if (bFollowed) {
            pDC->MoveTo(x, rcBounds.top);
            pDC->LineTo(x, rcBounds.bottom);
        }
    }

    if (HasChildrenToShow(pNode)) {
        CBrush* pOldBrush = pDC->SelectObject(&m_brushBox);
        pDC->SelectObject(&m_penBoxFrame);
        pDC->Rectangle(box);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(&m_penSign);
        pDC->MoveTo(xc - 2, yc);
        pDC->LineTo(xc + 3, yc);
        if (IsCollapsed(pNode)) {
            pDC->MoveTo(xc, yc - 2);
            pDC->LineTo(xc, yc + 3);
        } else {
            const int h = m_nImageHeight;
            pDC->SelectObject(&m_penLines);
            pDC->MoveTo(xc + w, rcBounds.top + h + (rcBounds.Height() - h) / 2);
            pDC->LineTo(xc + w, rcBounds.bottom);
        }
    }
    pDC->SelectObject(pOldPen);
}

void CTreeListCtrl::DrawFocusCell(CDC* pDC, int nRow, int nColumn, CNodeInfo* pInfo)
{
    if (nColumn != m_nCurColumn)
        return;
    CRect rc;
    if (nColumn == 0)
        GetItemRect(nRow, &rc, LVIR_LABEL);
    else
        GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, rc);
    const CBrush brush(FocusCellColor());
    if (CellType(pInfo, nColumn) == CNodeInfo::ctColorSwatch) {
        pDC->FillRect(CRect(rc.left, rc.top, rc.right, rc.top + 4), &brush);
        pDC->FillRect(CRect(rc.left, rc.bottom - 5, rc.right, rc.bottom), &brush);
        pDC->FillRect(CRect(rc.left, rc.top, rc.left + 8, rc.bottom), &brush);
        pDC->FillRect(CRect(rc.right - 8, rc.top, rc.right, rc.bottom), &brush);
    } else {
        pDC->FillRect(rc, &brush);
    }
    pDC->DrawFocusRect(rc);
}

void CTreeListCtrl::DrawCellControl(CDC* pDC, CTreeItem* pNode, int nRow, int nColumn)
{
    const CNodeInfo::CONTROLTYPE type = CellType(pNode ? InfoOf(pNode) : nullptr, nColumn);
    CRect rc;
    if (type == CNodeInfo::ctNone || !GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, rc))
        return;
    const int nScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    switch (type) {
    case CNodeInfo::ctComboBox: {
        CRect rcButton(rc.right - nScrollWidth, rc.top, rc.right, rc.bottom);
        const CThemeHelper theme(this, "COMBOBOX");
        if (!theme.DrawThemeBackground(pDC, CP_DROPDOWNBUTTON, CBXS_NORMAL, rcButton))
            pDC->DrawFrameControl(&rcButton, DFC_SCROLL, DFCS_SCROLLDOWN);
        break;
    }
    case CNodeInfo::ctSpin: {
        const int nMiddle = rc.top + rc.Height() / 2;
        CRect rcUp(rc.right - nScrollWidth, rc.top, rc.right, nMiddle);
        CRect rcDown(rc.right - nScrollWidth, nMiddle, rc.right, rc.bottom);
        const CThemeHelper theme(this, "SPIN");
        if (!theme.DrawThemeBackground(pDC, SPNP_UP, UPS_NORMAL, rcUp))
            pDC->DrawFrameControl(&rcUp, DFC_SCROLL, DFCS_SCROLLUP);
        if (!theme.DrawThemeBackground(pDC, SPNP_DOWN, DNS_NORMAL, rcDown))
            pDC->DrawFrameControl(&rcDown, DFC_SCROLL, DFCS_SCROLLDOWN);
        break;
    }
    case CNodeInfo::ctButton: {
        CRect rcButton(rc.right - kButtonWidth, rc.top, rc.right, rc.bottom);
        const CThemeHelper theme(this, "BUTTON");
        if (!theme.DrawThemeBackground(pDC, BP_PUSHBUTTON, PBS_NORMAL, rcButton))
            pDC->DrawFrameControl(&rcButton, DFC_BUTTON, DFCS_BUTTONPUSH);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT, this));
        pDC->DrawText(kEllipsis, -1, &rcButton, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        break;
    }
    default:
        break;
    }
}

int CTreeListCtrl::sizeHintForColumn(int nColumn) const
{
    if (nColumn < 0 || nColumn >= GetColumnCount())
        return -1;
    const QFontMetrics metrics(font());
    const int nFirst = std::max(0, GetTopIndex());
    const int nEnd = std::min(GetItemCount(), nFirst + kFitRows);
    int nWidth = 0;
    for (int nRow = nFirst; nRow < nEnd; ++nRow) {
        const std::string text = GetItemText(nRow, nColumn);
        const int nText = metrics.horizontalAdvance(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        if (nColumn == 0) {
            // The label starts after the indent and the icon; ShortenToFit keeps kLabelOffset.
            CRect rcBounds, rcLabel;
            GetItemRect(nRow, &rcBounds, LVIR_BOUNDS);
            GetItemRect(nRow, &rcLabel, LVIR_LABEL);
            nWidth = std::max(nWidth, rcLabel.left - rcBounds.left + nText + kLabelOffset);
        } else if (!text.empty()) {
            nWidth = std::max(nWidth, nText + kCellOffset);
        }
    }
    return nWidth;
}

const char* CTreeListCtrl::ShortenToFit(CDC* pDC, const char* pszText, int nWidth, int nOffset)
{
    const std::size_t nLength = pszText ? std::strlen(pszText) : 0;
    if (nLength == 0)
        return pszText;
    const bool bSurelyTooLong = nLength > kCharsPerPixel * static_cast<std::size_t>(std::max(nWidth, 0)) + 16;
    if (!bSurelyTooLong && pDC->GetTextExtent(pszText, static_cast<int>(nLength)).cx + nOffset < nWidth)
        return pszText;

    const int nDots = pDC->GetTextExtent(kEllipsis, 3).cx;
    const auto fits = [&](int n) { return pDC->GetTextExtent(pszText, n).cx + nOffset + nDots < nWidth; };
    // The longest prefix that fits with "...", at least one character. Prefix
    // widths grow with their length, so halving the range finds it in O(log n)
    // measurements.
    int nLow = 1;
    int nHigh = static_cast<int>(std::min(nLength - 1, kCharsPerPixel * static_cast<std::size_t>(std::max(nWidth, 0))));
    int nKeep = 1;
    while (nLow <= nHigh) {
        const int nMid = nLow + (nHigh - nLow) / 2;
        if (fits(nMid)) {
            nKeep = nMid;
            nLow = nMid + 1;
        } else {
            nHigh = nMid - 1;
        }
    }
    m_strShortened.assign(pszText, static_cast<std::size_t>(nKeep));
    m_strShortened += kEllipsis;
    return m_strShortened.c_str();
}

CImageList* CTreeListCtrl::MakeDragImage(int nRow)
{
    CRect rcBounds;
    if (!GetItemRect(nRow, &rcBounds, LVIR_BOUNDS) || rcBounds.IsRectEmpty())
        return nullptr;
    auto pImageList = std::make_unique<CImageList>();
    if (!pImageList->Create(rcBounds.Width(), rcBounds.Height(), ILC_COLOR24 | ILC_MASK, 1, 1))
        return nullptr;

    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(nullptr, rcBounds.Width(), rcBounds.Height()))
        return nullptr;
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        CFont font(this->font());
        dc.SelectObject(&font);
        const CRect rc(0, 0, rcBounds.Width(), rcBounds.Height());
        dc.FillSolidRect(rc, GetSysColor(COLOR_WINDOW, this));
        LVITEM item;
        item.mask = LVIF_IMAGE;
        item.iItem = nRow;
        if (CImageList* pImages = GetImageList(LVSIL_SMALL); pImages && GetItem(&item))
            pImages->Draw(&dc, item.iImage, CPoint(0, (rc.Height() - m_nImageHeight) / 2), ILD_TRANSPARENT);
        CRect rcText(m_nImageWidth + 4, 0, rc.right, rc.bottom);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT, this));
        dc.DrawText(GetItemText(nRow, 0), rcText, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (pImageList->Add(&bitmap, RGB(255, 255, 255)) < 0)
        return nullptr;
    return pImageList.release();  // the caller deletes it
}

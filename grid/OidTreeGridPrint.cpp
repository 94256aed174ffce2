// Printing of the grid: the shown rows as a table as wide as the page, under a
// header row on every page, with tree lines, icons, labels, cells and their colours.
#include "grid/OidTreeGrid.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Font.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr COLORREF kHeaderColor = RGB(96, 96, 96);
constexpr COLORREF kRuleColor = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// Printed texts are agent data: an "&" in them is printed, not taken as a prefix.
constexpr UINT kHeaderFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kLabelFormat = DT_SINGLELINE | DT_TOP | DT_LEFT | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kCellFormat = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kFooterFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr int kHeaderTextMax = 254;
constexpr int kIconWidth = 16;
constexpr int kIconHeight = 15;

int LinesPerPage(int nHeight, int cy)
{
    // A font too large for even one row still prints one row per page.
    return std::max(1, nHeight / (cy + 3) - 2);
}

int TextHeight(CDC* pDC)
{
    return pDC->GetTextExtent("A", 1).cy;
}

} // namespace

// What every row of one page is drawn with.
struct COidTreeGrid::CPrintPage
{
    // A row icon drawn on white, kept while its page is drawn: every row with
    // that icon is stretched from the same bitmap, which the device stores once.
    struct CIcon
    {
        CBitmap bitmap;
        CDC dc;  // holds bitmap, drawn once
    };

    CRect rcDraw;
    int cy = 0;            // height of "A"
    int nLineHeight = 0;   // cy + 3
    float fScale = 0.0f;   // page width / screen width of all columns
    mutable std::map<int, std::unique_ptr<CIcon>> icons;  // by image number; null: cannot be made

    int ColumnWidth(const CListCtrl& list, int nColumn) const
    {
        return static_cast<int>(static_cast<float>(list.GetColumnWidth(nColumn)) * fScale);
    }
};

namespace {

float ColumnScale(const CListCtrl& list, int nPageWidth)
{
    int nScreenWidth = 0;
    for (int i = 0; i < list.GetColumnCount(); ++i)
        nScreenWidth += list.GetColumnWidth(i);
    return nScreenWidth > 0 ? static_cast<float>(nPageWidth) / static_cast<float>(nScreenWidth) : 0.0f;
}

} // namespace

// The pages draw the list's rows, so they are counted there too.
int COidTreeGrid::CountPrintRows() const
{
    return GetItemCount();
}

int COidTreeGrid::PrintLinesPerPage(CDC* pDC, const CRect& rcDraw)
{
    CFont font(this->font());
    CFont* pOldFont = pDC->SelectObject(&font);
    const int cy = TextHeight(pDC);
    pDC->SelectObject(pOldFont);
    return LinesPerPage(rcDraw.Height(), cy);
}

void COidTreeGrid::PrintGridPage(CDC* pDC, const CRect& rcDraw, UINT nPage, UINT nPages)
{
    if (!pDC || nPage == 0)
        return;
    const int nSaved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    CFont font(this->font());
    pDC->SelectObject(&font);
    CPrintPage page;
    page.rcDraw = rcDraw;
    page.cy = TextHeight(pDC);
    page.nLineHeight = page.cy + 3;
    page.fScale = ColumnScale(*this, rcDraw.Width());
    const int nLines = LinesPerPage(rcDraw.Height(), page.cy);

    CPen penRules(PS_SOLID, 1, kRuleColor);
    pDC->SelectObject(&penRules);
    // The tree lines indent by the printed line's measure, not the screen icon's.
    const int nScreenIndent = m_nImageWidth;
    m_nImageWidth = page.cy - 1;

    PrintHeader(pDC, page);
    pDC->SetTextColor(kBlack);
    // The shown rows are the list's rows, in order; a page draws its own only.
    const long long nFirst = static_cast<long long>(nPage - 1) * nLines;
    const long long nEnd = std::min<long long>(nFirst + nLines, GetItemCount());
    for (long long nRow = nFirst; nRow < nEnd; ++nRow) {
        const int nLine = static_cast<int>(nRow - nFirst) + 1;
        PrintRow(pDC, page, NodeAtRow(static_cast<int>(nRow)), static_cast<int>(nRow), nLine);
    }
    PrintFooter(pDC, page, nLines + 1, nPage, nPages);

    m_nImageWidth = nScreenIndent;
    pDC->RestoreDC(nSaved);
}

void COidTreeGrid::PrintHeader(CDC* pDC, const CPrintPage& page)
{
    pDC->SetTextColor(kWhite);
    int x = page.rcDraw.left;
    for (int nColumn = 0; nColumn < GetColumnCount(); ++nColumn) {
        char szText[kHeaderTextMax + 1] = {};
        LVCOLUMN column;
        column.mask = LVCF_TEXT;
        column.pszText = szText;
        column.cchTextMax = sizeof szText;
        GetColumn(nColumn, &column);
        const int w = page.ColumnWidth(*this, nColumn);
        CRect rcCell(x + 1, page.rcDraw.top, x - 1 + w, page.rcDraw.top + page.cy);
        pDC->FillSolidRect(rcCell, kHeaderColor);
        pDC->DrawText(szText, -1, &rcCell, kHeaderFormat);
        x += w;
    }
}

void COidTreeGrid::PrintRow(CDC* pDC, const CPrintPage& page, CTreeItem* pNode, int nRow, int nLine)
{
    const CNodeInfo* pInfo = pNode ? InfoOf(pNode) : nullptr;
    if (!pInfo)
        return;
    const int top = page.nLineHeight * nLine + page.rcDraw.top;
    const int bottom = page.nLineHeight * (nLine + 1) + page.rcDraw.top;
    const int H = bottom - top;
    CImageList* pImages = GetImageList(LVSIL_SMALL);
    const int nDepth = LevelOf(pNode) - 1 + (pImages ? 1 : 0);
    const int w0 = page.rcDraw.left + page.ColumnWidth(*this, 0);

    DrawTreeBranch(pDC, pNode, nRow, CRect(page.rcDraw.left, top, page.rcDraw.right, bottom));
    const int x = page.rcDraw.left + (nDepth + 1) * (page.cy - 1) + 6;
    if (pImages && m_nImageHeight > 1) {
        const CRect rcImage(x - H, top + 2, x - 2, top + 2 + (H - 2) * (page.cy - 1) / m_nImageHeight);
        PrintRowImage(pDC, page, *pImages, RowImageFor(pNode), rcImage);
    }

    pDC->MoveTo(x, bottom);
    pDC->LineTo(w0, bottom);
    pDC->LineTo(w0, top - 2);
    CRect rcLabel(x + 2, top + 1, w0, bottom);
    pDC->DrawText(pInfo->GetText(), rcLabel, kLabelFormat);

    int left = w0;
    for (int nCell = 0; nCell < pInfo->GetSubTextCount(); ++nCell) {
        const int right = left + page.ColumnWidth(*this, nCell + 1);
        if (const COLORREF crCell = pInfo->CellColor(nCell); crCell != CNodeInfo::NoColor)
            pDC->FillSolidRect(CRect(left + 1, top + 1, right, bottom), crCell);
        CRect rcText(left + 3, top, right, bottom);
        pDC->DrawText(pInfo->GetSubText(nCell), rcText, kCellFormat);
        pDC->MoveTo(left + 1, bottom);
        pDC->LineTo(right, bottom);
        pDC->LineTo(right, top);
        left = right;
    }
}

// The icon is drawn on white at the screen's size, then stretched onto the page;
// a bitmap that cannot be made leaves the row without its icon.
void COidTreeGrid::PrintRowImage(CDC* pDC, const CPrintPage& page, CImageList& images, int nImage,
                                  const CRect& rcImage)
{
    if (nImage < 0 || nImage >= images.GetImageCount())
        return;
    const int nBitmapHeight = m_nImageHeight - 1;
    auto [it, bNew] = page.icons.try_emplace(nImage);
    if (bNew) {
        auto pIcon = std::make_unique<CPrintPage::CIcon>();
        pIcon->dc.CreateCompatibleDC(pDC);
        if (pIcon->bitmap.CreateCompatibleBitmap(pDC, kIconWidth, nBitmapHeight) &&
            pIcon->dc.SelectObject(&pIcon->bitmap)) {
            pIcon->dc.FillSolidRect(CRect(0, 0, kIconWidth, nBitmapHeight), kWhite);
            images.DrawEx(&pIcon->dc, nImage, CPoint(0, 0), CSize(kIconWidth, kIconHeight), kWhite, CLR_DEFAULT,
                          ILD_NORMAL);
            // Drawing ends here: a bitmap still drawn on is stored anew at every use.
            pIcon->dc.Detach();
            it->second = std::move(pIcon);
        }
    }
    if (it->second)
        pDC->StretchBlt(rcImage.left, rcImage.top, rcImage.Width(), rcImage.Height(), &it->second->dc, 0, 0,
                        kIconWidth, nBitmapHeight, SRCCOPY);
}

// On the line below a full page's last row, the one the page keeps spare: which
// walk the page shows at the left, where it stands in the job at the right. A
// long agent name is cut so that the page number stays whole.
void COidTreeGrid::PrintFooter(CDC* pDC, const CPrintPage& page, int nLine, UINT nPage, UINT nPages)
{
    const int top = page.nLineHeight * nLine + page.rcDraw.top;
    CRect rcLine(page.rcDraw.left, top, page.rcDraw.right, top + page.nLineHeight);
    const std::string strPage = "Page " + std::to_string(nPage) + " of " + std::to_string(nPages);
    pDC->DrawText(strPage, rcLine, kFooterFormat | DT_RIGHT);
    if (!m_timeWalk.isValid())
        return;
    const std::string strWalk = "Agent " + m_strWalkAgent + ", walked " +
                                m_timeWalk.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
    rcLine.right -= pDC->GetTextExtent(strPage).cx + 3 * page.cy;
    pDC->DrawText(strWalk, rcLine, kFooterFormat);
}

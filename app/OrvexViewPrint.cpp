#include "app/OrvexViewPrint.h"
#include "app/OrvexDoc.h"
#include "grid/OidTreeGrid.h"
#include "platform/gdi/DC.h"
#include "platform/msgbox/MessageBox.h"
#include <QPrinter>
#include <QWidget>

COrvexViewPrint::COrvexViewPrint(QWidget* pView, COidTreeGrid* pGrid, const COrvexDoc* pDoc)
    : CPrintView(pView), m_pGrid(pGrid), m_pDoc(pDoc)
{
}

BOOL COrvexViewPrint::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (!CreatePrinterDC(pInfo)) {
        AfxMessageBox(kNoPrinterText, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    // The device is not open yet: the page is mapped as OnPrepareDC will map it,
    // on a context that measures the grid's font as the device does.
    const QPrinter& printer = *pInfo->m_pPrinter;
    CDC dc;
    SetPageMapping(&dc, ScreenLogPixels(), CSize(printer.logicalDpiX(), printer.logicalDpiY()));
    CRect rcDraw(0, 0, printer.width(), printer.height());
    dc.DPtoLP(&rcDraw);
    pInfo->SetMaxPage(CountPages(&dc, rcDraw));
    if (pInfo->GetMaxPage() == 0)
        return FALSE;
    return DoPreparePrinting(pInfo);
}

void COrvexViewPrint::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    const int nSaved = pDC->SaveDC();
    OnPrepareDC(pDC, pInfo);
    CRect rcDraw(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    pDC->DPtoLP(&rcDraw);
    pInfo->SetMaxPage(CountPages(pDC, rcDraw));
    pDC->RestoreDC(nSaved);
}

void COrvexViewPrint::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pInfo)
        return;
    SetPageMapping(pDC, ScreenLogPixels(), CSize(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY)));
}

void COrvexViewPrint::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo)
        m_pGrid->PrintGridPage(pDC, pInfo->m_rectDraw, pInfo->m_nCurPage, pInfo->GetMaxPage());
}

std::string COrvexViewPrint::GetPrintTitle() const
{
    return m_pDoc ? m_pDoc->GetTitle() : std::string();
}

UINT COrvexViewPrint::CountPages(CDC* pDC, const CRect& rcDraw) const
{
    const int nRows = m_pGrid->CountPrintRows();
    const int nLines = m_pGrid->PrintLinesPerPage(pDC, rcDraw);
    return static_cast<UINT>(nRows / nLines + (nRows % nLines != 0 ? 1 : 0));
}

CSize COrvexViewPrint::ScreenLogPixels() const
{
    return CSize(GetWnd()->logicalDpiX(), GetWnd()->logicalDpiY());
}

void COrvexViewPrint::SetPageMapping(CDC* pDC, const CSize& szScreen, const CSize& szDevice)
{
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(szScreen.cx, szScreen.cy);
    pDC->SetViewportExt(szDevice.cx, szDevice.cy);
}

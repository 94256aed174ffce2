#pragma once
// What a view's printing hooks know of the job they take part in: the printer,
// the page range, the page being drawn and its rectangle. One per print or
// preview command; lives on the stack of the command. Header-only, O(1).
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include <QPrinter>
#include <memory>

struct CPrintInfo
{
    // Pages are numbered from 1; a max page of 0 means no pages.
    void SetMaxPage(UINT nPage) { m_nMaxPage = nPage; }
    UINT GetMinPage() const { return 1; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    // Uses pPrinter (Not owned; outlives the job) as the job's printer.
    void UsePrinter(QPrinter* pPrinter)
    {
        m_pOwnPrinter.reset();
        m_pPrinter = pPrinter;
    }
    // Makes pPrinter the job's printer, owned by the job.
    void UsePrinter(std::unique_ptr<QPrinter> pPrinter)
    {
        m_pOwnPrinter = std::move(pPrinter);
        m_pPrinter = m_pOwnPrinter.get();
    }

    BOOL m_bPreview = FALSE;           // the pages go to the preview window
    BOOL m_bDirect = FALSE;            // printing without the print dialog
    UINT m_nCurPage = 0;               // the page being prepared or drawn
    CRect m_rectDraw;                  // that page, in the units OnPrepareDC set up
    QPrinter* m_pPrinter = nullptr;    // the job's device; null until one is made

private:
    UINT m_nMaxPage = 0xFFFF;
    std::unique_ptr<QPrinter> m_pOwnPrinter;  // Owned when the job made its own printer.
};

#pragma once
// The printing side of the query view: the framework's print hooks, which count
// the grid's pages and hand every page to the grid. The view owns one and gives
// it its print commands:
//   ID_FILE_PRINT          -> OnFilePrint()
//   ID_FILE_PRINT_DIRECT   -> OnFilePrintDirect()
//   ID_FILE_PRINT_PREVIEW, and message 7770 from the grid (F10, the header
//   menu's "Print Preview")   -> OnFilePrintPreview()
//
// Page units are screen pixels scaled to the device's resolution, so a page
// shows the grid at its size on the screen; the columns are then scaled
// together to the page's width. Pages are counted in those units and in the
// grid's font, exactly as they are drawn. UI thread only.
#include "platform/gdi/GdiTypes.h"
#include "platform/print/PrintView.h"

class COrvexDoc;
class COidTreeGrid;

class COrvexViewPrint : public CPrintView
{
public:
    static constexpr const char* kNoPrinterText = "Failed to create printer DC, have you got a default printer setup?";

    // pView: the view's window; pGrid: the grid it shows; pDoc: its document
    // (null: none). Not owned; all outlive this.
    COrvexViewPrint(QWidget* pView, COidTreeGrid* pGrid, const COrvexDoc* pDoc);

protected:
    // Makes the device (no device at all: the message, FALSE), counts the pages
    // at its page size and runs the print dialog over them. FALSE as well when
    // there is nothing to print or the dialog was cancelled. O(shown rows).
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    // Counts again on the open device, whose page the dialog may have changed:
    // the job has exactly the pages that are drawn.
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // With print information (printing, preview): one unit = one screen pixel
    // on the device. Without: nothing (the screen).
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override;
    // Draws page m_nCurPage within m_rectDraw.
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    std::string GetPrintTitle() const override;

private:
    // Pages of the shown rows when a page is rcDraw in pDC's units.
    UINT CountPages(CDC* pDC, const CRect& rcDraw) const;
    // Logical pixels per inch of the view's window.
    CSize ScreenLogPixels() const;
    static void SetPageMapping(CDC* pDC, const CSize& szScreen, const CSize& szDevice);

    COidTreeGrid* m_pGrid;      // Not owned.
    const COrvexDoc* m_pDoc;     // Not owned; may be null.
};

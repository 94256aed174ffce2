#pragma once
// The framework's printing services for one view: the Print, direct Print and
// Print Preview commands, and the page loop that calls the view's hooks.
//
// A job: OnPreparePrinting (the view counts its pages and, through
// DoPreparePrinting, has the user confirm the print dialog); the device is
// opened; OnBeginPrinting; for every page of the range OnPrepareDC, then the
// page's draw rectangle (the device's printable area converted into the units
// OnPrepareDC set up) and OnPrint; OnEndPrinting. A preview calls the same
// hooks on a context that measures as the printer does (which is never opened)
// and draws each page onto the screen whenever the preview window shows it
// (CPrintPreviewWnd); its "Print..." then runs the Print command.
//
// UI thread only. Between pages the loop handles pending events under a modal
// progress window (shown once a job takes longer than half a second, with
// Cancel), so a long job neither freezes the application nor lets the user
// close the view under it; a page is drawn from the view's data as it is then,
// in a preview as much as on paper.
#include "platform/WinTypes.h"
#include "platform/print/PrintInfo.h"
#include <functional>
#include <string>

class CDC;
class QDialog;
class QPrinter;
class QWidget;

class CPrintView
{
public:
    // pWnd: the view's window (Not owned; outlives this), owner of the dialogs.
    explicit CPrintView(QWidget* pWnd);
    virtual ~CPrintView() = default;
    CPrintView(const CPrintView&) = delete;
    CPrintView& operator=(const CPrintView&) = delete;

    // The application's printer selection (what Print Setup chose), asked at the
    // start of every job; it may give null. Unset, jobs start from a new printer
    // for the system's default device. Process-wide.
    static void SetPrinterSelection(std::function<QPrinter*()> fnPrinter);

    void OnFilePrint();         // print dialog, then the pages
    void OnFilePrintDirect();   // the pages, without the dialog
    void OnFilePrintPreview();  // the preview window (modal)

protected:
    // The view's hooks. OnPreparePrinting gives FALSE to drop the job; the others
    // get the open device. The base hooks do nothing.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) = 0;
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Title of the printed document (job name, default file name); "" for none.
    virtual std::string GetPrintTitle() const;

    // Gives the job its device: the selected printer when it can print, else a
    // new printer for the system's default device (with no printer installed,
    // a PDF file). FALSE when no device at all can be made.
    virtual BOOL CreatePrinterDC(CPrintInfo* pInfo);
    // Makes the device when the job has none yet; then, unless the job is a
    // preview or direct, runs the print dialog over the info's page range (its
    // choices stay with the printer). FALSE: no device, or the dialog was cancelled.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // Runs a modal dialog and gives its result (tests answer it instead).
    virtual int RunModal(QDialog& dlg);

    QWidget* GetWnd() const { return m_pWnd; }

private:
    // OnPreparePrinting, then the device if the view made none. FALSE: no job.
    BOOL Prepare(CPrintInfo& info);
    void RunJob(CPrintInfo& info);
    // Opens the device and draws the pages of its range; FALSE, after a
    // message, when the device does not open.
    BOOL PrintPages(QPrinter* pPrinter, CPrintInfo* pInfo);
    // OnPrepareDC, the page's draw rectangle, OnPrint, for page nPage.
    void DrawPage(CDC& dc, CPrintInfo& info, UINT nPage);
    void PrepareDialogPrinter(QPrinter* pPrinter, const CPrintInfo& info) const;

    QWidget* m_pWnd;  // Not owned.
};

#include "platform/print/PrintView.h"
#include "platform/cursor/WaitCursor.h"
#include "platform/gdi/DC.h"
#include "platform/memory/FreedMemory.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/print/PrintPreviewWnd.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QWidget>
#include <algorithm>

namespace {

std::function<QPrinter*()>& PrinterSelection()
{
    static std::function<QPrinter*()> s_fnPrinter;
    return s_fnPrinter;
}

BOOL CanPrint(const QPrinter* pPrinter)
{
    return pPrinter && pPrinter->isValid() && pPrinter->width() > 0 && pPrinter->height() > 0 &&
                   pPrinter->logicalDpiX() > 0 && pPrinter->logicalDpiY() > 0
               ? TRUE
               : FALSE;
}

// A file name made of the title: letters, digits, '.', '-' and '_' kept, the rest '_'.
QString FileNameOf(const QString& strTitle)
{
    QString strName;
    for (const QChar c : strTitle)
        strName += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'.' || c == u'-' || c == u'_' ? c : u'_';
    return strName + ".pdf";
}

std::string CannotStartText(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return "Could not write the file \"" + printer.outputFileName().toStdString() + "\".";
    return "Could not start printing on \"" + printer.printerName().toStdString() + "\".";
}

// A job long enough to be noticed shows which page it is on and can be
// cancelled; between pages it lets the application go on.
class CPageProgress
{
public:
    CPageProgress(QWidget* pParent, UINT nPages)
        : m_dlg(QString(), QStringLiteral("Cancel"), 0, static_cast<int>(nPages), pParent), m_nPages(nPages)
    {
        m_dlg.setWindowTitle(QCoreApplication::applicationName());
        m_dlg.setWindowModality(Qt::ApplicationModal);
        m_dlg.setMinimumDuration(kShowAfterMs);
        m_dlg.setAutoClose(false);
        m_dlg.setAutoReset(false);
    }

    // Reports that nDone pages are drawn and, every slice, handles the events that
    // came meanwhile. User input waits until the modal dialog shows and then goes
    // to it alone, so nothing can close the view under the job. False: cancelled.
    bool PageDone(UINT nDone)
    {
        if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kSliceMs)
            return !m_dlg.wasCanceled();
        m_sinceEvents.start();
        m_dlg.setLabelText(QStringLiteral("Printing page %1 of %2").arg(nDone + 1).arg(m_nPages));
        if (!m_dlg.isVisible())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_dlg.setValue(static_cast<int>(nDone));
        return !m_dlg.wasCanceled();
    }

private:
    static constexpr int kShowAfterMs = 500;
    static constexpr qint64 kSliceMs = 25;
    QProgressDialog m_dlg;
    QElapsedTimer m_sinceEvents;
    UINT m_nPages;
};


} // namespace

CPrintView::CPrintView(QWidget* pWnd) : m_pWnd(pWnd)
{
}

void CPrintView::SetPrinterSelection(std::function<QPrinter*()> fnPrinter)
{
    PrinterSelection() = std::move(fnPrinter);
}

void CPrintView::OnFilePrint()
{
    CPrintInfo info;
    RunJob(info);
}

void CPrintView::OnFilePrintDirect()
{
    CPrintInfo info;
    info.m_bDirect = TRUE;
    RunJob(info);
}

void CPrintView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!Prepare(info))
        return;
    // The pages are measured on the printer, which is never opened, and drawn
    // on the screen as they come into view.
    CDC printerDC;
    printerDC.SetAttribDevice(info.m_pPrinter);
    OnBeginPrinting(&printerDC, &info);
    int nResult = QDialog::Rejected;
    {
        CPrintPreviewWnd wnd(*info.m_pPrinter, info.GetMaxPage(), [this, &info](QPainter& painter, UINT nPage) {
            CDC dc(&painter);
            dc.SetAttribDevice(info.m_pPrinter);
            DrawPage(dc, info, nPage);
        }, m_pWnd);
        if (m_pWnd && m_pWnd->window())
            wnd.resize(m_pWnd->window()->size());
        nResult = RunModal(wnd);
    }
    OnEndPrinting(&printerDC, &info);
    ReleaseFreedMemory();
    if (nResult == CPrintPreviewWnd::kPrintResult)
        OnFilePrint();
}

void CPrintView::RunJob(CPrintInfo& info)
{
    if (Prepare(info))
        PrintPages(info.m_pPrinter, &info);
}

BOOL CPrintView::Prepare(CPrintInfo& info)
{
    // DoPreparePrinting here only makes the device for a view that did not ask for it.
    return OnPreparePrinting(&info) && (info.m_pPrinter || DoPreparePrinting(&info)) ? TRUE : FALSE;
}

void CPrintView::OnBeginPrinting(CDC*, CPrintInfo*)
{
}

void CPrintView::OnPrepareDC(CDC*, CPrintInfo*)
{
}

void CPrintView::OnEndPrinting(CDC*, CPrintInfo*)
{
}

std::string CPrintView::GetPrintTitle() const
{
    return "";
}

BOOL CPrintView::CreatePrinterDC(CPrintInfo* pInfo)
{
    if (QPrinter* pSelected = PrinterSelection() ? PrinterSelection()() : nullptr; CanPrint(pSelected)) {
        pInfo->UsePrinter(pSelected);
        return TRUE;
    }
    auto pDefault = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!CanPrint(pDefault.get()))
        return FALSE;
    pInfo->UsePrinter(std::move(pDefault));
    return TRUE;
}

BOOL CPrintView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (!pInfo->m_pPrinter && !CreatePrinterDC(pInfo))
        return FALSE;
    QPrinter* pPrinter = pInfo->m_pPrinter;
    const std::string strTitle = GetPrintTitle();
    pPrinter->setDocName(strTitle.empty() ? QCoreApplication::applicationName() : QString::fromLatin1(strTitle));
    // A range chosen for an earlier job would otherwise cut this one short.
    pPrinter->setPrintRange(QPrinter::AllPages);
    if (pInfo->m_bPreview || pInfo->m_bDirect)
        return TRUE;
    PrepareDialogPrinter(pPrinter, *pInfo);
    QPrintDialog dlg(pPrinter, m_pWnd);
    if (pInfo->GetMaxPage() >= pInfo->GetMinPage())
        dlg.setMinMax(static_cast<int>(pInfo->GetMinPage()), static_cast<int>(pInfo->GetMaxPage()));
    return RunModal(dlg) == QDialog::Accepted ? TRUE : FALSE;
}

void CPrintView::PrepareDialogPrinter(QPrinter* pPrinter, const CPrintInfo& info) const
{
    if (info.GetMaxPage() >= info.GetMinPage())
        pPrinter->setFromTo(static_cast<int>(info.GetMinPage()), static_cast<int>(info.GetMaxPage()));
    // Without a name the dialog may offer a folder as the file to print to.
    if (pPrinter->outputFormat() == QPrinter::PdfFormat && pPrinter->outputFileName().isEmpty())
        pPrinter->setOutputFileName(QDir::home().filePath(FileNameOf(pPrinter->docName())));
}

int CPrintView::RunModal(QDialog& dlg)
{
    return dlg.exec();
}

BOOL CPrintView::PrintPages(QPrinter* pPrinter, CPrintInfo* pInfo)
{
    const CWaitCursor wait;
    QPainter painter;
    if (!painter.begin(pPrinter)) {
        AfxMessageBox(CannotStartText(*pPrinter), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    CDC dc(&painter);
    OnBeginPrinting(&dc, pInfo);
    UINT nFirst = pInfo->GetMinPage();
    UINT nLast = pInfo->GetMaxPage();
    if (pPrinter->printRange() == QPrinter::PageRange && pPrinter->fromPage() > 0) {
        nFirst = std::max(nFirst, static_cast<UINT>(pPrinter->fromPage()));
        nLast = std::min(nLast, static_cast<UINT>(pPrinter->toPage()));
    }
    CPageProgress progress(m_pWnd, nLast >= nFirst ? nLast - nFirst + 1 : 0);
    for (UINT nPage = nFirst; nPage <= nLast; ++nPage) {
        if (nPage != nFirst && !progress.PageDone(nPage - nFirst)) {
            pPrinter->abort();
            break;
        }
        if (nPage != nFirst && !pPrinter->newPage())
            break;
        DrawPage(dc, *pInfo, nPage);
    }
    OnEndPrinting(&dc, pInfo);
    dc.Detach();
    return painter.end() ? TRUE : FALSE;
}

void CPrintView::DrawPage(CDC& dc, CPrintInfo& info, UINT nPage)
{
    info.m_nCurPage = nPage;
    const int nSaved = dc.SaveDC();
    OnPrepareDC(&dc, &info);
    info.m_rectDraw = CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    dc.DPtoLP(&info.m_rectDraw);
    OnPrint(&dc, &info);
    dc.RestoreDC(nSaved);
}

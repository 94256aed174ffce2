// Printing 54,600 shown rows (881 letter pages): how long the page count takes
// (it runs before the print dialog opens), how long one page takes to draw,
// early and late in the job (a page must cost its own rows only), a whole PDF
// job, and the preview: its time to the first page and through every page, and
// the process's memory before, while and after it is open.
#include "app/OrvexViewPrint.h"
#include "grid/OidTreeGrid.h"
#include "platform/print/PrintPreviewWnd.h"
#include "platform/gdi/DC.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Resident and peak resident memory of this process, in MiB.
struct CMemory
{
    double dRss = 0, dPeak = 0;
};

CMemory Memory()
{
    CMemory memory;
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == "VmRSS:")
            memory.dRss = fields[1].toDouble() / 1024;
        else if (fields.size() >= 2 && fields[0] == "VmHWM:")
            memory.dPeak = fields[1].toDouble() / 1024;
    }
    return memory;
}

void PrintMemory(const char* pszWhen)
{
    const CMemory memory = Memory();
    std::printf("memory %-19s %.1f MiB resident (peak %.1f MiB)\n", pszWhen, memory.dRss, memory.dPeak);
}

constexpr int kRoots = 546;
constexpr int kChildren = 99;

class CBenchPrint : public COrvexViewPrint
{
public:
    using COrvexViewPrint::COrvexViewPrint;
    using COrvexViewPrint::OnPreparePrinting;
    double m_dFirstPageMs = 0, m_dLastPageMs = 0, m_dSlowestPageMs = 0;
    UINT m_nPages = 0;
    qint64 m_nPreviewOpenMs = 0, m_nPreviewAllMs = 0;
    UINT m_nPreviewDrawn = 0, m_nPreviewOpenDrawn = 0;  // pages drawn: in all, and to show the first

protected:
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        QElapsedTimer timer;
        timer.start();
        COrvexViewPrint::OnPrint(pDC, pInfo);
        const double dMs = timer.nsecsElapsed() / 1e6;
        m_dSlowestPageMs = std::max(m_dSlowestPageMs, dMs);
        (pInfo->m_nCurPage == 1 ? m_dFirstPageMs : m_dLastPageMs) = dMs;
        ++m_nPreviewDrawn;
        m_nPages = pInfo->GetMaxPage();
    }
    int RunModal(QDialog& dlg) override
    {
        auto* pPreview = dynamic_cast<CPrintPreviewWnd*>(&dlg);
        if (!pPreview)
            return QDialog::Accepted;
        QElapsedTimer timer;
        timer.start();
        m_nPreviewDrawn = 0;
        pPreview->resize(1000, 800);
        pPreview->show();
        QCoreApplication::processEvents();  // laid out
        pPreview->repaint();
        m_nPreviewOpenMs = timer.elapsed();
        m_nPreviewOpenDrawn = m_nPreviewDrawn;
        timer.restart();
        for (UINT nPage = 1; nPage <= pPreview->PageCount(); ++nPage) {
            pPreview->GoToPage(nPage);
            pPreview->repaint();
        }
        m_nPreviewAllMs = timer.elapsed();
        PrintMemory("preview open");
        return QDialog::Rejected;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QWidget view;
    COidTreeGrid grid(&view);
    grid.InitColumns();
    for (int r = 0; r < kRoots; ++r) {
        auto pRootInfo = std::make_unique<CNodeInfo>();
        pRootInfo->SetText("node" + std::to_string(r));
        CTreeListCtrl::CTreeItem* pRoot = grid.AddRootNode(std::move(pRootInfo));
        for (int c = 0; c < kChildren; ++c) {
            auto pInfo = std::make_unique<CNodeInfo>();
            pInfo->SetText("leaf" + std::to_string(c));
            pInfo->SetSubText(0, "OCTETSTRING");
            pInfo->SetSubText(1, "value of row " + std::to_string(r * (kChildren + 1) + c + 1));
            pInfo->SetSubText(2, ".1.3.6.1.4.1.8072." + std::to_string(r) + "." + std::to_string(c));
            grid.AddChildNode(pRoot, std::move(pInfo), TRUE);
        }
    }
    QPrinter printer(QPrinter::HighResolution);
    // An argument keeps the PDF there for a look.
    const QString strPdf = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("bench.pdf");
    printer.setOutputFileName(strPdf);
    CPrintView::SetPrinterSelection([&printer] { return &printer; });
    CBenchPrint print(&view, &grid, nullptr);

    QElapsedTimer timer;
    timer.start();
    CPrintInfo info;
    info.m_bDirect = TRUE;
    print.OnPreparePrinting(&info);
    const double dCountMs = timer.nsecsElapsed() / 1e6;
    std::printf("shown rows                 %d\n", grid.CountPrintRows());
    std::printf("page count before dialog   %.1f ms (%u pages)\n", dCountMs, info.GetMaxPage());

    timer.restart();
    print.OnFilePrintDirect();
    const qint64 nJobMs = timer.elapsed();
    std::printf("PDF job                    %lld ms for %u pages (%.2f ms a page)\n", static_cast<long long>(nJobMs),
                print.m_nPages, print.m_nPages ? double(nJobMs) / print.m_nPages : 0.0);
    std::printf("page drawing               first %.2f ms, last %.2f ms, slowest %.2f ms\n",
                print.m_dFirstPageMs, print.m_dLastPageMs, print.m_dSlowestPageMs);
    std::printf("PDF size                   %lld KiB\n",
                static_cast<long long>(QFileInfo(strPdf).size() / 1024));

    PrintMemory("before preview");
    print.OnFilePrintPreview();
    std::printf("preview to the first page  %lld ms (%u pages drawn)\n", static_cast<long long>(print.m_nPreviewOpenMs),
                print.m_nPreviewOpenDrawn);
    std::printf("preview through every page %lld ms (%u pages drawn)\n", static_cast<long long>(print.m_nPreviewAllMs),
                print.m_nPreviewDrawn);
    PrintMemory("after preview");
    CPrintView::SetPrinterSelection({});
    return 0;
}

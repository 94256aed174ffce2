// Printing 50,000 shown rows: how long the page count takes (it runs before the
// print dialog opens), how long one page takes to draw, early and late in the
// job (a page must cost its own rows only), and a whole PDF job and preview.
#include "app/OrvexViewPrint.h"
#include "grid/OidTreeGrid.h"
#include "platform/gdi/DC.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRoots = 500;
constexpr int kChildren = 99;

class CBenchPrint : public COrvexViewPrint
{
public:
    using COrvexViewPrint::COrvexViewPrint;
    using COrvexViewPrint::OnPreparePrinting;
    double m_dFirstPageMs = 0, m_dLastPageMs = 0, m_dSlowestPageMs = 0;
    UINT m_nPages = 0;
    qint64 m_nPreviewMs = 0;

protected:
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        QElapsedTimer timer;
        timer.start();
        COrvexViewPrint::OnPrint(pDC, pInfo);
        const double dMs = timer.nsecsElapsed() / 1e6;
        m_dSlowestPageMs = std::max(m_dSlowestPageMs, dMs);
        (pInfo->m_nCurPage == 1 ? m_dFirstPageMs : m_dLastPageMs) = dMs;
        m_nPages = pInfo->GetMaxPage();
    }
    int RunModal(QDialog& dlg) override
    {
        auto* pWidget = dlg.findChild<QPrintPreviewWidget*>();
        if (!pWidget)
            return QDialog::Accepted;
        QElapsedTimer timer;
        timer.start();
        pWidget->updatePreview();
        m_nPreviewMs = timer.elapsed();
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

    print.OnFilePrintPreview();
    std::printf("preview of every page      %lld ms\n", static_cast<long long>(print.m_nPreviewMs));
    CPrintView::SetPrinterSelection({});
    return 0;
}

#include "platform/print/PrintView.h"
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A view of five pages printed to a PDF file; records the pages it is asked for
// and, when told to, cancels the job's progress window while drawing a page.
class CPagesView : public CPrintView
{
public:
    explicit CPagesView(QWidget* pWnd) : CPrintView(pWnd)
    {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_dir.filePath("pages.pdf"));
    }

    std::vector<UINT> m_pages;
    std::vector<bool> m_timerSeen;  // whether a timer set before the job had fired, per page
    UINT m_nCancelOnPage = 0;
    bool m_bTimerFired = false;

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(5);
        pInfo->UsePrinter(&m_printer);
        return DoPreparePrinting(pInfo);
    }
    void OnPrint(CDC*, CPrintInfo* pInfo) override
    {
        m_pages.push_back(pInfo->m_nCurPage);
        m_timerSeen.push_back(m_bTimerFired);
        if (pInfo->m_nCurPage == m_nCancelOnPage)
            GetWnd()->findChild<QProgressDialog*>()->cancel();
    }

private:
    QTemporaryDir m_dir;
    QPrinter m_printer{QPrinter::HighResolution};
};

TEST(PrintView, PagesLetTheApplicationGoOnAndCancelStopsTheJob)
{
    QWidget wnd;
    {
        CPagesView view(&wnd);
        QTimer::singleShot(0, [&] { view.m_bTimerFired = true; });
        view.OnFilePrintDirect();
        EXPECT_EQ(view.m_pages, (std::vector<UINT>{1, 2, 3, 4, 5}));
        // Events are handled between pages, not only after the job.
        EXPECT_FALSE(view.m_timerSeen.front());
        EXPECT_TRUE(view.m_timerSeen.back());
    }
    {
        CPagesView view(&wnd);
        view.m_nCancelOnPage = 2;
        view.OnFilePrintDirect();
        EXPECT_EQ(view.m_pages, (std::vector<UINT>{1, 2}));
    }
}

} // namespace

#include "platform/print/PrintView.h"
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace {

// A view of five pages printed to a PDF file; records the pages it is asked for
// and, when told to, cancels the job's progress window while drawing a page.
class CPagesView : public CPrintView
{
public:
    explicit CPagesView(QWidget* pWnd, UINT nPages = 5) : CPrintView(pWnd), m_nPages(nPages)
    {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(Pdf());
    }

    QString Pdf() const { return m_dir.filePath("pages.pdf"); }

    std::vector<UINT> m_pages;
    std::vector<bool> m_timerSeen;  // whether a timer set before the job had fired, per page
    UINT m_nCancelOnPage = 0;
    bool m_bTimerFired = false;
    std::function<int(QDialog&)> m_fnModal;  // answers the dialogs; unset: they run

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(m_nPages);
        pInfo->UsePrinter(&m_printer);
        return DoPreparePrinting(pInfo);
    }
    int RunModal(QDialog& dlg) override { return m_fnModal ? m_fnModal(dlg) : CPrintView::RunModal(dlg); }
    void OnPrint(CDC*, CPrintInfo* pInfo) override
    {
        m_pages.push_back(pInfo->m_nCurPage);
        m_timerSeen.push_back(m_bTimerFired);
        if (pInfo->m_nCurPage == m_nCancelOnPage)
            GetWnd()->findChild<QProgressDialog*>()->cancel();
    }

private:
    UINT m_nPages;
    QTemporaryDir m_dir;
    QPrinter m_printer{QPrinter::HighResolution};
};

// Shows the dialog as the user would see it and lets it paint.
void ShowAndPaint(QDialog& dlg)
{
    dlg.resize(800, 600);
    dlg.show();
    QCoreApplication::processEvents();
    dlg.repaint();
}

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

// A long preview draws the pages in view and no others, each again when it
// comes back into view; its "Print..." prints the job.
TEST(PrintView, PreviewDrawsOnlyThePagesInView)
{
    QWidget wnd;
    CPagesView view(&wnd, 300);
    std::vector<UINT> opened, atEnd, pagedUp;
    view.m_fnModal = [&](QDialog& dlg) {
        ShowAndPaint(dlg);
        opened = std::exchange(view.m_pages, {});
        QWidget* pKeys = dlg.focusWidget() ? dlg.focusWidget() : &dlg;
        QTest::keyClick(pKeys, Qt::Key_End);
        dlg.repaint();
        atEnd = std::exchange(view.m_pages, {});
        QTest::keyClick(pKeys, Qt::Key_PageUp);
        dlg.repaint();
        pagedUp = std::exchange(view.m_pages, {});
        QAction* pPrint = nullptr;
        for (QAction* pAction : dlg.findChildren<QAction*>())
            pPrint = pAction->text() == "&Print..." ? pAction : pPrint;
        view.m_fnModal = [](QDialog&) { return int(QDialog::Accepted); };  // the print dialog
        if (pPrint)
            pPrint->trigger();
        return dlg.result();
    };
    view.OnFilePrintPreview();

    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.front(), 1u);
    EXPECT_LE(std::set<UINT>(opened.begin(), opened.end()).size(), 3u) << "pages drawn to show the first";
    ASSERT_FALSE(atEnd.empty());
    EXPECT_EQ(*std::max_element(atEnd.begin(), atEnd.end()), 300u);
    EXPECT_GE(*std::min_element(atEnd.begin(), atEnd.end()), 297u);
    ASSERT_FALSE(pagedUp.empty());
    EXPECT_GE(*std::min_element(pagedUp.begin(), pagedUp.end()), 295u);
    EXPECT_EQ(view.m_pages.size(), 300u) << "Print... printed the job";
    EXPECT_TRUE(QFileInfo(view.Pdf()).size() > 0);
}

} // namespace

// Printing and preview of the grid through the real print loop into PDF files,
// read back with poppler's tools: page counts, the rows on each page, footers, pixels.
#include "app/OrvexApp.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/OrvexViewPrint.h"
#include "app/ResourceIds.h"
#include "grid/OidTreeGrid.h"
#include "platform/gdi/Font.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/print/PrintPreviewWnd.h"
#include "snmp/AppSettings.h"
#include "support/FakeAgent.h"
#include "support/PumpUntil.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using CTreeItem = CTreeListCtrl::CTreeItem;

// Standard output of a poppler tool, for page nPage only when it is not 0.
QString Poppler(const QString& strTool, const QStringList& args, int nPage = 0)
{
    QProcess process;
    const QString strPage = QString::number(nPage);
    process.start(strTool, (nPage ? QStringList{"-f", strPage, "-l", strPage} : QStringList()) + args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& strPdf)
{
    return QRegularExpression("Pages:\\s+(\\d+)").match(Poppler("pdfinfo", {strPdf})).captured(1).toInt();
}

// The numbers of the labels "rowNN" on a page (0: on all pages), in order.
std::vector<int> PrintedRows(const QString& strPdf, int nPage = 0)
{
    std::vector<int> rows;
    for (const auto& match : QRegularExpression("row(\\d+)").globalMatch(Poppler("pdftotext", {strPdf, "-"}, nPage)))
        rows.push_back(match.captured(1).toInt());
    return rows;
}

std::vector<int> Range(int nFirst, int nEnd, std::vector<int> v = {})
{
    while (nFirst < nEnd)
        v.push_back(nFirst++);
    return v;
}

// A page as the print side handed it to the grid, and the rows it had room for.
struct CPageDrawn
{
    bool bPreview;
    UINT nPage, nPages;
    CRect rcDraw;
    int nLines;
};

// The print side with its dialogs answered: the print dialog by m_fnPrintDialog
// (accepted when unset), the preview by counting its pages, after m_fnPreview.
class CTestPrint : public COrvexViewPrint
{
public:
    CTestPrint(QWidget* pView, COidTreeGrid* pGrid) : COrvexViewPrint(pView, pGrid, nullptr), m_pGrid(pGrid) {}
    int m_nDialogs = 0;
    std::function<int(QPrintDialog&)> m_fnPrintDialog;
    std::function<void(CPrintPreviewWnd&)> m_fnPreview;
    int m_nPreviewPages = -1;
    UINT m_nCounted = 0;  // before the dialog
    bool m_bNoDevice = false;
    std::vector<CPageDrawn> m_drawn;

protected:
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_drawn.push_back({pInfo->m_bPreview != FALSE, pInfo->m_nCurPage, pInfo->GetMaxPage(), pInfo->m_rectDraw,
                           m_pGrid->PrintLinesPerPage(pDC, pInfo->m_rectDraw)});
        COrvexViewPrint::OnPrint(pDC, pInfo);
    }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        const BOOL bResult = COrvexViewPrint::OnPreparePrinting(pInfo);
        m_nCounted = pInfo->GetMaxPage();
        return bResult;
    }
    BOOL CreatePrinterDC(CPrintInfo* pInfo) override
    {
        return m_bNoDevice ? FALSE : COrvexViewPrint::CreatePrinterDC(pInfo);
    }
    int RunModal(QDialog& dlg) override
    {
        ++m_nDialogs;
        if (auto* pPreview = dynamic_cast<CPrintPreviewWnd*>(&dlg)) {
            m_nPreviewPages = static_cast<int>(pPreview->PageCount());
            if (m_fnPreview)
                m_fnPreview(*pPreview);
            return QDialog::Rejected;
        }
        return m_fnPrintDialog ? m_fnPrintDialog(dynamic_cast<QPrintDialog&>(dlg)) : int(QDialog::Accepted);
    }

private:
    COidTreeGrid* m_pGrid;  // Not owned.
};

class CPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        m_grid.InitColumns();
        m_printer.setOutputFileName(Pdf());
        CPrintView::SetPrinterSelection([this] { return &m_printer; });
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT type) {
            m_boxes.push_back({text, type});
            return IDOK;
        });
    }
    void TearDown() override
    {
        CPrintView::SetPrinterSelection({});
        SetMessageBoxHook({});
        AppSettings.Reset();
    }

    QString Pdf() const { return m_dir.filePath("grid.pdf"); }
    // A printed line: the grid's font as the printer measures it, plus 3.
    int LineHeight() const { return QFontMetrics(CFont(m_grid.font()).GetFont(), &m_printer).height() + 3; }

    // A page without margins, nWidth screen pixels wide, with room for nRows rows
    // below the header and for the spare line every page keeps.
    void SetPageForRows(int nRows, int nWidth = 600)
    {
        const double dPoints = 72.0 / m_grid.logicalDpiY();
        const QSizeF size(nWidth * dPoints, ((nRows + 2) * LineHeight() + LineHeight() / 2.0) * dPoints);
        m_printer.setPageSize(QPageSize(size, QPageSize::Point, "test", QPageSize::ExactMatch));
        m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    }

    // A node with the cells type, value and OID (none when strValue is empty).
    CTreeItem* Add(CTreeItem* pParent, const std::string& strLabel, const std::string& strValue = "1")
    {
        return Add(m_grid, pParent, strLabel, strValue);
    }
    static CTreeItem* Add(COidTreeGrid& grid, CTreeItem* pParent, const std::string& strLabel,
                          const std::string& strValue)
    {
        auto pInfo = std::make_unique<CNodeInfo>();
        pInfo->SetText(strLabel);
        const bool bNumber = strValue.find_first_not_of("0123456789") == std::string::npos;
        const std::string strType = bNumber ? "INTEGER" : "OCTETSTRING";
        for (const std::string& strCell : {strType, strValue, std::string(".1.3.6.1")})
            if (!strValue.empty())
                pInfo->SetSubText(pInfo->GetSubTextCount(), strCell);
        return pParent ? grid.AddChildNode(pParent, std::move(pInfo), TRUE) : grid.AddRootNode(std::move(pInfo));
    }
    // Labels "row00", "row01", ... in row order: nRoots roots of nChildren each.
    std::vector<CTreeItem*> AddTable(int nRoots, int nChildren)
    {
        std::vector<CTreeItem*> roots;
        for (int nRow = 0; static_cast<int>(roots.size()) < nRoots;) {
            roots.push_back(Add(nullptr, Label(nRow++)));
            for (int c = 0; c < nChildren; ++c)
                Add(roots.back(), Label(nRow++));
        }
        return roots;
    }
    static std::string Label(int n) { return (n < 10 ? "row0" : "row") + std::to_string(n); }

    QTemporaryDir m_dir;
    QWidget m_view;
    COidTreeGrid m_grid{&m_view};
    QPrinter m_printer{QPrinter::HighResolution};
    CTestPrint m_print{&m_view, &m_grid};
    std::vector<std::pair<std::string, UINT>> m_boxes;
};

} // namespace

TEST_F(CPrintTest, PagesHoldTheShownRowsInOrder)
{
    SetPageForRows(40);
    m_print.OnFilePrint();  // nothing shown: no pages, no dialog, no file
    EXPECT_EQ(m_print.m_nCounted, 0u);
    EXPECT_EQ(m_print.m_nDialogs, 0);
    EXPECT_FALSE(QFile::exists(Pdf()));

    // 81 rows at 40 a page: each row on exactly one page, every page with the header.
    const std::vector<CTreeItem*> roots = AddTable(3, 26);
    m_print.OnFilePrint();
    EXPECT_EQ(m_print.m_nCounted, 3u);
    ASSERT_EQ(PdfPages(Pdf()), 3);
    EXPECT_EQ(PrintedRows(Pdf(), 1), Range(0, 40));
    EXPECT_EQ(PrintedRows(Pdf(), 2), Range(40, 80));
    EXPECT_EQ(PrintedRows(Pdf(), 3), Range(80, 81));
    EXPECT_TRUE(Poppler("pdftotext", {Pdf(), "-"}, 3).contains("MIB"));

    // Pages 2 to 3 chosen in the dialog: page 2 still begins with row 40.
    m_print.m_fnPrintDialog = [](QPrintDialog& dlg) {
        dlg.printer()->setPrintRange(QPrinter::PageRange);
        dlg.printer()->setFromTo(2, 3);
        return int(QDialog::Accepted);
    };
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(Pdf()), 2);
    EXPECT_EQ(PrintedRows(Pdf(), 1), Range(40, 80));

    // Collapsed nodes keep their descendants off the count and the paper; the
    // preview shows every page whatever range the last job printed.
    Add(m_grid.NextInTree(roots[2], roots[2], FALSE, FALSE), "AT&T");
    m_grid.CollapseNode(roots[1]);  // hides rows 28..53
    EXPECT_EQ(m_grid.CountPrintRows(), 56);
    m_print.OnFilePrintPreview();
    EXPECT_EQ(m_print.m_nPreviewPages, 2);
    m_print.m_fnPrintDialog = {};
    m_print.OnFilePrint();
    EXPECT_EQ(PrintedRows(Pdf()), Range(54, 81, Range(0, 28)));
    EXPECT_TRUE(Poppler("pdftotext", {Pdf(), "-"}).contains("AT&T")) << "agent texts print as they are";
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(CPrintTest, CountAndPagesAgreeForEveryFontAndPage)
{
    AddTable(4, 24);  // 100 rows
    QFont font = m_grid.font();
    for (const int nPixels : {8, 13, 21, 34}) {
        font.setPixelSize(nPixels);
        m_grid.setFont(font);
        for (const int nRows : {1, 7, 33}) {
            SetPageForRows(nRows);
            m_print.OnFilePrint();
            const int nPages = (100 + nRows - 1) / nRows;
            EXPECT_EQ(m_print.m_nCounted, static_cast<UINT>(nPages)) << nPixels << " px, " << nRows << " rows";
            EXPECT_EQ(PdfPages(Pdf()), nPages) << nPixels << " px, " << nRows << " rows";
        }
    }
    // Room for the header and one row but not the spare line: one row per page.
    font.setPixelSize(13);
    m_grid.setFont(font);
    m_grid.RemoveAllNodes();
    AddTable(1, 2);
    SetPageForRows(0);
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(Pdf()), 3);
    for (int nPage = 1; nPage <= 3; ++nPage)
        EXPECT_EQ(PrintedRows(Pdf(), nPage), std::vector<int>{nPage - 1});
}

TEST_F(CPrintTest, ColumnsFillThePageAndInferredCellsKeepTheirColour)
{
    SetPageForRows(30, 1000);
    const int anWidths[] = {200, 100, 400, 200};  // 900 on the screen
    for (int nColumn = 0; nColumn < 4; ++nColumn)
        m_grid.SetColumnWidth(nColumn, anWidths[nColumn]);
    CTreeItem* pSystem = Add(nullptr, "system", "");
    Add(pSystem, "sysDescr.0", "Linux orvex-demo 6.1.0-18-amd64 #1 SMP PREEMPT_DYNAMIC 2024-02-01 x86_64");
    Add(pSystem, "sysLocation.0", "Rack 4 & Row B");
    CTreeItem* pEntry = Add(Add(nullptr, "interfaces", ""), "ifTable.ifEntry", "");
    const char* aapszTable[][3] = {{"ifIndex", "1", "2"}, {"ifDescr", "lo", "eth0"}, {"ifType", "24", "6"},
                                   {"ifMtu", "65536", "1500"}};
    CTreeItem* pLeaf = nullptr;
    for (const auto& apszColumn : aapszTable) {
        CTreeItem* pColumn = Add(pEntry, apszColumn[0], "");
        Add(pColumn, "1", apszColumn[1]);
        pLeaf = Add(pColumn, "2", apszColumn[2]);
    }
    m_grid.CollapseNode(m_grid.ParentOf(pLeaf));  // ifMtu, shown but closed
    AppSettings.InferColor = RGB(250, 200, 40);
    m_grid.InferFromLeaf(pLeaf);  // rows 5, 8, 11, 14
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(Pdf()), 1);

    // Two picture pixels per page unit.
    Poppler("pdftoppm", {"-r", QString::number(2 * m_grid.logicalDpiX()), "-singlefile", "-png", Pdf(),
                         m_dir.filePath("page")}, 1);
    const QImage page = QImage(m_dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    if (const char* pszSample = std::getenv("ORVEX_PRINT_SAMPLE"))
        page.save(QString::fromLocal8Bit(pszSample));
    const auto rgb = [&](int x, int y) { return page.pixel(x, y) & 0xFFFFFF; };

    // Header cells, just below their top edge, each 1 unit in from its column's edges.
    std::vector<std::pair<int, int>> cells;  // first and last pixel
    for (int x = 0; x < page.width(); ++x)
        if (rgb(x, 1) == 0x606060 && (cells.empty() || cells.back().second != x - 1))
            cells.push_back({x, x});
        else if (rgb(x, 1) == 0x606060)
            cells.back().second = x;
    ASSERT_EQ(cells.size(), 4u);
    for (int i = 0; i < 4; ++i)  // twice as wide on the screen, twice as wide on paper
        EXPECT_NEAR(cells[i].second - cells[i].first + 1, 2 * (int(anWidths[i] * (1000.0f / 900.0f)) - 2), 2);
    EXPECT_NEAR(cells[3].second, page.width() - 1, 2 * 5) << "the columns fill the page";

    // The leaf icon of row 1 is on paper (the image list's green leaf).
    const QRect rcRow1(0, 4 * LineHeight(), cells[0].second, 2 * LineHeight());
    bool bIcon = false;
    for (int y = rcRow1.top(); y <= rcRow1.bottom(); ++y)
        for (int x = rcRow1.left(); x <= rcRow1.right(); ++x)
            bIcon = bIcon || (qGreen(rgb(x, y)) > qRed(rgb(x, y)) + 40 && qGreen(rgb(x, y)) > qBlue(rgb(x, y)) + 40);
    EXPECT_TRUE(bIcon);

    // Type and Value of the inferred rows on the colour; every other cell white.
    for (int nRow = 0; nRow < 15; ++nRow)
        for (int nColumn : {1, 2})
            EXPECT_EQ(rgb(cells[nColumn].second - 6, 2 * LineHeight() * (nRow + 1) + LineHeight()),
                      nRow >= 5 && nRow % 3 == 2 ? 0xFAC828u : 0xFFFFFFu)
                << "row " << nRow << ", column " << nColumn;
}

TEST_F(CPrintTest, DevicesAndTheirFailures)
{
    SetPageForRows(40);
    AddTable(1, 3);
    m_print.m_bNoDevice = true;  // no device at all: the message, no dialog, no file
    m_print.OnFilePrint();
    m_print.OnFilePrintPreview();
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[1], std::make_pair(std::string(COrvexViewPrint::kNoPrinterText), MB_OK | MB_ICONSTOP));
    EXPECT_EQ(m_print.m_nDialogs, 0);
    EXPECT_FALSE(QFile::exists(Pdf()));
    m_print.m_bNoDevice = false;
    m_boxes.clear();

    // No printer chosen and none installed: the dialog still offers a PDF file.
    CPrintView::SetPrinterSelection({});
    bool bOffersPdf = false;
    m_print.m_fnPrintDialog = [&](QPrintDialog& dlg) {
        dlg.show();  // the dialog lists its devices when it shows
        QCoreApplication::processEvents();
        for (const QComboBox* pBox : dlg.findChildren<QComboBox*>())
            bOffersPdf = bOffersPdf || pBox->findText("PDF", Qt::MatchContains) >= 0;
        return int(QDialog::Rejected);
    };
    m_print.OnFilePrint();
    EXPECT_TRUE(bOffersPdf);
    EXPECT_TRUE(m_boxes.empty()) << "a cancelled dialog is no failure";

    // A file that cannot be written is reported, not passed over.
    CPrintView::SetPrinterSelection([this] { return &m_printer; });
    m_printer.setOutputFileName(m_dir.filePath("missing/grid.pdf"));
    m_print.m_fnPrintDialog = {};
    m_print.OnFilePrint();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_NE(m_boxes[0].first.find("missing/grid.pdf"), std::string::npos);
}

TEST_F(CPrintTest, ViewCommandsAndF10OpenTheDialogsOnTheApplicationsPrinter)
{
    COrvexApp app{std::vector<std::string>{}};  // Print Setup's printer is the jobs' printer
    app.GetPrinter()->setOutputFileName(Pdf());
    COrvexDoc doc;
    COrvexView view(&doc);
    for (int nRow = 0; nRow < 3; ++nRow)
        Add(view.Grid(), nullptr, Label(nRow), "1");
    // Answers the next modal dialog: a preview by its page count, a print dialog by accepting it.
    int nPreviewPages = -1;
    const auto answer = [&] {
        QTimer::singleShot(100, [&] {
            auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(pDialog, nullptr);
            if (auto* pPreview = qobject_cast<CPrintPreviewWnd*>(pDialog)) {
                nPreviewPages = static_cast<int>(pPreview->PageCount());
                pDialog->reject();
            } else {
                pDialog->accept();
            }
        });
    };
    answer();
    EXPECT_TRUE(view.OnCommand(ID_FILE_PRINT));
    EXPECT_EQ(PrintedRows(Pdf()), Range(0, 3));
    answer();
    QTest::keyClick(&view.Grid(), Qt::Key_F10);
    EXPECT_EQ(nPreviewPages, 1);
    EXPECT_TRUE(m_boxes.empty());
}

// The preview measures its pages on the printer: each page it shows holds the
// rows that page holds on paper, whatever the font.
TEST_F(CPrintTest, PreviewPagesHoldWhatThePrintedPagesHold)
{
    AddTable(4, 24);  // 100 rows
    QFont font = m_grid.font();
    for (const int nPixels : {9, 21}) {
        font.setPixelSize(nPixels);
        m_grid.setFont(font);
        SetPageForRows(7);
        m_print.m_drawn.clear();
        m_print.OnFilePrint();
        const std::vector<CPageDrawn> printed = std::exchange(m_print.m_drawn, {});
        ASSERT_EQ(printed.size(), 15u);
        m_print.m_fnPreview = [](CPrintPreviewWnd& wnd) {
            wnd.resize(800, 600);
            wnd.show();
            QCoreApplication::processEvents();
            wnd.GoToPage(wnd.PageCount() - 1);
            wnd.repaint();
        };
        m_print.OnFilePrintPreview();
        EXPECT_EQ(m_print.m_nPreviewPages, 15);
        ASSERT_FALSE(m_print.m_drawn.empty());
        EXPECT_EQ(m_print.m_drawn.back().nPage, 15u) << nPixels << " px";
        for (const CPageDrawn& page : m_print.m_drawn) {
            ASSERT_TRUE(page.bPreview);
            ASSERT_TRUE(page.nPage >= 1 && page.nPage <= 15) << page.nPage;
            const CPageDrawn& paper = printed[page.nPage - 1];
            EXPECT_EQ(page.nPages, paper.nPages);
            EXPECT_EQ(page.rcDraw, paper.rcDraw) << nPixels << " px, page " << page.nPage;
            EXPECT_EQ(page.nLines, paper.nLines) << nPixels << " px, page " << page.nPage;
        }
    }
}

// Every page says which agent it comes from, when that walk began, and where it
// stands in the job; a page range keeps the whole job's count.
TEST_F(CPrintTest, EveryPageNamesTheAgentTheWalkAndItsNumber)
{
    std::vector<CFakeAgent::CVar> table;
    for (int i = 1; i <= 100; ++i)
        table.push_back(CFakeAgent::Number(".1.3.6.1.2.1.1.9.1.4." + std::to_string(i), 0x43, i));
    CFakeAgent agent([&](const CFakeAgent::CRequest& request, std::size_t) { return CFakeAgent::NextFrom(table, request); });
    AppSettings.SetBase(".1.3.6.1.2.1.1.9");
    AppSettings.Timeout = 5;
    AppSettings.Retries = 0;
    const QDateTime before = QDateTime::currentDateTime();
    m_grid.ResetForQuery();
    ASSERT_TRUE(m_grid.StartWalk(CWalkRequest{agent.Address(), "public"}));
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_TRUE(PumpUntil([&] {
        CTreeListCtrl::POSITION pos = m_grid.FirstRootPosition();
        const CTreeItem* pRoot = pos ? m_grid.NextRoot(pos) : nullptr;
        return !m_grid.ThreadsRunning() && pRoot &&
               !COidTreeGrid::HasStatus(m_grid.InfoOf(pRoot)->GetText());
    }, 30000));
    m_grid.ExpandCollapseAll(TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !m_grid.IsWholeTreeJobRunning(); }, 60000));

    SetPageForRows(40);
    m_print.OnFilePrint();
    const int nPages = (m_grid.CountPrintRows() + 39) / 40;
    ASSERT_GE(nPages, 3);
    ASSERT_EQ(PdfPages(Pdf()), nPages);
    const QRegularExpression walked("Agent (\\S+), walked (\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)");
    for (int nPage = 1; nPage <= nPages; ++nPage) {
        const QString strText = Poppler("pdftotext", {Pdf(), "-"}, nPage);
        EXPECT_TRUE(strText.contains(QString("Page %1 of %2").arg(nPage).arg(nPages))) << strText.toStdString();
        const QRegularExpressionMatch match = walked.match(strText);
        ASSERT_TRUE(match.hasMatch()) << "page " << nPage << ": " << strText.toStdString();
        EXPECT_EQ(match.captured(1).toStdString(), agent.Address());
        const QDateTime time = QDateTime::fromString(match.captured(2), "yyyy-MM-dd HH:mm:ss");
        EXPECT_TRUE(time >= before.addSecs(-1) && time <= after) << match.captured(2).toStdString();
    }

    m_print.m_fnPrintDialog = [](QPrintDialog& dlg) {
        dlg.printer()->setPrintRange(QPrinter::PageRange);
        dlg.printer()->setFromTo(2, 2);
        return int(QDialog::Accepted);
    };
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(Pdf()), 1);
    EXPECT_TRUE(Poppler("pdftotext", {Pdf(), "-"}).contains(QString("Page 2 of %1").arg(nPages)));
}

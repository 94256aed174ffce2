// Printing and preview of the grid, through the real print loop into PDF files
// that poppler's tools then read back: page counts, the rows on each page, and
// the pixels of a rendered page.
#include "app/OrvexViewPrint.h"
#include "grid/ZIduvAROVEvod.h"
#include "platform/gdi/Font.h"
#include "platform/msgbox/MessageBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using CTreeItem = CTreeListCtrl::CTreeItem;

constexpr QRgb kHeaderGray = 0x606060;
constexpr COLORREF kCellColor = RGB(250, 200, 40);
constexpr QRgb kCellRgb = 0xFAC828;

// Output of a poppler tool; empty when it fails.
QByteArray Run(const QString& strProgram, const QStringList& args)
{
    QProcess process;
    process.start(strProgram, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

int PdfPages(const QString& strPdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromLatin1(Run("pdfinfo", {strPdf})));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The row labels ("row17") of one page, in reading order.
std::vector<int> RowsOnPage(const QString& strPdf, int nPage)
{
    const QString strText = QString::fromUtf8(
        Run("pdftotext", {"-f", QString::number(nPage), "-l", QString::number(nPage), strPdf, "-"}));
    std::vector<int> rows;
    for (const auto& match : QRegularExpression("row(\\d+)").globalMatch(strText))
        rows.push_back(match.captured(1).toInt());
    return rows;
}

QString PageText(const QString& strPdf, int nPage)
{
    return QString::fromUtf8(
        Run("pdftotext", {"-f", QString::number(nPage), "-l", QString::number(nPage), strPdf, "-"}));
}

QImage RenderPage(const QString& strPdf, int nPage, int nDpi, const QString& strPrefix)
{
    Run("pdftoppm", {"-f", QString::number(nPage), "-l", QString::number(nPage), "-r", QString::number(nDpi),
                     "-singlefile", "-png", strPdf, strPrefix});
    return QImage(strPrefix + ".png").convertToFormat(QImage::Format_RGB32);
}

std::vector<int> Range(int nFirst, int nEnd)
{
    std::vector<int> v;
    for (int i = nFirst; i < nEnd; ++i)
        v.push_back(i);
    return v;
}

// Runs of one colour along a pixel row: (start, length).
std::vector<std::pair<int, int>> Runs(const QImage& image, int y, QRgb rgb)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if ((image.pixel(x, y) & 0xFFFFFF) != rgb)
            continue;
        if (runs.empty() || runs.back().first + runs.back().second != x)
            runs.push_back({x, 0});
        ++runs.back().second;
    }
    return runs;
}

// The print side with its dialogs answered: the print dialog by m_fnPrintDialog
// (accepting when unset), the preview by counting its pages.
class CTestPrint : public COrvexViewPrint
{
public:
    using COrvexViewPrint::COrvexViewPrint;

    std::vector<std::string> m_dialogs;
    std::function<int(QPrintDialog&)> m_fnPrintDialog;
    int m_nPreviewPages = -1;
    UINT m_nCounted = 0;   // pages counted before the dialog
    UINT m_nDrawn = 0;     // pages counted on the open device
    bool m_bNoDevice = false;

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        const BOOL bResult = COrvexViewPrint::OnPreparePrinting(pInfo);
        m_nCounted = pInfo->GetMaxPage();
        return bResult;
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override
    {
        COrvexViewPrint::OnBeginPrinting(pDC, pInfo);
        m_nDrawn = pInfo->GetMaxPage();
    }
    BOOL CreatePrinterDC(CPrintInfo* pInfo) override
    {
        return m_bNoDevice ? FALSE : COrvexViewPrint::CreatePrinterDC(pInfo);
    }
    int RunModal(QDialog& dlg) override
    {
        if (auto* pPreview = dynamic_cast<QPrintPreviewDialog*>(&dlg)) {
            m_dialogs.push_back("preview");
            auto* pWidget = pPreview->findChild<QPrintPreviewWidget*>();
            pWidget->updatePreview();
            m_nPreviewPages = pWidget->pageCount();
            return QDialog::Rejected;
        }
        m_dialogs.push_back("print");
        auto& print = dynamic_cast<QPrintDialog&>(dlg);
        return m_fnPrintDialog ? m_fnPrintDialog(print) : int(QDialog::Accepted);
    }
};

class CPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid.InitColumns();
        m_grid.resize(800, 600);
        m_printer.setOutputFileName(PdfPath());
        m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
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
    }

    QString PdfPath() const { return m_dir.filePath("grid.pdf"); }

    // Line height of the printed rows, as the grid's font measures on the printer.
    int LineHeight() const
    {
        return QFontMetrics(CFont(m_grid.font()).GetFont(), &m_printer).height() + 3;
    }

    // A page nWidth screen pixels wide, with room for exactly nRows rows below
    // the header (and the two spare lines every page keeps).
    void SetPageForRows(int nRows, int nWidth = 600)
    {
        const double dLogical = (nRows + 2) * LineHeight() + LineHeight() / 2.0;
        const double dPointsPerPixel = 72.0 / m_grid.logicalDpiY();
        m_printer.setPageSize(QPageSize(QSizeF(nWidth * dPointsPerPixel, dLogical * dPointsPerPixel),
                                        QPageSize::Point, "test", QPageSize::ExactMatch));
        m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    }

    CTreeItem* Add(CTreeItem* pParent, const std::string& strLabel, const std::string& strValue = "v")
    {
        auto* pInfo = new CNodeInfo;  // the grid takes it
        pInfo->SetText(strLabel);
        pInfo->SetSubText(ZIduvAROVEvod::cellType, "INTEGER");
        pInfo->SetSubText(ZIduvAROVEvod::cellValue, strValue);
        pInfo->SetSubText(ZIduvAROVEvod::cellOid, ".1.3");
        return pParent ? m_grid.AddChildNode(pParent, pInfo, TRUE) : m_grid.AddRootNode(pInfo);
    }

    // Rows "row00" .. in row order: nRoots roots of nChildren children each.
    std::vector<CTreeItem*> AddTable(int nRoots, int nChildren)
    {
        std::vector<CTreeItem*> roots;
        int nRow = 0;
        for (int r = 0; r < nRoots; ++r) {
            roots.push_back(Add(nullptr, Label(nRow++)));
            for (int c = 0; c < nChildren; ++c)
                Add(roots.back(), Label(nRow++));
        }
        return roots;
    }
    static std::string Label(int nRow) { return (nRow < 10 ? "row0" : "row") + std::to_string(nRow); }

    QTemporaryDir m_dir;
    QWidget m_view;
    ZIduvAROVEvod m_grid{&m_view};
    QPrinter m_printer{QPrinter::HighResolution};
    CTestPrint m_print{&m_view, &m_grid, nullptr};
    std::vector<std::pair<std::string, UINT>> m_boxes;
};

} // namespace

TEST_F(CPrintTest, PagesHoldTheShownRowsInOrder)
{
    SetPageForRows(40);
    // Nothing shown: no page, no dialog, no file.
    m_print.OnFilePrint();
    EXPECT_EQ(m_print.m_nCounted, 0u);
    EXPECT_TRUE(m_print.m_dialogs.empty());
    EXPECT_FALSE(QFile::exists(PdfPath()));

    // 81 rows at 40 a page: 40 + 40 + 1, each row on one page only.
    AddTable(3, 26);
    ASSERT_EQ(m_grid.CountPrintRows(), 81);
    m_print.OnFilePrint();
    EXPECT_EQ(m_print.m_dialogs, std::vector<std::string>{"print"});
    EXPECT_EQ(m_print.m_nCounted, 3u);
    EXPECT_EQ(m_print.m_nDrawn, 3u);
    ASSERT_EQ(PdfPages(PdfPath()), 3);
    EXPECT_EQ(RowsOnPage(PdfPath(), 1), Range(0, 40));
    EXPECT_EQ(RowsOnPage(PdfPath(), 2), Range(40, 80));
    EXPECT_EQ(RowsOnPage(PdfPath(), 3), Range(80, 81));
    EXPECT_TRUE(PageText(PdfPath(), 3).contains("MIB")) << "every page has the header";

    // Pages 2 to 3 chosen in the dialog: page 2 still begins with row 40.
    m_print.m_fnPrintDialog = [](QPrintDialog& dlg) {
        dlg.printer()->setPrintRange(QPrinter::PageRange);
        dlg.printer()->setFromTo(2, 3);
        return int(QDialog::Accepted);
    };
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(PdfPath()), 2);
    EXPECT_EQ(RowsOnPage(PdfPath(), 1), Range(40, 80));

    // The preview draws the same pages; a later print is not cut to the old range.
    m_print.m_fnPrintDialog = {};
    m_print.OnFilePrintPreview();
    EXPECT_EQ(m_print.m_nPreviewPages, 3);
    m_print.OnFilePrint();
    EXPECT_EQ(PdfPages(PdfPath()), 3);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(CPrintTest, CollapsedDescendantsAreNeitherCountedNorPrinted)
{
    SetPageForRows(40);
    const std::vector<CTreeItem*> roots = AddTable(3, 26);
    CTreeItem* pGrandChild = Add(m_grid.NextInTree(roots[2], roots[2], FALSE, FALSE), "deep&low");
    ASSERT_EQ(m_grid.CountPrintRows(), 82);

    m_grid.CollapseNode(roots[1]);  // rows 28..53 hidden
    EXPECT_EQ(m_grid.CountPrintRows(), 56);
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(PdfPath()), 2);
    std::vector<int> printed = RowsOnPage(PdfPath(), 1);
    const std::vector<int> page2 = RowsOnPage(PdfPath(), 2);
    printed.insert(printed.end(), page2.begin(), page2.end());
    std::vector<int> shown = Range(0, 28);
    const std::vector<int> rest = Range(54, 81);
    shown.insert(shown.end(), rest.begin(), rest.end());
    EXPECT_EQ(printed, shown);
    // The grandchild prints under its parent, with its "&" as it stands.
    EXPECT_TRUE(PageText(PdfPath(), 1).contains("deep&low"));

    m_grid.CollapseNode(m_grid.ParentOf(pGrandChild));
    EXPECT_EQ(m_grid.CountPrintRows(), 55);
    m_print.OnFilePrint();
    EXPECT_FALSE(PageText(PdfPath(), 1).contains("deep"));
}

TEST_F(CPrintTest, CountAndPagesAgreeForEveryFontAndPage)
{
    AddTable(4, 24);  // 100 rows
    for (const int nPixels : {8, 13, 21, 34}) {
        QFont font = m_grid.font();
        font.setPixelSize(nPixels);
        m_grid.setFont(font);
        for (const int nRows : {1, 7, 33}) {
            SetPageForRows(nRows);
            m_print.OnFilePrint();
            const UINT nExpected = static_cast<UINT>((100 + nRows - 1) / nRows);
            EXPECT_EQ(m_print.m_nCounted, nExpected) << nPixels << " px, " << nRows << " rows";
            EXPECT_EQ(m_print.m_nDrawn, nExpected) << nPixels << " px, " << nRows << " rows";
            EXPECT_EQ(PdfPages(PdfPath()), static_cast<int>(nExpected)) << nPixels << " px, " << nRows << " rows";
        }
    }
    // A page with room for the header and one row, but not the spare line every
    // page keeps, still prints one row per page.
    QFont font = m_grid.font();
    font.setPixelSize(13);
    m_grid.setFont(font);
    m_grid.RemoveAllNodes();
    AddTable(1, 2);
    SetPageForRows(0);
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(PdfPath()), 3);
    for (int nPage = 1; nPage <= 3; ++nPage)
        EXPECT_EQ(RowsOnPage(PdfPath(), nPage), std::vector<int>{nPage - 1});
}

TEST_F(CPrintTest, ColumnsScaleToThePageAndCellsKeepTheirColour)
{
    SetPageForRows(10, 700);
    m_grid.SetColumnWidth(0, 100);
    m_grid.SetColumnWidth(1, 200);
    m_grid.SetColumnWidth(2, 100);
    m_grid.SetColumnWidth(3, 200);
    const std::vector<CTreeItem*> roots = AddTable(1, 3);
    m_grid.InfoOf(roots[0])->SetCellColor(ZIduvAROVEvod::cellValue, kCellColor);
    m_print.OnFilePrint();
    ASSERT_EQ(PdfPages(PdfPath()), 1);

    // At 192 dpi one screen pixel of the page is two pixels of the picture.
    const QImage page = RenderPage(PdfPath(), 1, 2 * m_grid.logicalDpiX(), m_dir.filePath("page"));
    ASSERT_FALSE(page.isNull());
    if (const char* pszSample = std::getenv("ORVEX_PRINT_SAMPLE"))
        page.save(QString::fromLocal8Bit(pszSample));
    // Just below the header's top edge, above its texts.
    const std::vector<std::pair<int, int>> header = Runs(page, 1, kHeaderGray);
    ASSERT_EQ(header.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const int nPrinted = static_cast<int>((i % 2 ? 200 : 100) * 700.0f / 600.0f);  // in page units
        EXPECT_NEAR(header[i].second, (nPrinted - 2) * 2, 3) << "column " << i;
    }
    EXPECT_NEAR(double(header[1].second + 4) / (header[0].second + 4), 2.0, 0.05);
    EXPECT_NEAR(double(header[3].second + 4) / (header[2].second + 4), 2.0, 0.05);
    EXPECT_NEAR(header[0].first, 2, 2);
    // Each printed width is cut to whole units: together they fall short by less than one a column.
    EXPECT_NEAR(header[3].first + header[3].second, page.width(), 2 * 5) << "the columns fill the page";

    // The coloured cell lies in the Value column of the first row, nowhere else.
    int nLeft = page.width(), nRight = -1, nTop = page.height(), nBottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if ((page.pixel(x, y) & 0xFFFFFF) == kCellRgb) {
                nLeft = std::min(nLeft, x);
                nRight = std::max(nRight, x);
                nTop = std::min(nTop, y);
                nBottom = std::max(nBottom, y);
            }
    ASSERT_GE(nRight, 0) << "the cell colour is on the page";
    EXPECT_GE(nLeft, header[2].first - 2);
    EXPECT_LE(nRight, header[2].first + header[2].second + 2);
    const int nLine = 2 * LineHeight();
    EXPECT_GE(nTop, nLine);
    EXPECT_LE(nBottom, 2 * nLine + 1);
    // The cell beside it, and the same cell a row lower, stay white.
    const int yMiddle = (nTop + nBottom) / 2;
    EXPECT_EQ(page.pixel(header[1].first + header[1].second - 6, yMiddle) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel((nLeft + nRight) / 2 + 20, yMiddle + nLine) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(CPrintTest, DevicesAndTheirFailures)
{
    SetPageForRows(40);
    AddTable(1, 3);

    // No device at all: the message with the stop icon, no dialog, no file.
    m_print.m_bNoDevice = true;
    m_print.OnFilePrint();
    m_print.OnFilePrintPreview();
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].first, COrvexViewPrint::kNoPrinterText);
    EXPECT_EQ(m_boxes[0].second, MB_OK | MB_ICONSTOP);
    EXPECT_TRUE(m_print.m_dialogs.empty());
    EXPECT_FALSE(QFile::exists(PdfPath()));
    m_print.m_bNoDevice = false;
    m_boxes.clear();

    // No printer chosen and none installed: the dialog still offers a PDF file.
    CPrintView::SetPrinterSelection({});
    bool bOffersPdf = false;
    m_print.m_fnPrintDialog = [&](QPrintDialog& dlg) {
        dlg.show();  // the dialog lists its devices when it shows
        QCoreApplication::processEvents();
        for (const QComboBox* pBox : dlg.findChildren<QComboBox*>())
            for (int i = 0; i < pBox->count(); ++i)
                bOffersPdf = bOffersPdf || pBox->itemText(i).contains("PDF");
        dlg.hide();
        return int(QDialog::Rejected);
    };
    m_print.OnFilePrint();
    EXPECT_TRUE(bOffersPdf);
    EXPECT_TRUE(m_boxes.empty()) << "a cancelled dialog is no failure";

    // A file that cannot be written is reported, not passed over.
    CPrintView::SetPrinterSelection([this] { return &m_printer; });
    m_printer.setOutputFileName(m_dir.filePath("no/such/folder/grid.pdf"));
    m_print.m_fnPrintDialog = {};
    m_print.OnFilePrint();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_NE(m_boxes[0].first.find("no/such/folder/grid.pdf"), std::string::npos);
    EXPECT_EQ(m_boxes[0].second, MB_OK | MB_ICONERROR);
}

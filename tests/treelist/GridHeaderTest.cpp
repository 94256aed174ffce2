// The grid header: its off-screen painting, its menu opened by a right click,
// and the two messages the menu sends; the off-screen DC it paints through.
#include "TreeTestUtil.h"
#include "platform/clipboard/Clipboard.h"
#include "treelist/GridHeaderCtrl.h"
#include "treelist/MemDC.h"
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

using namespace treetest;

TEST(MemDC, DrawsOffScreenAndCopiesOnceUnlessPrinting)
{
    QImage target(40, 30, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    {
        CDC dc(&painter);
        {
            CMemDC mem(&dc, CRect(10, 5, 30, 25));
            ASSERT_TRUE(mem.IsBuffered());
            mem.FillSolidRect(CRect(0, 0, 40, 30), RGB(0, 0, 200));  // clipped to the rectangle
            mem.FillSolidRect(CRect(12, 7, 14, 9), RGB(200, 0, 0));
            EXPECT_EQ(Pixel(target, 12, 7), RGB(255, 255, 255)) << "nothing on the target yet";
        }
    }
    painter.end();
    EXPECT_EQ(Pixel(target, 12, 7), RGB(200, 0, 0));
    EXPECT_EQ(Pixel(target, 10, 5), RGB(0, 0, 200));
    EXPECT_EQ(Pixel(target, 29, 24), RGB(0, 0, 200));
    EXPECT_EQ(Pixel(target, 9, 5), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(target, 30, 24), RGB(255, 255, 255));

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    QPainter page(&printer);
    CDC printDC(&page);
    ASSERT_TRUE(printDC.IsPrinting());
    CMemDC pass(&printDC, CRect(0, 0, 100, 100));
    EXPECT_FALSE(pass.IsBuffered());
    EXPECT_TRUE(pass.IsPrinting());
    EXPECT_EQ(pass.GetPainter(), &page);
}

TEST(GridHeader, PaintsItsSectionsOnButtonFaceAndItsMenuSendsBothMessages)
{
    CTestTree tree;
    auto* pHeader = new CGridHeaderCtrl;
    tree.SetHeaderCtrl(pHeader);  // owned by the list
    tree.AddRootNode(Info("node", {"a", "b"}));
    std::vector<UINT> parentMessages;
    tree.SetParentHandler([&](UINT nMsg, WPARAM, LPARAM) -> LRESULT {
        parentMessages.push_back(nMsg);
        return 0;
    });
    Show(tree, 720, 300);

    const QImage header = pHeader->grab().toImage();
    const int nLast = pHeader->count() - 1;
    EXPECT_EQ(pHeader->sectionViewportPosition(nLast) + pHeader->sectionSize(nLast), pHeader->viewport()->width())
        << "the last column fills the header";
    int nDark = 0;
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < header.height(); ++y)
            nDark += qGray(header.pixel(x, y)) < 100;
    EXPECT_GT(nDark, 5) << "the first column's title";
    EXPECT_GT(qGray(header.pixel(150, header.height() / 2)), 150) << "section painted by the header";

    pHeader->OnMenuChoice(ID_HEADER_PRINTPREVIEW);
    EXPECT_EQ(parentMessages, std::vector<UINT>{WM_TREELIST_PRINTPREVIEW});
    pHeader->OnMenuChoice(ID_HEADER_CLIPBOARD);
    EXPECT_EQ(GetClipboardText(), "node\ta\tb\t\n");
    pHeader->OnMenuChoice(0);
    EXPECT_EQ(parentMessages.size(), 1u);
    EXPECT_FALSE(pHeader->OnCommand(ID_HEADER_MENU | (1u << 16), 0)) << "only notification code 0";

    // A right click opens the menu; its first item is "Print Preview".
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(pMenu, nullptr);
        for (const QAction* pAction : pMenu->actions())
            shown << pAction->text();
        QTest::keyClick(pMenu, Qt::Key_Down);
        QTest::keyClick(pMenu, Qt::Key_Return);
    });
    // Through the window, as the window system delivers it (the right press is
    // what makes the context menu).
    const QPoint ptInWindow = pHeader->viewport()->mapTo(&tree, QPoint(50, 5));
    QTest::mouseClick(tree.windowHandle(), Qt::RightButton, {}, ptInWindow);
    QApplication::processEvents();
    EXPECT_EQ(shown, (QStringList{"Print Preview", "-> Clipboard"}));
    EXPECT_EQ(parentMessages, (std::vector<UINT>{WM_TREELIST_PRINTPREVIEW, WM_TREELIST_PRINTPREVIEW}));
}

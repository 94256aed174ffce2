// Drawing of tree-list rows, checked on the pixels of rendered rows: branch
// lines and +/- boxes, clipping of deep nodes, shortened texts with their
// tooltip bits and alignment, the focus cell, cell colours, the drag image.
#include "TreeTestUtil.h"
#include "platform/gdi/SysMetrics.h"
#include <QScrollBar>

using namespace treetest;

namespace {

struct SRowGeometry
{
    int top, bottom, yc;
};

SRowGeometry Geometry(CTestTree& tree, int nRow)
{
    CRect rc;
    tree.GetItemRect(nRow, &rc, LVIR_BOUNDS);
    return {rc.top, rc.bottom, rc.top + 8 + ((rc.Height() - 16) >> 1)};
}

// Leftmost and rightmost x in [x0, x1) with a dark (text) pixel on the row.
std::pair<int, int> Ink(const QImage& image, const SRowGeometry& g, int x0, int x1)
{
    int first = -1, last = -1;
    EXPECT_LE(x1, image.width());
    for (int x = x0; x < std::min(x1, image.width()); ++x)
        for (int y = g.top; y < g.bottom; ++y)
            if (qGray(image.pixel(x, y)) < 100) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

TEST(TreeDraw, LastChildGetsACornerEarlierChildrenATeeAndBoxesShowTheirState)
{
    CTestTree tree;
    Node* pRoot = tree.AddRootNode(Info("R"));
    Node* pA = tree.AddChildNode(pRoot, Info("A"), FALSE);
    tree.AddChildNode(pA, Info("A1"), FALSE);
    tree.AddChildNode(pRoot, Info("B"), FALSE);
    tree.ExpandNode(pRoot, 0);
    tree.ExpandNode(pA, 1);
    ASSERT_EQ(tree.GetItemCount(), 4);  // R, A, A1, B
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);

    const QImage root = tree.RenderRow(0, false);
    const SRowGeometry g0 = Geometry(tree, 0);
    EXPECT_EQ(Pixel(root, 8, g0.top), white) << "a root has no line above it";
    EXPECT_EQ(Pixel(root, 3, g0.yc), RGB(198, 198, 198)) << "box frame";
    EXPECT_EQ(Pixel(root, 6, g0.yc), black) << "minus sign";
    EXPECT_EQ(Pixel(root, 8, g0.yc - 2), white) << "no vertical bar when expanded";
    EXPECT_EQ(Pixel(root, 24, g0.bottom - 1), kLineColour) << "line down to the first child";

    const QImage tee = tree.RenderRow(1, false);
    const SRowGeometry g1 = Geometry(tree, 1);
    EXPECT_EQ(Pixel(tee, 24, g1.top), kLineColour);
    EXPECT_EQ(Pixel(tee, 24, g1.bottom - 1), kLineColour) << "a tee runs on to the next sibling";
    EXPECT_EQ(Pixel(tee, 31, g1.yc), kLineColour);
    EXPECT_EQ(tee.pixel(32, g1.yc), kIconColour);

    const QImage inner = tree.RenderRow(2, false);
    const SRowGeometry g2 = Geometry(tree, 2);
    EXPECT_EQ(Pixel(inner, 24, g2.top), kLineColour) << "passes through towards B";
    EXPECT_EQ(Pixel(inner, 24, g2.bottom - 1), kLineColour);
    EXPECT_EQ(Pixel(inner, 40, g2.yc - 1), kLineColour);
    EXPECT_EQ(Pixel(inner, 40, g2.yc + 1), white) << "A1 is the last child: a corner";
    EXPECT_EQ(Pixel(inner, 47, g2.yc), kLineColour);
    EXPECT_EQ(Pixel(inner, 35, g2.yc), white) << "a leaf has no box";

    const QImage last = tree.RenderRow(3, false);
    const SRowGeometry g3 = Geometry(tree, 3);
    EXPECT_EQ(Pixel(last, 24, g3.top), kLineColour);
    EXPECT_EQ(Pixel(last, 24, g3.yc), kLineColour);
    EXPECT_EQ(Pixel(last, 24, g3.bottom - 1), white) << "B is the last child: a corner";
    EXPECT_EQ(Pixel(last, 8, g3.top), white) << "no lines between roots";

    tree.CollapseNode(pA);
    const QImage collapsed = tree.RenderRow(1, false);
    EXPECT_EQ(Pixel(collapsed, 24, g1.yc - 2), black) << "plus sign";
    EXPECT_EQ(Pixel(collapsed, 24, g1.yc + 2), black);
    EXPECT_EQ(Pixel(collapsed, 40, g1.bottom - 1), white) << "no line down when collapsed";
}

// A line runs on to a later shown sibling of an ancestor even when the
// ancestor's last child is one the filter hides.
TEST(TreeDraw, LinesUnderAFilterLeadToTheNextShownSibling)
{
    CTestTree tree;
    Node* pRoot = Root(tree, "R keep");
    Child(tree, Child(tree, pRoot, "A"), "A1 keep");
    for (const char* pszLabel : {"B keep", "C"})
        Child(tree, pRoot, pszLabel);
    CTreeMatcher matcher;
    matcher.Set("keep", 0);
    tree.ApplyFilter(matcher);
    ASSERT_EQ(RowLabels(tree), (Strings{"R keep", "A", "A1 keep", "B keep"}));

    const QImage inner = tree.RenderRow(2, false);
    const SRowGeometry g2 = Geometry(tree, 2);
    EXPECT_EQ(Pixel(inner, 24, g2.top), kLineColour) << "passes through towards B";
    EXPECT_EQ(Pixel(inner, 24, g2.bottom - 1), kLineColour);
    const QImage last = tree.RenderRow(3, false);
    const SRowGeometry g3 = Geometry(tree, 3);
    EXPECT_EQ(Pixel(last, 24, g3.yc), kLineColour);
    EXPECT_EQ(Pixel(last, 24, g3.bottom - 1), RGB(255, 255, 255)) << "B is the last shown child: a corner";
}

TEST(TreeDraw, DeepNodesAreClippedAtColumnZero)
{
    CTestTree tree;
    tree.SetColumnWidth(0, 60);
    Node* pNode = tree.AddRootNode(Info("root"));
    tree.ExpandNode(pNode, 0);
    for (const char* label : {"level2", "level3", "level4"}) {
        Node* pChild = tree.AddChildNode(pNode, Info(label), FALSE);
        tree.ExpandNode(pNode, tree.RowOfNode(pNode));
        pNode = pChild;
    }
    ASSERT_EQ(tree.GetItemCount(), 4);
    const COLORREF window = GetSysColor(COLOR_WINDOW, &tree);

    // Level 3: the icon starts at 48 and is cut at column 0's edge (60).
    const QImage clipped = tree.RenderRow(2, false);
    const SRowGeometry g2 = Geometry(tree, 2);
    EXPECT_EQ(clipped.pixel(59, g2.yc), kIconColour);
    EXPECT_EQ(Pixel(clipped, 60, g2.yc), window);

    // Level 4: the icon would start at 64: no icon, lines, box, nor label.
    const QImage deep = tree.RenderRow(3, false);
    const SRowGeometry g3 = Geometry(tree, 3);
    for (int x = 0; x < 260; ++x)
        for (int y = g3.top; y < g3.bottom; ++y)
            ASSERT_EQ(Pixel(deep, x, y), window) << x << "," << y;

    // Column 0 ending exactly where the level-4 icon would start: no room for
    // any of the icon, but the lines are drawn.
    tree.SetColumnWidth(0, 64);
    const QImage edge = tree.RenderRow(3, false);
    EXPECT_EQ(Pixel(edge, 64, g3.yc), window);
    EXPECT_EQ(Pixel(edge, 70, g3.yc), window);
    EXPECT_EQ(Pixel(edge, 56, g3.top), kLineColour);

    // Scrolled to the right, column 0 ends 50 pixels further left: so does the icon.
    tree.SetColumnWidth(0, 120);
    tree.SetColumnWidth(1, 400);
    tree.resize(400, 300);
    tree.show();
    QApplication::processEvents();
    tree.Scroll(CSize(50, 0));
    CRect rcBounds;
    tree.GetItemRect(2, &rcBounds, LVIR_BOUNDS);
    ASSERT_EQ(rcBounds.left, -50);
    const QImage scrolled = tree.RenderRow(2, false);
    EXPECT_EQ(scrolled.pixel(0, g2.yc), kIconColour);  // the icon spans -2..13
    EXPECT_EQ(scrolled.pixel(13, g2.yc), kIconColour);
    tree.SetColumnWidth(0, 60);  // column 0 now ends at 10, inside the icon
    ASSERT_EQ(tree.horizontalScrollBar()->value(), 50);
    const QImage cut = tree.RenderRow(2, false);
    EXPECT_EQ(cut.pixel(9, g2.yc), kIconColour);
    EXPECT_NE(cut.pixel(10, g2.yc), kIconColour);
}

TEST(TreeDraw, StateImagesSitRightOfTheIconAndImageListsAreTakenFresh)
{
    CTestTree tree;
    CImageList states;
    FillImageList(states, 12, 16, 2, qRgb(255, 0, 0));
    tree.SetImageList(&states, LVSIL_STATE);
    std::unique_ptr<CNodeInfo> pInfo = Info("checked");
    pInfo->SetChecked(TRUE);
    tree.AddRootNode(std::move(pInfo));
    ASSERT_TRUE(tree.GetCheck(0));
    const SRowGeometry g = Geometry(tree, 0);
    QImage image = tree.RenderRow(0, false);
    EXPECT_EQ(image.pixel(16 + 15, g.yc), kIconColour) << "the row icon stays whole";
    EXPECT_EQ(image.pixel(32, g.yc), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(32 + 11, g.yc), qRgb(255, 0, 0));
    tree.SetCurrentColumn(0);
    image = tree.RenderRow(0, true);
    EXPECT_EQ(image.pixel(32 + 11, g.yc), qRgb(255, 0, 0)) << "not covered by the focus cell";

    CImageList other;
    FillImageList(other, 16, 16, 1, qRgb(0, 0, 255));
    tree.SetImageList(&other, LVSIL_SMALL);
    image = tree.RenderRow(0, false);
    EXPECT_EQ(image.pixel(16 + 8, g.yc), qRgb(0, 0, 255));
    tree.SetImageList(nullptr, LVSIL_STATE);
}

TEST(TreeDraw, ShortenedTextsEndInDotsSetTheTipBitAndLoseTheirAlignment)
{
    CTestTree tree;
    QImage scratch(10, 10, QImage::Format_RGB32);
    QPainter painter(&scratch);
    {
        CDC dc(&painter);
        const char* pszFits = "abc";
        EXPECT_EQ(tree.ShortenToFit(&dc, pszFits, 1000, 4), pszFits);
        const std::string longText = "The quick brown fox jumps over the lazy dog";
        const char* pszShort = tree.ShortenToFit(&dc, longText.c_str(), 120, 12);
        const std::string shortened(pszShort);
        ASSERT_NE(pszShort, longText.c_str());
        EXPECT_EQ(shortened.substr(shortened.size() - 3), "...");
        EXPECT_EQ(longText.compare(0, shortened.size() - 3, shortened, 0, shortened.size() - 3), 0);
        EXPECT_LT(dc.GetTextExtent(shortened).cx + 12, 120);
        const std::string longer = longText.substr(0, shortened.size() - 2) + "...";
        EXPECT_GE(dc.GetTextExtent(longer).cx + 12, 120) << "the longest prefix that fits";
        EXPECT_EQ(std::string(tree.ShortenToFit(&dc, longText.c_str(), 1, 12)), "T...");
    }
    painter.end();

    // A width of the right-aligned column that leaves a visible gap after the
    // shortened text, so that left and right alignment differ.
    const std::string value = "1234567890 WWW 1234567890 iii 1234567890";
    int nWidth = 90, nTextWidth = 0;
    {
        QPainter measure(&scratch);
        CDC dc(&measure);
        for (; nWidth < 140; ++nWidth) {
            nTextWidth = dc.GetTextExtent(std::string(tree.ShortenToFit(&dc, value.c_str(), nWidth + 1, 12))).cx;
            if (nWidth - 12 - nTextWidth >= 5)
                break;
        }
    }
    ASSERT_LT(nWidth, 140);
    tree.SetColumnWidth(1, nWidth);
    tree.SetColumnWidth(2, 100);
    tree.AddRootNode(Info("row", {value, "mid"}));
    const CNodeInfo* pInfo = tree.InfoOf(tree.NodeAtRow(0));
    const SRowGeometry g = Geometry(tree, 0);

    QImage image = tree.RenderRow(0, false);
    EXPECT_EQ(pInfo->TipMask(), DWORD{1} << 1);
    const auto shortInk = Ink(image, g, 200, 200 + nWidth);
    EXPECT_LE(shortInk.first, 200 + 6 + 2) << "a shortened text is left-aligned";
    EXPECT_LE(shortInk.second, 200 + 6 + nTextWidth + 1);
    EXPECT_LT(shortInk.second, 200 + nWidth - 6 - 3);
    const int nCentre = 200 + nWidth + 50;
    const auto centreInk = Ink(image, g, 200 + nWidth, 300 + nWidth);
    EXPECT_NEAR((centreInk.first + centreInk.second) / 2.0, nCentre, 3.0);

    tree.SetColumnWidth(1, 400);
    image = tree.RenderRow(0, false);
    EXPECT_EQ(pInfo->TipMask(), DWORD{0}) << "widening clears the bit";
    const auto rightInk = Ink(image, g, 200, 600);
    EXPECT_GE(rightInk.second, 600 - 6 - 3) << "a text that fits keeps its right alignment";
    EXPECT_GT(rightInk.first, 300);

    tree.SetColumnWidth(0, 40);  // the label "row" no longer fits
    tree.RenderRow(0, false);
    EXPECT_EQ(pInfo->TipMask(), DWORD{1});
}

TEST(TreeDraw, FocusCellAndCellColours)
{
    CTestTree tree;
    tree.AddRootNode(Info("row", {"", "x"}));
    std::unique_ptr<CNodeInfo> pSwatch = Info("swatch", {"", ""});
    pSwatch->SetCellColor(0, RGB(0, 0, 255));
    pSwatch->SetCellControlType(0, CNodeInfo::ctColorSwatch);
    pSwatch->SetCellColor(1, RGB(0, 255, 0));
    tree.AddRootNode(std::move(pSwatch));
    const COLORREF focus = tree.FocusCellColor();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT, &tree);
    const SRowGeometry g = Geometry(tree, 0);
    CRect rcLabel;
    tree.GetItemRect(0, &rcLabel, LVIR_LABEL);
    const int nSplit = (1 + 1) * 16 + 2;

    tree.SetCurrentColumn(0);
    QImage image = tree.RenderRow(0, true);
    EXPECT_EQ(Pixel(image, nSplit - 1, g.top + 2), GetSysColor(COLOR_WINDOW, &tree)) << "tree part never highlighted";
    EXPECT_EQ(Pixel(image, nSplit + 1, g.top + 2), focus);
    EXPECT_EQ(Pixel(image, rcLabel.right - 3, g.top + 2), focus);
    EXPECT_EQ(Pixel(image, rcLabel.right - 3, g.bottom - 3), focus);
    EXPECT_EQ(Pixel(image, rcLabel.right + 3, g.top + 2), highlight);

    tree.SetCurrentColumn(1);
    image = tree.RenderRow(0, true);
    EXPECT_EQ(Pixel(image, nSplit + 1, g.top + 2), highlight);
    EXPECT_EQ(Pixel(image, 250, g.top + 2), focus);
    EXPECT_EQ(Pixel(image, 350, g.top + 2), highlight);

    // Unselected: the swatch is an inset box with a black border; a plain
    // coloured cell is filled whole.
    const QImage swatch = tree.RenderRow(1, false);
    const SRowGeometry gs = Geometry(tree, 1);
    const int yMid = (gs.top + gs.bottom) / 2;
    EXPECT_EQ(Pixel(swatch, 200 + 2, yMid), GetSysColor(COLOR_WINDOW, &tree));
    EXPECT_EQ(Pixel(swatch, 200 + 5, yMid), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(swatch, 250, yMid), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(swatch, 301, gs.top + 1), RGB(0, 255, 0));
    EXPECT_EQ(Pixel(swatch, 398, gs.bottom - 2), RGB(0, 255, 0));
}

// The darkest and the brightest pixel inside column 1 of a row.
std::pair<int, int> GreyRange(const QImage& image, const SRowGeometry& g)
{
    int nMin = 255, nMax = 0;
    for (int y = g.top + 1; y < g.bottom - 2; ++y)
        for (int x = 201; x < 299; ++x) {
            nMin = std::min(nMin, qGray(image.pixel(x, y)));
            nMax = std::max(nMax, qGray(image.pixel(x, y)));
        }
    return {nMin, nMax};
}

TEST(TreeDraw, TextOnCellsOfTheirOwnColourStaysReadable)
{
    CTestTree tree;
    std::unique_ptr<CNodeInfo> pLight = Info("light", {"WWWW", "x"});
    pLight->SetCellColor(0, RGB(0xD0, 0xD0, 0xD0));
    tree.AddRootNode(std::move(pLight));
    std::unique_ptr<CNodeInfo> pDark = Info("dark", {"WWWW", "x"});
    pDark->SetCellColor(0, RGB(0, 0, 0x60));
    tree.AddRootNode(std::move(pDark));
    tree.SetCurrentColumn(2);

    // Selected: the selection's light text would vanish on the light cell.
    EXPECT_LT(GreyRange(tree.RenderRow(0, true), Geometry(tree, 0)).first, 0x60);
    EXPECT_LT(GreyRange(tree.RenderRow(0, false), Geometry(tree, 0)).first, 0x60);
    // Dark text would vanish on the dark cell, selected or not.
    EXPECT_GT(GreyRange(tree.RenderRow(1, false), Geometry(tree, 1)).second, 0xA0);
    EXPECT_GT(GreyRange(tree.RenderRow(1, true), Geometry(tree, 1)).second, 0xA0);
    // The focus cell keeps the selection's text on its own colour.
    tree.SetCurrentColumn(1);
    EXPECT_GT(GreyRange(tree.RenderRow(0, true), Geometry(tree, 0)).second, 0xA0);
}

TEST(TreeDraw, CheckBoxCellsShowTheirStateAndTheDragImageShowsTheRow)
{
    CTestTree tree;
    for (const char* state : {"Enabled", "Disabled"}) {
        std::unique_ptr<CNodeInfo> pInfo = Info(state, {"", state});
        pInfo->SetCellControlType(1, CNodeInfo::ctCheckBox);
        tree.AddRootNode(std::move(pInfo));
    }
    const QImage on = tree.RenderRow(0, false);
    const QImage off = tree.RenderRow(1, false);
    const SRowGeometry g0 = Geometry(tree, 0), g1 = Geometry(tree, 1);
    int nDiffering = 0;
    for (int x = 300; x < 400; ++x)
        for (int dy = 0; dy < g0.bottom - g0.top; ++dy)
            nDiffering += on.pixel(x, g0.top + dy) != off.pixel(x, g1.top + dy);
    EXPECT_GT(nDiffering, 5) << "a check mark for \"Enabled\" only";
    EXPECT_EQ(Ink(on, g0, 300, 330).first, -1) << "no text in a check-box cell";

    std::unique_ptr<CImageList> pDrag(tree.MakeDragImage(0));
    ASSERT_TRUE(pDrag);
    ASSERT_EQ(pDrag->GetImageCount(), 1);
    CRect rcBounds;
    tree.GetItemRect(0, &rcBounds, LVIR_BOUNDS);
    const QImage& drag = pDrag->GetImage(0);
    EXPECT_EQ(drag.size(), QSize(rcBounds.Width(), rcBounds.Height()));
    EXPECT_EQ(drag.pixel(8, rcBounds.Height() / 2), kIconColour);
    EXPECT_EQ(qAlpha(drag.pixel(drag.width() - 2, 1)), 0) << "the window colour becomes transparent";
    EXPECT_NE(Ink(QImage(drag).convertToFormat(QImage::Format_RGB32), {0, rcBounds.Height(), 0}, 20, 80).first, -1);
    EXPECT_EQ(tree.MakeDragImage(5), nullptr);
}

// treelist-demo: the tree-list control on its own, with a generated tree of a
// few thousand nodes, coloured cells and cells of every control type, so that
// its drawing and behaviour can be tried and looked at.
//
//   treelist-demo [--screenshot FILE]
// With --screenshot the window is drawn once into FILE (PNG) and the program ends.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/ImageList.h"
#include "treelist/CellComboCtrl.h"
#include "treelist/GridHeaderCtrl.h"
#include "treelist/TreeListCtrl.h"
#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

enum EIcon { IconRoot, IconFolder, IconFolderOpen, IconLeaf, IconCount };
constexpr int kIconSize = 16;

void DrawFolder(QPainter& p, int x, bool bOpen)
{
    const QColor outline(166, 116, 14);
    p.setPen(outline);
    p.setBrush(bOpen ? QColor(214, 156, 36) : QColor(236, 183, 62));
    p.drawRect(x + 1, 2, 5, 2);  // tab
    QLinearGradient back(0, 3, 0, 14);
    back.setColorAt(0, bOpen ? QColor(232, 180, 70) : QColor(252, 218, 118));
    back.setColorAt(1, bOpen ? QColor(206, 146, 26) : QColor(228, 168, 40));
    p.setBrush(back);
    p.drawRect(x + 1, 3, 12, 10);
    if (!bOpen) {
        p.setPen(QColor(255, 242, 196));
        p.drawLine(x + 2, 5, x + 12, 5);  // light under the top edge
        return;
    }
    // The open flap, leaning forward.
    QLinearGradient front(0, 7, 0, 14);
    front.setColorAt(0, QColor(255, 240, 170));
    front.setColorAt(1, QColor(246, 204, 92));
    p.setBrush(front);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF flap[] = {{x + 4.5, 6.5}, {x + 15.5, 6.5}, {x + 13.0, 13.5}, {x + 1.5, 13.5}};
    p.drawPolygon(flap, 4);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawLeaf(QPainter& p, int x)
{
    p.setPen(QColor(112, 128, 144));
    p.setBrush(Qt::white);
    const QPoint page[] = {{x + 3, 1}, {x + 10, 1}, {x + 13, 4}, {x + 13, 14}, {x + 3, 14}};
    p.drawPolygon(page, 5);
    p.setBrush(QColor(214, 222, 230));
    const QPoint fold[] = {{x + 10, 1}, {x + 10, 4}, {x + 13, 4}};
    p.drawPolygon(fold, 3);
    p.setPen(QColor(78, 140, 206));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(x + 5, y, x + (y == 12 ? 9 : 11), y);
}

void DrawRoot(QPainter& p, int x)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient sea(x + 6, 5, 9);
    sea.setColorAt(0, QColor(140, 196, 250));
    sea.setColorAt(1, QColor(30, 106, 196));
    p.setPen(QPen(QColor(22, 78, 150), 1));
    p.setBrush(sea);
    p.drawEllipse(QRectF(x + 1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(225, 240, 255, 200), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(x + 5, 1.5, 6, 13));
    p.drawLine(QPointF(x + 2, 8), QPointF(x + 14, 8));
    p.drawLine(QPointF(x + 8, 1.5), QPointF(x + 8, 14.5));
    p.setRenderHint(QPainter::Antialiasing, false);
}

// The row icons as one strip with an alpha channel.
QImage IconStrip()
{
    QImage strip(kIconSize * IconCount, kIconSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    DrawRoot(p, IconRoot * kIconSize);
    DrawFolder(p, IconFolder * kIconSize, false);
    DrawFolder(p, IconFolderOpen * kIconSize, true);
    DrawLeaf(p, IconLeaf * kIconSize);
    return strip;
}

class CDemoTree : public CTreeListCtrl
{
public:
    explicit CDemoTree(QWidget* pParent = nullptr) : CTreeListCtrl(pParent) {}

protected:
    int RowImageFor(CTreeItem* pNode) override
    {
        if (!pNode) return IconLeaf;
        if (IsRootNode(pNode)) return IconRoot;
        if (!HasChildren(pNode)) return IconLeaf;
        return IsCollapsed(pNode) ? IconFolder : IconFolderOpen;
    }
    std::unique_ptr<CNodeInfo> CloneInfo(const CNodeInfo& info) override
    {
        auto pCopy = std::make_unique<CNodeInfo>();
        pCopy->CopyFrom(info);
        return pCopy;
    }
    // Drop-down cells get the drop-down editor; others the base behaviour.
    QWidget* OnCellClick(UINT nFlags, CPoint pt, LVHITTESTINFO* pHit, BOOL bWide) override
    {
        CTreeItem* pNode = NodeAtRow(pHit->iItem);
        CNodeInfo::CONTROLTYPE type = CNodeInfo::ctNone;
        CStringList* pChoices = nullptr;
        if (pNode && pHit->iSubItem > 0 && InfoOf(pNode)->CellControlType(pHit->iSubItem - 1, type) &&
            type == CNodeInfo::ctComboBox && InfoOf(pNode)->GetChoices(pHit->iSubItem - 1, pChoices))
            return EditComboCell(pHit->iItem, pHit->iSubItem, *pChoices);
        if (type == CNodeInfo::ctCheckBox || type == CNodeInfo::ctColorSwatch)
            return nullptr;
        return CTreeListCtrl::OnCellClick(nFlags, pt, pHit, bWide);
    }
};

const char* const kAreas[] = {"Network", "Storage", "Processes", "Printers", "Users", "Services"};
const char* const kGroups[] = {"Interfaces", "Addresses", "Routes", "Counters", "Limits", "Sessions"};
const char* const kKinds[] = {"INTEGER", "OCTETSTRING", "COUNTER32", "GAUGE32", "TIMETICKS", "IPADDRESS"};

std::unique_ptr<CNodeInfo> NewInfo(const std::string& label, const std::string& type, const std::string& value,
                                   const std::string& note)
{
    auto pInfo = std::make_unique<CNodeInfo>();
    pInfo->SetText(label);
    pInfo->SetSubText(0, type);
    pInfo->SetSubText(1, value);
    pInfo->SetSubText(2, note);
    return pInfo;
}

// Gives some leaves a control type or a colour, so every kind is on show.
void Decorate(CNodeInfo* pInfo, int nLeaf)
{
    static const CStringList kSpeeds = {"10 Mbit/s", "100 Mbit/s", "1 Gbit/s", "10 Gbit/s", "Auto"};
    switch (nLeaf % 12) {
    case 1: pInfo->SetCellColor(1, RGB(208, 208, 208)); break;
    case 3:
        pInfo->SetSubText(1, "1 Gbit/s");
        pInfo->SetCellControlType(1, CNodeInfo::ctComboBox);
        pInfo->SetChoices(1, &kSpeeds);
        break;
    case 5: pInfo->SetCellControlType(1, CNodeInfo::ctSpin); break;
    case 7: pInfo->SetCellControlType(2, CNodeInfo::ctButton); break;
    case 8:
        pInfo->SetCellControlType(1, CNodeInfo::ctColorSwatch);
        pInfo->SetCellColor(1, RGB(70 + 23 * (nLeaf % 7), 150, 230 - 17 * (nLeaf % 5)));
        pInfo->SetSubText(1, "");
        break;
    case 9:
    case 10:
        pInfo->SetCellControlType(2, CNodeInfo::ctCheckBox);
        pInfo->SetSubText(2, nLeaf % 12 == 9 ? "Enabled" : "Disabled");
        break;
    case 11: pInfo->SetCellColor(0, RGB(255, 232, 196)); break;
    default: break;
    }
}

void BuildTree(CDemoTree& tree)
{
    int nLeaf = 0;
    for (const char* pszArea : kAreas) {
        CTreeItem* pRoot = tree.AddRootNode(NewInfo(pszArea, "", "", "area"));
        for (int g = 0; g < 6; ++g) {
            const std::string group = kGroups[g];
            CTreeItem* pGroup = tree.AddChildNode(pRoot, NewInfo(group, "", "", ""), FALSE);
            for (int t = 1; t <= 8; ++t) {
                const std::string table = group + "Entry" + std::to_string(t);
                CTreeItem* pTable = tree.AddChildNode(pGroup, NewInfo(table, "", "", ""), FALSE);
                for (int i = 1; i <= 12; ++i, ++nLeaf) {
                    const std::string kind = kKinds[(i + t) % 6];
                    const std::string value = kind == "OCTETSTRING"
                        ? "eth" + std::to_string(i) + " <uplink> port " + std::to_string(t * 100 + i) +
                              " towards the core switch in rack " + std::to_string(g + 1)
                        : std::to_string(1000 * t + 37 * i);
                    std::unique_ptr<CNodeInfo> pInfo = NewInfo(std::to_string(i), kind, value, i % 4 ? "" : "read-write");
                    Decorate(pInfo.get(), nLeaf);
                    tree.AddChildNode(pTable, std::move(pInfo), FALSE);
                }
            }
        }
    }
}

// Shows a part of the tree opened up, a selected row and a current cell.
void OpenSome(CDemoTree& tree)
{
    CTreeItem* pRoot = tree.RootAt(0);
    tree.ExpandNode(pRoot, tree.RowOfNode(pRoot));
    CTreeListCtrl::POSITION pos = tree.FirstChildPosition(pRoot);
    CTreeItem* pFirstGroup = tree.NextChild(pRoot, pos);
    tree.ExpandNode(pFirstGroup, tree.RowOfNode(pFirstGroup));
    pos = tree.FirstChildPosition(pFirstGroup);
    CTreeItem* pTable = tree.NextChild(pFirstGroup, pos);
    tree.ExpandNode(pTable, tree.RowOfNode(pTable));
    pos = tree.FirstChildPosition(pTable);
    CTreeItem* pLeaf = nullptr;
    for (int i = 0; i < 6; ++i)  // the leaf with a spin cell
        pLeaf = tree.NextChild(pTable, pos);
    const int nRow = tree.RowOfNode(pLeaf);
    tree.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    tree.SetCurrentColumn(2);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("treelist-demo");
    QCommandLineParser parser;
    parser.setApplicationDescription("Shows the tree-list control with a generated tree.");
    parser.addHelpOption();
    const QCommandLineOption screenshot("screenshot", "Draw the window into FILE (PNG) and quit.", "FILE");
    parser.addOption(screenshot);
    parser.process(app);

    CDemoTree tree;
    tree.setWindowTitle("Tree-list demo");
    tree.SetHeaderCtrl(new CGridHeaderCtrl);  // owned by the list
    tree.SetExtendedStyle(LVS_EX_GRIDLINES);
    tree.InsertColumn(0, "Name", LVCFMT_LEFT, 230);
    tree.InsertColumn(1, "Type", LVCFMT_LEFT, 110);
    tree.InsertColumn(2, "Value", LVCFMT_RIGHT, 200);
    tree.InsertColumn(3, "Access", LVCFMT_CENTER, 110);

    CImageList images;
    images.Create(kIconSize, kIconSize, ILC_COLOR32, IconCount, 1);
    CBitmap strip;
    strip.CreateFromImage(IconStrip());
    images.Add(&strip, CLR_NONE);
    tree.SetImageList(&images, LVSIL_SMALL);
    tree.SetImageSize(kIconSize, kIconSize);
    tree.SetParentHandler([](UINT nMsg, WPARAM, LPARAM) -> LRESULT {
        if (nMsg == WM_TREELIST_PRINTPREVIEW)
            std::fprintf(stderr, "treelist-demo: print preview asked for\n");
        return 0;
    });

    BuildTree(tree);
    OpenSome(tree);
    int nColumnsWidth = 0;
    for (int i = 0; i < tree.GetColumnCount(); ++i)
        nColumnsWidth += tree.GetColumnWidth(i);
    tree.resize(nColumnsWidth + tree.verticalScrollBar()->sizeHint().width() + 2 * tree.frameWidth(), 440);
    tree.show();

    if (parser.isSet(screenshot)) {
        QApplication::processEvents();
        tree.setFocus();
        QApplication::processEvents();
        const QString file = parser.value(screenshot);
        if (!tree.grab().save(file, "PNG")) {
            std::fprintf(stderr, "treelist-demo: cannot write %s\n", file.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    return app.exec();
}

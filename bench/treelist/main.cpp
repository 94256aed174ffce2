// Speed and memory of the tree-list control on a generated tree of roots x 10
// children x 10 grandchildren (three cells each; --nodes N, default 111,000:
// 1,000 roots): expanding every
// root's subtree, scrolling a page with every row shown, collapsing, removing
// everything, and copying the tree as text; finding (each step shown) and
// filtering. Prints its figures.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/ImageList.h"
#include "treelist/TreeListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <ctime>
#include <vector>

namespace {

int g_nRoots = 1000;
constexpr int kFanOut = 10;

// Find and filter have their own targets at the default size; at a million
// nodes every operation has the same bound of a second.
const char* Target(const char* pszAtDefault)
{
    return g_nRoots * (1 + kFanOut + kFanOut * kFanOut) >= 1000000 - 1 ? "target <= 1.0 s" : pszAtDefault;
}

double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Wall-clock seconds, and this thread's CPU seconds (what the work itself
// costs when other processes share the machine).
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

Timing Measure(const std::function<void()>& work)
{
    const double cpu0 = ThreadCpuSeconds();
    Timing t;
    t.wall = Seconds(work);
    t.cpu = ThreadCpuSeconds() - cpu0;
    return t;
}

void Report(const char* what, const Timing& t, const char* target, const std::string& note = "")
{
    std::printf("%-36s %7.3f s  (CPU %7.3f s)  %s%s\n", what, t.wall, t.cpu, target, note.c_str());
}

long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::unique_ptr<CNodeInfo> Info(const std::string& label, int n)
{
    auto pInfo = std::make_unique<CNodeInfo>();
    pInfo->SetText(label);
    pInfo->SetSubText(0, "OCTETSTRING");
    pInfo->SetSubText(1, "value " + std::to_string(n));
    pInfo->SetSubText(2, ".1.3.6.1.4.1.2021.4." + std::to_string(n));
    return pInfo;
}

int Build(CTreeListCtrl& c)
{
    int n = 0;
    for (int r = 0; r < g_nRoots; ++r) {
        CTreeItem* root = c.AddRootNode(Info("root" + std::to_string(r), n++));
        for (int i = 0; i < kFanOut; ++i) {
            CTreeItem* child = c.AddChildNode(root, Info("child" + std::to_string(i), n++), FALSE);
            for (int j = 0; j < kFanOut; ++j)
                c.AddChildNode(child, Info(std::to_string(j), n++), FALSE);
        }
    }
    return n;
}

std::vector<CTreeItem*> Roots(const CTreeListCtrl& c)
{
    std::vector<CTreeItem*> roots;
    for (auto pos = c.FirstRootPosition(); pos;)
        roots.push_back(c.NextRoot(pos));
    return roots;
}

void ExpandAll(CTreeListCtrl& c)
{
    for (CTreeItem* root : Roots(c)) {
        int last = 0;
        c.ExpandSubtree(root, last);
    }
}

// Expands node by node in pre-order, as an owner's "expand all" does.
void ExpandAllNodeByNode(CTreeListCtrl& c)
{
    for (CTreeItem* top : Roots(c)) {
        c.ExpandNode(top, c.RowOfNode(top));
        for (CTreeItem* cur = top;;) {
            CTreeItem* next = c.NextInTree(top, cur, TRUE, FALSE);
            if (next == cur || !c.IsInSubtree(top, next))
                break;
            c.ExpandNode(next, c.RowOfNode(next));
            cur = next;
        }
    }
}

CTreeMatcher Pattern(const std::string& strText, UINT nFlags = 0)
{
    CTreeMatcher matcher;
    matcher.Set(strText, nFlags);
    return matcher;
}

// Find steps as the find bar takes them, each revealing and selecting its
// match: the hard cases are a match far away and no match at all (every node).
void FindSteps(CTreeListCtrl& c)
{
    struct Step
    {
        const char* pszWhat;
        CTreeMatcher matcher;
        CTreeListCtrl::EFindStep eStep;
    };
    const Step steps[] = {
        {"typed 'value 99999' (far, from the top)", Pattern("value 99999"), CTreeListCtrl::fsAgain},
        {"next 'value 99999' (round the end)", Pattern("value 99999"), CTreeListCtrl::fsNext},
        {"next 'child7' (near)", Pattern("child7"), CTreeListCtrl::fsNext},
        {"previous 'root0' (round the start)", Pattern("root0"), CTreeListCtrl::fsPrevious},
        {"next 'no such text' (every node)", Pattern("no such text"), CTreeListCtrl::fsNext},
        {"next regex '^value 5\\d{4}$'", Pattern("^value 5\\d{4}$", CTreeMatcher::fRegularExpression),
         CTreeListCtrl::fsNext},
        {"next regex 'nothing$' (every node)", Pattern("nothing$", CTreeMatcher::fRegularExpression),
         CTreeListCtrl::fsNext},
    };
    int nStep = 0;
    for (const Step& step : steps) {
        CTreeListCtrl::CFindResult result;
        const Timing t = Measure([&] { result = c.FindAndShow(step.matcher, step.eStep); });
        const std::string strNote = result.pMatch ? ", found " + c.InfoOf(result.pMatch)->GetText() : ", no match";
        const std::string strWhat = "find step " + std::to_string(++nStep) + ": " + step.pszWhat;
        Report(strWhat.c_str(), t, Target("target <= 0.050 s"), strNote);
    }
}

void Filters(CTreeListCtrl& c)
{
    int nMatches = 0;
    const Timing few = Measure([&] { nMatches = c.ApplyFilter(Pattern("value 77777")); });
    Report("filter 'value 77777'", few, Target("target <= 0.2 s"),
           ", " + std::to_string(nMatches) + " matches, " + std::to_string(c.GetItemCount()) + " rows");
    const Timing many = Measure([&] { nMatches = c.ApplyFilter(Pattern("child")); });
    Report("filter 'child'", many, Target("target <= 0.2 s"),
           ", " + std::to_string(nMatches) + " matches, " + std::to_string(c.GetItemCount()) + " rows");
    const Timing regex = Measure([&] { nMatches = c.ApplyFilter(Pattern("^value \\d*5$", CTreeMatcher::fRegularExpression)); });
    Report("filter regex '^value \\d*5$'", regex, Target("target <= 0.2 s"),
           ", " + std::to_string(nMatches) + " matches, " + std::to_string(c.GetItemCount()) + " rows");
    const Timing clear = Measure([&] { c.ClearFilter(); });
    Report("clear the filter", clear, Target("target <= 0.2 s"), ", " + std::to_string(c.GetItemCount()) + " rows");
}

struct PageFigures
{
    double wallAverage = 0, wallWorst = 0;  // includes time lost to other processes
    double cpuAverage = 0, cpuWorst = 0;    // this thread's own work
};

// Scrolling one page down and painting it at once, from spread-out places.
PageFigures PagePaint(CTreeListCtrl& c)
{
    QScrollBar* bar = c.verticalScrollBar();
    const int nPage = std::max(1, c.GetCountPerPage());
    const int nPages = 200;
    PageFigures f;
    c.viewport()->repaint();
    for (int i = 0; i < nPages; ++i) {
        const int nTarget = (i * 997 * nPage) % std::max(1, bar->maximum());
        bar->setValue(nTarget);
        c.viewport()->repaint();
        const double cpu0 = ThreadCpuSeconds();
        const double wall = Seconds([&] {
            bar->setValue(nTarget + nPage);
            c.viewport()->repaint();
        });
        const double cpu = ThreadCpuSeconds() - cpu0;
        f.wallAverage += wall / nPages;
        f.wallWorst = std::max(f.wallWorst, wall);
        f.cpuAverage += cpu / nPages;
        f.cpuWorst = std::max(f.cpuWorst, cpu);
    }
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--nodes") && i + 1 < argc) {
            g_nRoots = std::max(1, std::atoi(argv[++i]) / (1 + kFanOut + kFanOut * kFanOut));
        } else {
            std::fprintf(stderr, "usage: bench_treelist [--nodes N]\n");
            return 2;
        }
    }
    QApplication app(argc, argv);
    CTreeListCtrl c;
    c.InsertColumn(0, "MIB", LVCFMT_LEFT, 200);
    c.InsertColumn(1, "Type", LVCFMT_LEFT, 100);
    c.InsertColumn(2, "Value", LVCFMT_LEFT, 250);
    c.InsertColumn(3, "OID", LVCFMT_LEFT, 150);
    // Rows are drawn only with a small image list, as the grid has one.
    CImageList images;
    images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 1);
    QImage strip(48, 16, QImage::Format_RGB32);
    strip.fill(Qt::darkCyan);
    CBitmap bitmap;
    bitmap.CreateFromImage(strip);
    images.Add(&bitmap, CLR_NONE);
    c.SetImageList(&images, LVSIL_SMALL);
    c.SetImageSize(16, 16);
    c.resize(800, 600);
    c.show();
    QApplication::processEvents();
    const long baseKb = PeakKb();

    int nNodes = 0;
    const Timing build = Measure([&] { nNodes = Build(c); });
    std::printf("tree: %d roots x %d x %d = %d nodes, three cells each\n", g_nRoots, kFanOut, kFanOut, nNodes);
    Report("build (children without rows)", build, "");
    FindSteps(c);
    for (CTreeItem* root : Roots(c))
        c.CollapseNode(root);

    const Timing expand = Measure([&] { ExpandAll(c); });
    Report("ExpandSubtree of every root", expand, "target <= 1.0 s", ", " + std::to_string(c.GetItemCount()) + " rows");
    Report("first paint after Expand All", Measure([&] { c.viewport()->repaint(); }), "");

    const PageFigures page = PagePaint(c);
    std::printf("scroll a page and paint it           %7.2f ms average, %.2f ms worst; CPU %.2f ms average, %.2f ms "
                "worst (target <= 16 ms), %d rows a page\n",
                page.wallAverage * 1000, page.wallWorst * 1000, page.cpuAverage * 1000, page.cpuWorst * 1000,
                c.GetCountPerPage());
    const long peakKb = PeakKb();
    std::printf("peak memory, every row shown         %7.0f bytes a node (target <= 1024), %.1f MB in all\n",
                static_cast<double>(peakKb - baseKb) * 1024.0 / nNodes, static_cast<double>(peakKb - baseKb) / 1024.0);

    std::size_t nTextBytes = 0;
    const Timing text = Measure([&] { nTextBytes = c.TreeAsText().size(); });
    Report("TreeAsText (the text alone)", text, "", std::to_string(nTextBytes / (1024 * 1024)) + " MB");
    Report("CopyTreeAsText", Measure([&] { c.CopyTreeAsText(); }), "target <= 1.0 s");
    Filters(c);

    const Timing collapse = Measure([&] {
        for (CTreeItem* root : Roots(c))
            c.CollapseNode(root);
    });
    Report("CollapseNode of every root", collapse, "target <= 1.0 s", ", " + std::to_string(c.GetItemCount()) + " rows left");

    const Timing stepwise = Measure([&] { ExpandAllNodeByNode(c); });
    Report("ExpandNode node by node, pre-order", stepwise, "", std::to_string(c.GetItemCount()) + " rows");

    Report("RemoveAllNodes, every row shown", Measure([&] { c.RemoveAllNodes(); }), "target <= 1.0 s");
    return 0;
}

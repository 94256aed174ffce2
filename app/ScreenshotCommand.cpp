#include "app/ScreenshotCommand.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>

namespace {

constexpr int kQueryLimitMs = 60000;

void Pump(int nMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The first node, in pre-order over all roots, labelled strLabel; null: none.
CTreeItem* FindLabel(COidTreeGrid& grid, const std::string& strLabel)
{
    CTreeListCtrl::POSITION pos = grid.FirstRootPosition();
    while (pos) {
        CTreeItem* pTop = grid.NextRoot(pos);
        for (CTreeItem* pCur = pTop;;) {
            if (grid.InfoOf(pCur)->GetText() == strLabel)
                return pCur;
            CTreeItem* pNext = grid.NextInTree(pTop, pCur, TRUE, FALSE);
            if (pNext == pCur || !grid.IsInSubtree(pTop, pNext))
                break;
            pCur = pNext;
        }
    }
    return nullptr;
}

} // namespace

int RunScreenshot(COrvexApp& app, const std::string& strFile)
{
    CMainFrame* pFrame = app.GetMainFrame();
    CChildFrame* pChild = pFrame ? pFrame->MDIGetActive() : nullptr;
    COrvexView* pView = pChild ? pChild->GetActiveView() : nullptr;
    if (!pView) {
        std::fputs("orvex: no document window to take a picture of\n", stderr);
        return 1;
    }
    pFrame->resize(860, 660);
    pView->OnGo();
    QElapsedTimer timer;
    timer.start();
    while (pView->Caption() == "Stop" && timer.elapsed() < kQueryLimitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    COidTreeGrid& grid = pView->Grid();
    if (CTreeItem* pDescr = FindLabel(grid, "ifDescr")) {
        CTreeListCtrl::POSITION pos = grid.FirstChildPosition(pDescr);
        if (CTreeItem* pInstance = pos ? grid.NextChild(pDescr, pos) : nullptr) {
            grid.RevealNode(pInstance);
            grid.InferFromLeaf(pInstance);
        }
    }
    Pump(300);
    if (!pFrame->grab().save(QString::fromLocal8Bit(strFile.c_str()), "PNG")) {
        std::fprintf(stderr, "orvex: cannot write %s\n", strFile.c_str());
        return 1;
    }
    return 0;
}

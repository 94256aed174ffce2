// Start-up time to the visible main window: creates the application object the
// way the program does and prints how long each part took, over several runs
// in fresh processes. Usage: bench_app [runs]   (uses temporary settings folders)
// bench_app --walk-gap HOST:PORT: the largest event-loop gap during a full walk
// in the application (bench/app/run starts an agent and runs every figure).
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// One start-up in this process; prints "qapp init total" in milliseconds.
int MeasureOnce(int argc, char** argv)
{
    QElapsedTimer timer;
    timer.start();
    QApplication qapp(argc, argv);
    const double dApp = double(timer.nsecsElapsed()) / 1e6;
    COrvexApp app(std::vector<std::string>{});
    const bool bUp = app.InitInstance() && app.GetMainFrame()->isVisible();
    const double dTotal = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%.1f %.1f %.1f\n", dApp, dTotal - dApp, dTotal);
    app.ExitInstance();
    return bUp ? 0 : 1;
}

// One full walk of strAgent in the application, started from the command line
// as a user would; prints the walk's time and the largest gap between two
// iterations of the event loop while it and its cleanings ran.
int MeasureWalkGap(int argc, char** argv, const std::string& strAgent)
{
    QApplication qapp(argc, argv);
    COrvexApp app(std::vector<std::string>{"--host", strAgent, "--community", "public", "--go"});
    if (!app.InitInstance())
        return 1;
    COrvexView* pView = app.GetMainFrame()->MDIGetActive()->GetActiveView();
    QElapsedTimer total, sinceLast;
    total.start();
    sinceLast.start();
    qint64 nMaxGapNs = 0;
    QTimer tick;  // a zero timer runs once per loop iteration
    QObject::connect(&tick, &QTimer::timeout, [&] {
        nMaxGapNs = std::max(nMaxGapNs, sinceLast.nsecsElapsed());
        sinceLast.restart();
        if (pView->Caption() == "Go" || total.elapsed() > 600000)
            QApplication::quit();
    });
    tick.start(0);
    QApplication::exec();
    std::printf("full walk in the application: %.2f s, %d rows, largest event-loop gap %.1f ms (target 50)\n",
                double(total.nsecsElapsed()) / 1e9, pView->Grid().GetItemCount(), double(nMaxGapNs) / 1e6);
    app.ExitInstance();
    return pView->Caption() == "Go" ? 0 : 1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--once")
        return MeasureOnce(argc, argv);
    if (argc > 2 && std::string(argv[1]) == "--walk-gap")
        return MeasureWalkGap(argc, argv, argv[2]);
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    std::vector<double> apps, inits, totals;
    for (int n = 0; n < nRuns; ++n) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("home"));
        env.insert("XDG_CONFIG_DIRS", dir.filePath("etc"));
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        child.setProcessEnvironment(env);
        child.start(QString::fromLocal8Bit(argv[0]), {"--once"});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "bench_app: start-up run %d failed\n", n);
            return 1;
        }
        double dApp = 0, dInit = 0, dTotal = 0;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf %lf", &dApp, &dInit, &dTotal) != 3)
            return 1;
        apps.push_back(dApp);
        inits.push_back(dInit);
        totals.push_back(dTotal);
    }
    std::printf("start-up over %d runs (median, ms): QApplication %.1f, InitInstance %.1f, to main window %.1f (target 500)\n",
                nRuns, Median(apps), Median(inits), Median(totals));
    return 0;
}

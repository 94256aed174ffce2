// Start-up time to the visible main window: creates the application object the
// way the program does and prints how long each part took, over several runs
// in fresh processes. Usage: bench_app [runs]   (uses temporary settings folders)
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
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

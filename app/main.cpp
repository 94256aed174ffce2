#include "app/CommandLineHelp.h"
#include "app/OrvexApp.h"
#include "app/ScreenshotCommand.h"
#include "app/WalkCommand.h"
#include "snmp/WalkOptions.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include <QApplication>
#include <cstdio>
#include <thread>

namespace {

void KeepCriticalMessages(QtMsgType type, const QMessageLogContext&, const QString& strMessage)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(strMessage));
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (AsksForHelp(args)) {
        std::fputs(HelpText(OrvexHelp()).c_str(), stdout);
        return 0;
    }
    if (AsksForVersion(args)) {
        std::fputs(VersionText("orvex").c_str(), stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "--walk") {
        // No display is needed: the query runs in windows nobody sees and nothing
        // is drawn, so the platform without fonts starts fastest. Standard error
        // carries the query's error texts only, not the toolkit's chatter.
        qputenv("QT_QPA_PLATFORM", "minimal");
        qInstallMessageHandler(KeepCriticalMessages);
        // The SNMP library's start-up runs while the toolkit and the view start,
        // instead of on the walk thread before its first request.
        std::thread warmUp(SnmpMgrStartup);
        QApplication qapp(argc, argv);
        const int nExit = RunWalkCommand({args.begin() + 1, args.end()}, stdout, stderr);
        warmUp.join();
        return nExit;
    }
    QApplication qapp(argc, argv);
    if (args.size() >= 2 && args[0] == "--screenshot") {
        COrvexApp app(std::vector<std::string>(args.begin() + 2, args.end()));
        const int nExit = app.InitInstance() ? RunScreenshot(app, args[1]) : 1;
        app.ExitInstance();
        return nExit;
    }
    COrvexApp app;
    return app.Run();
}

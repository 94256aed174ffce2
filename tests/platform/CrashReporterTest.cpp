#include "platform/crash/CrashReporter.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

void CrashWithReport(const QString& strDataHome)
{
    setenv("XDG_DATA_HOME", strDataHome.toLocal8Bit().constData(), 1);
    if (!Install(nullptr, "reports@example.org", "Crash Report", "9.8.7"))
        std::_Exit(3);
    volatile int* pNull = nullptr;
    *pNull = 1;  // a real fault, not a raised signal
}

} // namespace

TEST(CrashReporter, FatalSignalWritesAReportAndStillKills)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    GTEST_FLAG_SET(death_test_style, "fast");  // the child must see this temporary folder
    EXPECT_EXIT(CrashWithReport(dir.path()), testing::KilledBySignal(SIGSEGV), "");

    const QDir folder(dir.path() + "/orvex/crashes");
    const QStringList reports = folder.entryList({"crash-*.txt"}, QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    QFile file(folder.filePath(reports.first()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString strReport = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(strReport.startsWith("Signal: SIGSEGV")) << strReport.toStdString();
    EXPECT_TRUE(strReport.contains(QRegularExpression("\nTime: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d UTC\n")));
    EXPECT_TRUE(strReport.contains("\nVersion: 9.8.7\n"));
    EXPECT_TRUE(strReport.contains("\nReport to: reports@example.org\n"));
    EXPECT_TRUE(strReport.contains("\nSubject: Crash Report\n"));
    const QString strTrace = strReport.section("Backtrace:\n", 1);
    EXPECT_GE(strTrace.count('\n'), 3) << "backtrace too short:\n" << strTrace.toStdString();
}

TEST(CrashReporter, UnusableFolderFailsCleanly)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("orvex"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", dir.path().toLocal8Bit().constData(), 1);
    EXPECT_EQ(Install(nullptr, "", "", nullptr), nullptr);
    if (old.isEmpty())
        unsetenv("XDG_DATA_HOME");
    else
        setenv("XDG_DATA_HOME", old.constData(), 1);
}

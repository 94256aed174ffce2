// Opening a document through the desktop, with the desktop replaced by a recorder,
// and asking the desktop for its programs.
#include "platform/shell/Shell.h"
#include "support/FakeDesktop.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

TEST(Shell, OpensExistingDocumentsOnlyAndReportsTheOutcome)
{
    std::vector<QUrl> opened;
    bool bTake = true;
    SetShellOpenHook([&](const QUrl& url) { opened.push_back(url); return bTake; });

    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("docs")));
    QFile file(dir.path() + "/docs/read me.html");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const std::string strDocs = (dir.path() + "/docs/").toStdString();

    EXPECT_EQ(ShellExecute(nullptr, nullptr, "read me.html", nullptr, strDocs.c_str(), SW_SHOWNORMAL), 42);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.path() + "/docs/read me.html"));

    // A missing file or an empty name reaches no desktop handler at all.
    EXPECT_EQ(ShellExecute(nullptr, nullptr, "missing.html", nullptr, strDocs.c_str(), SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(nullptr, nullptr, "", nullptr, strDocs.c_str(), SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(nullptr, nullptr, "docs", nullptr, dir.path().toStdString().c_str(), SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_EQ(opened.size(), 1u);

    // A relative folder is taken from the current folder.
    const QString strOld = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(ShellExecute(nullptr, nullptr, "read me.html", nullptr, "docs/", SW_SHOWNORMAL), 42);
    QDir::setCurrent(strOld);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], opened[0]);

    // The desktop refusing the document is a failure.
    bTake = false;
    EXPECT_EQ(ShellExecute(nullptr, nullptr, "read me.html", nullptr, strDocs.c_str(), SW_SHOWNORMAL), SE_ERR_NOASSOC);
    SetShellOpenHook({});
}

TEST(Shell, DefaultApplicationIsWhatTheDesktopNamesOrNothing)
{
    {
        const CFakeDesktop desktop("web-browser.desktop");
        EXPECT_EQ(DefaultApplication("text/html"), "web-browser.desktop");
        EXPECT_EQ(DefaultApplication("image/png"), "");  // the desktop names none for it
    }
    {
        const CFakeDesktop desktop("");
        EXPECT_EQ(DefaultApplication("text/html"), "");
    }
    {
        const CFakeDesktop desktop("half-answer.desktop", 3);  // an answer with a failure status counts for nothing
        EXPECT_EQ(DefaultApplication("text/html"), "");
    }
    // Without the desktop's tools at all.
    const std::string strOldPath = std::getenv("PATH");
    const QTemporaryDir empty;
    setenv("PATH", empty.path().toStdString().c_str(), 1);
    EXPECT_EQ(DefaultApplication("text/html"), "");
    setenv("PATH", strOldPath.c_str(), 1);
}

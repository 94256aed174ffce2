// The Help menu: the help command (where it looks for the manual, what it asks
// the shell), the shipped manual itself, and the About box.
#include "app/AboutDlg.h"
#include "app/DialogBackground.h"
#include "app/HelpManual.h"
#include "platform/shell/Shell.h"
#include "snmp/AppSettings.h"
#include "ui/MyStatic.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct HelpCommand : ::testing::Test
{
    HelpCommand()
    {
        SetShellOpenHook([this](const QUrl& url) { opened.push_back(url); return true; });
    }
    ~HelpCommand() override
    {
        SetShellOpenHook({});
        AppSettings.Reset();
    }
    static void SetHomePath(const std::string& str)
    {
        std::memset(AppSettings.HomePath, 0, sizeof AppSettings.HomePath);
        std::memcpy(AppSettings.HomePath, str.data(), std::min(str.size(), sizeof AppSettings.HomePath));
    }
    static void PutManual(const QString& strDir)
    {
        ASSERT_TRUE(QDir().mkpath(strDir));
        QFile file(strDir + "/" + kHelpManualFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    std::vector<QUrl> opened;
    QTemporaryDir temp;
};

// base followed by nested folders, cchTotal characters in all, ending in "/".
std::string NestedPath(const std::string& strBase, std::size_t cchTotal)
{
    std::string str = strBase;
    while (cchTotal - str.size() - 1 > 52)
        str += "/" + std::string(50, 'd');
    str += "/" + std::string(cchTotal - str.size() - 2, 'e');
    return str + "/";
}

} // namespace

TEST_F(HelpCommand, ManualIsOpenedFromHelpUnderTheHomePath)
{
    EXPECT_EQ(HelpDirectory("D:/Tools/App/"), "D:/Tools/App/Help/");
    EXPECT_EQ(HelpDirectory(""), "Help/");

    SetHomePath(temp.path().toStdString() + "/");
    OpenHelpManual();
    EXPECT_TRUE(opened.empty());  // no manual: nothing is opened, nothing shown

    PutManual(temp.path() + "/Help");
    OpenHelpManual();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(temp.path() + "/Help/Orvex.html"));
}

TEST_F(HelpCommand, HomePathsThatFillTheirWholeBufferStillWork)
{
    // Nested folders make a home path of exactly 259 and of 260 characters (the
    // latter without a terminating NUL in its buffer).
    for (const std::size_t cchHome : {std::size_t(259), std::size_t(260)}) {
        const std::string strHome = NestedPath(temp.path().toStdString(), cchHome);
        ASSERT_EQ(strHome.size(), cchHome);
        PutManual(QString::fromStdString(strHome) + "Help");
        SetHomePath(strHome);
        opened.clear();
        OpenHelpManual();
        ASSERT_EQ(opened.size(), 1u) << cchHome;
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(strHome) + "Help/Orvex.html"));
    }
}

// The shipped manual: every picture it shows exists, every link inside it has a
// target, and it covers what the help command promises.
TEST(HelpManualFile, PicturesAndLinksResolve)
{
    const char* pszSource = std::getenv("ORVEX_SOURCE_DIR");
    ASSERT_NE(pszSource, nullptr);
    const QString strHelp = QString::fromLocal8Bit(pszSource) + "/resources/Help/";
    QFile file(strHelp + kHelpManualFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());

    static const QRegularExpression img(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    int nPictures = 0;
    for (auto it = img.globalMatch(html); it.hasNext(); ++nPictures) {
        const QString strSrc = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(strHelp + strSrc)) << strSrc.toStdString();
    }
    EXPECT_GT(nPictures, 0);

    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString strId = it.next().captured(1);
        EXPECT_TRUE(html.contains("id=\"" + strId + "\"")) << strId.toStdString();
    }
    for (const char* pszTopic : {"Querying...", "Cleaning...", "Inference", "Update Failed!", "Copy Tree",
                                 "Print Preview", "Settings", "--walk", "--community", "history"})
        EXPECT_TRUE(html.contains(QString::fromLatin1(pszTopic))) << pszTopic;
}

TEST(AboutDlg, ShowsVersionAndIconAndClosesWithOkOrEscape)
{
    CAboutDlg dlg;
    dlg.Create();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About Orvex"));
    auto* pVersion = qobject_cast<CMyStatic*>(dlg.GetDlgItem(CAboutDlg::IDC_VERSION));
    ASSERT_NE(pVersion, nullptr);
    EXPECT_EQ(pVersion->text(), QStringLiteral("Orvex Version 2.0.0"));
    EXPECT_EQ(pVersion->textFormat(), Qt::PlainText);

    // The icon covers its 100 x 100 square from (40, 30): its middle is neither the
    // white panel nor the gradient, and just outside it the panel is white again.
    const QImage image = dlg.grab().toImage();
    const QPoint middle(CAboutDlg::kIconX + CAboutDlg::kIconSize / 2, CAboutDlg::kIconY + CAboutDlg::kIconSize / 2);
    EXPECT_NE(image.pixelColor(middle), QColor(Qt::white));
    const QPoint besideIcon(CAboutDlg::kIconX - 5, CAboutDlg::kIconY + CAboutDlg::kIconSize / 2);
    EXPECT_EQ(image.pixelColor(besideIcon), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(2, image.height() - kButtonStripHeight), QColor(Qt::black));

    QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
    EXPECT_EQ(dlg.Result(), IDOK);
    EXPECT_FALSE(dlg.isVisible());

    CAboutDlg modal;
    QTimer::singleShot(0, &modal, [&] { QTest::keyClick(&modal, Qt::Key_Escape); });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    QTimer::singleShot(0, &modal, [&] { QTest::keyClick(&modal, Qt::Key_Return); });
    EXPECT_EQ(modal.DoModal(), IDOK);  // OK is the default button
}

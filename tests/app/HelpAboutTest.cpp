// The Help menu: the help command (where it looks for the manual, what it asks
// the shell), the shipped manual itself, and the About box.
#include "app/AboutDlg.h"
#include "app/DialogBackground.h"
#include "app/HelpManual.h"
#include "app/HelpWindow.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/shell/Shell.h"
#include "snmp/AppSettings.h"
#include "support/FakeDesktop.h"
#include "ui/MyStatic.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
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
        SetShellOpenHook([this](const QUrl& url) { opened.push_back(url); return bLaunches; });
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            messages.push_back(text);
            return IDOK;
        });
    }
    ~HelpCommand() override
    {
        SetShellOpenHook({});
        SetMessageBoxHook({});
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
    // The shipped manual and its pictures under a fresh home folder.
    std::string ShippedManualHome() const
    {
        const QString strSource = QString::fromLocal8Bit(std::getenv("ORVEX_SOURCE_DIR")) + "/resources/Help";
        const QString strHelp = temp.path() + "/Help";
        EXPECT_TRUE(QDir().mkpath(strHelp + "/images"));
        for (const QString& strName : QDir(strSource).entryList(QDir::Files))
            EXPECT_TRUE(QFile::copy(strSource + "/" + strName, strHelp + "/" + strName));
        for (const QString& strName : QDir(strSource + "/images").entryList(QDir::Files))
            EXPECT_TRUE(QFile::copy(strSource + "/images/" + strName, strHelp + "/images/" + strName));
        return temp.path().toStdString() + "/";
    }
    std::vector<QUrl> opened;
    std::vector<std::string> messages;
    bool bLaunches = true;
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

QList<CHelpWindow*> HelpWindows()
{
    QList<CHelpWindow*> windows;
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        if (auto* pWindow = qobject_cast<CHelpWindow*>(pWidget))
            windows.push_back(pWindow);
    return windows;
}

QToolButton* ButtonOf(CHelpWindow& window, QAction* pAction)
{
    for (QToolBar* pBar : window.findChildren<QToolBar*>())
        if (auto* pButton = qobject_cast<QToolButton*>(pBar->widgetForAction(pAction)))
            return pButton;
    return nullptr;
}

// Clicks the first link whose text is strText, where it is drawn.
void ClickLink(QTextBrowser& browser, const QString& strText)
{
    QTextCursor cursor = browser.document()->find(strText);
    ASSERT_FALSE(cursor.isNull()) << strText.toStdString();
    ASSERT_TRUE(cursor.charFormat().isAnchor()) << strText.toStdString();
    browser.setTextCursor(cursor);
    browser.ensureCursorVisible();
    cursor.setPosition(cursor.selectionStart() + 1);
    const QPoint at = browser.cursorRect(cursor).center();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
}

} // namespace

TEST_F(HelpCommand, ManualIsOpenedFromHelpUnderTheHomePath)
{
    const CFakeDesktop desktop("browser.desktop");
    EXPECT_EQ(HelpDirectory("D:/Tools/App/"), "D:/Tools/App/Help/");
    EXPECT_EQ(HelpDirectory(""), "Help/");

    // No manual: the desktop is not asked, and the user is told where it was looked for.
    SetHomePath(temp.path().toStdString() + "/");
    OpenHelpManual(nullptr);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(temp.path().toStdString() + "/Help/Orvex.html"), std::string::npos) << messages[0];

    PutManual(temp.path() + "/Help");
    OpenHelpManual(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(temp.path() + "/Help/Orvex.html"));
    EXPECT_TRUE(HelpWindows().isEmpty());
}

TEST_F(HelpCommand, HomePathsThatFillTheirWholeBufferStillWork)
{
    const CFakeDesktop desktop("browser.desktop");
    // Nested folders make a home path of exactly 259 and of 260 characters (the
    // latter without a terminating NUL in its buffer).
    for (const std::size_t cchHome : {std::size_t(259), std::size_t(260)}) {
        const std::string strHome = NestedPath(temp.path().toStdString(), cchHome);
        ASSERT_EQ(strHome.size(), cchHome);
        PutManual(QString::fromStdString(strHome) + "Help");
        SetHomePath(strHome);
        opened.clear();
        OpenHelpManual(nullptr);
        ASSERT_EQ(opened.size(), 1u) << cchHome;
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(strHome) + "Help/Orvex.html"));
    }
}

TEST_F(HelpCommand, WithoutAProgramForHtmlTheManualOpensInTheHelpWindow)
{
    const CFakeDesktop desktop("");
    SetHomePath(ShippedManualHome());
    QWidget owner;
    OpenHelpManual(&owner);
    EXPECT_TRUE(opened.empty());  // the desktop would have shown nothing
    EXPECT_TRUE(messages.empty());
    auto* pWindow = owner.findChild<CHelpWindow*>();
    ASSERT_NE(pWindow, nullptr);
    EXPECT_TRUE(pWindow->isVisible());
    EXPECT_TRUE(pWindow->isWindow());
    QTextBrowser& browser = *pWindow->Browser();
    const QUrl manual = QUrl::fromLocalFile(temp.path() + "/Help/Orvex.html");
    EXPECT_EQ(browser.source(), manual);
    EXPECT_TRUE(browser.toPlainText().contains("Querying..."));
    EXPECT_FALSE(pWindow->windowTitle().isEmpty());

    // Every picture of the manual is loaded from its images folder.
    pWindow->grab();  // lays the document out, which loads its pictures
    int nPictures = 0;
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextImageFormat image = it.fragment().charFormat().toImageFormat(); image.isValid()) {
                ++nPictures;
                const QVariant picture = browser.document()->resource(QTextDocument::ImageResource, image.name());
                EXPECT_FALSE(picture.value<QImage>().isNull() && picture.value<QPixmap>().isNull())
                    << image.name().toStdString();
            }
    EXPECT_GT(nPictures, 0);

    // A link of the contents, then Back and Forward, with the buttons a user clicks.
    EXPECT_FALSE(pWindow->BackAction()->isEnabled());
    ClickLink(browser, "Copying the tree");
    EXPECT_EQ(browser.source().fragment(), "copy");
    ASSERT_TRUE(pWindow->BackAction()->isEnabled());
    QTest::mouseClick(ButtonOf(*pWindow, pWindow->BackAction()), Qt::LeftButton);
    EXPECT_EQ(browser.source(), manual);
    ASSERT_TRUE(pWindow->ForwardAction()->isEnabled());
    QTest::mouseClick(ButtonOf(*pWindow, pWindow->ForwardAction()), Qt::LeftButton);
    EXPECT_EQ(browser.source().fragment(), "copy");

    // Help again: the same window comes back to the front, not a second one.
    OpenHelpManual(&owner);
    EXPECT_EQ(owner.findChildren<CHelpWindow*>().size(), 1);
    EXPECT_FALSE(pWindow->testAttribute(Qt::WA_QuitOnClose));  // never keeps Orvex running
}

TEST_F(HelpCommand, ALaunchThatFailsFallsBackToTheHelpWindow)
{
    const CFakeDesktop desktop("browser.desktop");
    SetHomePath(ShippedManualHome());
    bLaunches = false;
    OpenHelpManual(nullptr);
    EXPECT_EQ(opened.size(), 1u);
    const QList<CHelpWindow*> windows = HelpWindows();
    ASSERT_EQ(windows.size(), 1);
    QPointer<CHelpWindow> pWindow = windows[0];
    EXPECT_TRUE(pWindow->isVisible());
    // Without an owner the window goes when it is closed.
    pWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(pWindow.isNull());
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

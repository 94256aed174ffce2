// `cmake --install` into a fresh prefix: the tree of files, the desktop entry and
// AppStream metadata as the desktop's own validators see them, the icons, the
// manual pages as man renders them, and the installed programs at work.
#include "app/CommandLineHelp.h"
#include "app/SettingsStore.h"
#include "support/InstallLayout.h"
#include "support/SnmpdFixture.h"
#include "support/TempXdg.h"
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

class InstallTree : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pPrefix = new QTemporaryDir;
        s_install = RunProgram(TestSetting("CMAKE"), {"--install", TestSetting("BINARY_DIR"), "--prefix", s_pPrefix->path()});
    }
    static void TearDownTestSuite()
    {
        delete s_pPrefix;
        s_pPrefix = nullptr;
    }
    void SetUp() override { ASSERT_EQ(s_install.nExit, 0) << s_install.strErr.toStdString(); }

    static QString Path(const QString& strRelative) { return s_pPrefix->path() + "/" + strRelative; }
    static QString DesktopFile() { return Path(QStringLiteral("share/applications/%1.desktop").arg(kAppId)); }

    static QTemporaryDir* s_pPrefix;  // Owned; the suite's prefix.
    static CProgramRun s_install;
};

QTemporaryDir* InstallTree::s_pPrefix = nullptr;
CProgramRun InstallTree::s_install;

std::string Text(const CProgramRun& run)
{
    return QString("exit %1\n%2%3").arg(run.nExit).arg(run.strOut, run.strErr).toStdString();
}

// The rendered page with its options' and exit codes' texts; groff's warnings on standard error.
void ExpectManPageRenders(const QString& strPage, const CProgramHelp& help)
{
    QProcessEnvironment env;
    env.insert("MANWIDTH", "80");
    env.insert("LC_ALL", "C");
    const CProgramRun run = RunProgram("man", {"--warnings", "-l", strPage}, env);
    ASSERT_EQ(run.nExit, 0) << Text(run);
    EXPECT_EQ(run.strErr, "") << help.pszName;
    const QString strText = run.strOut;
    for (const char* pszSection : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "FILES", "SEE ALSO"})
        EXPECT_TRUE(strText.contains(QRegularExpression(QStringLiteral("^%1$").arg(pszSection),
                                                        QRegularExpression::MultilineOption)))
            << help.pszName << ": " << pszSection;
    EXPECT_TRUE(strText.contains(QString(help.pszName) + " - " + help.pszSummary)) << help.pszName;
    for (const COptionGroupHelp& group : help.groups)
        for (const COptionHelp& option : group.options)
            for (const std::string& strName : OptionNames(option))
                EXPECT_TRUE(strText.contains(QRegularExpression("(\\n +|, )" + QRegularExpression::escape(QString::fromStdString(strName)) + "\\b")))
                    << help.pszName << ": " << strName;
    for (const CExitCodeHelp& exit : help.exitCodes)
        EXPECT_TRUE(strText.contains(QRegularExpression(QStringLiteral("\\n +%1\\s+\\S").arg(exit.nCode))))
            << help.pszName << ": exit " << exit.nCode;
}

// The keys of a desktop entry's main group ("Exec" -> "orvex"), every key present.
std::map<QString, QString> DesktopEntry(const QString& strFile)
{
    std::map<QString, QString> entry;
    QFile file(strFile);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    bool bMain = false;
    for (const QString& strLine : QString::fromUtf8(file.readAll()).split('\n')) {
        if (strLine.startsWith('['))
            bMain = strLine == "[Desktop Entry]";
        else if (bMain && strLine.contains('='))
            entry[strLine.section('=', 0, 0)] = strLine.section('=', 1);
    }
    for (const char* pszKey : {"Exec", "Icon", "Categories"})
        entry.try_emplace(pszKey);
    return entry;
}

} // namespace

TEST_F(InstallTree, HoldsExactlyTheExpectedFilesWithTheManualAsShipped)
{
    const QString strSource = TestSetting("SOURCE_DIR");
    EXPECT_EQ(FilesBelow(s_pPrefix->path()).join('\n').toStdString(),
              ExpectedInstalledFiles(strSource).join('\n').toStdString());
    for (const QString& strFile : FilesBelow(strSource + "/resources/Help")) {
        QFile shipped(strSource + "/resources/Help/" + strFile), installed(Path("share/orvex/Help/" + strFile));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly) && installed.open(QIODevice::ReadOnly)) << strFile.toStdString();
        EXPECT_TRUE(shipped.readAll() == installed.readAll()) << strFile.toStdString();
    }
    for (const char* pszProgram : {"bin/orvex", "bin/orvex-walk"})
        EXPECT_TRUE(QFileInfo(Path(pszProgram)).isExecutable()) << pszProgram;
    // The installed program finds its manual under share/orvex/.
    EXPECT_EQ(HomeFolderOf(Path("bin/").toStdString()), Path("share/orvex/").toStdString());
}

TEST_F(InstallTree, DesktopEntryAndMetadataPassTheValidatorsAndPointAtWhatIsInstalled)
{
    const CProgramRun desktop = RunProgram("desktop-file-validate", {DesktopFile()});
    EXPECT_EQ(desktop.nExit, 0) << Text(desktop);
    EXPECT_EQ(desktop.strOut + desktop.strErr, "");  // not even a hint

    const QString strMetainfo = Path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId));
    const CProgramRun metainfo = RunProgram("appstreamcli", {"validate", "--no-net", "--explain", strMetainfo});
    EXPECT_EQ(metainfo.nExit, 0) << Text(metainfo);
    EXPECT_FALSE(metainfo.strOut.contains(QRegularExpression("^E: ", QRegularExpression::MultilineOption)))
        << Text(metainfo);

    const std::map<QString, QString> entry = DesktopEntry(DesktopFile());
    EXPECT_TRUE(QFileInfo(Path("bin/" + entry.at("Exec").section(' ', 0, 0))).isExecutable());
    EXPECT_EQ(entry.at("Icon"), kAppId);
    const QStringList categories = entry.at("Categories").split(';', Qt::SkipEmptyParts);
    EXPECT_TRUE(categories.contains("Network") && categories.contains("Monitor")) << categories.join(';').toStdString();

    QFile xml(strMetainfo);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString strXml = QString::fromUtf8(xml.readAll());
    EXPECT_TRUE(strXml.contains(QStringLiteral("<id>%1</id>").arg(kAppId)));
    EXPECT_TRUE(strXml.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kAppId)));
    EXPECT_TRUE(strXml.contains(QStringLiteral("<release version=\"%1\"").arg(TestSetting("VERSION"))));
    EXPECT_FALSE(strXml.contains("<screenshot"));  // only absolute URLs would do
}

TEST_F(InstallTree, IconsHaveTheirSizesAndTheScalableOneIsAPicture)
{
    for (const int nSize : {16, 32, 48, 128, 256}) {
        QImageReader reader(Path(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(nSize).arg(kAppId)));
        const QImage icon = reader.read();
        ASSERT_FALSE(icon.isNull()) << nSize << ": " << reader.errorString().toStdString();
        EXPECT_EQ(icon.size(), QSize(nSize, nSize));
        EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << nSize;  // rounded tile on a clear ground
        EXPECT_EQ(icon.pixelColor(nSize / 2, nSize / 2).alpha(), 255) << nSize;
    }
    QImageReader svg(Path(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kAppId)));
    svg.setScaledSize(QSize(64, 64));
    const QImage scalable = svg.read();
    ASSERT_FALSE(scalable.isNull()) << svg.errorString().toStdString();
    EXPECT_EQ(scalable.pixelColor(32, 32).alpha(), 255);
}

TEST_F(InstallTree, ManualPagesRenderWithEveryOptionAndExitCode)
{
    ExpectManPageRenders(Path("share/man/man1/orvex.1.gz"), OrvexHelp());
    ExpectManPageRenders(Path("share/man/man1/orvex-walk.1.gz"), OrvexWalkHelp());
}

TEST_F(InstallTree, InstalledProgramsRunFromThePrefix)
{
    for (const char* pszProgram : {"orvex", "orvex-walk"}) {
        const CProgramRun version = RunProgram(Path(QString("bin/") + pszProgram), {"--version"});
        EXPECT_EQ(version.nExit, 0) << Text(version);
        EXPECT_TRUE(version.strOut.startsWith(QString(pszProgram) + " " + TestSetting("VERSION") + "\n"))
            << Text(version);
    }
    const CTempXdg xdg;
    const CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    const CProgramRun walk = RunProgram(Path("bin/orvex-walk"), {"--base", ".1.3.6.1.2.1.1", "--timeout", "5",
                                                              QString::fromStdString(agent.Address()), "public"});
    EXPECT_EQ(walk.nExit, 0) << Text(walk);
    EXPECT_TRUE(walk.strOut.startsWith(".1.3.6.1.2.1.1.1.0\tsystem.sysDescr.0\tOCTETSTRING\t")) << Text(walk);
}

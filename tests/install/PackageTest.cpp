// The Debian package as scripts/package makes it: its fields and files, lintian,
// and (as root only) installing it with dpkg, walking an agent with the
// installed orvex-walk and purging it without a file left behind.
#include "support/InstallLayout.h"
#include "support/SnmpdFixture.h"
#include "support/TempXdg.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class DebianPackage : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pOut = new QTemporaryDir;
        s_pack = RunProgram(TestSetting("CPACK"), {"--config", TestSetting("BINARY_DIR") + "/CPackConfig.cmake", "-B",
                                                   s_pOut->path()},
                            {}, 600000);
        const QStringList debs = QDir(s_pOut->path()).entryList({"*.deb"}, QDir::Files);
        if (debs.size() == 1)
            s_strDeb = s_pOut->path() + "/" + debs[0];
    }
    static void TearDownTestSuite()
    {
        delete s_pOut;
        s_pOut = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ(s_pack.nExit, 0) << (s_pack.strOut + s_pack.strErr).toStdString();
        ASSERT_FALSE(s_strDeb.isEmpty()) << "cpack made no single .deb";
    }

    static QString Field(const char* pszName)
    {
        return RunProgram("dpkg-deb", {"--field", s_strDeb, pszName}).strOut.trimmed();
    }
    // The package's files (not folders), as absolute paths.
    static QStringList Files()
    {
        QStringList files;
        const CProgramRun list = RunProgram("dpkg-deb", {"--contents", s_strDeb});
        for (const QString& strLine : list.strOut.split('\n', Qt::SkipEmptyParts))
            if (!strLine.startsWith('d'))
                files.push_back(strLine.section(' ', -1).mid(1));  // "./usr/bin/orvex" -> "/usr/bin/orvex"
        files.sort();
        return files;
    }

    static QTemporaryDir* s_pOut;  // Owned; where cpack writes.
    static CProgramRun s_pack;
    static QString s_strDeb;
};

QTemporaryDir* DebianPackage::s_pOut = nullptr;
CProgramRun DebianPackage::s_pack;
QString DebianPackage::s_strDeb;

std::string Text(const CProgramRun& run)
{
    return QString("exit %1\n%2%3").arg(run.nExit).arg(run.strOut, run.strErr).toStdString();
}

// Serialises the tests that install the package: several checkouts may run
// their suites on one machine, and dpkg takes one change at a time.
class CInstallLock
{
public:
    CInstallLock() : m_fd(::open("/tmp/orvex-package-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~CInstallLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CInstallLock(const CInstallLock&) = delete;
    CInstallLock& operator=(const CInstallLock&) = delete;

private:
    int m_fd;
};

} // namespace

TEST_F(DebianPackage, CarriesTheInstalledTreeWithComputedDependencies)
{
    EXPECT_EQ(Field("Package"), "orvex");
    EXPECT_EQ(Field("Version"), TestSetting("VERSION"));
    EXPECT_EQ(Field("Section"), "net");
    EXPECT_FALSE(Field("Maintainer").isEmpty());
    // Depends comes from the libraries the programs link (shlibdeps), with versions.
    const QString strDepends = Field("Depends");
    for (const char* pszLibrary : {"libc6 (>=", "libsnmp40 (>=", "libqt6widgets6 (>=", "libqt6printsupport6 (>="})
        EXPECT_TRUE(strDepends.contains(pszLibrary)) << pszLibrary << " in " << strDepends.toStdString();
    const QStringList description = Field("Description").split('\n');
    EXPECT_GE(description.size(), 3) << "a summary and a long description";

    QStringList expected;
    for (const QString& strFile : ExpectedInstalledFiles(TestSetting("SOURCE_DIR")))
        expected.push_back("/usr/" + strFile);
    EXPECT_EQ(Files(), expected);
}

TEST_F(DebianPackage, LintianFindsNoErrorOrWarning)
{
    // lintian-overrides are not used: what lintian still says is explained in docs/DECISIONS.md.
    const CProgramRun lint = RunProgram("lintian", {"--fail-on", "error,warning", "--suppress-tags-from-file",
                                                    TestSetting("SOURCE_DIR") + "/packaging/lintian-accepted",
                                                    s_strDeb},
                                        {}, 600000);
    EXPECT_EQ(lint.nExit, 0) << Text(lint);
}

TEST_F(DebianPackage, InstallsWalksAndPurgesWithoutATrace)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "skipped: installing a package needs root (CI runs the tests as root)";
    const CInstallLock lock;
    const CProgramRun install = RunProgram("dpkg", {"--install", s_strDeb}, {}, 300000);
    ASSERT_EQ(install.nExit, 0) << Text(install);
    const QStringList files = Files();
    for (const QString& strFile : files)
        EXPECT_TRUE(QFileInfo::exists(strFile)) << strFile.toStdString();

    {
        const CTempXdg xdg;
        const CSnmpdFixture agent;
        EXPECT_TRUE(agent.IsRunning()) << agent.Error();
        const CProgramRun walk = RunProgram("/usr/bin/orvex-walk", {"--base", ".1.3.6.1.2.1.1", "--timeout", "5",
                                                                   QString::fromStdString(agent.Address()), "public"});
        EXPECT_EQ(walk.nExit, 0) << Text(walk);
        EXPECT_TRUE(walk.strOut.startsWith(".1.3.6.1.2.1.1.1.0\tsystem.sysDescr.0\tOCTETSTRING\t")) << Text(walk);
        const CProgramRun version = RunProgram("/usr/bin/orvex", {"--version"});
        EXPECT_EQ(version.nExit, 0) << Text(version);
    }

    const CProgramRun purge = RunProgram("dpkg", {"--purge", "orvex"}, {}, 300000);
    ASSERT_EQ(purge.nExit, 0) << Text(purge);
    for (const QString& strFile : files)
        EXPECT_FALSE(QFileInfo::exists(strFile)) << strFile.toStdString() << " is left behind";
    for (const char* pszFolder : {"/usr/share/orvex", "/usr/share/doc/orvex"})
        EXPECT_FALSE(QFileInfo::exists(pszFolder)) << pszFolder << " is left behind";
    const CProgramRun status = RunProgram("dpkg-query", {"--status", "orvex"});
    EXPECT_NE(status.nExit, 0) << "dpkg still knows the package";
}

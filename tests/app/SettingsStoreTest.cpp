// The stored settings and the host history: defaults, round trips, damaged
// or misfitting stored values, unwritable hives.
#include "app/HistoryTable.h"
#include "app/SettingsMigration.h"
#include "app/SettingsStore.h"
#include "snmp/AppSettings.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const std::string kKey = "SOFTWARE\\Orvex\\Settings\\";
const std::string kAppKey = "SOFTWARE\\Orvex\\App\\";

std::string Host(int n)
{
    return "host" + std::to_string(n);
}

// Every valid row as "host/community", most recent first.
std::vector<std::string> Rows(const CHistoryTable& table)
{
    std::vector<std::string> rows;
    for (int nRow = 0; nRow < table.Count(); ++nRow)
        rows.push_back(table.Cell(0, nRow) + "/" + table.Cell(1, nRow));
    return rows;
}

class HistoryTableTest : public ::testing::Test
{
protected:
    void SetUp() override { m_table.Init("Host", 2, 30); }

    CTempXdg m_xdg;
    CHistoryTable m_table;
};

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { AppSettings.Reset(); }
    void TearDown() override
    {
        g_history.Release();
        AppSettings.Reset();
    }
    // Every field away from its default, so that a load must set each one.
    static void SetAllOffDefault(const std::string& strBase)
    {
        AppSettings.Cleaning = AppSettings.Inferance = AppSettings.WriteOn = 0;
        AppSettings.InferColor = 0x00112233;
        AppSettings.Timeout = 30;
        AppSettings.Retries = 7;
        AppSettings.Version = 2;
        AppSettings.MaxRepetitions = 40;
        AppSettings.SetBase(strBase);
    }
    // The whole record on one line.
    static std::string Describe()
    {
        return std::to_string(AppSettings.Cleaning) + "," + std::to_string(AppSettings.Inferance) + ","
            + std::to_string(AppSettings.InferColor) + "," + std::to_string(AppSettings.WriteOn) + ","
            + std::to_string(AppSettings.Timeout) + "," + std::to_string(AppSettings.Retries) + ","
            + std::to_string(AppSettings.Version) + "," + std::to_string(AppSettings.MaxRepetitions) + ","
            + AppSettings.Base();
    }
    static std::string ExecutableFolder() { return QCoreApplication::applicationDirPath().toStdString() + "/"; }
    void BlockHive(const char* variable) const
    {
        const std::string strBlocker = m_xdg.UserHiveDir().toStdString() + "-blocker";
        RegProbeWriteFile(strBlocker, "x");
        setenv(variable, strBlocker.c_str(), 1);
    }

    const std::string m_strDefaults = "1,1,13684944,1,16,3,1,25,.1.3";
    CTempXdg m_xdg;
};
}  // namespace

TEST_F(SettingsStoreTest, FirstRunGivesDefaultsAndSaveWritesWhatChanged)
{
    EXPECT_EQ(LoadSettings(), 1);  // no key yet: loading creates nothing
    EXPECT_EQ(Describe(), m_strDefaults);
    EXPECT_EQ(SaveSettings(), 0);  // nothing changed, nothing written
    EXPECT_FALSE(QFile::exists(m_xdg.UserHiveFile()));

    EXPECT_EQ(LoadSettings(), 1);
    EXPECT_EQ(g_history.Name(), "Host");
    EXPECT_EQ(g_history.Capacity(), 30);

    SetAllOffDefault(std::string(300, '7'));
    g_history.AddEntry({"agent", "public"});
    EXPECT_EQ(SaveSettings(), 0);
    EXPECT_EQ(g_history.Capacity(), 0);  // released
    const std::vector<std::pair<std::string, CRegProbeValue>> stored = {
        {"Cleaning", {REG_BINARY, {0}}},
        {"Inferance", {REG_BINARY, {0}}},
        {"InferColor", {REG_DWORD, {0x33, 0x22, 0x11, 0}}},
        {"WriteOn", {REG_BINARY, {0}}},
        {"Timeout", {REG_DWORD, {30, 0, 0, 0}}},
        {"Retries", {REG_DWORD, {7, 0, 0, 0}}},
        {"Base", {REG_SZ, RegProbeBytes(std::string(259, '7'), true)}},
        {"Version", {REG_DWORD, {2, 0, 0, 0}}},
        {"MaxRepetitions", {REG_DWORD, {40, 0, 0, 0}}},
        {"CacheSize-Host", {REG_DWORD, {1, 0, 0, 0}}},
    };
    for (const auto& [name, value] : stored)
        EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, name), value) << name;

    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(Describe(), "0,0,1122867,0,30,7,2,40," + std::string(259, '7'));
    EXPECT_EQ(g_history.Cell(1, 0), "public");
}

TEST_F(SettingsStoreTest, StoredValuesLoadUnclampedAndMisfitsFallBack)
{
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Cleaning", 0);  // 4 bytes for a 1-byte field
    RegProbePut(HKEY_CURRENT_USER, kKey, "Inferance", REG_BINARY, {0});
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 0);
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Retries", 1000);
    RegProbePut(HKEY_CURRENT_USER, kKey, "Version", REG_BINARY, {2});
    RegProbePut(HKEY_CURRENT_USER, kKey, "Base", REG_SZ, RegProbeBytes(std::string(300, '1'), true));
    SetAllOffDefault(".1.3.6");
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(Describe(), "1,0,13684944,1,0,1000,2,25,.1.3");

    EXPECT_EQ(AppSettings.MaxRepetitions, CAppSettings::kDefaultMaxRepetitions);  // none stored

    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 1000);
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "MaxRepetitions", 0);
    RegProbePut(HKEY_CURRENT_USER, kKey, "Base", REG_SZ, RegProbeBytes(".1.3.6.1.2.1.1", true));
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.MaxRepetitions, 0u);  // GET-NEXT walks
    EXPECT_EQ(AppSettings.Timeout, 1000);
    EXPECT_EQ(AppSettings.Base(), ".1.3.6.1.2.1.1");
}

TEST_F(SettingsStoreTest, MibPathDefaultsRoundTripsLongAndFallsBackWhenTooLong)
{
    LoadSettings();  // first run: nothing stored
    EXPECT_EQ(AppSettings.MibPath(), "$XDG_DATA_HOME/orvex/mibs:/usr/share/snmp/mibs:/var/lib/mibs/*");

    // Longer than the 259 characters of Base: a path of many folders.
    std::string strLong;
    while (strLong.size() < 1000)
        strLong += "/opt/vendor/mibs" + std::to_string(strLong.size()) + ":";
    AppSettings.SetMibPath(strLong);
    EXPECT_EQ(SaveSettings(), 0);
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "MibPath"), (CRegProbeValue{REG_SZ, RegProbeBytes(strLong, true)}));
    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.MibPath(), strLong);

    RegProbePut(HKEY_CURRENT_USER, kKey, "MibPath", REG_SZ, RegProbeBytes(std::string(5000, 'm'), true));
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.MibPath(), CAppSettings::kDefaultMibPath);
}

TEST_F(SettingsStoreTest, ShowEnumLabelsIsAStoredFlagThatDefaultsToOff)
{
    LoadSettings();
    EXPECT_EQ(AppSettings.ShowEnumLabels, 0);
    AppSettings.ShowEnumLabels = 1;
    EXPECT_EQ(SaveSettings(), 0);
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "ShowEnumLabels"), (CRegProbeValue{REG_BINARY, {1}}));
    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.ShowEnumLabels, 1);

    // A value of the wrong size is not the flag.
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "ShowEnumLabels", 1);
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.ShowEnumLabels, 0);
}

TEST_F(SettingsStoreTest, UnwritableUserHiveKeepsDefaultsAndSaysOnceThatNothingIsSaved)
{
    BlockHive("XDG_CONFIG_HOME");
    EXPECT_EQ(LoadSettings(), 1);
    EXPECT_EQ(Describe(), m_strDefaults);
    g_history.AddEntry({"still", "works"});
    EXPECT_EQ(g_history.Cell(0, 0), "still");
    AppSettings.Timeout = 20;
    testing::internal::CaptureStderr();
    EXPECT_EQ(SaveSettings(), 1);
    const std::string strErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(strErr.begin(), strErr.end(), '\n'), 1) << strErr;
    EXPECT_NE(strErr.find("settings not saved"), std::string::npos) << strErr;
}

TEST_F(SettingsStoreTest, HomePathComesFromTheMachineHiveOrTheExecutable)
{
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());
    const std::vector<BYTE> written(AppSettings.HomePath, AppSettings.HomePath + 260);
    EXPECT_EQ(RegProbeGet(HKEY_LOCAL_MACHINE, kAppKey, "HomePath"), (CRegProbeValue{REG_SZ, written}));

    // A stored folder counts when it holds the manual's folder, and only then.
    const QTemporaryDir install;
    const std::string strInstall = install.path().toStdString() + "/";
    RegProbePut(HKEY_LOCAL_MACHINE, kAppKey, "HomePath", REG_SZ, RegProbeBytes(strInstall, true));
    AppSettings.Reset();
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());
    ASSERT_TRUE(QDir().mkpath(install.path() + "/Help"));
    RegProbePut(HKEY_LOCAL_MACHINE, kAppKey, "HomePath", REG_SZ, RegProbeBytes(strInstall, true));
    AppSettings.Reset();
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), strInstall);

    // A stored path filling the whole buffer has no end: the executable's folder is used.
    RegProbePut(HKEY_LOCAL_MACHINE, kAppKey, "HomePath", REG_SZ, std::vector<BYTE>(260, 'p'));
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());

    // A machine hive nobody may write: the folder is still known, nothing is stored.
    BlockHive("XDG_CONFIG_DIRS");
    AppSettings.Reset();
    EXPECT_EQ(LoadHomePath(), 1);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());
}

TEST(HomeFolderOf, FindsTheManualBesideTheExecutableOrInTheInstalledPrefix)
{
    const QTemporaryDir prefix;
    const std::string strPrefix = prefix.path().toStdString() + "/";
    ASSERT_TRUE(QDir().mkpath(prefix.path() + "/bin"));
    // Nothing found anywhere: the executable's own folder, as before.
    EXPECT_EQ(HomeFolderOf(strPrefix + "bin/"), strPrefix + "bin/");

    ASSERT_TRUE(QDir().mkpath(prefix.path() + "/share/orvex/Help"));
    EXPECT_EQ(HomeFolderOf(strPrefix + "bin/"), strPrefix + "share/orvex/");

    // A build tree keeps the manual beside the executable; that wins.
    ASSERT_TRUE(QDir().mkpath(prefix.path() + "/bin/Help"));
    EXPECT_EQ(HomeFolderOf(strPrefix + "bin/"), strPrefix + "bin/");
}

TEST_F(HistoryTableTest, EntriesGoOnTopMoveUpWhenReusedAndTheOldestFallsOff)
{
    EXPECT_EQ(m_table.Count(), 0);
    for (int n = 9; n >= 0; --n)
        m_table.AddEntry({Host(n), "public"});
    m_table.AddEntry({"HOST5", "secret"});  // row 5, other letter case, new community
    EXPECT_EQ(Rows(m_table), (std::vector<std::string>{"HOST5/secret", "host0/public", "host1/public",
                                                       "host2/public", "host3/public", "host4/public",
                                                       "host6/public", "host7/public", "host8/public",
                                                       "host9/public"}));

    for (int n = 10; n < 31; ++n)
        m_table.AddEntry({Host(n), "c"});
    EXPECT_EQ(m_table.Count(), 30);
    EXPECT_EQ(m_table.Cell(0, 0), Host(30));
    EXPECT_EQ(m_table.Cell(0, 29), Host(8));  // host9 dropped
    EXPECT_EQ(m_table.Cell(0, 30), "");
    EXPECT_EQ(m_table.Cell(2, 0), "");
    EXPECT_EQ(m_table.Cell(-1, 0), "");

    // Texts beyond a cell's 254 characters are cut; missing ones are empty.
    m_table.AddEntry({std::string(300, 'h')});
    EXPECT_EQ(Rows(m_table)[0], std::string(254, 'h') + "/");
}

TEST_F(HistoryTableTest, SavesCountAndPaddedCellsThatLoadBack)
{
    m_table.AddEntry({"10.0.0.1", "public"});
    m_table.AddEntry({"router", "private"});
    m_table.AddEntry({"127.0.0.1:1161", "c"});
    m_table.Save();

    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "CacheSize-Host"), (CRegProbeValue{REG_DWORD, {3, 0, 0, 0}}));
    const char* expected[3][2] = {{"127.0.0.1:1161", "c"}, {"router", "private"}, {"10.0.0.1", "public"}};
    for (int nRow = 0; nRow < 3; ++nRow)
        for (int nColumn = 0; nColumn < 2; ++nColumn)
        {
            std::vector<BYTE> padded = RegProbeBytes(expected[nRow][nColumn]);
            padded.resize(255, 0);
            const std::string name = "Cache(Host)" + std::to_string(nColumn) + "-" + std::to_string(nRow);
            EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, name), (CRegProbeValue{REG_DWORD, padded})) << name;
        }
    EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Cache(Host)0-3"));

    CHistoryTable loaded;
    loaded.Init("Host", 2, 30);
    EXPECT_EQ(Rows(loaded), (std::vector<std::string>{"127.0.0.1:1161/c", "router/private", "10.0.0.1/public"}));

    // After Release nothing more is written, not even a count.
    loaded.Release();
    EXPECT_EQ(loaded.Count(), 0);
    loaded.Save();
    EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "CacheSize-"));
}

TEST_F(HistoryTableTest, DamagedStoredValuesStayWithinTheTable)
{
    for (int nRow = 0; nRow <= 30; ++nRow)
        RegProbePut(HKEY_CURRENT_USER, kKey, "Cache(Host)0-" + std::to_string(nRow), REG_SZ,
                    RegProbeBytes(Host(nRow), true));
    // No NUL within 255 bytes: the cell keeps 254 characters. Longer than 255: unreadable, empty.
    RegProbePut(HKEY_CURRENT_USER, kKey, "Cache(Host)1-0", REG_BINARY, std::vector<BYTE>(255, 'x'));
    RegProbePut(HKEY_CURRENT_USER, kKey, "Cache(Host)1-1", REG_BINARY, std::vector<BYTE>(256, 'y'));

    RegProbePutDword(HKEY_CURRENT_USER, kKey, "CacheSize-Host", 1000);
    m_table.Init("Host", 2, 30);
    EXPECT_EQ(m_table.Count(), 30);
    EXPECT_EQ(m_table.Cell(0, 29), Host(29));
    EXPECT_EQ(m_table.Cell(1, 0), std::string(254, 'x'));
    EXPECT_EQ(m_table.Cell(1, 1), "");
    m_table.AddEntry({"new", "c"});
    m_table.Save();
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "CacheSize-Host")->data, (std::vector<BYTE>{30, 0, 0, 0}));
    // Rows past the count are neither read nor deleted.
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Cache(Host)0-30")->data, RegProbeBytes(Host(30), true));

    RegProbePutDword(HKEY_CURRENT_USER, kKey, "CacheSize-Host", static_cast<DWORD>(-5));
    m_table.Init("Host", 2, 30);
    EXPECT_EQ(m_table.Count(), 0);
    m_table.AddEntry({"only", "c"});
    EXPECT_EQ(Rows(m_table), std::vector<std::string>{"only/c"});
}

namespace
{
// Runs body(n) in nProcesses child processes that all load the settings first
// and then, together, do the rest; the result is 0 when every child's body
// returned 0.
int RunInstancesTogether(int nProcesses, const std::function<int(int)>& body)
{
    int ready[2], go[2];
    if (pipe(ready) != 0 || pipe(go) != 0)
        return -1;
    std::vector<pid_t> children;
    for (int n = 0; n < nProcesses; ++n)
    {
        const pid_t child = fork();
        if (child == 0)
        {
            close(ready[0]);
            close(go[1]);
            LoadSettings();
            char c = 'r';
            if (write(ready[1], &c, 1) != 1 || read(go[0], &c, 1) != 0)
                _exit(100);
            _exit(body(n));
        }
        children.push_back(child);
    }
    close(ready[1]);
    close(go[0]);
    char c;
    for (int n = 0; n < nProcesses; ++n)
        if (read(ready[0], &c, 1) != 1)
            return -1;
    close(go[1]);  // every instance has loaded; all save now
    close(ready[0]);
    int nFailed = 0;
    for (const pid_t child : children)
    {
        int status = -1;
        waitpid(child, &status, 0);
        nFailed += status != 0;
    }
    return nFailed;
}

void SaveHistoryRow(const std::string& strHost, const std::string& strCommunity)
{
    CHistoryTable table;
    table.Init("Host", 2, 30);
    table.AddEntry({strHost, strCommunity});
    EXPECT_TRUE(table.Save());
}

std::string UserHiveWithOldKeys()
{
    return "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\SOFTWARE\\ZudavO2\\Settings]\n"
           "\"Timeout\"=dword:0000001e\n\"Retries\"=dword:00000002\n\"Base\"=\".1.3.6.1.4\"\n"
           "\"CacheSize-Host\"=dword:00000001\n\"Cache(Host)0-0\"=hex(4):72,31,00\n\"Cache(Host)1-0\"=hex(4):63,31,00\n";
}
}  // namespace

TEST_F(SettingsStoreTest, OldKeysAreMovedOnceAndTheMachineOneIsOnlyRead)
{
    // Before the move, reading alone (as the walk commands do) finds the old key and writes nothing.
    QDir().mkpath(m_xdg.UserHiveDir());
    RegProbeWriteFile(m_xdg.UserHiveFile().toStdString(), UserHiveWithOldKeys());
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.Timeout, 30);
    EXPECT_EQ(g_history.Cell(0, 0) + "/" + g_history.Cell(1, 0), "r1/c1");
    g_history.Release();
    EXPECT_EQ(RegProbeReadFile(m_xdg.UserHiveFile().toStdString()), UserHiveWithOldKeys());

    // A value already under the new key is the newer one and stays.
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Retries", 5);
    EXPECT_TRUE(MoveOldSettings());
    const std::string strMoved = RegProbeReadFile(m_xdg.UserHiveFile().toStdString());
    EXPECT_EQ(strMoved.find("ZudavO2"), std::string::npos) << strMoved;
    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(Describe(), "1,1,13684944,1,30,5,1,25,.1.3.6.1.4");
    EXPECT_EQ(g_history.Cell(0, 0) + "/" + g_history.Cell(1, 0), "r1/c1");
    EXPECT_TRUE(MoveOldSettings());  // once: nothing left to move, nothing written
    EXPECT_EQ(RegProbeReadFile(m_xdg.UserHiveFile().toStdString()), strMoved);

    // The machine hive keeps its old key; HomePath is read from it.
    // A stored HomePath counts only where it holds the manual.
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath("Help"));
    const std::string strHome = home.path().toStdString() + "/";
    QDir().mkpath(m_xdg.MachineHiveDir());
    const std::string strMachine = "Windows Registry Editor Version 5.00\n\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZudavO2\\App]\n\"HomePath\"=\"" + strHome + "\"\n";
    RegProbeWriteFile(m_xdg.MachineHiveFile().toStdString(), strMachine);
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_STREQ(AppSettings.HomePath, strHome.c_str());
    EXPECT_NE(RegProbeReadFile(m_xdg.MachineHiveFile().toStdString()).find(strMachine.substr(38)), std::string::npos);
}

TEST_F(SettingsStoreTest, TwoInstancesKeepEachOthersChanges)
{
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 16);
    const int nFailed = RunInstancesTogether(2, [](int n) {
        if (n == 0)
            AppSettings.Timeout = 45;
        else
            AppSettings.Retries = 9;
        return SaveSettings();
    });
    EXPECT_EQ(nFailed, 0);
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.Timeout, 45);
    EXPECT_EQ(AppSettings.Retries, 9);
    // Values nobody changed were never written.
    EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Cleaning"));
}

TEST_F(SettingsStoreTest, ConcurrentHistoryAdditionsAreAllKept)
{
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "CacheSize-Host", 0);
    SaveHistoryRow("older", "c");

    EXPECT_EQ(RunInstancesTogether(10, [](int n) {
                  g_history.AddEntry({Host(n), "c" + std::to_string(n)});
                  return SaveSettings();
              }),
              0);
    g_history.Init("Host", 2, 30);
    std::set<std::string> rows;
    for (int nRow = 0; nRow < g_history.Count(); ++nRow)
        rows.insert(g_history.Cell(0, nRow) + "/" + g_history.Cell(1, nRow));
    std::set<std::string> expected{"older/c"};
    for (int n = 0; n < 10; ++n)
        expected.insert(Host(n) + "/c" + std::to_string(n));
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(g_history.Cell(0, 10), "older");  // replayed on top of what was there
}

// The settings folder is readable but not writable (as another user, when
// the tests run as root): what is saved still shows, and a save that fails
// says so once.
TEST_F(SettingsStoreTest, ReadOnlySettingsFolderStillShowsWhatIsSaved)
{
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 30);
    SaveHistoryRow("saved", "c");
    const std::string strTop = (m_xdg.UserHiveDir() + "/../..").toStdString();
    const std::string strDir = m_xdg.UserHiveDir().toStdString();

    const pid_t child = fork();
    if (child == 0)
    {
        if (geteuid() == 0
            && (std::system(("chown -R 65534:65534 '" + strTop + "'").c_str()) != 0 || setgid(65534) != 0
                || setuid(65534) != 0))
            _exit(10);
        chmod(strDir.c_str(), 0500);
        if (LoadSettings() != 0 || AppSettings.Timeout != 30 || g_history.Cell(0, 0) != "saved")
            _exit(11);
        g_history.AddEntry({"new", "c"});
        testing::internal::CaptureStderr();
        const int nSaved = SaveSettings();
        const std::string strErr = testing::internal::GetCapturedStderr();
        if (nSaved != 1 || std::count(strErr.begin(), strErr.end(), '\n') != 1)
            _exit(12);
        _exit(LoadSettings() == 0 && SaveSettings() == 0 ? 0 : 13);  // nothing changed: no complaint
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

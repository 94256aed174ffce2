// The stored settings and the host history: defaults, round trips, damaged
// or misfitting stored values, unwritable hives.
#include "app/HistoryTable.h"
#include "app/SettingsStore.h"
#include "snmp/AppSettings.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

namespace
{
const std::string kKey = "SOFTWARE\\ZudavO2\\Settings\\";
const std::string kAppKey = "SOFTWARE\\ZudavO2\\App\\";

std::string Host(int n)
{
    return "host" + std::to_string(n);
}

// Every valid row as "host/community", most recent first.
std::vector<std::string> Rows(const HistoryTable& table)
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
    HistoryTable m_table;
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
        AppSettings.SetBase(strBase);
    }
    // The whole record on one line.
    static std::string Describe()
    {
        return std::to_string(AppSettings.Cleaning) + "," + std::to_string(AppSettings.Inferance) + ","
            + std::to_string(AppSettings.InferColor) + "," + std::to_string(AppSettings.WriteOn) + ","
            + std::to_string(AppSettings.Timeout) + "," + std::to_string(AppSettings.Retries) + ","
            + std::to_string(AppSettings.Version) + "," + AppSettings.Base();
    }
    static std::string ExecutableFolder() { return QCoreApplication::applicationDirPath().toStdString() + "/"; }
    void BlockHive(const char* variable) const
    {
        const std::string strBlocker = m_xdg.UserHiveDir().toStdString() + "-blocker";
        RegProbeWriteFile(strBlocker, "x");
        setenv(variable, strBlocker.c_str(), 1);
    }

    const std::string m_strDefaults = "1,1,13684944,1,16,3,1,.1.3";
    CTempXdg m_xdg;
};
}  // namespace

TEST_F(SettingsStoreTest, FirstRunGivesDefaultsAndSaveWritesEveryValue)
{
    SetAllOffDefault(".1.3.6");
    EXPECT_EQ(LoadSettings(), 0);  // the history load created the key
    EXPECT_EQ(Describe(), m_strDefaults);
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
        {"CacheSize-Host", {REG_DWORD, {1, 0, 0, 0}}},
    };
    for (const auto& [name, value] : stored)
        EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, name), value) << name;

    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(Describe(), "0,0,1122867,0,30,7,2," + std::string(259, '7'));
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
    EXPECT_EQ(Describe(), "1,0,13684944,1,0,1000,2,.1.3");

    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 1000);
    RegProbePut(HKEY_CURRENT_USER, kKey, "Base", REG_SZ, RegProbeBytes(".1.3.6.1.2.1.1", true));
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.Timeout, 1000);
    EXPECT_EQ(AppSettings.Base(), ".1.3.6.1.2.1.1");
}

TEST_F(SettingsStoreTest, MibPathDefaultsRoundTripsLongAndFallsBackWhenTooLong)
{
    EXPECT_EQ(LoadSettings(), 0);
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

TEST_F(SettingsStoreTest, UnwritableUserHiveKeepsDefaultsAndSavesNothing)
{
    BlockHive("XDG_CONFIG_HOME");
    EXPECT_EQ(LoadSettings(), 1);
    EXPECT_EQ(Describe(), m_strDefaults);
    g_history.AddEntry({"still", "works"});
    EXPECT_EQ(g_history.Cell(0, 0), "still");
    EXPECT_EQ(SaveSettings(), 1);
}

TEST_F(SettingsStoreTest, HomePathComesFromTheMachineHiveOrTheExecutable)
{
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());
    const std::vector<BYTE> written(AppSettings.HomePath, AppSettings.HomePath + 260);
    EXPECT_EQ(RegProbeGet(HKEY_LOCAL_MACHINE, kAppKey, "HomePath"), (CRegProbeValue{REG_SZ, written}));

    RegProbePut(HKEY_LOCAL_MACHINE, kAppKey, "HomePath", REG_SZ, RegProbeBytes("/opt/orvex/", true));
    AppSettings.Reset();
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_STREQ(AppSettings.HomePath, "/opt/orvex/");

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

    HistoryTable loaded;
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

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

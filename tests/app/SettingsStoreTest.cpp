#include "app/HistoryTable.h"
#include "app/SettingsStore.h"
#include "snmp/AppSettings.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>

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
    static void SetAllOffDefault()
    {
        AppSettings.Cleaning = 0;
        AppSettings.Inferance = 0;
        AppSettings.InferColor = 0x00112233;
        AppSettings.WriteOn = 0;
        AppSettings.Timeout = 30;
        AppSettings.Retries = 7;
        AppSettings.Version = 2;
        AppSettings.SetBase(".1.3.6.1.4");
    }
    static void ExpectDefaults()
    {
        EXPECT_EQ(AppSettings.Cleaning, 1);
        EXPECT_EQ(AppSettings.Inferance, 1);
        EXPECT_EQ(AppSettings.InferColor, 0x00D0D0D0u);
        EXPECT_EQ(AppSettings.WriteOn, 1);
        EXPECT_EQ(AppSettings.Timeout, 16);
        EXPECT_EQ(AppSettings.Retries, 3);
        EXPECT_EQ(AppSettings.Version, 1u);
        EXPECT_EQ(AppSettings.Base(), ".1.3");
    }
    static std::string ExecutableFolder() { return QCoreApplication::applicationDirPath().toStdString() + "/"; }

    CTempXdg m_xdg;
};
}  // namespace

TEST_F(SettingsStoreTest, FirstRunGivesDefaultsAndSaveWritesEveryValue)
{
    SetAllOffDefault();
    EXPECT_EQ(LoadSettings(), 0);  // the history load created the key
    ExpectDefaults();
    EXPECT_EQ(g_history.Name(), "Host");
    EXPECT_EQ(g_history.Capacity(), 30);
    EXPECT_EQ(g_history.Count(), 0);

    SetAllOffDefault();
    AppSettings.SetBase(std::string(300, '7'));
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

    // And back in.
    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.Timeout, 30);
    EXPECT_EQ(AppSettings.Version, 2u);
    EXPECT_EQ(AppSettings.InferColor, 0x00112233u);
    EXPECT_EQ(AppSettings.Base(), std::string(259, '7'));
    EXPECT_EQ(g_history.Cell(1, 0), "public");
}

TEST_F(SettingsStoreTest, StoredValuesLoadUnclampedAndMisfitsFallBack)
{
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Cleaning", 0);  // 4 bytes for a 1-byte field
    RegProbePut(HKEY_CURRENT_USER, kKey, "Inferance", REG_BINARY, {0});
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 0);
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Retries", 1000);
    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Version", 2);
    RegProbePut(HKEY_CURRENT_USER, kKey, "Base", REG_SZ, RegProbeBytes(std::string(300, '1'), true));
    SetAllOffDefault();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.Cleaning, 1);
    EXPECT_EQ(AppSettings.Inferance, 0);
    EXPECT_EQ(AppSettings.Timeout, 0);
    EXPECT_EQ(AppSettings.Retries, 1000);
    EXPECT_EQ(AppSettings.Version, 2u);
    EXPECT_EQ(AppSettings.Base(), ".1.3");
    EXPECT_EQ(AppSettings.WriteOn, 1);  // missing

    RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 1000);
    RegProbePut(HKEY_CURRENT_USER, kKey, "Version", REG_BINARY, {2});  // too short for a mismatch to matter
    RegProbePut(HKEY_CURRENT_USER, kKey, "Base", REG_SZ, RegProbeBytes(".1.3.6.1.2.1.1", true));
    AppSettings.Reset();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(AppSettings.Timeout, 1000);
    EXPECT_EQ(AppSettings.Version, 2u);
    EXPECT_EQ(AppSettings.Base(), ".1.3.6.1.2.1.1");
}

TEST_F(SettingsStoreTest, UnwritableUserHiveKeepsDefaultsAndSavesNothing)
{
    const std::string strBlocker = m_xdg.MachineHiveDir().toStdString() + "-blocker";
    RegProbeWriteFile(strBlocker, "x");
    setenv("XDG_CONFIG_HOME", strBlocker.c_str(), 1);
    EXPECT_EQ(LoadSettings(), 1);
    ExpectDefaults();
    g_history.AddEntry({"still", "works"});
    EXPECT_EQ(g_history.Cell(0, 0), "still");
    EXPECT_EQ(SaveSettings(), 1);
}

TEST_F(SettingsStoreTest, HomePathComesFromTheMachineHiveOrTheExecutable)
{
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());
    std::vector<BYTE> written(AppSettings.HomePath, AppSettings.HomePath + 260);
    EXPECT_EQ(RegProbeGet(HKEY_LOCAL_MACHINE, kAppKey, "HomePath"), (CRegProbeValue{REG_SZ, written}));

    RegProbePut(HKEY_LOCAL_MACHINE, kAppKey, "HomePath", REG_SZ, RegProbeBytes("/opt/orvex/", true));
    AppSettings.Reset();
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_STREQ(AppSettings.HomePath, "/opt/orvex/");

    // A stored path that fills the whole buffer has no end: the executable's folder is used.
    RegProbePut(HKEY_LOCAL_MACHINE, kAppKey, "HomePath", REG_SZ, std::vector<BYTE>(260, 'p'));
    EXPECT_EQ(LoadHomePath(), 0);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());

    // A machine hive nobody may write: the folder is still known, nothing is stored.
    const std::string strBlocker = m_xdg.UserHiveDir().toStdString() + "-blocker";
    RegProbeWriteFile(strBlocker, "x");
    setenv("XDG_CONFIG_DIRS", strBlocker.c_str(), 1);
    AppSettings.Reset();
    EXPECT_EQ(LoadHomePath(), 1);
    EXPECT_EQ(std::string(AppSettings.HomePath), ExecutableFolder());
}

#include "app/HistoryTable.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>

namespace
{
const std::string kKey = "SOFTWARE\\ZudavO2\\Settings\\";

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
}  // namespace

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

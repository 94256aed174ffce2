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

// The rows of column 0, most recent first.
std::vector<std::string> Hosts(const HistoryTable& table)
{
    std::vector<std::string> hosts;
    for (int nRow = 0; nRow < table.Count(); ++nRow)
        hosts.push_back(table.Cell(0, nRow));
    return hosts;
}

class HistoryTableTest : public ::testing::Test
{
protected:
    void SetUp() override { m_table.Init("Host", 2, 30); }

    CTempXdg m_xdg;
    HistoryTable m_table;
};
}  // namespace

TEST_F(HistoryTableTest, NewEntriesGoOnTopAndTheOldestFallsOff)
{
    EXPECT_EQ(m_table.Count(), 0);
    EXPECT_EQ(m_table.Cell(0, 0), "");
    for (int n = 0; n < 30; ++n)
        m_table.AddEntry({Host(n), "c" + std::to_string(n)});
    EXPECT_EQ(m_table.Count(), 30);
    EXPECT_EQ(m_table.Cell(0, 29), Host(0));

    m_table.AddEntry({Host(30), "c30"});
    EXPECT_EQ(m_table.Count(), 30);
    EXPECT_EQ(m_table.Cell(0, 0), Host(30));
    EXPECT_EQ(m_table.Cell(1, 0), "c30");
    EXPECT_EQ(m_table.Cell(0, 29), Host(1));
    EXPECT_EQ(m_table.Cell(1, 29), "c1");
    EXPECT_EQ(m_table.Cell(0, 30), "");
    EXPECT_EQ(m_table.Cell(2, 0), "");
    EXPECT_EQ(m_table.Cell(-1, 0), "");
}

TEST_F(HistoryTableTest, HostUsedAgainMovesUpWithItsNewCaseAndCommunity)
{
    for (int n = 9; n >= 0; --n)
        m_table.AddEntry({Host(n), "public"});
    ASSERT_EQ(m_table.Cell(0, 5), Host(5));

    m_table.AddEntry({"HOST5", "secret"});
    EXPECT_EQ(m_table.Count(), 10);
    EXPECT_EQ(Hosts(m_table), (std::vector<std::string>{"HOST5", Host(0), Host(1), Host(2), Host(3), Host(4),
                                                          Host(6), Host(7), Host(8), Host(9)}));
    EXPECT_EQ(m_table.Cell(1, 0), "secret");
    EXPECT_EQ(m_table.Cell(1, 1), "public");

    // Texts beyond a cell's 254 characters are cut; missing ones are empty.
    m_table.AddEntry({std::string(300, 'h')});
    EXPECT_EQ(m_table.Cell(0, 0), std::string(254, 'h'));
    EXPECT_EQ(m_table.Cell(1, 0), "");
}

TEST_F(HistoryTableTest, SavesCountAndPaddedCellsThatLoadBack)
{
    m_table.AddEntry({"10.0.0.1", "public"});
    m_table.AddEntry({"router", "private"});
    m_table.AddEntry({"127.0.0.1:1161", std::string(300, 'c')});
    m_table.Save();

    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "CacheSize-Host"), (CRegProbeValue{REG_DWORD, {3, 0, 0, 0}}));
    const std::vector<std::vector<std::string>> expected = {
        {"127.0.0.1:1161", std::string(254, 'c')}, {"router", "private"}, {"10.0.0.1", "public"}};
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
    EXPECT_EQ(loaded.Count(), 3);
    EXPECT_EQ(Hosts(loaded), (std::vector<std::string>{"127.0.0.1:1161", "router", "10.0.0.1"}));
    EXPECT_EQ(loaded.Cell(1, 0), std::string(254, 'c'));

    // After Release nothing more is written, not even a count.
    loaded.Release();
    EXPECT_EQ(loaded.Count(), 0);
    EXPECT_EQ(loaded.Cell(0, 0), "");
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
    HistoryTable table;
    table.Init("Host", 2, 30);
    EXPECT_EQ(table.Count(), 30);
    EXPECT_EQ(table.Cell(0, 29), Host(29));
    EXPECT_EQ(table.Cell(1, 0), std::string(254, 'x'));
    EXPECT_EQ(table.Cell(1, 1), "");
    table.AddEntry({"new", "c"});
    EXPECT_EQ(table.Count(), 30);
    table.Save();
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "CacheSize-Host")->data, (std::vector<BYTE>{30, 0, 0, 0}));
    // Rows past the count are neither read nor deleted.
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Cache(Host)0-30")->data, RegProbeBytes(Host(30), true));

    RegProbePutDword(HKEY_CURRENT_USER, kKey, "CacheSize-Host", static_cast<DWORD>(-5));
    table.Init("Host", 2, 30);
    EXPECT_EQ(table.Count(), 0);
    table.AddEntry({"only", "c"});
    EXPECT_EQ(Hosts(table), std::vector<std::string>{"only"});
}

// Tables walked from agents: snmpd's ifTable, a table changed with snmpset
// between refreshes, counters of a scripted agent across a wrap, and an
// interval that meets a slow agent.
#include "snmp/AppSettings.h"
#include "support/FakeAgent.h"
#include "support/PumpUntil.h"
#include "support/SnmpdFixture.h"
#include "tableview/TableModel.h"
#include "tableview/TableRefresher.h"
#include "tableview/TableWindow.h"
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr const char* kIfTable = ".1.3.6.1.2.1.2.2";
constexpr const char* kPrivateTable = ".1.3.6.1.4.1.99999.1";

// Walks a table once through a refresher and hands back its records.
class CWalker
{
public:
    explicit CWalker(const CWalkRequest& request, const std::string& strTable)
        : m_refresher(request, strTable, [this](std::vector<CWalkRecord> records, const std::string& strError) {
              m_records = std::move(records);
              m_strError = strError;
              ++m_nDone;
              m_nStartedAtDone = m_refresher.WalksStarted();
          })
    {
    }
    std::vector<CWalkRecord> Walk()
    {
        const int nBefore = m_nDone;
        EXPECT_TRUE(m_refresher.Refresh());
        EXPECT_TRUE(PumpUntil([&] { return m_nDone > nBefore && !m_refresher.IsWalking(); }, 10000));
        EXPECT_EQ(m_strError, "");
        return m_records;
    }
    CTableRefresher& Refresher() { return m_refresher; }
    int Done() const { return m_nDone; }
    // Walks started when the last walk ended: the next tick may start
    // another before a test looks.
    int StartedAtDone() const { return m_nStartedAtDone; }

private:
    CTableRefresher m_refresher;
    std::vector<CWalkRecord> m_records;
    std::string m_strError;
    int m_nDone = 0;
    int m_nStartedAtDone = 0;
};

CWalkRequest Request(const std::string& strHost, const std::string& strCommunity = "public")
{
    CWalkRequest request{strHost, strCommunity};
    request.m_profile.m_nTimeout = 2;
    request.m_profile.m_nRetries = 0;
    return request;
}

std::vector<std::string> Lines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        if (!strLine.empty())
            lines.push_back(strLine);
    return lines;
}

std::vector<std::string> ColumnTexts(const CTableModel& model, int nColumn)
{
    std::vector<std::string> texts;
    for (int nRow = 0; nRow < model.rowCount(); ++nRow)
        texts.push_back(model.CellText(nRow, nColumn).toStdString());
    return texts;
}

// The column object of that name (index columns may bear the same).
int ColumnNamed(const CTableModel& model, const std::string& strName)
{
    for (int nColumn = model.Data().IndexColumnCount(); nColumn < model.columnCount(); ++nColumn)
        if (model.Data().HeaderText(nColumn) == strName)
            return nColumn;
    return -1;
}

TEST(TableFromSnmpd, IfTableHasOneRowPerInterfaceItsColumnsAndItsIndex)
{
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning());
    std::string strOut;
    ASSERT_EQ(agent.RunTool("snmpwalk", {"-v2c", "-c", "public", "-Oqv", agent.Address(), ".1.3.6.1.2.1.2.2.1.1"},
                            &strOut), 0);
    const std::vector<std::string> indexes = Lines(strOut);
    ASSERT_FALSE(indexes.empty());
    ASSERT_EQ(agent.RunTool("snmpwalk", {"-v2c", "-c", "public", "-Oqv", agent.Address(), ".1.3.6.1.2.1.2.2.1.2"},
                            &strOut), 0);
    const std::vector<std::string> descrs = Lines(strOut);

    CWalker walker(Request(agent.Address()), kIfTable);
    CTableModel model(CTableData(kIfTable, {CIndexPart{"ifIndex", EIndexKind::Integer, 0}}));
    model.ApplyWalk(walker.Walk(), 0);
    ASSERT_EQ(model.rowCount(), static_cast<int>(indexes.size()));
    EXPECT_EQ(ColumnTexts(model, 0), indexes);  // the decoded index
    const int nIndex = ColumnNamed(model, "ifIndex"), nDescr = ColumnNamed(model, "ifDescr");
    ASSERT_GT(nIndex, 0);
    ASSERT_GT(nDescr, nIndex);
    EXPECT_EQ(ColumnTexts(model, nIndex), indexes);
    std::vector<std::string> quoted;
    for (const std::string& strText : ColumnTexts(model, nDescr))
        quoted.push_back("\"" + strText + "\"");
    EXPECT_TRUE(quoted == descrs || ColumnTexts(model, nDescr) == descrs);
    for (const char* pszColumn : {"ifType", "ifMtu", "ifSpeed", "ifAdminStatus", "ifOperStatus", "ifInOctets"})
        EXPECT_GT(ColumnNamed(model, pszColumn), nDescr) << pszColumn;
    EXPECT_EQ(model.Data().ColumnType(ColumnNamed(model, "ifInOctets")), "COUNTER32");
}

// A private table of two rows and two columns, writable through "private".
std::string PrivateTableConfig()
{
    return "override -rw .1.3.6.1.4.1.99999.1.1.2.1 integer 10\n"
           "override -rw .1.3.6.1.4.1.99999.1.1.2.2 integer 20\n"
           "override -rw .1.3.6.1.4.1.99999.1.1.3.1 octet_str first\n"
           "override -rw .1.3.6.1.4.1.99999.1.1.3.2 octet_str second\n";
}

TEST(TableFromSnmpd, ARefreshShowsAValueChangedWithSnmpsetAndMarksItsCell)
{
    CSnmpdFixture agent(PrivateTableConfig());
    ASSERT_TRUE(agent.IsRunning());
    CWalker walker(Request(agent.Address()), kPrivateTable);
    CTableModel model(CTableData(kPrivateTable, {}));
    model.ApplyWalk(walker.Walk(), 0);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(ColumnTexts(model, 1), (std::vector<std::string>{"10", "20"}));

    std::string strOut;
    ASSERT_EQ(agent.RunTool("snmpset", {"-v2c", "-c", "private", agent.Address(), ".1.3.6.1.4.1.99999.1.1.2.2", "i",
                                        "77"},
                            &strOut), 0) << strOut;
    model.ApplyWalk(walker.Walk(), 5);
    EXPECT_EQ(ColumnTexts(model, 1), (std::vector<std::string>{"10", "77"}));
    EXPECT_EQ(ColumnTexts(model, 2), (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(model.IsHighlighted(1, 1));
    EXPECT_FALSE(model.IsHighlighted(0, 1));
    EXPECT_FALSE(model.IsHighlighted(1, 2));
    EXPECT_EQ(walker.Refresher().WalksStarted(), 2);
}

// A table whose counters step by given amounts with every walk; each walk
// starts with a GET-NEXT (or GetBulk) of the table's own OID.
class CCountingAgent
{
public:
    CCountingAgent(std::vector<long long> in, unsigned char counterType)
        : m_agent([this, in, counterType](const CFakeAgent::CRequest& request, std::size_t) {
              const bool bStart = !request.vars.empty() && request.vars[0].name == CFakeAgent::ParseOid(kPrivateTable);
              if (bStart)
                  ++m_nWalk;
              const std::size_t nAt = std::min<std::size_t>(static_cast<std::size_t>(m_nWalk - 1), in.size() - 1);
              CFakeAgent::CAnswer answer = CFakeAgent::NextFrom(
                  {CFakeAgent::Number(".1.3.6.1.4.1.99999.1.1.1.1", 0x02, 1),
                   CFakeAgent::Number(".1.3.6.1.4.1.99999.1.1.2.1", counterType, in[nAt]),
                   CFakeAgent::Number(".1.3.6.1.4.1.99999.2.0", 0x02, 0)},
                  request);
              if (bStart)
                  answer.nDelayMs = m_nStartDelayMs;
              return answer;
          })
    {
    }
    CFakeAgent& Agent() { return m_agent; }
    int Walks() const { return m_nWalk; }
    std::atomic<int> m_nStartDelayMs{0};

private:
    std::atomic<int> m_nWalk{0};
    CFakeAgent m_agent;  // last: its thread ends before the rest goes
};

TEST(TableRates, TwoRefreshesGiveRatesAcrossACounter32WrapAndNoneForACounterThatWentBack)
{
    CCountingAgent agent({4294967000LL, 704LL, 5LL}, 0x41);
    CWalker walker(Request(agent.Agent().Address()), kPrivateTable);
    CTableModel model(CTableData(kPrivateTable, {}));
    model.SetPerSecond(true);
    model.ApplyWalk(walker.Walk(), 100.0);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "2/s");
    EXPECT_EQ(model.CellText(0, 2), "");  // one reading
    model.ApplyWalk(walker.Walk(), 110.0);
    EXPECT_EQ(model.CellText(0, 2), "100.0");  // 1000 steps over the top in 10 s
    model.ApplyWalk(walker.Walk(), 120.0);
    EXPECT_EQ(model.CellText(0, 2), "");  // 704 to 5: the agent started again
    model.SetPerSecond(false);
    EXPECT_EQ(model.CellText(0, 2), "5");
    EXPECT_EQ(agent.Walks(), 3);
}

TEST(TableRates, Counter64RatesKeepEverySignificantDigit)
{
    CCountingAgent agent({9007199254740993LL, 9007199254741003LL}, 0x46);
    CWalkRequest request = Request(agent.Agent().Address());
    request.m_profile.m_nVersion = CAgentProfile::kVersion2c;
    CWalker walker(request, kPrivateTable);
    CTableModel model(CTableData(kPrivateTable, {}));
    model.SetPerSecond(true);
    model.ApplyWalk(walker.Walk(), 0.0);
    model.ApplyWalk(walker.Walk(), 4.0);
    EXPECT_EQ(model.CellText(0, 2), "2.5");
}

TEST(TableRefresh, AnIntervalThatMeetsASlowAgentNeverStartsASecondWalk)
{
    CCountingAgent agent({1}, 0x41);
    agent.m_nStartDelayMs = 1500;
    CWalker walker(Request(agent.Agent().Address()), kPrivateTable);
    CTableRefresher& refresher = walker.Refresher();
    refresher.SetInterval(40);
    ASSERT_TRUE(PumpUntil([&] { return walker.Done() == 1; }, 10000));
    // Every tick while the first answer was awaited met the running walk.
    EXPECT_GE(refresher.TicksSkipped(), 3);
    EXPECT_EQ(walker.StartedAtDone(), 1);
    refresher.SetInterval(0);
    ASSERT_TRUE(PumpUntil([&] { return !refresher.IsWalking(); }, 10000));
    EXPECT_EQ(agent.Walks(), refresher.WalksStarted());
}

} // namespace

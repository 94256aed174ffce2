#include "snmp/AppSettings.h"
#include "snmp/MibWalk.h"
#include "snmp/WalkMessages.h"
#include "snmp/WalkTarget.h"
#include "support/FakeAgent.h"
#include "support/SnmpdEnvironment.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

static auto* const g_pSnmpd = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

namespace {

using Var = CFakeAgent::CVar;
using Answer = CFakeAgent::CAnswer;
using Request = CFakeAgent::CRequest;

template <class Pred> bool PumpUntil(Pred pred, int nTimeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < nTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}

struct Arrival
{
    UINT message = 0;
    std::string strText;  // WM_WALK_ERROR
    CWalkRecord record;   // WM_WALK_RECORD
};

// The smallest owner a walk can have: the target fields and a window that
// records what arrives, in arrival order.
class CWalkHarness : public CWalkTarget
{
public:
    explicit CWalkHarness(const std::string& strHost, const std::string& strCommunity = "public")
        : m_window(nullptr, [this](UINT message, WPARAM wParam, LPARAM lParam) {
              Arrival arrival;
              arrival.message = message;
              if (message == WM_WALK_RECORD && wParam)
                  arrival.record = *TakeWalkRecord(wParam);
              if (message == WM_WALK_ERROR && lParam)
                  arrival.strText = TakeWalkErrorText(lParam).get();
              m_arrivals.push_back(arrival);
              if (m_onArrival)
                  m_onArrival(*this);
              return LRESULT{0};
          })
    {
        m_strHost = strHost;
        m_strCommunity = strCommunity;
        m_bRun = 1;
        m_hWalkWnd = m_window.Handle();
    }

    // Runs one walk to its end on a thread of its own while handling messages.
    void Run()
    {
        std::atomic<bool> bEnded{false};
        std::thread walk([this, &bEnded] {
            MibWalkThread(*this, CWalkStart{m_strHost, m_strCommunity, m_hWalkWnd});
            bEnded = true;
        });
        ASSERT_TRUE(PumpUntil([&] { return bEnded.load(); }));
        walk.join();
        QCoreApplication::processEvents();
        EXPECT_EQ(m_bWalking, 0);
    }

    std::vector<CWalkRecord> Records() const
    {
        std::vector<CWalkRecord> records;
        for (const Arrival& a : m_arrivals)
            if (a.message == WM_WALK_RECORD)
                records.push_back(a.record);
        return records;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Arrival& a : m_arrivals)
            if (a.message == WM_WALK_ERROR)
                texts.push_back(a.strText);
        return texts;
    }
    // Every message number except records, in order: texts and end messages.
    std::vector<UINT> Signals() const
    {
        std::vector<UINT> order;
        for (const Arrival& a : m_arrivals)
            if (a.message != WM_WALK_RECORD)
                order.push_back(a.message);
        return order;
    }

    std::vector<Arrival> m_arrivals;
    std::function<void(CWalkHarness&)> m_onArrival;
    CMsgWindow m_window;
};

class MibWalk : public ::testing::Test
{
protected:
    void SetUp() override { AppSettings.Reset(); }
    void TearDown() override { AppSettings.Reset(); }

    // A few variables under system, then one outside it.
    static std::vector<Var> SystemTable()
    {
        return {
            CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "Fake agent\r\n"),
            CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 12345),
            CFakeAgent::Bytes(".1.3.6.1.2.1.1.4.0", 0x04, "ops"),
            CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "box"),
            CFakeAgent::Number(".1.3.6.1.2.1.1.7.0", 0x02, 72),
            CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 2),
        };
    }
};

const std::vector<std::string> kSystemOids = {".1.3.6.1.2.1.1.1.0", ".1.3.6.1.2.1.1.3.0", ".1.3.6.1.2.1.1.4.0",
                                              ".1.3.6.1.2.1.1.5.0", ".1.3.6.1.2.1.1.7.0"};

std::vector<std::string> OidsOf(const std::vector<CWalkRecord>& records)
{
    std::vector<std::string> oids;
    for (const CWalkRecord& r : records)
        oids.push_back(r.m_strOid);
    return oids;
}

} // namespace

TEST_F(MibWalk, SystemSubtreeMatchesTheCommandLineWalkerOnARealAgent)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    AppSettings.SetBase(".1.3.6.1.2.1.1");
    CWalkHarness harness(agent.Address());
    harness.Run();

    std::string strOut;
    ASSERT_EQ(agent.RunTool("snmpwalk", {"-v1", "-c", "public", "-On", agent.Address(), ".1.3.6.1.2.1.1"}, &strOut),
              0)
        << strOut;
    std::vector<std::string> expected;
    std::istringstream lines(strOut);
    for (std::string strLine; std::getline(lines, strLine);)
        if (!strLine.empty())
            expected.push_back(strLine.substr(0, strLine.find(" = ")));

    const std::vector<CWalkRecord> records = harness.Records();
    ASSERT_GT(records.size(), 5u);
    EXPECT_EQ(OidsOf(records), expected);
    EXPECT_EQ(records[0].m_strName, "system.sysDescr.0");
    EXPECT_EQ(records[0].m_strType, "OCTETSTRING");
    EXPECT_EQ("\"" + records[0].m_strValue + "\"", agent.Get(".1.3.6.1.2.1.1.1.0"));
    EXPECT_EQ(harness.Signals(), std::vector<UINT>{WM_WALK_DONE});

    // A base naming one instance: the first answer is already outside it.
    AppSettings.SetBase(".1.3.6.1.2.1.1.1.0");
    CWalkHarness leaf(agent.Address());
    leaf.Run();
    EXPECT_TRUE(leaf.Records().empty());
    EXPECT_EQ(leaf.Signals(), std::vector<UINT>{WM_WALK_DONE});
}

TEST_F(MibWalk, QuietEndsOfTheSubtreeGiveDoneWithoutText)
{
    const std::vector<Var> table = SystemTable();
    CFakeAgent agent([&](const Request& request, std::size_t) { return CFakeAgent::NextFrom(table, request); });

    AppSettings.SetBase(".1.3.6.1.2.1.1");  // left through an answer outside the base
    CWalkHarness left(agent.Address());
    left.Run();
    EXPECT_EQ(OidsOf(left.Records()), kSystemOids);
    EXPECT_EQ(left.Records()[1].m_strValue, "2 Mins 3 Secs");
    EXPECT_EQ(left.Signals(), std::vector<UINT>{WM_WALK_DONE});

    AppSettings.SetBase(".1.3.6.1.2.1.2");  // v1 past the last variable: noSuchName
    CWalkHarness noSuchName(agent.Address());
    noSuchName.Run();
    EXPECT_EQ(noSuchName.Records().size(), 1u);
    EXPECT_EQ(noSuchName.Signals(), std::vector<UINT>{WM_WALK_DONE});

    AppSettings.Version = 2;  // v2c past the last variable: endOfMibView
    CWalkHarness endOfView(agent.Address());
    endOfView.Run();
    EXPECT_EQ(endOfView.Records().size(), 1u);
    EXPECT_EQ(endOfView.Signals(), std::vector<UINT>{WM_WALK_DONE});
    EXPECT_EQ(agent.Requests().back().nVersion, 1);  // the v2c wire version
    EXPECT_EQ(agent.Requests().back().nCommand, 0xA1);
}

TEST_F(MibWalk, ErrorsFromTheAgentAreReportedBeforeDone)
{
    const std::vector<Var> table = SystemTable();
    CFakeAgent agent([&](const Request& request, std::size_t nIndex) {
        Answer answer = CFakeAgent::NextFrom(table, request);
        if (nIndex == 2) {
            answer.nErrorStatus = 5;
            answer.nErrorIndex = 1;
            answer.vars = request.vars;
        }
        return answer;
    });
    AppSettings.SetBase(".1.3.6.1.2.1.1");
    CWalkHarness harness(agent.Address());
    harness.Run();
    EXPECT_EQ(harness.Records().size(), 2u);
    EXPECT_EQ(harness.Texts(), std::vector<std::string>{"Error: errorStatus=5, errorIndex=1 \n"});
    EXPECT_EQ(harness.Signals(), (std::vector<UINT>{WM_WALK_ERROR, WM_WALK_DONE}));
    EXPECT_EQ(agent.RequestCount(), 3u);
}

TEST_F(MibWalk, AgentsThatDoNotMoveForwardCannotHoldTheWalk)
{
    const std::vector<Var> table = SystemTable();
    for (bool bRepeat : {true, false}) {
        // An answer repeating the name asked about, or one going backwards.
        CFakeAgent agent([&](const Request& request, std::size_t nIndex) {
            Answer answer = CFakeAgent::NextFrom(table, request);
            if (nIndex == 2)
                answer.vars = {bRepeat ? CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 1)
                                       : CFakeAgent::Number(".1.3.6.1.2.1.1.1.5", 0x02, 1)};
            return answer;
        });
        AppSettings.SetBase(".1.3.6.1.2.1.1");
        CWalkHarness harness(agent.Address());
        harness.Run();
        EXPECT_EQ(harness.Records().size(), 2u);
        const std::string strOid = bRepeat ? ".1.3.6.1.2.1.1.3.0" : ".1.3.6.1.2.1.1.1.5";
        EXPECT_EQ(harness.Texts(), std::vector<std::string>{"Error: OID not increasing, " + strOid + "\n"});
        EXPECT_EQ(harness.Signals(), (std::vector<UINT>{WM_WALK_ERROR, WM_WALK_DONE}));
        EXPECT_EQ(agent.RequestCount(), 3u);
    }

    // endOfMibView under the same name ends a v2c walk quietly.
    CFakeAgent stuck([&](const Request& request, std::size_t nIndex) {
        Answer answer = CFakeAgent::NextFrom(table, request);
        if (nIndex == 1)
            answer.vars[0] = CFakeAgent::Tag(".1.3.6.1.2.1.1.1.0", 0x82);
        return answer;
    });
    AppSettings.Version = 2;
    CWalkHarness harness(stuck.Address());
    harness.Run();
    EXPECT_EQ(harness.Records().size(), 1u);
    EXPECT_EQ(harness.Signals(), std::vector<UINT>{WM_WALK_DONE});
}

TEST_F(MibWalk, NoUsableAnswerGivesTheTimedOutTextThenDone)
{
    AppSettings.Timeout = 1;
    AppSettings.Retries = 0;
    AppSettings.SetBase(".1.3.6.1.2.1.1");
    const std::vector<Var> table = SystemTable();
    for (auto eKind : {Answer::Kind::Silent, Answer::Kind::Garbled}) {
        CFakeAgent agent([&](const Request& request, std::size_t nIndex) {
            Answer answer = CFakeAgent::NextFrom(table, request);
            if (nIndex == 1)
                answer.eKind = eKind;
            return answer;
        });
        CWalkHarness harness(agent.Address());
        harness.Run();
        EXPECT_EQ(harness.Records().size(), 1u);
        EXPECT_EQ(harness.Texts(), std::vector<std::string>{"Error Sending Request\nErrorID:40 (There was no response "
                                                            "from the host, the request timed-out)"});
        EXPECT_EQ(harness.Signals(), (std::vector<UINT>{WM_WALK_ERROR, WM_WALK_DONE}));
        EXPECT_EQ(agent.RequestCount(), 2u);
    }
}

TEST_F(MibWalk, EveryValueKindArrivesAsARecord)
{
    const std::vector<Var> table = {
        CFakeAgent::Tag(".1.3.6.1.4.1.99.1.0", 0x05),  // a NULL value: "Unknown"
        CFakeAgent::Number(".1.3.6.1.4.1.99.2.0", 0x46, 4294967296LL),  // Counter64, even over v1
        CFakeAgent::Bytes(".1.3.6.1.4.1.99.3.0", 0x40, std::string("\x7F\x00\x00\x01", 4)),
        CFakeAgent::Number(".1.3.6.1.4.1.99.4.0", 0x02, -1),
        CFakeAgent::Bytes(".1.3.6.1.4.1.99.5.0", 0x04, std::string("\x00\x1A\xFF", 3)),
    };
    CFakeAgent agent([&](const Request& request, std::size_t) { return CFakeAgent::NextFrom(table, request); });
    AppSettings.SetBase(".1.3.6.1.4.1.99");
    CWalkHarness harness(agent.Address());
    harness.Run();
    const std::vector<CWalkRecord> records = harness.Records();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].m_strName, "private.enterprises.99.1.0");
    EXPECT_EQ(records[0].m_strType, "Unknown");
    EXPECT_EQ(records[0].m_strValue, "");
    EXPECT_EQ(records[1].m_strType, "COUNTER64");
    EXPECT_EQ(records[1].m_strValue, "4294967296");
    EXPECT_EQ(records[2].m_strValue, "127.0.0.1");
    EXPECT_EQ(records[3].m_strValue, "-1");
    EXPECT_EQ(records[4].m_strValue, " 00 1A FF");
    EXPECT_EQ(harness.Signals(), std::vector<UINT>{WM_WALK_DONE});
}

TEST_F(MibWalk, StopLetsTheAnswerInFlightArriveAndSendsNoFurtherRequest)
{
    const std::vector<Var> table = SystemTable();
    CFakeAgent agent([&](const Request& request, std::size_t nIndex) {
        Answer answer = CFakeAgent::NextFrom(table, request);
        if (nIndex == 2)
            answer.nDelayMs = 400;
        return answer;
    });
    AppSettings.SetBase(".1.3.6.1.2.1.1");
    CWalkHarness harness(agent.Address());
    std::thread stopper([&] {
        if (agent.WaitForRequests(3))
            harness.m_bRun = 0;  // Stop, while the third answer is on its way
    });
    harness.Run();
    stopper.join();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(OidsOf(harness.Records()),
              (std::vector<std::string>{kSystemOids[0], kSystemOids[1], kSystemOids[2]}));
    EXPECT_EQ(harness.Signals(), std::vector<UINT>{WM_WALK_STOPPED});
    EXPECT_EQ(harness.m_arrivals.back().message, WM_WALK_STOPPED);
    EXPECT_EQ(agent.RequestCount(), 3u);
}

TEST_F(MibWalk, WindowGoneMidWalkEndsTheThreadSilently)
{
    const std::vector<Var> table = SystemTable();
    CFakeAgent agent([&](const Request& request, std::size_t nIndex) {
        Answer answer = CFakeAgent::NextFrom(table, request);
        if (nIndex >= 2)
            answer.nDelayMs = 100;
        return answer;
    });
    AppSettings.SetBase(".1.3.6.1.2.1.1");
    CWalkHarness harness(agent.Address());
    harness.m_onArrival = [](CWalkHarness& self) {
        if (self.Records().size() == 2)
            self.m_window.Retire();  // records already queued are dropped with the window
    };
    harness.Run();
    EXPECT_EQ(harness.Records().size(), 2u);
    EXPECT_TRUE(harness.Signals().empty());
    EXPECT_LE(agent.RequestCount(), 4u);
}

TEST_F(MibWalk, FailuresBeforeTheSessionOpensPostTheirTextOnly)
{
    CFakeAgent agent([](const Request& request, std::size_t) { return CFakeAgent::NextFrom({}, request); });
    const struct
    {
        std::string strHost;
        std::string strBase;
        std::string strText;
    } cases[] = {
        {agent.Address(), "1.3.x", "Error: Invalid oid, 1.3.x, specified.\n"},
        {"no-such-host.invalid", ".1.3", "Error: Unable to resolve Host\n"},
        {"127.0.0.1:99999", ".1.3",
         "Error attempting to connect to '127.0.0.1:99999' with community 'public'\nError ID:22\n"},
    };
    for (const auto& c : cases) {
        AppSettings.SetBase(c.strBase);
        CWalkHarness harness(c.strHost);
        harness.Run();
        EXPECT_EQ(harness.Texts(), std::vector<std::string>{c.strText});
        EXPECT_EQ(harness.Signals(), std::vector<UINT>{WM_WALK_ERROR}) << c.strText;
    }
    EXPECT_EQ(agent.RequestCount(), 0u);

    // An over-long base is refused whole; its text is cut to fit and keeps its line end.
    AppSettings.SetBase("." + std::string(1100, '1'));
    CWalkHarness harness(agent.Address());
    harness.Run();
    ASSERT_EQ(harness.Texts().size(), 1u);
    EXPECT_EQ(harness.Texts()[0].size(), 255u);
    EXPECT_EQ(harness.Texts()[0].rfind("Error: Invalid oid, .111", 0), 0u);
    EXPECT_EQ(harness.Texts()[0].back(), '\n');
}

TEST_F(MibWalk, DetachedStartByNameWithPortReportsToTheWindow)
{
    const std::vector<Var> table = SystemTable();
    CFakeAgent agent([&](const Request& request, std::size_t) { return CFakeAgent::NextFrom(table, request); });
    AppSettings.SetBase(".1.3.6.1.2.1.1");
    CWalkHarness harness("localhost:" + std::to_string(agent.Port()));
    ASSERT_TRUE(StartMibWalkThread(harness));
    EXPECT_EQ(harness.m_bWalking, 1);  // already, before the thread has run
    ASSERT_TRUE(PumpUntil([&] { return !harness.Signals().empty(); }));
    EXPECT_EQ(harness.m_bWalking, 0);
    EXPECT_EQ(OidsOf(harness.Records()), kSystemOids);
    EXPECT_EQ(harness.Signals(), std::vector<UINT>{WM_WALK_DONE});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the detached thread's last steps
}

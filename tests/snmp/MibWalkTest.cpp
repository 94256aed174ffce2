#include "snmp/AppSettings.h"
#include "snmp/WalkHarness.h"
#include "support/FakeAgent.h"
#include "support/PumpUntil.h"
#include "support/SnmpdEnvironment.h"
#include <QCoreApplication>
#include <algorithm>
#include <functional>
#include <iterator>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

static auto* const g_pSnmpd = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

namespace {

using Var = CFakeAgent::CVar;
using Answer = CFakeAgent::CAnswer;
using Request = CFakeAgent::CRequest;

const std::vector<Var> kSystemTable = {
    CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "Fake agent\r\n"),
    CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 12345),
    CFakeAgent::Bytes(".1.3.6.1.2.1.1.4.0", 0x04, "ops"),
    CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "box"),
    CFakeAgent::Number(".1.3.6.1.2.1.1.7.0", 0x02, 72),
    CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 2),  // outside system
};
const Strings kSystemOids = {".1.3.6.1.2.1.1.1.0", ".1.3.6.1.2.1.1.3.0", ".1.3.6.1.2.1.1.4.0",
                             ".1.3.6.1.2.1.1.5.0", ".1.3.6.1.2.1.1.7.0"};

// GET-NEXT over kSystemTable; the answer to request nIndex goes through tamper.
CFakeAgent::Script SystemScript(std::size_t nIndex = 99, std::function<void(Answer&)> tamper = {})
{
    return [=](const Request& request, std::size_t n) {
        Answer answer = CFakeAgent::NextFrom(kSystemTable, request);
        if (n == nIndex)
            tamper(answer);
        return answer;
    };
}

class MibWalk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        AppSettings.SetBase(".1.3.6.1.2.1.1");
        AppSettings.MaxRepetitions = 0;  // GET-NEXT, unless a test asks for bulk
    }
    void TearDown() override { AppSettings.Reset(); }
};

} // namespace

TEST_F(MibWalk, SystemSubtreeMatchesTheCommandLineWalkerOnARealAgent)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    CWalkHarness harness(agent.Address());
    harness.Run();

    std::string strOut;
    ASSERT_EQ(agent.RunTool("snmpwalk", {"-v1", "-c", "public", "-On", agent.Address(), ".1.3.6.1.2.1.1"}, &strOut), 0);
    Strings expected;
    std::istringstream lines(strOut);
    for (std::string strLine; std::getline(lines, strLine);)
        expected.push_back(strLine.substr(0, strLine.find(" = ")));
    ASSERT_GT(harness.m_records.size(), 5u);
    EXPECT_EQ(harness.Oids(), expected);
    EXPECT_EQ(harness.m_records[0].m_strName, "system.sysDescr.0");
    EXPECT_EQ(harness.m_records[0].m_strType, "OCTETSTRING");
    EXPECT_EQ("\"" + harness.m_records[0].m_strValue + "\"", agent.Get(".1.3.6.1.2.1.1.1.0"));
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});

    // A base naming one instance: the first answer is already outside it.
    AppSettings.SetBase(".1.3.6.1.2.1.1.1.0");
    CWalkHarness leaf(agent.Address());
    leaf.Run();
    EXPECT_TRUE(leaf.m_records.empty());
    EXPECT_EQ(leaf.m_signals, Messages{WM_WALK_DONE});
}

// Every way a running walk can end on the agent's account: the third answer
// (after two records) is the one that ends it.
TEST_F(MibWalk, EndSignals)
{
    AppSettings.Timeout = 2;  // short, yet never reached by a loaded machine's answers
    AppSettings.Retries = 0;
    const Strings kTimedOut = {
        "Error Sending Request\nErrorID:40 (There was no response from the host, the request timed-out)"};
    const struct
    {
        const char* pszCase;
        DWORD nVersion;
        std::function<void(Answer&)> tamper;
        Strings texts;
    } cases[] = {
        {"noSuchName", 1, [](Answer& a) { a.nErrorStatus = 2, a.nErrorIndex = 1; }, {}},
        {"error status", 1, [](Answer& a) { a.nErrorStatus = 5, a.nErrorIndex = 1; },
         {"Error: errorStatus=5, errorIndex=1 \n"}},
        // The status is the news, whatever binding comes with it.
        {"error status beyond the base", 1,
         [](Answer& a) {
             a.nErrorStatus = 5, a.nErrorIndex = 1;
             a.vars = {CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 1)};
         },
         {"Error: errorStatus=5, errorIndex=1 \n"}},
        {"negative status", 1, [](Answer& a) { a.nErrorStatus = -1, a.nErrorIndex = 0; },
         {"Error: errorStatus=-1, errorIndex=0 \n"}},
        {"status beyond 32 bits", 1, [](Answer& a) { a.nErrorStatus = 4294967298L, a.nErrorIndex = 1; },
         {"Error: errorStatus=4294967298, errorIndex=1 \n"}},
        {"status beyond the standard's", 2, [](Answer& a) { a.nErrorStatus = 19, a.nErrorIndex = 1; },
         {"Error: errorStatus=19, errorIndex=1 \n"}},
        {"same name again", 1, [](Answer& a) { a.vars = {CFakeAgent::Number(".1.3.6.1.2.1.1.3.0", 0x43, 1)}; },
         {"Error: OID not increasing, .1.3.6.1.2.1.1.3.0\n"}},
        {"name going back", 1, [](Answer& a) { a.vars = {CFakeAgent::Number(".1.3.6.1.2.1.1.1.5", 0x02, 1)}; },
         {"Error: OID not increasing, .1.3.6.1.2.1.1.1.5\n"}},
        {"prefix of the name", 1, [](Answer& a) { a.vars = {CFakeAgent::Number(".1.3.6.1.2.1.1.3", 0x02, 1)}; },
         {"Error: OID not increasing, .1.3.6.1.2.1.1.3\n"}},
        {"endOfMibView", 2, [](Answer& a) { a.vars = {CFakeAgent::Tag(".1.3.6.1.2.1.1.3.0", 0x82)}; }, {}},
        {"no answer", 1, [](Answer& a) { a.eKind = Answer::Kind::Silent; }, kTimedOut},
        {"garbled answer", 1, [](Answer& a) { a.eKind = Answer::Kind::Garbled; }, kTimedOut},
    };
    for (const auto& c : cases) {
        AppSettings.Version = c.nVersion;
        CFakeAgent agent(SystemScript(2, c.tamper));
        CWalkHarness harness(agent.Address());
        harness.Run();
        EXPECT_EQ(harness.Oids(), Strings(kSystemOids.begin(), kSystemOids.begin() + 2)) << c.pszCase;
        EXPECT_EQ(harness.m_texts, c.texts) << c.pszCase;
        Messages expected(c.texts.size(), WM_WALK_ERROR);
        expected.push_back(WM_WALK_DONE);
        EXPECT_EQ(harness.m_signals, expected) << c.pszCase;
        expected.insert(expected.begin(), 2, WM_WALK_RECORD);  // texts come behind the records before them
        EXPECT_EQ(harness.m_arrivals, expected) << c.pszCase;
        EXPECT_EQ(agent.RequestCount(), 3u) << c.pszCase;
        EXPECT_EQ(agent.Requests().back().nVersion, long(c.nVersion) - 1) << c.pszCase;  // wire version
    }

    // Left through an answer beyond the subtree: every record, then done.
    CFakeAgent agent(SystemScript());
    CWalkHarness harness(agent.Address());
    harness.Run();
    EXPECT_EQ(harness.Oids(), kSystemOids);
    EXPECT_EQ(harness.m_records[0].m_strValue, "Fake agent\r\n");
    EXPECT_EQ(harness.m_records[1].m_strValue, "2 Mins 3 Secs");
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});
}

TEST_F(MibWalk, EveryValueKindArrivesAsARecord)
{
    const std::vector<Var> table = {
        CFakeAgent::Tag(".1.3.6.1.4.1.99.1.0", 0x05),                   // NULL: "Unknown"
        CFakeAgent::Number(".1.3.6.1.4.1.99.2.0", 0x46, 4294967296LL),  // Counter64, even over v1
        CFakeAgent::Bytes(".1.3.6.1.4.1.99.3.0", 0x40, std::string("\x7F\x00\x00\x01", 4)),
        CFakeAgent::Bytes(".1.3.6.1.4.1.99.5.0", 0x04, std::string("\x00\x1A\xFF", 3)),
    };
    CFakeAgent agent([&](const Request& request, std::size_t) { return CFakeAgent::NextFrom(table, request); });
    AppSettings.SetBase(".1.3.6.1.4.1.99");
    CWalkHarness harness(agent.Address());
    harness.Run();
    ASSERT_EQ(harness.m_records.size(), 4u);
    const std::vector<CWalkRecord>& r = harness.m_records;
    EXPECT_EQ(r[0].m_strName, "private.enterprises.99.1.0");
    EXPECT_EQ(r[0].m_strType + "|" + r[0].m_strValue, "Unknown|");
    EXPECT_EQ(r[1].m_strType + "|" + r[1].m_strValue, "COUNTER64|4294967296");
    EXPECT_EQ(r[2].m_strType + "|" + r[2].m_strValue, "IPADDRESS|127.0.0.1");
    EXPECT_EQ(r[3].m_strType + "|" + r[3].m_strValue, "OCTETSTRING| 00 1A FF");
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});
    // The tools' value form is made only for a walk that asks for it.
    for (const CWalkRecord& record : r)
        EXPECT_EQ(record.m_strSnmpwalkValue, "") << record.m_strOid;
    CWalkHarness asking(agent.Address());
    asking.m_request.m_bSnmpwalkValues = true;
    asking.Run();
    ASSERT_EQ(asking.m_records.size(), 4u);
    EXPECT_EQ(asking.m_records[1].m_strSnmpwalkValue, "Counter64: 4294967296");
    EXPECT_EQ(asking.m_records[2].m_strSnmpwalkValue, "IpAddress: 127.0.0.1");
}

TEST_F(MibWalk, StopLetsTheAnswerInFlightArriveAndSendsNoFurtherRequest)
{
    CFakeAgent agent(SystemScript(2, [](Answer& a) { a.nDelayMs = 1000; }));
    CWalkHarness harness(agent.Address());
    std::thread stopper([&] {
        if (agent.WaitForRequests(3))
            harness.m_pWalk->m_bRun = 0;  // Stop, while the third answer is on its way
    });
    harness.Run();
    stopper.join();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(harness.Oids(), Strings(kSystemOids.begin(), kSystemOids.begin() + 3));
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_STOPPED});
    EXPECT_EQ(agent.RequestCount(), 3u);
}

TEST_F(MibWalk, WindowGoneMidWalkEndsTheThreadSilently)
{
    CFakeAgent agent([](const Request& request, std::size_t nIndex) {
        Answer answer = CFakeAgent::NextFrom(kSystemTable, request);
        answer.nDelayMs = nIndex >= 2 ? 200 : 0;
        return answer;
    });
    CWalkHarness harness(agent.Address());
    harness.m_onArrival = [](CWalkHarness& self) {
        if (self.m_records.size() == 2)
            self.m_window.Retire();  // records still queued go with the window
    };
    harness.Run();
    EXPECT_EQ(harness.m_records.size(), 2u);
    EXPECT_TRUE(harness.m_signals.empty());
    EXPECT_LT(agent.RequestCount(), kSystemTable.size());  // ended before the subtree did
}

TEST_F(MibWalk, FailuresBeforeTheSessionOpensPostTheirTextOnly)
{
    CFakeAgent agent(SystemScript());
    const std::string strLongBase = "." + std::string(1100, '1');
    const struct
    {
        std::string strHost, strBase, strText;
    } cases[] = {
        {agent.Address(), "1.3.x", "Error: Invalid oid, 1.3.x, specified.\n"},
        {"no-such-host.invalid", ".1.3", "Error: Unable to resolve Host\n"},
        {"127.0.0.1:99999", ".1.3",
         "Error attempting to connect to '127.0.0.1:99999' with community 'public'\nError ID:22\n"},
        // Refused whole; the text is cut to 255 characters and keeps its line end.
        {agent.Address(), strLongBase, "Error: Invalid oid, " + strLongBase.substr(0, 234) + "\n"},
    };
    for (const auto& c : cases) {
        AppSettings.SetBase(c.strBase);
        CWalkHarness harness(c.strHost);
        harness.Run();
        EXPECT_EQ(harness.m_texts, Strings{c.strText});
        EXPECT_EQ(harness.m_signals, Messages{WM_WALK_ERROR});
    }
    EXPECT_EQ(agent.RequestCount(), 0u);
}

TEST_F(MibWalk, DetachedStartByNameWithPortAndAbsurdTimeoutReportsToTheWindow)
{
    AppSettings.Timeout = 3000000;  // seconds: must not overflow into a wait shorter than the answer's delay
    CFakeAgent agent(SystemScript(0, [](Answer& a) { a.nDelayMs = 200; }));
    CWalkHarness harness("localhost:" + std::to_string(agent.Port()));
    ASSERT_TRUE(StartMibWalkThread(harness));
    EXPECT_EQ(harness.m_pWalk->m_bWalking, 1);  // already, before the thread has run
    ASSERT_TRUE(PumpUntil([&] { return !harness.m_signals.empty(); }, 20000));
    EXPECT_EQ(harness.m_pWalk->m_bWalking, 0);
    EXPECT_EQ(harness.Oids(), kSystemOids);
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the detached thread's last steps
}

namespace {

// GetBulk over kSystemTable, max-repetitions as asked; the answer to request
// nIndex goes through tamper.
CFakeAgent::Script BulkScript(std::size_t nIndex, std::function<void(Answer&)> tamper)
{
    return SystemScript(nIndex, std::move(tamper));
}

CFakeAgent::CVar SystemVar(std::size_t nRow)
{
    return kSystemTable[nRow];
}

Strings FirstOids(std::size_t nCount)
{
    return Strings(kSystemOids.begin(), kSystemOids.begin() + nCount);
}

class BulkWalk : public MibWalk
{
protected:
    void SetUp() override
    {
        MibWalk::SetUp();
        AppSettings.Version = 2;
        AppSettings.MaxRepetitions = 4;
    }
};

} // namespace

// Each end rule applies to the variable it meets inside a bulk answer: those
// before it are records, nothing after it is.
TEST_F(BulkWalk, EndRulesApplyToEachVariableOfAnAnswer)
{
    const struct
    {
        const char* pszCase;
        std::function<void(Answer&)> tamper;
        std::size_t nRecords;
        Strings texts;
    } cases[] = {
        {"endOfMibView in the middle",
         [](Answer& a) { a.vars[2] = CFakeAgent::Tag(".1.3.6.1.2.1.1.3.0", 0x82); }, 2, {}},
        {"base left in the middle",
         [](Answer& a) { a.vars[2] = CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 2); }, 2, {}},
        {"name not increasing in the middle", [](Answer& a) { a.vars[2] = SystemVar(0); }, 2,
         {"Error: OID not increasing, .1.3.6.1.2.1.1.1.0\n"}},
        {"error status", [](Answer& a) { a.nErrorStatus = 5, a.nErrorIndex = 1; }, 0,
         {"Error: errorStatus=5, errorIndex=1 \n"}},
        {"no variables", [](Answer& a) { a.vars.clear(); }, 0, {"Error: The agent answered without variables.\n"}},
    };
    for (const auto& c : cases) {
        CFakeAgent agent(BulkScript(0, c.tamper));
        CWalkHarness harness(agent.Address());
        harness.Run();
        EXPECT_EQ(harness.Oids(), FirstOids(c.nRecords)) << c.pszCase;
        EXPECT_EQ(harness.m_texts, c.texts) << c.pszCase;
        Messages expected(c.texts.size(), WM_WALK_ERROR);
        expected.push_back(WM_WALK_DONE);
        EXPECT_EQ(harness.m_signals, expected) << c.pszCase;
        expected.insert(expected.begin(), c.nRecords, WM_WALK_RECORD);
        EXPECT_EQ(harness.m_arrivals, expected) << c.pszCase;
        ASSERT_EQ(agent.RequestCount(), 1u) << c.pszCase;
        EXPECT_EQ(agent.Requests()[0].nCommand, 0xA5) << c.pszCase;
        EXPECT_EQ(agent.Requests()[0].nMaxRepetitions, 4) << c.pszCase;
    }
}

TEST_F(BulkWalk, FewerVariablesThanAskedGoOnFromTheLastOne)
{
    CFakeAgent agent([](const Request& request, std::size_t) {
        Answer answer = CFakeAgent::NextFrom(kSystemTable, request);
        answer.vars.resize(std::min<std::size_t>(answer.vars.size(), 2));
        return answer;
    });
    AppSettings.MaxRepetitions = 25;
    CWalkHarness harness(agent.Address());
    harness.Run();
    EXPECT_EQ(harness.Oids(), kSystemOids);
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});
    const std::vector<Request> requests = agent.Requests();
    ASSERT_EQ(requests.size(), 3u);  // 2 + 2 + (1 and the one beyond the subtree)
    EXPECT_EQ(requests[1].vars[0].name, CFakeAgent::ParseOid(kSystemOids[1]));
    EXPECT_EQ(requests[2].vars[0].name, CFakeAgent::ParseOid(kSystemOids[3]));
    EXPECT_EQ(requests[2].nMaxRepetitions, 25);
}

TEST_F(BulkWalk, TooBigHalvesTheRepetitionsAndAsksTheSameNameAgain)
{
    CFakeAgent agent([](const Request& request, std::size_t) {
        if (request.nMaxRepetitions > 2) {
            Answer tooBig;
            tooBig.nErrorStatus = 1;  // tooBig carries no variables
            return tooBig;
        }
        return CFakeAgent::NextFrom(kSystemTable, request);
    });
    AppSettings.MaxRepetitions = 9;
    CWalkHarness harness(agent.Address());
    harness.Run();
    EXPECT_EQ(harness.Oids(), kSystemOids);
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});
    const std::vector<Request> requests = agent.Requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[0].nMaxRepetitions, 9);
    EXPECT_EQ(requests[1].nMaxRepetitions, 4);
    EXPECT_EQ(requests[2].nMaxRepetitions, 2);
    EXPECT_EQ(requests[2].vars[0].name, requests[0].vars[0].name);
    EXPECT_EQ(requests.back().nMaxRepetitions, 2);  // it stays halved

    // At one repetition there is nothing left to halve: an error status like any other.
    AppSettings.MaxRepetitions = 1;
    CFakeAgent tooBigAlways([](const Request&, std::size_t) {
        Answer tooBig;
        tooBig.nErrorStatus = 1;
        return tooBig;
    });
    CWalkHarness lone(tooBigAlways.Address());
    lone.Run();
    EXPECT_TRUE(lone.m_records.empty());
    EXPECT_EQ(lone.m_texts, Strings{"Error: errorStatus=1, errorIndex=0 \n"});
    EXPECT_EQ(tooBigAlways.RequestCount(), 1u);
}

TEST_F(BulkWalk, VersionOneAndZeroRepetitionsWalkWithGetNext)
{
    for (const auto& [nVersion, nRepetitions] : {std::pair<DWORD, DWORD>{1, 25}, {2, 0}}) {
        AppSettings.Version = nVersion;
        AppSettings.MaxRepetitions = nRepetitions;
        CFakeAgent agent(SystemScript());
        CWalkHarness harness(agent.Address());
        harness.Run();
        EXPECT_EQ(harness.Oids(), kSystemOids);
        for (const Request& request : agent.Requests())
            EXPECT_EQ(request.nCommand, 0xA1) << "v" << nVersion << " with " << nRepetitions;
    }
}

namespace {

// The OIDs of a walk of the agent's whole MIB, without the tables whose rows
// come and go from walk to walk: the walkers' own processes and sockets, and
// the installed software (the package test installs and removes ours).
Strings FullWalkOids(const std::string& strHost, const CAgentProfile& profile)
{
    static const char* const kLive[] = {".1.3.6.1.2.1.25.4.", ".1.3.6.1.2.1.25.5.", ".1.3.6.1.2.1.25.6.3.",
                                        ".1.3.6.1.2.1.6.13.", ".1.3.6.1.2.1.6.19.", ".1.3.6.1.2.1.6.20.",
                                        ".1.3.6.1.2.1.7.5.",  ".1.3.6.1.2.1.7.7."};
    AppSettings.SetBase(".1.3");
    CWalkHarness harness(strHost);
    harness.m_request.m_profile = profile;
    harness.Run();
    EXPECT_EQ(harness.m_signals, Messages{WM_WALK_DONE});
    Strings oids;
    for (const std::string& strOid : harness.Oids()) {
        const bool bLive = std::any_of(std::begin(kLive), std::end(kLive),
                                       [&](const char* pszPrefix) { return strOid.rfind(pszPrefix, 0) == 0; });
        if (!bLive)
            oids.push_back(strOid);
    }
    return oids;
}

} // namespace

TEST_F(BulkWalk, FullMibOfARealAgentInTheSameOrderAsGetNext)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    const CSnmpdFixture::CV3User& user = CSnmpdFixture::kV3Users[1];  // SHA/AES
    CAgentProfile v2c = CAgentProfile::FromSettings();
    v2c.m_nMaxRepetitions = 25;
    CAgentProfile v3 = v2c;
    v3.m_nVersion = CAgentProfile::kVersion3;
    v3.m_strUser = user.pszName;
    v3.m_eLevel = SnmpSecurityLevel::AuthPriv;
    v3.m_eAuth = SnmpAuthProtocol::SHA;
    v3.m_strAuthPass = user.AuthPass();
    v3.m_ePriv = SnmpPrivProtocol::AES;
    v3.m_strPrivPass = user.PrivPass();
    for (const CAgentProfile& bulk : {v2c, v3}) {
        CAgentProfile getNext = bulk;
        getNext.m_nMaxRepetitions = 0;
        const Strings bulkOids = FullWalkOids(agent.Address(), bulk);
        EXPECT_GT(bulkOids.size(), 500u);
        EXPECT_EQ(bulkOids, FullWalkOids(agent.Address(), getNext)) << "version " << bulk.m_nVersion;
    }
}

TEST_F(BulkWalk, IPv6AgentsAndMalformedBrackets)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    CWalkHarness overIPv4(agent.Address());
    overIPv4.Run();
    CWalkHarness overIPv6(agent.Address6());  // "[::1]:port"
    overIPv6.Run();
    EXPECT_GT(overIPv6.m_records.size(), 5u);
    EXPECT_EQ(overIPv6.Oids(), overIPv4.Oids());
    EXPECT_EQ(overIPv6.m_signals, Messages{WM_WALK_DONE});

    const std::string strMalformed = "Error: Malformed host, %s; an IPv6 address is written in brackets, as "
                                     "[2001:db8::1]:161\n";
    const auto Malformed = [&](const std::string& strHost) {
        std::string strText = strMalformed;
        return strText.replace(strText.find("%s"), 2, strHost);
    };
    const std::pair<std::string, std::string> failures[] = {
        {"[::1", Malformed("[::1")},
        {"[::1]x", Malformed("[::1]x")},
        {"[::1]:", Malformed("[::1]:")},
        {"[example.org]:161", Malformed("[example.org]:161")},
        {"::1]:161", Malformed("::1]:161")},
        {"no-such-host.invalid", "Error: Unable to resolve Host\n"},
    };
    for (const auto& [strHost, strText] : failures) {
        CWalkHarness harness(strHost);
        harness.Run();
        EXPECT_EQ(harness.m_texts, Strings{strText}) << strHost;
        EXPECT_EQ(harness.m_signals, Messages{WM_WALK_ERROR}) << strHost;
    }
}

// The owner goes while its walk waits for an answer that never comes: the walk
// keeps only its own state alive and ends on its own after the request's time.
TEST(MibWalkOwner, MayGoWhileItsWalkWaitsForAnAnswer)
{
    AppSettings.Reset();
    AppSettings.Timeout = 1;
    AppSettings.Retries = 0;
    CFakeAgent silent([](const Request&, std::size_t) {
        Answer answer;
        answer.eKind = Answer::Kind::Silent;
        return answer;
    });
    auto pHarness = std::make_unique<CWalkHarness>(silent.Address());
    const std::shared_ptr<CWalkState> pState = pHarness->m_pWalk;
    ASSERT_TRUE(StartMibWalkThread(*pHarness));
    ASSERT_TRUE(silent.WaitForRequests(1));
    pHarness.reset();  // the owner and its window are gone
    EXPECT_EQ(pState->m_bWalking, 1);
    EXPECT_GT(pState.use_count(), 1);  // the walk's share
    ASSERT_TRUE(PumpUntil([&] { return pState->m_bWalking == 0; }, 10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the detached thread's last steps
    EXPECT_EQ(pState.use_count(), 1);
    EXPECT_EQ(silent.RequestCount(), 1u);
    AppSettings.Reset();
}

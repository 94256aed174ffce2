// The manager interface against a real agent on the loopback network, and
// against answers no sound agent sends: the layer must neither crash nor
// report an unusable answer as a good one.
#include "platform/snmpmgr/SnmpMgr.h"
#include "platform/syserr/SysError.h"
#include "support/FakeAgent.h"
#include "support/SnmpdEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

static auto* const g_pAgentEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

namespace
{
using CAnswer = CFakeAgent::CAnswer;

struct SessionCloser
{
    void operator()(SnmpMgrSession* p) const { SnmpMgrClose(p); }
};
using Session = std::unique_ptr<SnmpMgrSession, SessionCloser>;

Session Open(const std::string& strAgent, const char* pszCommunity = "public", int nVersion = SNMP_VERSION_V1,
             int nTimeoutMs = 2000, int nRetries = 1)
{
    return Session(SnmpMgrOpen(strAgent.c_str(), pszCommunity, nTimeoutMs, nRetries, nVersion));
}

// A binding list grown one binding at a time, freed with its owner.
struct CBindingList
{
    SnmpVarBindList list{};
    CBindingList(std::initializer_list<const char*> oids)
    {
        for (const char* pszOid : oids)
        {
            list.list = static_cast<SnmpVarBind*>(SnmpUtilMemReAlloc(list.list, (list.len + 1) * sizeof(SnmpVarBind)));
            EXPECT_TRUE(SnmpMgrStrToOid(pszOid, &list.list[list.len].name)) << pszOid;
            list.list[list.len++].value.asnType = ASN_NULL;
        }
    }
    explicit CBindingList(const char* pszOid) : CBindingList({pszOid}) {}
    ~CBindingList() { SnmpUtilVarBindListFree(&list); }
    SnmpVarBind& Binding(UINT i = 0) { return list.list[i]; }
    const AsnAny& Value(UINT i = 0) const { return list.list[i].value; }
    std::string Name(UINT i = 0) const
    {
        std::string s;
        for (UINT n = 0; n < list.list[i].name.idLength; ++n)
            s += "." + std::to_string(list.list[i].name.ids[n]);
        return s;
    }
    std::string Bytes(UINT i = 0) const
    {
        const AsnOctetString& b = list.list[i].value.asnValue.string;
        return std::string(reinterpret_cast<const char*>(b.stream), b.length);
    }
};

struct CReply
{
    SNMPAPI nResult = 0;
    AsnInteger32 nStatus = -1, nIndex = -1;
    DWORD dwError = 0;
};

CReply Request(SnmpMgrSession* pSession, BYTE type, CBindingList& bindings)
{
    CReply reply;
    SetLastError(0);
    reply.nResult = SnmpMgrRequest(pSession, type, &bindings.list, &reply.nStatus, &reply.nIndex);
    reply.dwError = GetLastError();
    return reply;
}

void SetOctets(SnmpVarBind& binding, const std::string& strValue)
{
    SnmpUtilAsnAnyFree(&binding.value);
    binding.value.asnType = ASN_OCTETSTRING;
    binding.value.asnValue.string.stream = reinterpret_cast<BYTE*>(SnmpUtilMemAlloc(strValue.size()));
    std::memcpy(binding.value.asnValue.string.stream, strValue.data(), strValue.size());
    binding.value.asnValue.string.length = static_cast<UINT>(strValue.size());
    binding.value.asnValue.string.dynamic = TRUE;
}

CSnmpdFixture& Agent()
{
    return CSnmpdEnvironment::Agent();
}

// One GET-NEXT of `bindings` against a fake agent that answers with `answer`.
CReply AskFake(const CAnswer& answer, CBindingList& bindings)
{
    CFakeAgent agent([answer](const CFakeAgent::CRequest&, std::size_t) { return answer; });
    Session session = Open(agent.Address(), "public", SNMP_VERSION_V1, 300, 0);
    EXPECT_TRUE(session);
    return session ? Request(session.get(), SNMP_PDU_GETNEXT, bindings) : CReply{};
}

CAnswer Reply(std::vector<CFakeAgent::CVar> vars, long nStatus = 0, long nIndex = 0)
{
    CAnswer answer;
    answer.vars = std::move(vars);
    answer.nErrorStatus = nStatus;
    answer.nErrorIndex = nIndex;
    return answer;
}

}  // namespace

TEST(SnmpMgrAgent, ReadsWritesAndEndsOfTheMibInBothVersions)
{
    const std::string strDescr = Agent().Get(".1.3.6.1.2.1.1.1.0");
    for (const int nVersion : {SNMP_VERSION_V1, SNMP_VERSION_V2C})
    {
        SCOPED_TRACE("version " + std::to_string(nVersion));
        Session reader = Open(Agent().Address(), "public", nVersion);
        ASSERT_TRUE(reader);
        CBindingList descr(".1.3.6.1.2.1.1.1");
        CReply reply = Request(reader.get(), SNMP_PDU_GETNEXT, descr);
        ASSERT_NE(reply.nResult, 0) << "last error " << reply.dwError;
        EXPECT_EQ(reply.nStatus, 0);
        EXPECT_EQ(reply.nIndex, 0);
        ASSERT_EQ(descr.list.len, 1u);
        EXPECT_EQ(descr.Name(), ".1.3.6.1.2.1.1.1.0");
        ASSERT_EQ(descr.Value().asnType, ASN_OCTETSTRING);
        EXPECT_EQ("\"" + descr.Bytes() + "\"", strDescr);

        const std::string strContact = "desk " + std::to_string(nVersion);
        Session writer = Open(Agent().Address(), "private", nVersion);
        CBindingList written(".1.3.6.1.2.1.1.4.0");
        SetOctets(written.Binding(), strContact);
        reply = Request(writer.get(), SNMP_PDU_SET, written);
        ASSERT_NE(reply.nResult, 0) << reply.dwError;
        EXPECT_EQ(reply.nStatus, 0);
        EXPECT_EQ(written.Bytes(), strContact);  // the answer echoes the value
        CBindingList contact(".1.3.6.1.2.1.1.4.0");
        ASSERT_NE(Request(reader.get(), SNMP_PDU_GET, contact).nResult, 0);
        EXPECT_EQ(contact.Bytes(), strContact);

        // Past the end of the MIB: v1 says noSuchName at index 1 and the binding
        // stays as sent; v2c answers with an exception value instead.
        CBindingList pastEnd(".2.99");
        reply = Request(reader.get(), SNMP_PDU_GETNEXT, pastEnd);
        ASSERT_NE(reply.nResult, 0);
        if (nVersion == SNMP_VERSION_V1)
        {
            EXPECT_EQ(reply.nStatus, 2);
            EXPECT_EQ(reply.nIndex, 1);
            EXPECT_EQ(pastEnd.Name(), ".2.99");
        }
        else
        {
            EXPECT_EQ(reply.nStatus, 0);
            EXPECT_EQ(pastEnd.Value().asnType, SNMP_EXCEPTION_ENDOFMIBVIEW);
            CBindingList missing(".1.3.6.1.2.1.1.99.0");
            ASSERT_NE(Request(reader.get(), SNMP_PDU_GET, missing).nResult, 0);
            EXPECT_EQ(missing.Value().asnType, SNMP_EXCEPTION_NOSUCHOBJECT);
        }
    }
}

TEST(SnmpMgrAgent, SeveralBindingsInOneRequestKeepTheirOrderAndTypes)
{
    Session session = Open(Agent().Address(), "public", SNMP_VERSION_V2C);
    ASSERT_TRUE(session);
    CBindingList bindings({"system.sysObjectID.0", "system.sysUpTime.0", "ip.ipAddrTable.ipAddrEntry.ipAdEntAddr.127.0.0.1",
                           "ip.ipInReceives.0", "system.sysName.0"});
    const CReply reply = Request(session.get(), SNMP_PDU_GET, bindings);
    ASSERT_NE(reply.nResult, 0) << reply.dwError;
    ASSERT_EQ(bindings.list.len, 5u);
    ASSERT_EQ(bindings.Value(0).asnType, ASN_OBJECTIDENTIFIER);
    const AsnObjectIdentifier& object = bindings.Value(0).asnValue.object;
    ASSERT_GE(object.idLength, 7u);
    EXPECT_EQ(object.ids[6], 8072u);  // the agent's enterprise
    EXPECT_EQ(bindings.Value(1).asnType, ASN_TIMETICKS);
    ASSERT_EQ(bindings.Value(2).asnType, ASN_IPADDRESS);
    EXPECT_EQ(bindings.Bytes(2), std::string("\x7f\x00\x00\x01", 4));
    EXPECT_EQ(bindings.Value(3).asnType, ASN_COUNTER32);
    EXPECT_EQ(bindings.Name(4), ".1.3.6.1.2.1.1.5.0");
    EXPECT_EQ("\"" + bindings.Bytes(4) + "\"", Agent().Get(".1.3.6.1.2.1.1.5.0"));
}

TEST(SnmpMgrSession, NoAnswerTimesOutWithCode40)
{
    const int nPort = CSnmpdFixture::FreeUdpPort();
    ASSERT_GT(nPort, 0);
    Session session = Open("127.0.0.1:" + std::to_string(nPort), "public", SNMP_VERSION_V1, 300, 1);
    ASSERT_TRUE(session);  // opening sends nothing
    CBindingList bindings(".1.3.6.1.2.1.1.1");
    const auto start = std::chrono::steady_clock::now();
    const CReply reply = Request(session.get(), SNMP_PDU_GETNEXT, bindings);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(reply.nResult, 0);
    EXPECT_EQ(reply.dwError, SNMP_MGMTAPI_TIMEOUT);
    EXPECT_GE(elapsed, std::chrono::milliseconds(500));  // first try and one retry
    EXPECT_EQ(bindings.Name(), ".1.3.6.1.2.1.1.1");
}

TEST(SnmpMgrSession, AgentTextIsHostAndOptionalPort)
{
    const std::string strPort = std::to_string(Agent().Port());
    for (const std::string& strAgent : {"127.0.0.1:" + strPort, "localhost:" + strPort})
    {
        Session session = Open(strAgent);
        ASSERT_TRUE(session) << strAgent;
        CBindingList bindings(".1.3.6.1.2.1.1.1");
        EXPECT_NE(Request(session.get(), SNMP_PDU_GETNEXT, bindings).nResult, 0) << strAgent;
    }
    // Without a port the session opens for 161 (nothing is sent here).
    EXPECT_TRUE(Open("127.0.0.1"));

    for (const char* pszBad : {"", ":161", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:abc",
                               "127.0.0.1:+5", "127.0.0.1:16 1", "127.0.0.1:1:2"})
    {
        SetLastError(0);
        EXPECT_FALSE(Open(pszBad)) << pszBad;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL)) << pszBad;
    }
    // An unknown host fails at open, with no code (the resolver refuses the
    // malformed name itself, so nothing leaves the machine).
    SetLastError(77);
    EXPECT_FALSE(Open("no..such-host.invalid:" + strPort));
    EXPECT_EQ(GetLastError(), 0u);
    SetLastError(0);
    EXPECT_FALSE(Open("127.0.0.1:" + strPort, "public", 3));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL));
    EXPECT_EQ(SnmpMgrOpen(nullptr, "public", 1000, 1), nullptr);
    EXPECT_EQ(SnmpMgrOpen("127.0.0.1", nullptr, 1000, 1), nullptr);
    EXPECT_FALSE(SnmpMgrClose(nullptr));
}

TEST(SnmpMgrSession, RequestsThatCannotBeMadeFailWithoutSending)
{
    Session session = Open(Agent().Address(), "private", SNMP_VERSION_V2C);
    ASSERT_TRUE(session);
    auto expectInvalid = [&](BYTE type, CBindingList& bindings, const char* pszWhat) {
        const std::string strBefore = bindings.Name();
        const CReply reply = Request(session.get(), type, bindings);
        EXPECT_EQ(reply.nResult, 0) << pszWhat;
        EXPECT_EQ(reply.dwError, static_cast<DWORD>(EINVAL)) << pszWhat;
        EXPECT_EQ(bindings.Name(), strBefore) << pszWhat;
    };
    CBindingList plain(".1.3.6.1.2.1.1.4.0");
    expectInvalid(0xA5, plain, "bulk request type");

    CBindingList sequence(".1.3.6.1.2.1.1.4.0");
    SetOctets(sequence.Binding(), "x");
    sequence.Binding().value.asnType = ASN_SEQUENCE;
    expectInvalid(SNMP_PDU_SET, sequence, "SEQUENCE value");

    CBindingList shortAddress(".1.3.6.1.2.1.1.4.0");
    SetOctets(shortAddress.Binding(), "abc");
    shortAddress.Binding().value.asnType = ASN_IPADDRESS;
    expectInvalid(SNMP_PDU_SET, shortAddress, "3-byte IpAddress");

    CBindingList tooLong(".1.3.6.1.2.1.1.4.0");
    SnmpUtilOidFree(&tooLong.Binding().name);
    tooLong.Binding().name.ids = static_cast<UINT*>(SnmpUtilMemAlloc(129 * sizeof(UINT)));
    tooLong.Binding().name.idLength = 129;
    expectInvalid(SNMP_PDU_GET, tooLong, "129 sub-identifiers");

    CBindingList empty(".1.3.6.1.2.1.1.4.0");
    SnmpUtilOidFree(&empty.Binding().name);
    expectInvalid(SNMP_PDU_GET, empty, "empty name");

    AsnInteger32 nStatus = 0, nIndex = 0;
    SetLastError(0);
    EXPECT_EQ(SnmpMgrRequest(nullptr, SNMP_PDU_GET, &plain.list, &nStatus, &nIndex), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL));
    EXPECT_EQ(SnmpMgrRequest(session.get(), SNMP_PDU_GET, nullptr, &nStatus, &nIndex), 0);

    // A read sends NULL whatever value the binding carries; status pointers are optional.
    CBindingList stale(".1.3.6.1.2.1.1.4.0");
    stale.Binding().value.asnType = SNMP_EXCEPTION_ENDOFMIBVIEW;
    EXPECT_NE(SnmpMgrRequest(session.get(), SNMP_PDU_GET, &stale.list, nullptr, nullptr), 0);
    EXPECT_EQ(stale.Value().asnType, ASN_OCTETSTRING);
}

TEST(SnmpMgrSession, ThreadsWorkOnSeparateSessionsAtOnce)
{
    constexpr int kThreads = 4;
    constexpr int kRequests = 40;
    std::atomic<int> nGood{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            Session session = Open(Agent().Address(), "public", t % 2 ? SNMP_VERSION_V2C : SNMP_VERSION_V1);
            if (!session)
                return;
            for (int i = 0; i < kRequests; ++i)
            {
                CBindingList bindings(i % 2 ? "system.sysUpTime" : "system.sysName");
                AsnInteger32 nStatus = -1, nIndex = -1;
                if (SnmpMgrRequest(session.get(), SNMP_PDU_GETNEXT, &bindings.list, &nStatus, &nIndex) &&
                    nStatus == 0 && bindings.Name() == (i % 2 ? ".1.3.6.1.2.1.1.3.0" : ".1.3.6.1.2.1.1.5.0"))
                    ++nGood;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(nGood.load(), kThreads * kRequests);
}

TEST(SnmpMgrGarbage, BrokenOrIncompleteAnswersAreFailures)
{
    CAnswer garbled;
    garbled.eKind = CAnswer::Kind::Garbled;
    CBindingList first("system.sysDescr");
    CReply reply = AskFake(garbled, first);
    EXPECT_EQ(reply.nResult, 0);
    EXPECT_EQ(reply.dwError, SNMP_MGMTAPI_TIMEOUT);  // a packet that does not decode is no answer

    // "Success" with no binding, or with more bindings than asked, answers nothing usable.
    for (const auto& vars : {std::vector<CFakeAgent::CVar>{},
                             {CFakeAgent::Number(".1.3.6.1.2.1.1.1.0", 0x02, 1),
                              CFakeAgent::Number(".1.3.6.1.2.1.1.2.0", 0x02, 2)}})
    {
        CBindingList bindings("system.sysDescr");
        reply = AskFake(Reply(vars), bindings);
        EXPECT_EQ(reply.nResult, 0);
        EXPECT_EQ(reply.dwError, SNMP_MGMTAPI_SELECT_FDERRORS);
        EXPECT_EQ(bindings.list.len, 1u);
    }

    // An error answer may leave the bindings out (tooBig does): the status
    // comes back and the binding stays as it was sent.
    CBindingList bindings("system.sysDescr");
    reply = AskFake(Reply({}, 1, 0), bindings);
    ASSERT_NE(reply.nResult, 0);
    EXPECT_EQ(reply.nStatus, 1);
    ASSERT_EQ(bindings.list.len, 1u);
    EXPECT_EQ(bindings.Name(), ".1.3.6.1.2.1.1.1");
    EXPECT_EQ(bindings.Value().asnType, ASN_NULL);
}

TEST(SnmpMgrGarbage, UnusualValueTypesArriveIntact)
{
    const std::string strName = ".1.3.6.1.2.1.1.1.0";
    // Plain bytes, and a float, a double and an unsigned 64-bit number wrapped in Opaque.
    for (const std::string& strOpaque :
         {std::string("\x04\x02xy", 4), std::string("\x9f\x78\x04\x3f\x80\0\0", 7),
          std::string("\x9f\x79\x08\x40\x09\x21\xfb\x54\x44\x2d\x18", 11),
          std::string("\x9f\x7b\x05\x01\0\0\0\0", 8)})
    {
        CBindingList bindings("system.sysDescr");
        ASSERT_NE(AskFake(Reply({CFakeAgent::Bytes(strName, 0x44, strOpaque)}), bindings).nResult, 0);
        EXPECT_EQ(bindings.Value().asnType, ASN_OPAQUE);
        EXPECT_EQ(bindings.Bytes(), strOpaque);
    }

    CBindingList unsigned32("system.sysDescr");
    ASSERT_NE(AskFake(Reply({CFakeAgent::Number(strName, 0x47, 4000000000LL)}), unsigned32).nResult, 0);
    EXPECT_EQ(unsigned32.Value().asnType, ASN_UNSIGNED32);
    EXPECT_EQ(unsigned32.Value().asnValue.unsigned32, 4000000000u);

    CBindingList counter64("system.sysDescr");
    ASSERT_NE(AskFake(Reply({CFakeAgent::Number(strName, 0x46, 0x123456789ALL)}), counter64).nResult, 0);
    ASSERT_EQ(counter64.Value().asnType, ASN_COUNTER64);
    EXPECT_EQ(counter64.Value().asnValue.counter64.HighPart, 0x12u);
    EXPECT_EQ(counter64.Value().asnValue.counter64.LowPart, 0x3456789Au);

    // An empty string still has a stream, so readers never meet null.
    CBindingList empty("system.sysDescr");
    ASSERT_NE(AskFake(Reply({CFakeAgent::Bytes(strName, 0x04, "")}), empty).nResult, 0);
    ASSERT_EQ(empty.Value().asnType, ASN_OCTETSTRING);
    EXPECT_EQ(empty.Value().asnValue.string.length, 0u);
    EXPECT_NE(empty.Value().asnValue.string.stream, nullptr);

    // NsapAddress, which has no type name of its own, keeps its tag and its bytes.
    CBindingList nsap("system.sysDescr");
    ASSERT_NE(AskFake(Reply({CFakeAgent::Bytes(strName, 0x45, "nsap")}), nsap).nResult, 0);
    EXPECT_EQ(nsap.Value().asnType, ASN_NSAPADDRESS);
    EXPECT_EQ(nsap.Bytes(), "nsap");
}

// net-snmp's decoding keeps the low 32 bits of numbers; the layer gives them as
// the agent sent them, and an error status is never read as another one.
TEST(SnmpMgrGarbage, NumbersBeyond32BitsComeAsSent)
{
    const std::string strName = ".1.3.6.1.2.1.1.1.0";
    const struct
    {
        BYTE type;
        long long nSent;
        bool bWide;
    } cases[] = {
        {ASN_INTEGER, 4294967296LL, true},   {ASN_INTEGER, -2147483649LL, true},
        {ASN_INTEGER, 2147483647LL, false},  {ASN_INTEGER, -2147483648LL, false},
        {ASN_GAUGE32, 4294967296LL, true},   {ASN_GAUGE32, 4294967295LL, false},
        {ASN_COUNTER32, -1, true},           {ASN_TIMETICKS, 1LL << 40, true},
        {ASN_UNSIGNED32, 1LL << 62, true},
    };
    for (const auto& c : cases)
    {
        CBindingList bindings("system.sysDescr");
        ASSERT_NE(AskFake(Reply({CFakeAgent::Number(strName, c.type, c.nSent)}), bindings).nResult, 0);
        const AsnAny& value = bindings.Value();
        EXPECT_EQ(value.asnType, c.type);
        EXPECT_EQ(value.asnValue.unsigned32, static_cast<AsnUnsigned32>(c.nSent)) << c.nSent;
        EXPECT_EQ(value.wide.isSet, c.bWide) << c.nSent;
        if (c.bWide)
        {
            EXPECT_EQ(value.wide.negative, c.nSent < 0) << c.nSent;
            EXPECT_EQ(value.wide.magnitude, c.nSent < 0 ? 0 - static_cast<std::uint64_t>(c.nSent)
                                                        : static_cast<std::uint64_t>(c.nSent));
        }
    }

    const struct
    {
        long nSent;
        AsnInteger32 nBound;
    } statuses[] = {{4294967298L, INT32_MAX}, {-1, -1}, {-4294967296L, INT32_MIN}, {25, 25}};
    for (const auto& c : statuses)
    {
        CBindingList bindings("system.sysDescr");
        const CReply reply = AskFake(Reply({}, c.nSent, 4294967297L), bindings);
        ASSERT_NE(reply.nResult, 0);
        EXPECT_EQ(reply.nStatus, c.nBound);
        EXPECT_EQ(reply.nIndex, INT32_MAX);
        std::int64_t nStatus = 0, nIndex = 0;
        SnmpMgrLastErrorStatus(&nStatus, &nIndex);
        EXPECT_EQ(nStatus, c.nSent);
        EXPECT_EQ(nIndex, 4294967297LL);
    }
}

TEST(SnmpMgrSession, BulkAnswersReplaceTheListOverIPv6)
{
    const std::string strPort = std::to_string(Agent().Port());
    Session v2c = Open("[::1]:" + strPort, "public", SNMP_VERSION_V2C);
    ASSERT_TRUE(v2c);
    CBindingList bindings(".1.3.6.1.2.1.1");
    AsnInteger32 nStatus = -1, nIndex = -1;
    ASSERT_NE(SnmpMgrRequestBulk(v2c.get(), 4, &bindings.list, &nStatus, &nIndex), 0);
    EXPECT_EQ(nStatus, 0);
    ASSERT_EQ(bindings.list.len, 4u);
    EXPECT_EQ(bindings.Name(0), ".1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(bindings.Name(1), ".1.3.6.1.2.1.1.2.0");
    EXPECT_EQ(bindings.Value(3).asnType, ASN_OCTETSTRING);  // sysContact

    // GetBulk does not exist in v1, and asks for at least one variable.
    Session v1 = Open(Agent().Address());
    for (auto [pSession, nRepetitions] : {std::pair{v1.get(), 4u}, {v2c.get(), 0u}})
    {
        SetLastError(0);
        EXPECT_EQ(SnmpMgrRequestBulk(pSession, nRepetitions, &bindings.list, nullptr, nullptr), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL));
    }
    EXPECT_EQ(bindings.list.len, 4u);  // untouched

    EXPECT_TRUE(Open("[::1]"));  // port 161, nothing sent
    EXPECT_TRUE(Open("::1"));
    for (const char* pszBad : {"[::1", "[::1]:", "[::1]x", "[localhost]:161", "[127.0.0.1]", "1::2::3"})
    {
        SetLastError(0);
        EXPECT_FALSE(Open(pszBad)) << pszBad;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL)) << pszBad;
    }
}

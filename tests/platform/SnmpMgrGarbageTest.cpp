// Answers no well-behaved agent sends: the layer must neither crash nor report
// an unusable answer as a good one.
#include "platform/snmpmgr/SnmpMgr.h"
#include "platform/syserr/SysError.h"
#include "support/FakeAgent.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
using CAnswer = CFakeAgent::CAnswer;
using CRequest = CFakeAgent::CRequest;

struct CResult
{
    SNMPAPI nResult = 0;
    DWORD dwError = 0;
    AsnInteger32 nStatus = -1, nIndex = -1;
    SnmpVarBindList list{};
    ~CResult() { SnmpUtilVarBindListFree(&list); }
    const AsnAny& Value() const { return list.list[0].value; }
};

// One GET-NEXT of sysDescr against an agent that answers with `answer`.
std::unique_ptr<CResult> AskOnce(const CAnswer& answer)
{
    CFakeAgent agent([answer](const CRequest&, std::size_t) { return answer; });
    auto result = std::make_unique<CResult>();
    LPSNMP_MGR_SESSION pSession = SnmpMgrOpen(agent.Address().c_str(), "public", 300, 0);
    EXPECT_NE(pSession, nullptr);
    if (!pSession)
        return result;
    result->list.list = static_cast<SnmpVarBind*>(SnmpUtilMemReAlloc(nullptr, sizeof(SnmpVarBind)));
    result->list.len = 1;
    EXPECT_TRUE(SnmpMgrStrToOid("system.sysDescr", &result->list.list[0].name));
    result->list.list[0].value.asnType = ASN_NULL;
    SetLastError(0);
    result->nResult =
        SnmpMgrRequest(pSession, SNMP_PDU_GETNEXT, &result->list, &result->nStatus, &result->nIndex);
    result->dwError = GetLastError();
    EXPECT_TRUE(SnmpMgrClose(pSession));
    return result;
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

TEST(SnmpMgrGarbage, BrokenOrIncompleteAnswersAreFailures)
{
    CAnswer garbled;
    garbled.eKind = CAnswer::Kind::Garbled;
    auto result = AskOnce(garbled);
    EXPECT_EQ(result->nResult, 0);
    EXPECT_EQ(result->dwError, SNMP_MGMTAPI_TIMEOUT);  // a packet that does not decode is no answer

    // "Success" with no binding, or with more bindings than asked, answers nothing usable.
    for (const auto& vars : {std::vector<CFakeAgent::CVar>{},
                             {CFakeAgent::Number(".1.3.6.1.2.1.1.1.0", 0x02, 1),
                              CFakeAgent::Number(".1.3.6.1.2.1.1.2.0", 0x02, 2)}})
    {
        result = AskOnce(Reply(vars));
        EXPECT_EQ(result->nResult, 0);
        EXPECT_EQ(result->dwError, SNMP_MGMTAPI_SELECT_FDERRORS);
        EXPECT_EQ(result->list.len, 1u);
    }

    // An error answer may leave the bindings out (tooBig does): the status
    // comes back and the binding stays as it was sent.
    result = AskOnce(Reply({}, 1, 0));
    ASSERT_NE(result->nResult, 0);
    EXPECT_EQ(result->nStatus, 1);
    ASSERT_EQ(result->list.len, 1u);
    EXPECT_EQ(result->list.list[0].name.idLength, 8u);
    EXPECT_EQ(result->Value().asnType, ASN_NULL);
}

TEST(SnmpMgrGarbage, UnusualValueTypesArriveIntact)
{
    // Plain bytes, and a float, a double and an unsigned 64-bit number wrapped in Opaque.
    for (const std::string& strOpaque :
         {std::string("\x04\x02xy", 4), std::string("\x9f\x78\x04\x3f\x80\0\0", 7),
          std::string("\x9f\x79\x08\x40\x09\x21\xfb\x54\x44\x2d\x18", 11),
          std::string("\x9f\x7b\x05\x01\0\0\0\0", 8)})
    {
        auto result = AskOnce(Reply({CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x44, strOpaque)}));
        ASSERT_NE(result->nResult, 0);
        EXPECT_EQ(result->Value().asnType, ASN_OPAQUE);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(result->Value().asnValue.arbitrary.stream),
                              result->Value().asnValue.arbitrary.length),
                  strOpaque);
    }

    auto result = AskOnce(Reply({CFakeAgent::Number(".1.3.6.1.2.1.1.1.0", 0x47, 4000000000LL)}));
    ASSERT_NE(result->nResult, 0);
    EXPECT_EQ(result->Value().asnType, ASN_UNSIGNED32);
    EXPECT_EQ(result->Value().asnValue.unsigned32, 4000000000u);

    result = AskOnce(Reply({CFakeAgent::Number(".1.3.6.1.2.1.1.1.0", 0x46, 0x123456789ALL)}));
    ASSERT_EQ(result->Value().asnType, ASN_COUNTER64);
    EXPECT_EQ(result->Value().asnValue.counter64.HighPart, 0x12u);
    EXPECT_EQ(result->Value().asnValue.counter64.LowPart, 0x3456789Au);

    // An empty string still has a stream, so readers never meet null.
    result = AskOnce(Reply({CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "")}));
    ASSERT_EQ(result->Value().asnType, ASN_OCTETSTRING);
    EXPECT_EQ(result->Value().asnValue.string.length, 0u);
    EXPECT_NE(result->Value().asnValue.string.stream, nullptr);

    // A tag the interface does not know keeps its tag and carries nothing.
    result = AskOnce(Reply({CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x45, "nsap")}));
    EXPECT_EQ(result->Value().asnType, 0x45);
    EXPECT_EQ(result->Value().asnValue.string.stream, nullptr);
}

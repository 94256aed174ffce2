#include "snmp/AppSettings.h"
#include "snmp/SnmpWrite.h"
#include "support/FakeAgent.h"
#include "support/SnmpdEnvironment.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <tuple>

static auto* const g_pSnmpd = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

namespace {

using Answer = CFakeAgent::CAnswer;
using Request = CFakeAgent::CRequest;

// Each test starts with default settings.
class SnmpWrite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        AppSettings.Timeout = 2;  // short, yet never reached by a loaded machine's answers
        AppSettings.Retries = 0;
    }
    void TearDown() override { AppSettings.Reset(); }

    // Writes through community "private"; the error texts met are kept in order.
    int Write(const std::string& strHost, const std::string& strOid, const std::string& strType,
              const std::string& strValue)
    {
        const CWriteResult result = WriteValue(strHost, "private", strOid, strType, strValue);
        if (!result.m_strError.empty())
            m_errors.push_back(result.m_strError);
        m_strLastOutput = result.m_strOutput;
        EXPECT_EQ(result.m_nResult == 0, result.m_strError.empty()) << result.m_strError;
        return result.m_nResult;
    }

    std::vector<std::string> m_errors;
    std::string m_strLastOutput;
};

// An agent that accepts every SET and records what it carried.
Answer Accept(const Request& request, std::size_t)
{
    Answer answer;
    answer.vars = request.vars;
    return answer;
}

} // namespace

TEST_F(SnmpWrite, ValuesWrittenToARealAgentReadBack)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.2.1.1.4.0", "OCTETSTRING", "ops desk"), 0);
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.1.4.0"), "\"ops desk\"");
    EXPECT_EQ(m_strLastOutput, "OCTET STRING - ops desk\n");  // the agent's answer
    EXPECT_EQ(Write(agent.Address(), "snmp.snmpEnableAuthenTraps.0", "INTEGER", "1"), 0);
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.11.30.0"), "1");
    EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.2.1.11.30.0", "INTEGER", "2"), 0);
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.11.30.0"), "2");
    EXPECT_EQ(m_strLastOutput, "INTEGER - 2\n");
    EXPECT_TRUE(m_errors.empty());

    // Read-only object, and a read-only community: refused with the status and its name.
    EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.2.1.1.1.0", "OCTETSTRING", "x"), 1);
    AppSettings.Version = 2;
    EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.2.1.1.1.0", "OCTETSTRING", "x"), 1);
    EXPECT_EQ(m_errors, (std::vector<std::string>{"Attempting to Write\n Status:2\n Message:NO SUCH NAME\n",  // v1
                                                  "Attempting to Write\n Status:17\n Message:NOT WRITABLE\n"}));
    EXPECT_EQ(m_strLastOutput, "");
    EXPECT_NE(agent.Get(".1.3.6.1.2.1.1.1.0"), "\"x\"");
}

TEST_F(SnmpWrite, RefusalsAndNoAnswerFromTheAgent)
{
    CFakeAgent agent([](const Request& request, std::size_t nIndex) {
        Answer answer = Accept(request, nIndex);
        const long statuses[] = {17, 25, -1, 4294967298L, 0};
        answer.nErrorStatus = statuses[std::min<std::size_t>(nIndex, 4)];
        answer.nErrorIndex = 1;
        if (nIndex == 4)
            answer.eKind = Answer::Kind::Silent;
        return answer;
    });
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.2.1.1.5.0", "OCTETSTRING", "n"), 1);
    // Any status but 0 is a refusal, with its number as sent.
    EXPECT_EQ(m_errors, (std::vector<std::string>{"Attempting to Write\n Status:17\n Message:NOT WRITABLE\n",
                                                 "Attempting to Write\n Status:25\n Message:\n",
                                                 "Attempting to Write\n Status:-1\n Message:\n",
                                                 "Attempting to Write\n Status:4294967298\n Message:\n",
                                                 "Error Attempting Request!\n"}));
    EXPECT_EQ(agent.Requests()[0].nCommand, 0xA3);
    EXPECT_EQ(agent.Requests()[0].strCommunity, "private");
}

TEST_F(SnmpWrite, TextsBecomeTheValuesOfTheirTypes)
{
    CFakeAgent agent(Accept);
    const std::string strLong(300, 'z');
    const struct
    {
        const char* pszType;
        std::string strValue;
        unsigned char tag;
        long long nNumber;
        std::string strBytes;
    } cases[] = {
        {"INTEGER", "42", 0x02, 42, ""},
        {"INTEGER", "-7", 0x02, -7, ""},
        {"INTEGER", " +12 ", 0x02, 12, ""},
        {"integer", "2147483647", 0x02, 2147483647, ""},  // type names in any case
        {"Integer", "-2147483648", 0x02, -2147483648LL, ""},
        {"INTEGER", "007", 0x02, 7, ""},
        {"UNSIGNED32", "4294967295", 0x47, 4294967295LL, ""},
        {"UNSIGNED32", "3000000000", 0x47, 3000000000LL, ""},
        {"COUNTER64", "4294967296", 0x46, 4294967296LL, ""},
        {"COUNTER64", "9223372036854775808", 0x46, static_cast<long long>(9223372036854775808ull), ""},
        {"COUNTER64", "18446744073709551615", 0x46, -1, ""},  // all 64 bits set
        {"COUNTER32", "4294967295", 0x41, 4294967295LL, ""},
        {"gauge32", " 17 ", 0x42, 17, ""},
        {"TIMETICKS", "360000", 0x43, 360000, ""},
        {"OCTETSTRING", "", 0x04, 0, ""},
        {"OCTETSTRING", " 00 1A FF", 0x04, 0, " 00 1A FF"},  // no hex decoding
        {"OCTETSTRING", strLong, 0x04, 0, strLong},            // sent whole
        {"IPADDRESS", "10.1.2.254", 0x40, 0, std::string("\x0A\x01\x02\xFE", 4)},
        {"Unknown", "whatever", 0x05, 0, ""},
    };
    for (const auto& c : cases) {
        const std::size_t nBefore = agent.RequestCount();
        EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.4.1.99.1.0", c.pszType, c.strValue), 0)
            << c.pszType << " " << c.strValue;
        ASSERT_EQ(agent.RequestCount(), nBefore + 1);
        const CFakeAgent::CVar sent = agent.Requests().back().vars.at(0);
        EXPECT_EQ(sent.name, CFakeAgent::ParseOid(".1.3.6.1.4.1.99.1.0"));
        EXPECT_EQ(sent.type, c.tag) << c.pszType;
        EXPECT_EQ(sent.nNumber, c.nNumber) << c.pszType << " " << c.strValue;
        EXPECT_EQ(sent.strBytes, c.strBytes) << c.pszType;
    }
    EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.4.1.99.1.0", "OBJECTIDENTIFIER",
                         ".1.3.6.1.4.1.8072"),
              0);
    EXPECT_EQ(agent.Requests().back().vars.at(0).object, CFakeAgent::ParseOid(".1.3.6.1.4.1.8072"));
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(SnmpWrite, TextsThatAreNoValueOfTheirTypeAreRefusedWithoutSending)
{
    CFakeAgent agent(Accept);
    const struct
    {
        const char* pszType;
        const char* pszValue;
        const char* pszText;
    } cases[] = {
        {"BITS", "1", "Error: A value of type BITS cannot be written.\n"},
        {"SEQUENCE", "", "Error: A value of type SEQUENCE cannot be written.\n"},
        {"OPAQUE", "ab", "Error: A value of type OPAQUE cannot be written.\n"},
        {"EXCEPTION_NOSUCHOBJECT", "", "Error: A value of type EXCEPTION_NOSUCHOBJECT cannot be written.\n"},
        {"EXCEPTION_ENDOFMIBVIEW", "", "Error: A value of type EXCEPTION_ENDOFMIBVIEW cannot be written.\n"},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.4.1.99.1.0", c.pszType, c.pszValue), 1);
        EXPECT_EQ(m_errors, std::vector<std::string>{c.pszText});
    }
    // Anything but exactly a value of the type, in the type's whole range.
    const std::string strSigned = "a whole number from -2147483648 to 2147483647";
    const std::string strUnsigned = "a whole number from 0 to 4294967295";
    const std::string strWide = "a whole number from 0 to 18446744073709551615";
    const std::string strAddress = "four numbers from 0 to 255 joined by dots";
    const std::string strOid = "an OID such as .1.3.6.1.2.1.1.2.0";
    const std::vector<std::tuple<const char*, const char*, std::string>> invalid = {
        {"INTEGER", "abc", strSigned},          {"INTEGER", "0x10", strSigned},
        {"INTEGER", "2junk", strSigned},        {"INTEGER", "1e9", strSigned},
        {"INTEGER", "", strSigned},             {"INTEGER", "2147483648", strSigned},
        {"INTEGER", "-2147483649", strSigned},  {"INTEGER", "+-5", strSigned},
        {"INTEGER", "- 5", strSigned},          {"INTEGER", "1 2", strSigned},
        {"UNSIGNED32", "-2", strUnsigned},      {"UNSIGNED32", "+5", strUnsigned},
        {"UNSIGNED32", "4294967296", strUnsigned},
        {"COUNTER64", "18446744073709551616", strWide},
        {"COUNTER64", "-1", strWide},           {"COUNTER32", "4294967296", strUnsigned},
        {"GAUGE32", "-1", strUnsigned},         {"TIMETICKS", "2 Mins 3 Secs", strUnsigned},
        {"IPADDRESS", "10.1.2", strAddress},    {"IPADDRESS", "10.1.2.256", strAddress},
        {"IPADDRESS", "1.2.3.4.5", strAddress}, {"OBJECTIDENTIFIER", "1.3.x", strOid},
        // OIDs the encoding would carry as others: ".1" as .1.0, ".1.40" as .2.0.
        {"OBJECTIDENTIFIER", ".1", strOid},     {"OBJECTIDENTIFIER", ".1.40", strOid},
        {"OBJECTIDENTIFIER", ".3.1", strOid},
    };
    for (const auto& [pszType, pszValue, strExpected] : invalid) {
        m_errors.clear();
        EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.4.1.99.1.0", pszType, pszValue), 1);
        EXPECT_EQ(m_errors, std::vector<std::string>{std::string("Error: Invalid value, ") + pszValue + ", for type " +
                                                    pszType + ": " + strExpected + " is expected.\n"});
    }
    EXPECT_EQ(agent.RequestCount(), 0u);

    m_errors.clear();
    EXPECT_EQ(Write(agent.Address(), "1.3.x", "INTEGER", "1"), 1);
    EXPECT_EQ(Write(agent.Address(), ".1", "INTEGER", "1"), 1);
    const std::string strLongOid = "." + std::string(300, '1');
    EXPECT_EQ(Write(agent.Address(), strLongOid, "INTEGER", "1"), 1);
    ASSERT_EQ(m_errors.size(), 3u);
    EXPECT_EQ(m_errors[0], "Error: Invalid oid, 1.3.x, specified.\n");
    EXPECT_EQ(m_errors[1], "Error: Invalid oid, .1, specified.\n");
    EXPECT_EQ(m_errors[2].size(), 255u);
    EXPECT_EQ(m_errors[2].back(), '\n');
    EXPECT_EQ(agent.RequestCount(), 0u);
}

TEST_F(SnmpWrite, SessionThatCannotOpenCarriesItsReasonAndALineForTheStandardOutput)
{
    testing::internal::CaptureStdout();
    const CWriteResult port = WriteValue("127.0.0.1:99999", "private", ".1.3.6.1.2.1.1.5.0", "INTEGER", "1");
    const CWriteResult name = WriteValue("nosuchhost.invalid", "private", ".1.3.6.1.2.1.1.5.0", "INTEGER", "1");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // the write itself prints nothing
    EXPECT_EQ(port.m_nResult, 1);
    EXPECT_EQ(name.m_nResult, 1);
    EXPECT_EQ(port.m_strOutput + name.m_strOutput, "error on SnmpMgrOpen 22\nerror on SnmpMgrOpen 0\n");
    EXPECT_EQ(port.m_strError, "error on SnmpMgrOpen 22\n'127.0.0.1:99999' is not a host name or address with an "
                               "optional port from 1 to 65535.\n");
    EXPECT_EQ(name.m_strError, "error on SnmpMgrOpen 0\nThe host 'nosuchhost.invalid' could not be resolved.\n");
}

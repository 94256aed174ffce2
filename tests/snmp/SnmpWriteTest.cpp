#include "snmp/AppSettings.h"
#include "snmp/SnmpWrite.h"
#include "support/FakeAgent.h"
#include "support/SnmpdEnvironment.h"
#include <cstdio>
#include <gtest/gtest.h>

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
        answer.nErrorStatus = nIndex == 0 ? 17 : nIndex == 1 ? 25 : 0;
        answer.nErrorIndex = 1;
        if (nIndex == 2)
            answer.eKind = Answer::Kind::Silent;
        return answer;
    });
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.2.1.1.5.0", "OCTETSTRING", "n"), 1);
    EXPECT_EQ(m_errors, (std::vector<std::string>{"Attempting to Write\n Status:17\n Message:NOT WRITABLE\n",
                                                 "Attempting to Write\n Status:25\n Message:\n",
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
        {"INTEGER", "12abc", 0x02, 12, ""},
        {"INTEGER", "", 0x02, 0, ""},
        {"INTEGER", "99999999999", 0x02, 2147483647, ""},
        {"UNSIGNED32", "-1", 0x47, 4294967295LL, ""},
        {"COUNTER64", "4294967296", 0x46, 4294967296LL, ""},
        {"COUNTER32", "4294967295", 0x41, 4294967295LL, ""},
        {"GAUGE32", " 17 ", 0x42, 17, ""},
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
        {"IPADDRESS", "10.1.2", "Error: Invalid value, 10.1.2, for type IPADDRESS.\n"},
        {"IPADDRESS", "10.1.2.256", "Error: Invalid value, 10.1.2.256, for type IPADDRESS.\n"},
        {"IPADDRESS", "1.2.3.4.5", "Error: Invalid value, 1.2.3.4.5, for type IPADDRESS.\n"},
        {"COUNTER32", "4294967296", "Error: Invalid value, 4294967296, for type COUNTER32.\n"},
        {"GAUGE32", "-1", "Error: Invalid value, -1, for type GAUGE32.\n"},
        {"TIMETICKS", "2 Mins 3 Secs", "Error: Invalid value, 2 Mins 3 Secs, for type TIMETICKS.\n"},
        {"OBJECTIDENTIFIER", "1.3.x", "Error: Invalid value, 1.3.x, for type OBJECTIDENTIFIER.\n"},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        EXPECT_EQ(Write(agent.Address(), ".1.3.6.1.4.1.99.1.0", c.pszType, c.pszValue), 1);
        EXPECT_EQ(m_errors, std::vector<std::string>{c.pszText});
    }
    EXPECT_EQ(agent.RequestCount(), 0u);

    m_errors.clear();
    EXPECT_EQ(Write(agent.Address(), "1.3.x", "INTEGER", "1"), 1);
    const std::string strLongOid = "." + std::string(300, '1');
    EXPECT_EQ(Write(agent.Address(), strLongOid, "INTEGER", "1"), 1);
    ASSERT_EQ(m_errors.size(), 2u);
    EXPECT_EQ(m_errors[0], "Error: Invalid oid, 1.3.x, specified.\n");
    EXPECT_EQ(m_errors[1].size(), 255u);
    EXPECT_EQ(m_errors[1].back(), '\n');
    EXPECT_EQ(agent.RequestCount(), 0u);
}

TEST_F(SnmpWrite, SessionThatCannotOpenCarriesOnlyALineForTheStandardOutput)
{
    testing::internal::CaptureStdout();
    const CWriteResult result = WriteValue("127.0.0.1:99999", "private", ".1.3.6.1.2.1.1.5.0", "INTEGER", "1");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // the write itself prints nothing
    EXPECT_EQ(result.m_nResult, 1);
    EXPECT_EQ(result.m_strError, "");
    EXPECT_EQ(result.m_strOutput, "error on SnmpMgrOpen 22\n");
}

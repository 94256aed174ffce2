#include "snmp/AgentSession.h"
#include "snmp/AppSettings.h"
#include "snmp/ErrorText.h"
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(AgentSession, ResolveHostKeepsAddressesAsTypedAndNamesGetTheirAddress)
{
    std::string strAddress = "untouched";
    EXPECT_EQ(ResolveHost("10.0.0.1", strAddress), 0);
    EXPECT_EQ(strAddress, "10.0.0.1");
    EXPECT_EQ(ResolveHost("10.0.0.1:1161", strAddress), 0);
    EXPECT_EQ(strAddress, "10.0.0.1:1161");
    EXPECT_EQ(ResolveHost("localhost", strAddress), 0);
    EXPECT_EQ(strAddress, "127.0.0.1");
    EXPECT_EQ(ResolveHost("localhost:1161", strAddress), 0);
    EXPECT_EQ(strAddress, "127.0.0.1:1161");
    // The address parser's failure value: looked up as a name, which gives it back.
    EXPECT_EQ(ResolveHost("255.255.255.255", strAddress), 0);
    EXPECT_EQ(strAddress, "255.255.255.255");

    strAddress = "untouched";
    EXPECT_EQ(ResolveHost("no-such-host.invalid", strAddress), 1);
    EXPECT_EQ(ResolveHost("no-such-host.invalid:161", strAddress), 1);
    EXPECT_EQ(ResolveHost("", strAddress), 1);
    EXPECT_EQ(strAddress, "untouched");
}

TEST(AgentSession, ResolveHostIsSafeFromManyThreadsAtOnce)
{
    std::vector<std::thread> threads;
    std::vector<std::string> results(8);
    for (std::size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&, i] {
            for (int n = 0; n < 5; ++n) {
                std::string strAddress;
                if (ResolveHost(i % 2 ? "localhost:7" : "no-such-host.invalid", strAddress) == 0)
                    results[i] = strAddress;
            }
        });
    for (std::thread& t : threads)
        t.join();
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i], i % 2 ? "127.0.0.1:7" : "");
}

TEST(AgentSession, RequestFailureTexts)
{
    const std::string strTimedOut = " (There was no response from the host, the request timed-out)";
    EXPECT_EQ(DescribeRequestFailure(40), "Error Sending Request\nErrorID:40" + strTimedOut);
    EXPECT_EQ(DescribeRequestFailure(8), "Error Sending Request\nErrorID:8" + strTimedOut);
    EXPECT_EQ(DescribeRequestFailure(41),
              "Error Sending Request\nErrorID:41 (Error with SNMP-Management API, SELECT Error)");
    EXPECT_EQ(DescribeRequestFailure(ECONNREFUSED),
              "Error Sending Request\nErrorID:" + std::to_string(ECONNREFUSED) + "\nDesc: Connection refused\n");
    EXPECT_EQ(DescribeRequestFailure(99999),
              "Error Sending Request\nErrorID:99999 (No description of the error could be located)");
}

TEST(AgentSession, ErrorTextsAreCutToFitAndKeepTheirLineEnd)
{
    const std::string strLong(400, 'h');
    const std::string strWithEnd = FormatErrorText("Error attempting to connect to '%s' with community '%s'\nError ID:%d\n",
                                                   strLong.c_str(), "public", 22);
    EXPECT_EQ(strWithEnd.size(), kMaxErrorText);
    EXPECT_EQ(strWithEnd.rfind("Error attempting to connect to 'hhh", 0), 0u);
    EXPECT_EQ(strWithEnd.back(), '\n');

    const std::string strNoEnd =
        FormatErrorText("Error attempting to connect to '%s' with community '%s'", strLong.c_str(), "public");
    EXPECT_EQ(strNoEnd.size(), kMaxErrorText);
    EXPECT_EQ(strNoEnd.back(), 'h');

    EXPECT_EQ(FormatErrorText("error on SnmpMgrClose %d\n", 5), "error on SnmpMgrClose 5\n");
    const std::string strExact(kMaxErrorText, 'x');
    EXPECT_EQ(BoundErrorText(strExact), strExact);
}

TEST(AgentSession, OpenUsesTheSettingsAndReportsItsFailureCode)
{
    AppSettings.Reset();
    CAgentSession session;
    EXPECT_FALSE(session.Open("127.0.0.1:99999", "public"));
    EXPECT_EQ(session.LastError(), static_cast<DWORD>(EINVAL));
    EXPECT_FALSE(session.IsOpen());

    // An absurd timeout must not overflow on its way to milliseconds.
    AppSettings.Timeout = 3000000;
    ASSERT_TRUE(session.Open("127.0.0.1:7", "public"));
    EXPECT_TRUE(session.IsOpen());
    EXPECT_TRUE(session.Close());
    EXPECT_FALSE(session.IsOpen());
    AppSettings.Reset();
}

#include "snmp/AgentSession.h"
#include "snmp/ErrorText.h"
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(AgentSession, ResolveHostKeepsAddressesAsTypedAndNamesGetTheirAddress)
{
    const std::pair<const char*, const char*> resolved[] = {
        {"10.0.0.1", "10.0.0.1"},
        {"10.0.0.1:1161", "10.0.0.1:1161"},
        {"localhost", "127.0.0.1"},
        {"localhost:1161", "127.0.0.1:1161"},
        {"255.255.255.255", "255.255.255.255"},  // the parser's failure value, given back by the lookup
        {"[2001:db8::1]:161", "[2001:db8::1]:161"},
        {"[::1]", "[::1]"},
        {"::1", "[::1]"},  // a bare IPv6 address gets its brackets, so a port can follow
        {"2001:db8::7", "[2001:db8::7]"},
    };
    for (const auto& [pszHost, pszAddress] : resolved) {
        std::string strAddress = "untouched";
        EXPECT_EQ(ResolveHost(pszHost, strAddress), 0) << pszHost;
        EXPECT_EQ(strAddress, pszAddress);
    }
    std::string strAddress = "untouched";
    for (const char* pszHost : {"no-such-host.invalid", "no-such-host.invalid:161", ""})
        EXPECT_EQ(ResolveHost(pszHost, strAddress), kHostNotResolved) << pszHost;
    for (const char* pszHost : {"[::1", "[::1]:", "[::1]:x", "[::1]161", "[name]", "[10.0.0.1]:161", "::1]", "a[b"})
        EXPECT_EQ(ResolveHost(pszHost, strAddress), kHostMalformed) << pszHost;
    EXPECT_EQ(strAddress, "untouched");

    // Several walks resolve at once.
    std::vector<std::thread> threads;
    std::vector<std::string> results(8);
    for (std::size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&, i] {
            for (int n = 0; n < 5; ++n) {
                std::string strResult;
                if (ResolveHost(i % 2 ? "localhost:7" : "no-such-host.invalid", strResult) == 0)
                    results[i] = strResult;
            }
        });
    for (std::thread& t : threads)
        t.join();
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i], i % 2 ? "127.0.0.1:7" : "");
}

TEST(AgentSession, SnmpV3FailureTexts)
{
    EXPECT_EQ(DescribeRequestFailure(SNMP_MGMTAPI_USM_UNKNOWN_USER),
              "Error Sending Request\nErrorID:60 (SNMPv3: the agent does not know this user name)");
    for (DWORD dwCode = SNMP_MGMTAPI_USM_UNKNOWN_USER; dwCode <= SNMP_MGMTAPI_USM_SHORT_PASSPHRASE; ++dwCode)
        EXPECT_NE(UsmFailureReason(dwCode), nullptr) << dwCode;
    EXPECT_EQ(UsmFailureReason(SNMP_MGMTAPI_TIMEOUT), nullptr);
    // Only a time-out at authPriv hints at the privacy settings.
    const std::string strTimedOut = DescribeRequestFailure(40);
    EXPECT_EQ(DescribeRequestFailure(40, SnmpSecurityLevel::AuthNoPriv), strTimedOut);
    EXPECT_EQ(DescribeRequestFailure(40, SnmpSecurityLevel::AuthPriv),
              strTimedOut + "\nAt authPriv the privacy protocol or passphrase may not match the agent's: it ignores "
                            "requests it cannot decrypt.");
    EXPECT_EQ(DescribeRequestFailure(41, SnmpSecurityLevel::AuthPriv), DescribeRequestFailure(41));
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

    // Cut to fit (long texts with a line end: through the walk's and the write's messages).
    const std::string strNoEnd = FormatErrorText("to '%s' with '%s'", std::string(400, 'h').c_str(), "public");
    EXPECT_EQ(strNoEnd, "to '" + std::string(kMaxErrorText - 4, 'h'));
    const std::string strExact(kMaxErrorText, 'x');
    EXPECT_EQ(BoundErrorText(strExact), strExact);
}

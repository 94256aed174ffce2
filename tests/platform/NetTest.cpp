// Address parsing and host lookup (names and ports through the agent session's tests).
#include "platform/net/Sockets.h"

#include <gtest/gtest.h>
#include <cstring>

TEST(Sockets, DottedAddressParser)
{
    const auto networkOrder = [](BYTE a, BYTE b, BYTE c, BYTE d) {
        const BYTE bytes[4] = {a, b, c, d};
        DWORD dw;
        std::memcpy(&dw, bytes, 4);
        return dw;
    };
    EXPECT_EQ(InetAddr("10.0.0.1"), networkOrder(10, 0, 0, 1));
    EXPECT_EQ(InetAddr("0.0.0.0"), 0u);
    // The broadcast address cannot be told from a failure.
    EXPECT_EQ(InetAddr("255.255.255.255"), kInetAddrNone);
    for (const char* pszBad : {"", "host.example", "1.2.3.256", "1.2.3.4.5", "1.2.3.x", " "})
        EXPECT_EQ(InetAddr(pszBad), kInetAddrNone) << pszBad;
    EXPECT_EQ(InetAddr(nullptr), kInetAddrNone);
}

TEST(Sockets, HostLookupNeverAsksAboutReservedNames)
{
    const std::optional<CHostAddress> v4 = GetHostByName("192.0.2.7");
    ASSERT_TRUE(v4.has_value());
    EXPECT_FALSE(v4->m_bIPv6);
    EXPECT_EQ(v4->Text(), "192.0.2.7");
    // Names under the reserved .invalid domain, in any letter case and with the
    // final dot, are refused before the resolver is asked, so nothing leaves
    // the machine.
    for (const char* pszName : {"no..such-host.invalid", "Agent.Lab.INVALID.", "invalid", ""})
        EXPECT_FALSE(GetHostByName(pszName).has_value()) << pszName;
    EXPECT_FALSE(GetHostByName(nullptr).has_value());
}

TEST(Sockets, HostLookupGivesIPv6WhereThereIsNoIPv4)
{
    for (const char* pszAddress : {"::1", "2001:db8::1", "fe80::1:2"}) {
        const std::optional<CHostAddress> address = GetHostByName(pszAddress);
        ASSERT_TRUE(address.has_value()) << pszAddress;
        EXPECT_TRUE(address->m_bIPv6);
        EXPECT_EQ(address->Text(), pszAddress);
        EXPECT_TRUE(IsIPv6Text(pszAddress));
    }
    // A name with both kinds gives its IPv4 address.
    const std::optional<CHostAddress> local = GetHostByName("localhost");
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(local->Text(), "127.0.0.1");
    for (const char* pszBad : {"", "[::1]", "::1%lo", "1::2::3", "127.0.0.1", "host", ":::"})
        EXPECT_FALSE(IsIPv6Text(pszBad)) << pszBad;
    EXPECT_FALSE(IsIPv6Text(nullptr));
}

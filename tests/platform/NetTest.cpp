#include "platform/net/Sockets.h"

#include <gtest/gtest.h>
#include <cstring>

TEST(Sockets, StartupSucceedsAtOnce)
{
    WSADATA data;
    EXPECT_EQ(WSAStartup(MAKEWORD(2, 0), &data), 0);
    EXPECT_EQ(data.wVersion, 0x0002);
    EXPECT_EQ(WSAStartup(MAKEWORD(2, 0), nullptr), 0);
    EXPECT_EQ(WSACleanup(), 0);
}

TEST(Sockets, DottedAddressParser)
{
    const auto networkOrder = [](BYTE a, BYTE b, BYTE c, BYTE d) {
        const BYTE bytes[4] = {a, b, c, d};
        DWORD dw;
        std::memcpy(&dw, bytes, 4);
        return dw;
    };
    EXPECT_EQ(InetAddr("10.0.0.1"), networkOrder(10, 0, 0, 1));
    EXPECT_EQ(InetAddr("127.0.0.1"), networkOrder(127, 0, 0, 1));
    EXPECT_EQ(InetAddr("0.0.0.0"), 0u);
    // The broadcast address cannot be told from a failure.
    EXPECT_EQ(InetAddr("255.255.255.255"), kInetAddrNone);
    for (const char* pszBad : {"", "host.example", "1.2.3.256", "1.2.3.4.5", "1.2.3.x", " "})
        EXPECT_EQ(InetAddr(pszBad), kInetAddrNone) << pszBad;
    EXPECT_EQ(InetAddr(nullptr), kInetAddrNone);
}

TEST(Sockets, HostLookupGivesFirstIPv4Address)
{
    const auto local = GetHostByName("localhost");
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ((*local)[0], 127);

    const auto numeric = GetHostByName("192.0.2.7");
    ASSERT_TRUE(numeric.has_value());
    EXPECT_EQ(*numeric, (IPv4Bytes{192, 0, 2, 7}));

    // Names under the reserved .invalid domain are refused before the resolver
    // is asked, so these send nothing beyond the loopback network.
    EXPECT_FALSE(GetHostByName("no..such-host.invalid").has_value());
    EXPECT_FALSE(GetHostByName("no-such-host.invalid").has_value());
    EXPECT_FALSE(GetHostByName("Agent.Lab.INVALID.").has_value());
    EXPECT_FALSE(GetHostByName("invalid").has_value());
    EXPECT_FALSE(GetHostByName("").has_value());
    EXPECT_FALSE(GetHostByName(nullptr).has_value());
}

#pragma once
// The sockets facilities the system asks for: library start-up, the dotted
// IPv4 address parser and a thread-safe host-name lookup (IPv4 and IPv6).
#include "platform/WinTypes.h"
#include <array>
#include <optional>
#include <string>

struct WSADATA
{
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
};

constexpr WORD MAKEWORD(unsigned lo, unsigned hi)
{
    return static_cast<WORD>((lo & 0xFFu) | ((hi & 0xFFu) << 8));
}

// Nothing needs starting on this platform: fills *pData (may be null) with the
// requested version and returns 0 (success) at once.
int WSAStartup(WORD wVersionRequested, WSADATA* pData);

constexpr DWORD kInetAddrNone = 0xFFFFFFFFu;
// Parses a dotted IPv4 address ("10.0.0.1", also the short and hex forms the
// classic parser takes) into its network-order value; kInetAddrNone for text
// that is not an address and, as ever, for "255.255.255.255".
DWORD InetAddr(const char* pszText);

// One address the resolver gave, in network order: the first 4 bytes for IPv4,
// all 16 for IPv6.
struct CHostAddress
{
    bool m_bIPv6 = false;
    std::array<BYTE, 16> m_bytes{};

    // "192.0.2.7" or "2001:db8::1" (IPv6 without brackets).
    std::string Text() const;
    bool operator==(const CHostAddress&) const = default;
};

// Looks a host name (or address text) up through the system resolver and gives
// its first IPv4 address, or its first IPv6 address when it has no IPv4 one;
// nothing when it has neither. Thread-safe; blocks for as long as the resolver
// takes.
std::optional<CHostAddress> GetHostByName(const char* pszName);

// True when pszText is an IPv6 address in its text form (no brackets, no zone).
bool IsIPv6Text(const char* pszText);

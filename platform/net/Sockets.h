#pragma once
// The sockets facilities the system asks for: library start-up, the dotted
// IPv4 address parser and a thread-safe host-name lookup.
#include "platform/WinTypes.h"
#include <array>
#include <optional>

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

// The four bytes of an IPv4 address in network order.
using IPv4Bytes = std::array<BYTE, 4>;
// Looks a host name (or address text) up through the system resolver and gives
// its first IPv4 address; nothing when it has none. Thread-safe; blocks for as
// long as the resolver takes.
std::optional<IPv4Bytes> GetHostByName(const char* pszName);

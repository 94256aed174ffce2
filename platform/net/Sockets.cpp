#include "platform/net/Sockets.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>

int WSAStartup(WORD wVersionRequested, WSADATA* pData)
{
    if (pData)
    {
        *pData = {};
        pData->wVersion = wVersionRequested;
        pData->wHighVersion = MAKEWORD(2, 2);
        std::strcpy(pData->szDescription, "Sockets");
        std::strcpy(pData->szSystemStatus, "Running");
    }
    return 0;
}

DWORD InetAddr(const char* pszText)
{
    return pszText ? ::inet_addr(pszText) : kInetAddrNone;
}

namespace {

// Names under the reserved top-level domain "invalid" never resolve; answering
// at once spares a resolver round trip (and any query leaving the machine).
bool IsReservedInvalidName(std::string_view name)
{
    if (!name.empty() && name.back() == '.')
        name.remove_suffix(1);
    constexpr std::string_view kTld = "invalid";
    if (name.size() < kTld.size())
        return false;
    const std::string_view tail = name.substr(name.size() - kTld.size());
    const bool bTld = std::equal(tail.begin(), tail.end(), kTld.begin(),
                                 [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return bTld && (name.size() == kTld.size() || name[name.size() - kTld.size() - 1] == '.');
}

} // namespace

std::optional<IPv4Bytes> GetHostByName(const char* pszName)
{
    if (!pszName || !*pszName || IsReservedInvalidName(pszName))
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* pResult = nullptr;
    if (getaddrinfo(pszName, nullptr, &hints, &pResult) != 0 || !pResult)
        return std::nullopt;
    std::optional<IPv4Bytes> address;
    for (const addrinfo* p = pResult; p && !address; p = p->ai_next)
    {
        if (p->ai_family != AF_INET || !p->ai_addr)
            continue;
        const auto* pIn = reinterpret_cast<const sockaddr_in*>(p->ai_addr);
        IPv4Bytes bytes;
        std::memcpy(bytes.data(), &pIn->sin_addr.s_addr, bytes.size());
        address = bytes;
    }
    freeaddrinfo(pResult);
    return address;
}

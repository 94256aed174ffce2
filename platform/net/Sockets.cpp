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

std::string CHostAddress::Text() const
{
    char szText[INET6_ADDRSTRLEN] = {};
    inet_ntop(m_bIPv6 ? AF_INET6 : AF_INET, m_bytes.data(), szText, sizeof szText);
    return szText;
}

bool IsIPv6Text(const char* pszText)
{
    in6_addr address{};
    return pszText && inet_pton(AF_INET6, pszText, &address) == 1;
}

std::optional<CHostAddress> GetHostByName(const char* pszName)
{
    if (!pszName || !*pszName || IsReservedInvalidName(pszName))
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* pResult = nullptr;
    if (getaddrinfo(pszName, nullptr, &hints, &pResult) != 0 || !pResult)
        return std::nullopt;
    std::optional<CHostAddress> address;
    for (const addrinfo* p = pResult; p; p = p->ai_next) {
        if (!p->ai_addr || (p->ai_family != AF_INET && p->ai_family != AF_INET6))
            continue;
        CHostAddress found;
        found.m_bIPv6 = p->ai_family == AF_INET6;
        if (found.m_bIPv6)
            std::memcpy(found.m_bytes.data(), &reinterpret_cast<const sockaddr_in6*>(p->ai_addr)->sin6_addr, 16);
        else
            std::memcpy(found.m_bytes.data(), &reinterpret_cast<const sockaddr_in*>(p->ai_addr)->sin_addr, 4);
        if (!found.m_bIPv6) {
            address = found;  // IPv4 first, wherever it comes in the list
            break;
        }
        if (!address)
            address = found;
    }
    freeaddrinfo(pResult);
    return address;
}

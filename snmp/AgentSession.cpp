#include "snmp/AgentSession.h"
#include "platform/net/Sockets.h"
#include "platform/syserr/SysError.h"
#include "snmp/AppSettings.h"
#include "snmp/BindingList.h"
#include "snmp/ErrorText.h"
#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

// Splits "host:port" when what follows the only colon is all digits. Their count
// says nothing ("024161" is port 24161); the session refuses a port out of range.
void SplitPort(const std::string& strHost, std::string& strName, std::string& strPort)
{
    const std::size_t nColon = strHost.find(':');
    const bool bPort = nColon != std::string::npos && strHost.find(':', nColon + 1) == std::string::npos &&
                       nColon + 1 < strHost.size() &&
                       std::all_of(strHost.begin() + nColon + 1, strHost.end(),
                                   [](char c) { return c >= '0' && c <= '9'; });
    strName = bPort ? strHost.substr(0, nColon) : strHost;
    strPort = bPort ? strHost.substr(nColon) : std::string();
}

std::string RequestFailureText(DWORD dwCode, const char* pszReason)
{
    return FormatErrorText("Error Sending Request\nErrorID:%d (%s)", static_cast<int>(dwCode), pszReason);
}

int TimeoutMilliseconds()
{
    const long long nMs = static_cast<long long>(AppSettings.Timeout.load()) * 1000;
    return static_cast<int>(std::clamp<long long>(nMs, INT_MIN, INT_MAX));
}

} // namespace

int ResolveHost(const std::string& strHost, std::string& strAddress)
{
    std::string strName, strPort;
    SplitPort(strHost, strName, strPort);
    if (InetAddr(strName.c_str()) != kInetAddrNone) {
        strAddress = strHost;
        return 0;
    }
    const std::optional<IPv4Bytes> address = GetHostByName(strName.c_str());
    if (!address)
        return 1;
    char szDotted[16];
    std::snprintf(szDotted, sizeof szDotted, "%d.%d.%d.%d", (*address)[0], (*address)[1], (*address)[2],
                  (*address)[3]);
    strAddress = szDotted + strPort;
    return 0;
}

std::string DescribeRequestFailure(DWORD dwCode)
{
    if (dwCode == SNMP_MGMTAPI_TIMEOUT || dwCode == 8)
        return RequestFailureText(dwCode, "There was no response from the host, the request timed-out");
    if (dwCode == SNMP_MGMTAPI_SELECT_FDERRORS)
        return RequestFailureText(dwCode, "Error with SNMP-Management API, SELECT Error");
    std::string strMessage;
    if (FormatSystemMessage(dwCode, &strMessage))
        return FormatErrorText("Error Sending Request\nErrorID:%d\nDesc: %s", static_cast<int>(dwCode),
                               strMessage.c_str());
    return RequestFailureText(dwCode, "No description of the error could be located");
}

CAgentSession::~CAgentSession()
{
    if (m_hSession)
        SnmpMgrClose(m_hSession);
}

bool CAgentSession::Open(const std::string& strAgent, const std::string& strCommunity)
{
    const int nVersion = AppSettings.Version == 2 ? SNMP_VERSION_V2C : SNMP_VERSION_V1;
    m_hSession = SnmpMgrOpen(strAgent.c_str(), strCommunity.c_str(), TimeoutMilliseconds(),
                             AppSettings.Retries, nVersion);
    if (!m_hSession)
        m_dwLastError = GetLastError();
    return m_hSession != nullptr;
}

CAgentSession::Outcome CAgentSession::Request(BYTE requestType, CBindingList& list, AsnInteger32& nStatus,
                                              AsnInteger32& nIndex)
{
    nStatus = 0;
    nIndex = 0;
    try {
        if (SnmpMgrRequest(m_hSession, requestType, list.List(), &nStatus, &nIndex))
            return Outcome::Answered;
    } catch (...) {
        return Outcome::Exception;
    }
    m_dwLastError = GetLastError();
    return Outcome::NoResponse;
}

bool CAgentSession::Close()
{
    const BOOL bClosed = SnmpMgrClose(m_hSession);
    m_hSession = nullptr;
    if (!bClosed)
        m_dwLastError = GetLastError();
    return bClosed != 0;
}

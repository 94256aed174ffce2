#include "snmp/AgentSession.h"
#include "platform/net/Sockets.h"
#include "platform/syserr/SysError.h"
#include "snmp/BindingList.h"
#include "snmp/ErrorText.h"
#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

struct CHostParts
{
    std::string strName;  // without brackets
    std::string strPort;  // ":port" or empty
    bool bBracketed = false;
};

// All digits; their count says nothing ("024161" is port 24161): the session
// refuses a port out of range.
bool IsPortText(const std::string& strText)
{
    return !strText.empty() &&
           std::all_of(strText.begin(), strText.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Splits "[name]:port", "[name]", "host:port" (one colon only) or "host"; a
// text with several colons and no brackets is all name (a bare IPv6 address).
// False for a bracket text of another form.
bool SplitHost(const std::string& strHost, CHostParts& parts)
{
    if (!strHost.empty() && strHost[0] == '[') {
        const std::size_t nClose = strHost.find(']');
        if (nClose == std::string::npos)
            return false;
        parts.strName = strHost.substr(1, nClose - 1);
        parts.strPort = strHost.substr(nClose + 1);
        parts.bBracketed = true;
        return IsIPv6Text(parts.strName.c_str()) &&
               (parts.strPort.empty() || (parts.strPort[0] == ':' && IsPortText(parts.strPort.substr(1))));
    }
    const std::size_t nColon = strHost.find(':');
    const bool bPort = nColon != std::string::npos && strHost.find(':', nColon + 1) == std::string::npos &&
                       IsPortText(strHost.substr(nColon + 1));
    parts.strName = bPort ? strHost.substr(0, nColon) : strHost;
    parts.strPort = bPort ? strHost.substr(nColon) : std::string();
    return strHost.find_first_of("[]") == std::string::npos;
}

std::string RequestFailureText(DWORD dwCode, const char* pszReason)
{
    return FormatErrorText("Error Sending Request\nErrorID:%d (%s)", static_cast<int>(dwCode), pszReason);
}

int TimeoutMilliseconds(std::int32_t nSeconds)
{
    const long long nMs = static_cast<long long>(nSeconds) * 1000;
    return static_cast<int>(std::clamp<long long>(nMs, INT_MIN, INT_MAX));
}

// The agent text with the profile's port when it names none ("[::1]" for a
// bare IPv6 address, which cannot carry a port otherwise).
std::string AgentWithPort(const std::string& strAgent, int nPort)
{
    CHostParts parts;
    if (!SplitHost(strAgent, parts) || !parts.strPort.empty())
        return strAgent;  // the manager interface judges it as it stands
    const bool bIPv6 = parts.bBracketed || IsIPv6Text(parts.strName.c_str());
    return (bIPv6 ? "[" + parts.strName + "]" : parts.strName) + ":" + std::to_string(nPort);
}

} // namespace

int ResolveHost(const std::string& strHost, std::string& strAddress)
{
    CHostParts parts;
    if (!SplitHost(strHost, parts))
        return kHostMalformed;
    if (parts.bBracketed || InetAddr(parts.strName.c_str()) != kInetAddrNone) {
        strAddress = strHost;
        return kHostResolved;
    }
    const std::optional<CHostAddress> address = GetHostByName(parts.strName.c_str());
    if (!address)
        return kHostNotResolved;
    strAddress = (address->m_bIPv6 ? "[" + address->Text() + "]" : address->Text()) + parts.strPort;
    return kHostResolved;
}

const char* UsmFailureReason(DWORD dwCode)
{
    switch (dwCode) {
    case SNMP_MGMTAPI_USM_UNKNOWN_USER: return "SNMPv3: the agent does not know this user name";
    case SNMP_MGMTAPI_USM_WRONG_DIGEST:
        return "SNMPv3: wrong digest; the authentication protocol or passphrase does not match the agent's";
    case SNMP_MGMTAPI_USM_UNSUPPORTED_LEVEL:
        return "SNMPv3: the agent does not support this security level for this user";
    case SNMP_MGMTAPI_USM_NOT_IN_TIME: return "SNMPv3: not in the agent's time window; its clock could not be followed";
    case SNMP_MGMTAPI_USM_DECRYPTION:
        return "SNMPv3: decryption error; the privacy protocol or passphrase does not match the agent's";
    case SNMP_MGMTAPI_USM_UNKNOWN_ENGINE: return "SNMPv3: the agent's engine could not be discovered";
    case SNMP_MGMTAPI_USM_SHORT_PASSPHRASE: return "SNMPv3: a passphrase must have at least 8 characters";
    default: return nullptr;
    }
}

std::string DescribeRequestFailure(DWORD dwCode, SnmpSecurityLevel eLevel)
{
    if (dwCode == SNMP_MGMTAPI_TIMEOUT || dwCode == 8) {
        const std::string strText =
            RequestFailureText(dwCode, "There was no response from the host, the request timed-out");
        if (eLevel != SnmpSecurityLevel::AuthPriv)
            return strText;
        return BoundErrorText(strText + "\nAt authPriv the privacy protocol or passphrase may not match the "
                                        "agent's: it ignores requests it cannot decrypt.");
    }
    if (dwCode == SNMP_MGMTAPI_SELECT_FDERRORS)
        return RequestFailureText(dwCode, "Error with SNMP-Management API, SELECT Error");
    if (const char* pszReason = UsmFailureReason(dwCode))
        return RequestFailureText(dwCode, pszReason);
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

bool CAgentSession::Open(const std::string& strAgent, const std::string& strCommunity, const CAgentProfile& profile)
{
    const std::string strPeer = AgentWithPort(strAgent, profile.m_nPort);
    const int nTimeout = TimeoutMilliseconds(profile.m_nTimeout);
    if (profile.IsV3()) {
        const SnmpMgrUsm usm = profile.Usm();
        m_hSession = SnmpMgrOpenUsm(strPeer.c_str(), &usm, nTimeout, profile.m_nRetries);
    } else {
        const int nVersion = profile.m_nVersion == CAgentProfile::kVersion2c ? SNMP_VERSION_V2C : SNMP_VERSION_V1;
        m_hSession = SnmpMgrOpen(strPeer.c_str(), strCommunity.c_str(), nTimeout, profile.m_nRetries, nVersion);
    }
    if (!m_hSession)
        m_dwLastError = GetLastError();
    return m_hSession != nullptr;
}

template <typename Call>
CAgentSession::Outcome CAgentSession::Guarded(Call call, AsnInteger32& nStatus, AsnInteger32& nIndex)
{
    nStatus = 0;
    nIndex = 0;
    try {
        if (call())
            return Outcome::Answered;
    } catch (...) {
        return Outcome::Exception;
    }
    m_dwLastError = GetLastError();
    return Outcome::NoResponse;
}

CAgentSession::Outcome CAgentSession::Request(BYTE requestType, CBindingList& list, AsnInteger32& nStatus,
                                              AsnInteger32& nIndex)
{
    return Guarded([&] { return SnmpMgrRequest(m_hSession, requestType, list.List(), &nStatus, &nIndex); },
                   nStatus, nIndex);
}

CAgentSession::Outcome CAgentSession::RequestBulk(UINT nRepetitions, CBindingList& list, AsnInteger32& nStatus,
                                                  AsnInteger32& nIndex)
{
    return Guarded([&] { return SnmpMgrRequestBulk(m_hSession, nRepetitions, list.List(), &nStatus, &nIndex); },
                   nStatus, nIndex);
}

bool CAgentSession::Close()
{
    const BOOL bClosed = SnmpMgrClose(m_hSession);
    m_hSession = nullptr;
    if (!bClosed)
        m_dwLastError = GetLastError();
    return bClosed != 0;
}

#pragma once
// One session with an agent through the manager interface, plus the host
// resolution and failure texts that the walk and the write share.
// A session is used by one thread; different threads use different sessions.
#include "platform/WinTypes.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include "snmp/AgentProfile.h"
#include <string>

class CBindingList;

constexpr int kHostResolved = 0, kHostNotResolved = 1, kHostMalformed = 2;

// Resolves the typed host: kHostResolved with the result in strAddress, else
// kHostNotResolved or kHostMalformed (a bracket text that is not "[IPv6]" or
// "[IPv6]:port"), strAddress untouched. A dotted address and a bracketed IPv6
// address are kept exactly as typed; a bare IPv6 address gets its brackets; a
// name becomes the first IPv4 address it resolves to, as "%d.%d.%d.%d", or its
// first IPv6 address in brackets when it has no IPv4 one. A trailing ":port" is
// kept on the result ("name:1161" gives "127.0.0.1:1161").
// Thread-safe; blocks for as long as the system resolver takes.
int ResolveHost(const std::string& strHost, std::string& strAddress);

// The text of a request that got no response, for the system error code read
// right after it (40 and 8: timed out; 41: SELECT error; 60-66: what an SNMPv3
// agent reported; others: the system's message, or "no description"). A time-out
// at authPriv adds that the privacy settings may not match, since an agent that
// cannot decrypt a request stays silent. At most 255 characters.
std::string DescribeRequestFailure(DWORD dwCode,
                                   SnmpSecurityLevel eLevel = SnmpSecurityLevel::NoAuthNoPriv);
// The reason of an SNMPv3 failure code (60-66); null for other codes.
const char* UsmFailureReason(DWORD dwCode);

class CAgentSession
{
public:
    enum class Outcome
    {
        Answered,    // a response came: status, index and the answer binding are set
        NoResponse,  // the call returned zero; the system code was saved
        Exception,   // the call raised an exception
    };

    CAgentSession() = default;
    // Closes a session still open, without reporting.
    ~CAgentSession();
    CAgentSession(const CAgentSession&) = delete;
    CAgentSession& operator=(const CAgentSession&) = delete;

    // Opens with the profile's version, timeout (seconds, sent as ms) and
    // retries; the profile's port when strAgent names none; the community for
    // v1 and v2c, the profile's user for v3 (which asks the agent for its engine
    // before it returns). False on failure, with the system code in LastError().
    bool Open(const std::string& strAgent, const std::string& strCommunity, const CAgentProfile& profile);
    // One request of the list's binding; the answer replaces the binding.
    Outcome Request(BYTE requestType, CBindingList& list, AsnInteger32& nStatus, AsnInteger32& nIndex);
    // One GetBulk of the list's binding; the list becomes the answer's bindings.
    Outcome RequestBulk(UINT nRepetitions, CBindingList& list, AsnInteger32& nStatus, AsnInteger32& nIndex);
    // Closes the session. False on failure, with the system code in LastError().
    bool Close();

    bool IsOpen() const { return m_hSession != nullptr; }
    // The system code saved by the last failed Open, Request or Close.
    DWORD LastError() const { return m_dwLastError; }

private:
    template <typename Call>
    Outcome Guarded(Call call, AsnInteger32& nStatus, AsnInteger32& nIndex);

    LPSNMP_MGR_SESSION m_hSession = nullptr;
    DWORD m_dwLastError = 0;
};

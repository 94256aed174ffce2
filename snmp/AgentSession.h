#pragma once
// One session with an agent through the manager interface, plus the host
// resolution and failure texts that the walk and the write share.
// A session is used by one thread; different threads use different sessions.
#include "platform/WinTypes.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include <string>

class CBindingList;

// Resolves the typed host: 0 = resolved into strAddress, 1 = not resolved
// (strAddress untouched). A dotted address is kept exactly as typed; a name
// becomes the first IPv4 address it resolves to, as "%d.%d.%d.%d". A trailing
// ":port" is kept on the result ("name:1161" gives "127.0.0.1:1161").
// Thread-safe; blocks for as long as the system resolver takes.
int ResolveHost(const std::string& strHost, std::string& strAddress);

// The text of a request that got no response, for the system error code read
// right after it (40 and 8: timed out; 41: SELECT error; others: the system's
// message, or "no description"). At most 255 characters.
std::string DescribeRequestFailure(DWORD dwCode);

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

    // Opens with the settings read now: Timeout (seconds, sent as ms), Retries
    // and Version. False on failure, with the system code in LastError().
    bool Open(const std::string& strAgent, const std::string& strCommunity);
    // One request of the list's binding; the answer replaces the binding.
    Outcome Request(BYTE requestType, CBindingList& list, AsnInteger32& nStatus, AsnInteger32& nIndex);
    // Closes the session. False on failure, with the system code in LastError().
    bool Close();

    bool IsOpen() const { return m_hSession != nullptr; }
    // The system code saved by the last failed Open, Request or Close.
    DWORD LastError() const { return m_dwLastError; }

private:
    LPSNMP_MGR_SESSION m_hSession = nullptr;
    DWORD m_dwLastError = 0;
};

#include "snmp/MibWalk.h"
#include "snmp/AgentSession.h"
#include "snmp/AppSettings.h"
#include "snmp/BindingList.h"
#include "snmp/ErrorText.h"
#include "snmp/SnmpOid.h"
#include "snmp/SnmpValue.h"
#include "snmp/SnmpRead.h"
#include "snmp/WalkMessages.h"
#include "snmp/WalkTarget.h"
#include <algorithm>
#include <cstdint>
#include <memory>
#include <system_error>
#include <thread>

namespace {

constexpr std::size_t kMaxBaseText = 1023;
constexpr AsnInteger32 kTooBig = 1;
constexpr AsnInteger32 kNoSuchName = 2;

// One walk's private state, on the walk thread.
class CMibWalk
{
public:
    CMibWalk(std::shared_ptr<CWalkState> pState, CWalkStart start)
        : m_pState(std::move(pState)), m_start(std::move(start))
    {
    }
    void Run();

private:
    enum class End
    {
        Finished,  // the loop was left: the end message follows
        Failed,    // the text posted is the only sign of the end
    };

    bool Open();
    void PostOpenFailure(const std::string& strAddress);
    End Walk();
    CAgentSession::Outcome Ask(AsnInteger32& nStatus, AsnInteger32& nIndex);
    // What one answer means, variable by variable, posting those that belong to
    // the walk: true = go on with the next request.
    bool TakeAnswer(AsnInteger32 nStatus, AsnInteger32 nIndex);
    bool TakeBinding(const SnmpVarBind& answer, const AsnObjectIdentifier& previous);
    void PostRecord(const SnmpVarBind& answer);
    void PostError(const std::string& strText);
    bool CloseSession();

    const std::shared_ptr<CWalkState> m_pState;  // shared with the owner
    const CWalkStart m_start;
    CAgentSession m_session;
    CBindingList m_list;  // the next name to ask about; then the answer
    CSnmpOid m_root;      // the base OID: the subtree walked
    CSnmpOid m_asked;     // the name of the request in flight
    UINT m_nRepetitions = 0;  // GetBulk size; 0 = GET-NEXT
};

void CMibWalk::Run()
{
    m_pState->m_bWalking = 1;
    const End end = Open() ? Walk() : End::Failed;
    const bool bClosed = CloseSession();
    const bool bRun = m_pState->m_bRun == 1;
    m_pState->m_bWalking = 0;
    if (end == End::Finished && bClosed)
        SendMessage(m_start.hWnd, bRun ? WM_WALK_DONE : WM_WALK_STOPPED, 0, 0);
}

bool CMibWalk::Open()
{
    std::string strAddress;
    switch (ResolveHost(m_start.request.m_strHost, strAddress)) {
    case kHostResolved:
        break;
    case kHostMalformed:
        PostError(FormatErrorText("Error: Malformed host, %s; an IPv6 address is written in brackets, as "
                                  "[2001:db8::1]:161\n",
                                  m_start.request.m_strHost.c_str()));
        return false;
    default:
        PostError("Error: Unable to resolve Host\n");
        return false;
    }
    // A query started from a node, and a table view, walk that node's subtree.
    const std::string strBase =
        m_start.request.m_strBase.empty() ? AppSettings.Base() : m_start.request.m_strBase;
    CSnmpOid base;
    if (strBase.size() > kMaxBaseText || !SnmpMgrStrToOid(strBase.c_str(), base.Out())) {
        PostError(FormatErrorText("Error: Invalid oid, %s, specified.\n", strBase.c_str()));
        return false;
    }
    if (!m_list.Grow(base)) {
        PostError(FormatErrorText("Error: Error allocating oid, %s.\n", strBase.c_str()));
        return false;
    }
    if (!m_session.Open(strAddress, m_start.request.m_strCommunity, m_start.request.m_profile)) {
        PostOpenFailure(strAddress);
        return false;
    }
    if (!m_root.CopyFrom(m_list.Binding().name)) {
        PostError("error on SnmpUtilOidCpy\n");
        return false;
    }
    m_nRepetitions = static_cast<UINT>(std::max(m_start.request.m_profile.BulkRepetitions(), 0));
    return true;
}

void CMibWalk::PostOpenFailure(const std::string& strAddress)
{
    const DWORD dwCode = m_session.LastError();
    const CAgentProfile& profile = m_start.request.m_profile;
    if (profile.IsV3())
        PostError(FormatErrorText("Error attempting to connect to '%s' as user '%s'\n%s", strAddress.c_str(),
                                  profile.m_strUser.c_str(),
                                  DescribeRequestFailure(dwCode, profile.m_eLevel).c_str()));
    else if (dwCode != 0)
        PostError(FormatErrorText("Error attempting to connect to '%s' with community '%s'\nError ID:%d\n",
                                  strAddress.c_str(), m_start.request.m_strCommunity.c_str(), static_cast<int>(dwCode)));
    else
        PostError(FormatErrorText("Error attempting to connect to '%s' with community '%s'", strAddress.c_str(),
                                  m_start.request.m_strCommunity.c_str()));
}

CMibWalk::End CMibWalk::Walk()
{
    while (IsWindow(m_start.hWnd) && m_pState->m_bRun == 1) {
        if (!m_asked.CopyFrom(m_list.Binding().name)) {
            PostError("error on SnmpUtilOidCpy\n");
            return End::Failed;
        }
        AsnInteger32 nStatus = 0, nIndex = 0;
        switch (Ask(nStatus, nIndex)) {
        case CAgentSession::Outcome::Exception:
            PostError("An excpetion occured during SnmpMgrRequest");
            return End::Finished;
        case CAgentSession::Outcome::NoResponse:
            PostError(DescribeRequestFailure(m_session.LastError(), m_start.request.m_profile.m_eLevel));
            return End::Finished;
        case CAgentSession::Outcome::Answered:
            break;
        }
        const bool bSmaller = nStatus == kTooBig && m_nRepetitions > 1;
        if (bSmaller)
            m_nRepetitions /= 2;  // and the same name once more
        else if (!TakeAnswer(nStatus, nIndex))
            return End::Finished;
        const AsnObjectIdentifier& next = bSmaller ? m_asked.Get() : m_list.At(m_list.Count() - 1).name;
        if (!m_list.Rename(next)) {
            PostError("error on SnmpUtilOidCpy\n");
            return End::Failed;
        }
    }
    return End::Finished;
}

CAgentSession::Outcome CMibWalk::Ask(AsnInteger32& nStatus, AsnInteger32& nIndex)
{
    if (m_nRepetitions > 0)
        return m_session.RequestBulk(m_nRepetitions, m_list, nStatus, nIndex);
    return m_session.Request(SNMP_PDU_GETNEXT, m_list, nStatus, nIndex);
}

bool CMibWalk::TakeAnswer(AsnInteger32 nStatus, AsnInteger32 nIndex)
{
    if (nStatus == kNoSuchName)
        return false;
    // Any other status is an error, whatever the bindings it came with; shown
    // as the agent sent it (nStatus and nIndex are bound to 32 bits).
    if (nStatus != 0) {
        std::int64_t nSentStatus = nStatus, nSentIndex = nIndex;
        SnmpMgrLastErrorStatus(&nSentStatus, &nSentIndex);
        PostError(FormatErrorText("Error: errorStatus=%lld, errorIndex=%lld \n", static_cast<long long>(nSentStatus),
                                  static_cast<long long>(nSentIndex)));
        return false;
    }
    if (m_list.Count() == 0) {
        // Asking again would bring the same empty answer.
        PostError("Error: The agent answered without variables.\n");
        return false;
    }
    const AsnObjectIdentifier* pPrevious = &m_asked.Get();
    for (UINT i = 0; i < m_list.Count(); ++i) {
        const SnmpVarBind& answer = m_list.At(i);
        if (!TakeBinding(answer, *pPrevious))
            return false;
        PostRecord(answer);
        pPrevious = &answer.name;
    }
    return true;
}

bool CMibWalk::TakeBinding(const SnmpVarBind& answer, const AsnObjectIdentifier& previous)
{
    if (SnmpUtilOidNCmp(&answer.name, &m_root.Get(), m_root.Get().idLength) != 0)
        return false;  // left the base subtree
    if (answer.value.asnType == SNMP_EXCEPTION_ENDOFMIBVIEW)
        return false;
    // An agent that does not move forward would be asked the same question forever.
    if (SnmpUtilOidCmp(&answer.name, &previous) <= 0) {
        PostError(FormatErrorText("Error: OID not increasing, %s\n", FormatOidText(answer.name).c_str()));
        return false;
    }
    return true;
}

void CMibWalk::PostRecord(const SnmpVarBind& answer)
{
    std::unique_ptr<CWalkRecord> pRecord = RecordOf(answer, m_start.request.m_bSnmpwalkValues);
    if (!pRecord)
        return;
    if (PostMessage(m_start.hWnd, WM_WALK_RECORD, reinterpret_cast<WPARAM>(pRecord.get()), 0, FreeWalkPayload))
        pRecord.release();  // the window's now
}

void CMibWalk::PostError(const std::string& strText)
{
    if (!IsWindow(m_start.hWnd))
        return;
    char* pszText = NewWalkErrorText(strText);
    if (!PostMessage(m_start.hWnd, WM_WALK_ERROR, 0, reinterpret_cast<LPARAM>(pszText), FreeWalkPayload))
        delete[] pszText;
}

// Releases the list and the OIDs, then closes an open session; a failed close
// is reported and ends the walk without an end message.
bool CMibWalk::CloseSession()
{
    m_list.Clear();
    m_root.Clear();
    m_asked.Clear();
    if (!m_session.IsOpen())
        return true;
    if (m_session.Close())
        return true;
    PostError(FormatErrorText("error on SnmpMgrClose %d\n", static_cast<int>(m_session.LastError())));
    return false;
}

} // namespace

void MibWalkThread(std::shared_ptr<CWalkState> pState, CWalkStart start)
{
    CMibWalk(std::move(pState), std::move(start)).Run();
}

BOOL StartMibWalkThread(CWalkTarget& target)
{
    CWalkStart start{target.m_request, target.m_hWalkWnd};
    // Set before the thread exists, so an owner never sees a started walk as ended.
    target.m_pWalk->m_bWalking = 1;
    try {
        std::thread(MibWalkThread, target.m_pWalk, std::move(start)).detach();
        return TRUE;
    } catch (const std::system_error&) {
        target.m_pWalk->m_bWalking = 0;
        return FALSE;
    }
}

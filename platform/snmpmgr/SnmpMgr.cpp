#include "platform/snmpmgr/NetSnmpHeaders.h"

#include "platform/snmpmgr/SnmpMgr.h"

#include "platform/net/Sockets.h"
#include "platform/snmpmgr/BuiltinMib.h"
#include "platform/mibparse/MibTable.h"
#include "platform/snmpmgr/RawResponse.h"
#include "platform/syserr/SysError.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

struct SnmpMgrSession
{
    void* pHandle = nullptr;  // Owned: net-snmp single-session handle.
    std::unique_ptr<CPacketTap> pTap;  // Owned; on the handle's transport
    bool bUsm = false;        // SNMPv3: its work goes under the USM locks
    bool bBulk = false;       // v2c or v3: GetBulk exists
};

namespace
{
// Every block handed out by SnmpUtilMemAlloc starts after this header, which
// keeps the size so that a reallocation can zero what it adds.
struct alignas(std::max_align_t) BlockHeader
{
    size_t nBytes;
};

constexpr UINT kMaxOidLength = MAX_OID_LEN;

BlockHeader* HeaderOf(void* p)
{
    return static_cast<BlockHeader*>(p) - 1;
}

BOOL Fail(DWORD dwCode)
{
    SetLastError(dwCode);
    return FALSE;
}

// The host part and port of an agent text; false when it is malformed.
bool SplitAgent(std::string_view agent, std::string* pstrHost, unsigned* pnPort)
{
    std::string_view port;
    bool bPort = false;
    if (!agent.empty() && agent.front() == '[')
    {
        const size_t nClose = agent.find(']');
        if (nClose == std::string_view::npos)
            return false;
        *pstrHost = std::string(agent.substr(1, nClose - 1));
        const std::string_view rest = agent.substr(nClose + 1);
        if (!rest.empty() && rest.front() != ':')
            return false;
        bPort = !rest.empty();
        port = bPort ? rest.substr(1) : rest;
        if (!IsIPv6Text(pstrHost->c_str()))
            return false;
    }
    else if (const size_t nColon = agent.find(':'); nColon != std::string_view::npos &&
                                                   agent.find(':', nColon + 1) == std::string_view::npos)
    {
        *pstrHost = std::string(agent.substr(0, nColon));
        bPort = true;
        port = agent.substr(nColon + 1);
    }
    else
    {
        *pstrHost = std::string(agent);  // a name, or a bare address (IPv6 has several colons)
        if (pstrHost->find(':') != std::string::npos && !IsIPv6Text(pstrHost->c_str()))
            return false;
    }
    *pnPort = 161;
    if (bPort)
    {
        const auto [pEnd, ec] = std::from_chars(port.data(), port.data() + port.size(), *pnPort);
        if (port.empty() || ec != std::errc() || pEnd != port.data() + port.size() || *pnPort == 0 ||
            *pnPort > 65535)
            return false;
    }
    return !pstrHost->empty();
}

// An agent text → net-snmp peer name "udp:a.b.c.d:port" or "udp6:[v6]:port";
// empty on failure with *pdwError set (EINVAL for malformed text, 0 for an
// unknown host).
std::string PeerName(const char* pszAgent, DWORD* pdwError)
{
    std::string strHost;
    unsigned nPort = 0;
    if (!SplitAgent(pszAgent, &strHost, &nPort))
    {
        *pdwError = EINVAL;
        return {};
    }
    const auto address = GetHostByName(strHost.c_str());
    if (!address)
    {
        *pdwError = 0;
        return {};
    }
    const std::string strPort = std::to_string(nPort);
    return address->m_bIPv6 ? "udp6:[" + address->Text() + "]:" + strPort : "udp:" + address->Text() + ":" + strPort;
}

bool CopyBytes(AsnOctetString* pDst, const void* pSrc, size_t nLength)
{
    // Always a real block, even for an empty value, so readers never meet null.
    auto* pBytes = static_cast<BYTE*>(SnmpUtilMemAlloc(static_cast<UINT>(nLength)));
    if (!pBytes)
        return false;
    if (nLength)
        std::memcpy(pBytes, pSrc, nLength);
    pDst->stream = pBytes;
    pDst->length = static_cast<UINT>(nLength);
    pDst->dynamic = TRUE;
    return true;
}

thread_local std::int64_t t_nLastErrorStatus = 0;
thread_local std::int64_t t_nLastErrorIndex = 0;

bool IsOctetLike(BYTE type)
{
    return type == ASN_OCTETSTRING || type == ASN_BITS || type == ASN_SEQUENCE || type == ASN_IPADDRESS ||
           type == ASN_OPAQUE || type == ASN_NSAPADDRESS;
}

AsnInteger32 Saturated(std::int64_t nValue)
{
    return static_cast<AsnInteger32>(std::clamp<std::int64_t>(nValue, INT32_MIN, INT32_MAX));
}

// The number as sent, where the value's 32-bit field could not hold it.
void TakeWideNumber(const CRawNumber& number, AsnAny* pAny)
{
    const bool bFits = pAny->asnType == ASN_INTEGER
                           ? number.nMagnitude <= (number.bNegative ? 0x80000000ull : 0x7FFFFFFFull)
                           : !number.bNegative && number.nMagnitude <= 0xFFFFFFFFull;
    if (bFits)
        return;
    pAny->wide = {TRUE, number.bNegative, number.nMagnitude};
    // net-snmp's own cut differs by type and sign; the field holds the low 32 bits.
    const std::uint64_t nBits = number.bNegative ? 0 - number.nMagnitude : number.nMagnitude;
    pAny->asnValue.unsigned32 = static_cast<AsnUnsigned32>(nBits);
}

bool IsUnsigned32(BYTE type)
{
    return type == ASN_COUNTER32 || type == ASN_GAUGE32 || type == ASN_TIMETICKS || type == ASN_UNSIGNED32;
}

bool FromNetSnmpOid(const oid* pIds, size_t nLength, AsnObjectIdentifier* pOid)
{
    *pOid = {};
    if (nLength == 0)
        return true;
    auto* pCopy = static_cast<UINT*>(SnmpUtilMemAlloc(static_cast<UINT>(nLength * sizeof(UINT))));
    if (!pCopy)
        return false;
    for (size_t i = 0; i < nLength; ++i)
        pCopy[i] = static_cast<UINT>(pIds[i]);
    pOid->ids = pCopy;
    pOid->idLength = static_cast<UINT>(nLength);
    return true;
}

// net-snmp decodes Opaque values that wrap a float, double or 64-bit number
// into types of its own; the interface hands over the Opaque bytes instead, so
// they are encoded again and the outer Opaque header dropped.
bool ReencodeOpaque(const netsnmp_variable_list& var, AsnAny* pAny)
{
    u_char aBuffer[32];
    size_t nLeft = sizeof aBuffer;
    const u_char* pEnd = nullptr;
    switch (var.type)
    {
    case ASN_OPAQUE_FLOAT:
        if (var.val.floatVal)
            pEnd = asn_build_float(aBuffer, &nLeft, var.type, var.val.floatVal, sizeof(float));
        break;
    case ASN_OPAQUE_DOUBLE:
        if (var.val.doubleVal)
            pEnd = asn_build_double(aBuffer, &nLeft, var.type, var.val.doubleVal, sizeof(double));
        break;
    case ASN_OPAQUE_I64:
        if (var.val.counter64)
            pEnd = asn_build_signed_int64(aBuffer, &nLeft, var.type, var.val.counter64, sizeof(counter64));
        break;
    default:
        if (var.val.counter64)
            pEnd = asn_build_unsigned_int64(aBuffer, &nLeft, var.type, var.val.counter64, sizeof(counter64));
        break;
    }
    pAny->asnType = ASN_OPAQUE;
    const size_t nUsed = pEnd ? static_cast<size_t>(pEnd - aBuffer) : 0;
    // Outer header: the Opaque tag, then a short length or 0x81 and one byte.
    const size_t nHeader = nUsed > 1 && aBuffer[1] == 0x81 ? 3 : 2;
    if (nUsed < nHeader)
        return CopyBytes(&pAny->asnValue.arbitrary, nullptr, 0);
    return CopyBytes(&pAny->asnValue.arbitrary, aBuffer + nHeader, nUsed - nHeader);
}

bool IsSpecialOpaque(BYTE type)
{
    return type == ASN_OPAQUE_FLOAT || type == ASN_OPAQUE_DOUBLE || type == ASN_OPAQUE_I64 ||
           type == ASN_OPAQUE_U64 || type == ASN_OPAQUE_COUNTER64;
}

// An agent's value as the interface's typed value. Types the interface does
// not know keep their tag and carry no payload.
bool FromNetSnmpValue(const netsnmp_variable_list& var, AsnAny* pAny)
{
    *pAny = {};
    pAny->asnType = var.type;
    const BYTE type = var.type;
    if (type == ASN_INTEGER)
        pAny->asnValue.number = var.val.integer ? static_cast<AsnInteger32>(*var.val.integer) : 0;
    else if (IsUnsigned32(type))
        pAny->asnValue.unsigned32 = var.val.integer ? static_cast<AsnUnsigned32>(*var.val.integer) : 0;
    else if (type == ASN_COUNTER64)
    {
        if (var.val.counter64)
            pAny->asnValue.counter64 = {static_cast<DWORD>(var.val.counter64->low),
                                        static_cast<DWORD>(var.val.counter64->high)};
    }
    else if (type == ASN_OBJECTIDENTIFIER)
        return FromNetSnmpOid(var.val.objid, var.val.objid ? var.val_len / sizeof(oid) : 0, &pAny->asnValue.object);
    else if (IsOctetLike(type))
        return CopyBytes(&pAny->asnValue.string, var.val.string, var.val.string ? var.val_len : 0);
    else if (IsSpecialOpaque(type))
        return ReencodeOpaque(var, pAny);
    return true;
}

bool FromNetSnmpBinding(const netsnmp_variable_list& var, SnmpVarBind* pBinding)
{
    *pBinding = {};
    if (FromNetSnmpOid(var.name, var.name ? var.name_length : 0, &pBinding->name) &&
        FromNetSnmpValue(var, &pBinding->value))
        return true;
    SnmpUtilVarBindFree(pBinding);
    return false;
}

// Adds one binding to a request PDU: its value for a SET, NULL for a read.
bool AddBinding(netsnmp_pdu* pPdu, const SnmpVarBind& binding, bool bWithValue)
{
    const AsnObjectIdentifier& name = binding.name;
    if (name.idLength == 0 || name.idLength > kMaxOidLength || !name.ids)
        return false;
    oid aName[MAX_OID_LEN];
    for (UINT i = 0; i < name.idLength; ++i)
        aName[i] = name.ids[i];

    const AsnAny& value = binding.value;
    const BYTE type = bWithValue ? value.asnType : ASN_NULL;
    long nNumber = 0;
    counter64 c64{};
    std::vector<oid> objectIds;
    const void* pData = nullptr;
    size_t nLength = 0;
    if (type == ASN_INTEGER)
        nNumber = value.asnValue.number, pData = &nNumber, nLength = sizeof nNumber;
    else if (IsUnsigned32(type))
        nNumber = static_cast<long>(value.asnValue.unsigned32), pData = &nNumber, nLength = sizeof nNumber;
    else if (type == ASN_COUNTER64)
    {
        c64.high = value.asnValue.counter64.HighPart;
        c64.low = value.asnValue.counter64.LowPart;
        pData = &c64, nLength = sizeof c64;
    }
    else if (type == ASN_OBJECTIDENTIFIER)
    {
        const AsnObjectIdentifier& object = value.asnValue.object;
        if (object.idLength > kMaxOidLength || (object.idLength && !object.ids))
            return false;
        objectIds.assign(object.ids, object.ids + object.idLength);
        pData = objectIds.data(), nLength = objectIds.size() * sizeof(oid);
    }
    else if (type == ASN_OCTETSTRING || type == ASN_BITS || type == ASN_OPAQUE || type == ASN_IPADDRESS)
    {
        const AsnOctetString& bytes = value.asnValue.string;
        if ((bytes.length && !bytes.stream) || (type == ASN_IPADDRESS && bytes.length != 4))
            return false;
        pData = bytes.stream, nLength = bytes.length;
    }
    else if (type != ASN_NULL && type != SNMP_EXCEPTION_NOSUCHOBJECT && type != SNMP_EXCEPTION_NOSUCHINSTANCE &&
             type != SNMP_EXCEPTION_ENDOFMIBVIEW)
        return false;  // SEQUENCE and unknown tags cannot be encoded as a value
    return snmp_pdu_add_variable(pPdu, aName, name.idLength, type, pData, nLength) != nullptr;
}

size_t CountBindings(const netsnmp_pdu* pPdu)
{
    size_t n = 0;
    for (const netsnmp_variable_list* p = pPdu->variables; p; p = p->next_variable)
        ++n;
    return n;
}

// Binding i of an answer, with its number as sent where pRaw has it.
bool AnswerBinding(const netsnmp_variable_list& var, const CRawResponse* pRaw, std::size_t i, SnmpVarBind* pBinding)
{
    if (!FromNetSnmpBinding(var, pBinding))
        return false;
    if (pRaw && i < pRaw->values.size() && pRaw->values[i] && pRaw->tags[i] == var.type)
        TakeWideNumber(*pRaw->values[i], &pBinding->value);
    return true;
}

// Replaces the request's bindings one for one with the answer's. Bindings the
// answer does not carry (an error answer may carry none) stay as they were.
// pRaw, when the message could be read again, gives the numbers as sent.
bool TakeAnswer(const netsnmp_pdu* pResponse, const CRawResponse* pRaw, SnmpVarBindList* pList)
{
    std::vector<SnmpVarBind> answers;
    for (const netsnmp_variable_list* p = pResponse->variables; p && answers.size() < pList->len;
         p = p->next_variable)
    {
        SnmpVarBind binding;
        if (!AnswerBinding(*p, pRaw, answers.size(), &binding))
        {
            for (auto& b : answers)
                SnmpUtilVarBindFree(&b);
            return false;
        }
        answers.push_back(binding);
    }
    for (size_t i = 0; i < answers.size(); ++i)
    {
        SnmpUtilVarBindFree(&pList->list[i]);
        pList->list[i] = answers[i];
    }
    return true;
}

template <typename... Args>
void Append(std::string& strText, const char* pszFormat, Args... args)
{
    char szPart[64];
    const int nLength = std::snprintf(szPart, sizeof szPart, pszFormat, args...);
    strText.append(szPart, static_cast<std::size_t>(std::clamp(nLength, 0, static_cast<int>(sizeof szPart) - 1)));
}

void AppendBytes(std::string& strText, const AsnOctetString& bytes, bool bAsText)
{
    for (UINT i = 0; i < bytes.length && bytes.stream; ++i)
    {
        const BYTE c = bytes.stream[i];
        if (bAsText)
            strText += static_cast<char>(c >= 0x20 && c < 0x7F ? c : '.');
        else
            Append(strText, i ? " %02X" : "%02X", c);
    }
}

bool IsPrintable(const AsnOctetString& bytes)
{
    for (UINT i = 0; i < bytes.length && bytes.stream; ++i)
        if ((bytes.stream[i] < 0x20 || bytes.stream[i] >= 0x7F) && bytes.stream[i] != '\t')
            return false;
    return true;
}

// net-snmp's USM users and engine times are process-wide and unguarded: opens
// and closes of USM sessions (which drop and create users) hold the lock alone;
// USM requests share it. Requests pass the turnstile first, which an open holds
// while it waits, so requests of running walks cannot keep it waiting for ever.
struct CUsmLocks
{
    std::mutex turnstile;
    std::shared_mutex shared;
};

CUsmLocks& UsmLocks()
{
    static CUsmLocks locks;
    return locks;
}

class CUsmExclusive
{
public:
    explicit CUsmExclusive(bool bUsm)
    {
        if (!bUsm)
            return;
        m_turn = std::unique_lock<std::mutex>(UsmLocks().turnstile);
        m_lock = std::unique_lock<std::shared_mutex>(UsmLocks().shared);
    }

private:
    std::unique_lock<std::mutex> m_turn;
    std::unique_lock<std::shared_mutex> m_lock;
};

class CUsmShared
{
public:
    explicit CUsmShared(bool bUsm)
    {
        if (!bUsm)
            return;
        std::lock_guard<std::mutex> turn(UsmLocks().turnstile);
        m_lock = std::shared_lock<std::shared_mutex>(UsmLocks().shared);
    }

private:
    std::shared_lock<std::shared_mutex> m_lock;
};

template <std::size_t N>
oid* Protocol(oid (&ids)[N], size_t* pnLength)
{
    *pnLength = N;
    return ids;
}

oid* AuthProtocolOid(SnmpAuthProtocol protocol, size_t* pnLength)
{
    switch (protocol)
    {
    case SnmpAuthProtocol::MD5: return Protocol(usmHMACMD5AuthProtocol, pnLength);
    case SnmpAuthProtocol::SHA: return Protocol(usmHMACSHA1AuthProtocol, pnLength);
    case SnmpAuthProtocol::SHA224: return Protocol(usmHMAC128SHA224AuthProtocol, pnLength);
    case SnmpAuthProtocol::SHA256: return Protocol(usmHMAC192SHA256AuthProtocol, pnLength);
    case SnmpAuthProtocol::SHA384: return Protocol(usmHMAC256SHA384AuthProtocol, pnLength);
    case SnmpAuthProtocol::SHA512: return Protocol(usmHMAC384SHA512AuthProtocol, pnLength);
    }
    return nullptr;
}

oid* PrivProtocolOid(SnmpPrivProtocol protocol, size_t* pnLength)
{
    switch (protocol)
    {
    case SnmpPrivProtocol::DES: return Protocol(usmDESPrivProtocol, pnLength);
    case SnmpPrivProtocol::AES: return Protocol(usmAESPrivProtocol, pnLength);
    case SnmpPrivProtocol::AES192: return Protocol(usmAES192PrivProtocol, pnLength);
    case SnmpPrivProtocol::AES256: return Protocol(usmAES256PrivProtocol, pnLength);
    }
    return nullptr;
}

// The master key (Ku) of a passphrase for the authentication hash; false when
// the passphrase is too short to give one.
bool MasterKey(const oid* pAuthProto, size_t nAuthProto, const char* pszPass, u_char* pKey, size_t* pnKey)
{
    const size_t nPass = std::strlen(pszPass);
    return nPass >= USM_LENGTH_P_MIN &&
           generate_Ku(pAuthProto, static_cast<u_int>(nAuthProto), reinterpret_cast<const u_char*>(pszPass), nPass,
                       pKey, pnKey) == SNMPERR_SUCCESS;
}

// The session's key: the master key given, else the passphrase's.
bool SessionKey(const netsnmp_session& settings, const BYTE* pGiven, size_t nGiven, const char* pszPass,
                u_char* pKey, size_t* pnKey)
{
    if (nGiven == 0)
        return MasterKey(settings.securityAuthProto, settings.securityAuthProtoLen, pszPass, pKey, pnKey);
    // A key of another hash would reach net-snmp's localisation and fail there
    // as a transport error.
    const int nProper = sc_get_properlength(settings.securityAuthProto, static_cast<u_int>(settings.securityAuthProtoLen));
    if (!pGiven || nGiven > *pnKey || nProper < 0 || nGiven != static_cast<size_t>(nProper))
        return false;
    std::memcpy(pKey, pGiven, nGiven);
    *pnKey = nGiven;
    return true;
}

// Drops every cached user of this name, whatever its engine, so that the next
// session creates it from its own keys.
void ForgetUser(const std::string& strUser)
{
    std::vector<usmUser*> users;
    for (usmUser* p = usm_get_userList(); p; p = p->next)
        if (p->name && strUser == p->name)
            users.push_back(p);
    for (usmUser* p : users)
    {
        usm_remove_user(p);
        usm_free_user(p);
    }
}

// The interface's code for a net-snmp failure of a v3 exchange; 0 for none of them.
DWORD UsmFailureCode(int nSnmpErrno)
{
    switch (nSnmpErrno)
    {
    case SNMPERR_TIMEOUT: return SNMP_MGMTAPI_TIMEOUT;
    case SNMPERR_UNKNOWN_USER_NAME:
    case SNMPERR_USM_UNKNOWNSECURITYNAME: return SNMP_MGMTAPI_USM_UNKNOWN_USER;
    case SNMPERR_AUTHENTICATION_FAILURE:
    case SNMPERR_USM_AUTHENTICATIONFAILURE: return SNMP_MGMTAPI_USM_WRONG_DIGEST;
    case SNMPERR_UNSUPPORTED_SEC_LEVEL:
    case SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL: return SNMP_MGMTAPI_USM_UNSUPPORTED_LEVEL;
    case SNMPERR_NOT_IN_TIME_WINDOW:
    case SNMPERR_USM_NOTINTIMEWINDOW: return SNMP_MGMTAPI_USM_NOT_IN_TIME;
    case SNMPERR_DECRYPTION_ERR:
    case SNMPERR_USM_DECRYPTIONERROR: return SNMP_MGMTAPI_USM_DECRYPTION;
    case SNMPERR_UNKNOWN_ENG_ID:
    case SNMPERR_USM_UNKNOWNENGINEID: return SNMP_MGMTAPI_USM_UNKNOWN_ENGINE;
    default: return 0;
    }
}

// Opens a session from prepared settings on the agent text.
LPSNMP_MGR_SESSION OpenSession(netsnmp_session& settings, const char* agent, int timeout, int retries)
{
    DWORD dwError = 0;
    std::string strPeer = PeerName(agent, &dwError);
    if (strPeer.empty())
    {
        SetLastError(dwError);
        return nullptr;
    }
    settings.peername = strPeer.data();
    settings.timeout = std::max(timeout, 1) * 1000L;
    settings.retries = std::max(retries, 0);
    void* pHandle = snmp_sess_open(&settings);  // copies what it keeps
    if (!pHandle)
    {
        const DWORD dwUsm = settings.version == SNMP_VERSION_3 ? UsmFailureCode(settings.s_snmp_errno) : 0;
        SetLastError(dwUsm ? dwUsm : static_cast<DWORD>(std::max(settings.s_errno, 0)));
        return nullptr;
    }
    auto* pSession = new (std::nothrow) SnmpMgrSession;
    if (!pSession)
    {
        snmp_sess_close(pHandle);
        SetLastError(ENOMEM);
        return nullptr;
    }
    pSession->pHandle = pHandle;
    if (netsnmp_transport* pTransport = snmp_sess_transport(pHandle))
        pSession->pTap = std::make_unique<CPacketTap>(pTransport);
    pSession->bUsm = settings.version == SNMP_VERSION_3;
    pSession->bBulk = settings.version != SNMP_VERSION_1;
    return pSession;
}

// A request PDU with the list's bindings: values for a SET, NULL otherwise.
netsnmp_pdu* BuildRequest(int nCommand, const SnmpVarBindList& list)
{
    netsnmp_pdu* pPdu = snmp_pdu_create(nCommand);
    if (!pPdu)
    {
        SetLastError(ENOMEM);
        return nullptr;
    }
    for (UINT i = 0; i < list.len; ++i)
    {
        if (!AddBinding(pPdu, list.list[i], nCommand == SNMP_MSG_SET))
        {
            snmp_free_pdu(pPdu);
            SetLastError(EINVAL);
            return nullptr;
        }
    }
    return pPdu;
}

// Sends pPdu (taken) and waits for its answer; null with the last error set
// when none came. *pRaw gets the answer's numbers as sent, where they can be read.
netsnmp_pdu* Exchange(LPSNMP_MGR_SESSION session, netsnmp_pdu* pPdu, std::optional<CRawResponse>* pRaw)
{
    const CUsmShared lock(session->bUsm);
    netsnmp_pdu* pResponse = nullptr;
    std::optional<CPacketTap::CScope> tapScope;
    if (session->pTap)
        tapScope.emplace(*session->pTap);
    const int nStatus = snmp_sess_synch_response(session->pHandle, pPdu, &pResponse);
    tapScope.reset();
    if (nStatus == STAT_SUCCESS && pResponse)
    {
        if (session->pTap)
            *pRaw = ReadRawResponse(session->pTap->Packet(), pResponse->reqid);
        return pResponse;
    }
    if (pResponse)
        snmp_free_pdu(pResponse);
    DWORD dwCode = nStatus == STAT_TIMEOUT ? SNMP_MGMTAPI_TIMEOUT : SNMP_MGMTAPI_SELECT_FDERRORS;
    if (nStatus == STAT_ERROR && session->bUsm)
        if (const DWORD dwUsm = UsmFailureCode(snmp_sess_session(session->pHandle)->s_snmp_errno))
            dwCode = dwUsm;
    SetLastError(dwCode);
    return nullptr;
}

// Replaces the whole list by the answer's bindings.
bool TakeAllBindings(const netsnmp_pdu* pResponse, const CRawResponse* pRaw, SnmpVarBindList* pList)
{
    SnmpVarBindList answers{nullptr, 0};
    const size_t nCount = CountBindings(pResponse);
    if (nCount)
    {
        answers.list = static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(static_cast<UINT>(nCount * sizeof(SnmpVarBind))));
        if (!answers.list)
            return false;
    }
    for (const netsnmp_variable_list* p = pResponse->variables; p; p = p->next_variable)
    {
        if (!AnswerBinding(*p, pRaw, answers.len, &answers.list[answers.len]))
        {
            SnmpUtilVarBindListFree(&answers);
            return false;
        }
        ++answers.len;
    }
    SnmpUtilVarBindListFree(pList);
    *pList = answers;
    return true;
}

// The answer's error status and index as sent: kept in full for
// SnmpMgrLastErrorStatus, saturated into the 32-bit outputs.
void SetStatus(std::int64_t nErrorStatus, std::int64_t nErrorIndex, AsnInteger32* errorStatus, AsnInteger32* errorIndex)
{
    t_nLastErrorStatus = nErrorStatus;
    t_nLastErrorIndex = nErrorIndex;
    if (errorStatus)
        *errorStatus = Saturated(nErrorStatus);
    if (errorIndex)
        *errorIndex = Saturated(nErrorIndex);
}
}  // namespace

const char* SnmpLibraryVersion()
{
    return netsnmp_get_version();
}

void SnmpMgrStartup()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // No logging to stderr, no configuration or persistent files, no MIB files:
        // the interface's names come from the built-in MIB.
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_DEBUG);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_NO_TOKEN_WARNINGS, 1);
        netsnmp_set_mib_directory("");
        init_snmp("orvex");
        CBuiltinMib::Instance();
    });
}

LPSNMP_MGR_SESSION SnmpMgrOpen(const char* agent, const char* community, int timeout, int retries, int version)
{
    SnmpMgrStartup();
    if (!agent || !community || (version != SNMP_VERSION_V1 && version != SNMP_VERSION_V2C))
    {
        SetLastError(EINVAL);
        return nullptr;
    }
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.version = version == SNMP_VERSION_V2C ? SNMP_VERSION_2c : SNMP_VERSION_1;
    std::string strCommunity(community);
    settings.community = reinterpret_cast<u_char*>(strCommunity.data());
    settings.community_len = strCommunity.size();
    return OpenSession(settings, agent, timeout, retries);
}

LPSNMP_MGR_SESSION SnmpMgrOpenUsm(const char* agent, const SnmpMgrUsm* usm, int timeout, int retries)
{
    SnmpMgrStartup();
    if (!agent || !usm || !usm->user || !*usm->user || !usm->authPass || !usm->privPass || !usm->context)
    {
        SetLastError(EINVAL);
        return nullptr;
    }
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.version = SNMP_VERSION_3;
    std::string strUser(usm->user), strContext(usm->context);
    settings.securityName = strUser.data();
    settings.securityNameLen = strUser.size();
    settings.contextName = strContext.data();
    settings.contextNameLen = strContext.size();
    settings.securityModel = SNMP_SEC_MODEL_USM;
    settings.securityLevel = usm->level == SnmpSecurityLevel::AuthPriv     ? SNMP_SEC_LEVEL_AUTHPRIV
                             : usm->level == SnmpSecurityLevel::AuthNoPriv ? SNMP_SEC_LEVEL_AUTHNOPRIV
                                                                           : SNMP_SEC_LEVEL_NOAUTH;
    bool bKeys = true;
    if (usm->level != SnmpSecurityLevel::NoAuthNoPriv)
    {
        settings.securityAuthProto = AuthProtocolOid(usm->auth, &settings.securityAuthProtoLen);
        settings.securityAuthKeyLen = USM_AUTH_KU_LEN;
        bKeys = SessionKey(settings, usm->authKey, usm->authKeyLen, usm->authPass, settings.securityAuthKey,
                           &settings.securityAuthKeyLen);
    }
    if (bKeys && usm->level == SnmpSecurityLevel::AuthPriv)
    {
        settings.securityPrivProto = PrivProtocolOid(usm->priv, &settings.securityPrivProtoLen);
        settings.securityPrivKeyLen = USM_PRIV_KU_LEN;
        bKeys = SessionKey(settings, usm->privKey, usm->privKeyLen, usm->privPass, settings.securityPrivKey,
                           &settings.securityPrivKeyLen);
    }
    if (!bKeys)
    {
        SetLastError(usm->authKeyLen || usm->privKeyLen ? EINVAL : SNMP_MGMTAPI_USM_SHORT_PASSPHRASE);
        return nullptr;
    }
    const CUsmExclusive lock(true);
    ForgetUser(strUser);
    return OpenSession(settings, agent, timeout, retries);
}

BOOL SnmpMgrMasterKey(SnmpAuthProtocol auth, const char* passphrase, BYTE* key, size_t* keyLen)
{
    SnmpMgrStartup();
    if (!passphrase || !key || !keyLen || *keyLen < SNMP_MGMTAPI_MAX_KEY)
        return Fail(EINVAL);
    size_t nProto = 0;
    const oid* pProto = AuthProtocolOid(auth, &nProto);
    if (!MasterKey(pProto, nProto, passphrase, key, keyLen))
        return Fail(SNMP_MGMTAPI_USM_SHORT_PASSPHRASE);
    return TRUE;
}

BOOL SnmpMgrClose(LPSNMP_MGR_SESSION session)
{
    if (!session)
        return Fail(EINVAL);
    const CUsmExclusive lock(session->bUsm);
    const int nClosed = snmp_sess_close(session->pHandle);
    delete session;
    return nClosed ? TRUE : Fail(EIO);
}

SNMPAPI SnmpMgrRequest(LPSNMP_MGR_SESSION session, BYTE requestType, SnmpVarBindList* variableBindings,
                       AsnInteger32* errorStatus, AsnInteger32* errorIndex)
{
    if (!session || !variableBindings || (variableBindings->len && !variableBindings->list) ||
        (requestType != SNMP_PDU_GET && requestType != SNMP_PDU_GETNEXT && requestType != SNMP_PDU_SET))
        return Fail(EINVAL);
    netsnmp_pdu* pPdu = BuildRequest(requestType, *variableBindings);
    if (!pPdu)
        return FALSE;
    std::optional<CRawResponse> raw;
    netsnmp_pdu* pResponse = Exchange(session, pPdu, &raw);  // takes pPdu
    if (!pResponse)
        return FALSE;
    const std::int64_t nErrorStatus = raw ? raw->nErrorStatus : pResponse->errstat;
    const std::int64_t nErrorIndex = raw ? raw->nErrorIndex : pResponse->errindex;
    // An answer that claims success but does not answer every binding is unusable.
    const bool bUsable = nErrorStatus != SNMP_ERR_NOERROR || CountBindings(pResponse) == variableBindings->len;
    const bool bTaken = bUsable && TakeAnswer(pResponse, raw ? &*raw : nullptr, variableBindings);
    if (bTaken)
        SetStatus(nErrorStatus, nErrorIndex, errorStatus, errorIndex);
    snmp_free_pdu(pResponse);
    if (!bTaken)
        return Fail(bUsable ? ENOMEM : SNMP_MGMTAPI_SELECT_FDERRORS);
    return TRUE;
}

SNMPAPI SnmpMgrRequestBulk(LPSNMP_MGR_SESSION session, UINT maxRepetitions, SnmpVarBindList* variableBindings,
                           AsnInteger32* errorStatus, AsnInteger32* errorIndex)
{
    if (!session || !session->bBulk || maxRepetitions == 0 || !variableBindings ||
        (variableBindings->len && !variableBindings->list))
        return Fail(EINVAL);
    netsnmp_pdu* pPdu = BuildRequest(SNMP_MSG_GETBULK, *variableBindings);
    if (!pPdu)
        return FALSE;
    pPdu->non_repeaters = 0;
    pPdu->max_repetitions = static_cast<long>(std::min<UINT>(maxRepetitions, INT32_MAX));
    std::optional<CRawResponse> raw;
    netsnmp_pdu* pResponse = Exchange(session, pPdu, &raw);  // takes pPdu
    if (!pResponse)
        return FALSE;
    const bool bTaken = TakeAllBindings(pResponse, raw ? &*raw : nullptr, variableBindings);
    if (bTaken)
        SetStatus(raw ? raw->nErrorStatus : pResponse->errstat, raw ? raw->nErrorIndex : pResponse->errindex,
                  errorStatus, errorIndex);
    snmp_free_pdu(pResponse);
    return bTaken ? TRUE : Fail(ENOMEM);
}

void SnmpMgrLastErrorStatus(std::int64_t* errorStatus, std::int64_t* errorIndex)
{
    if (errorStatus)
        *errorStatus = t_nLastErrorStatus;
    if (errorIndex)
        *errorIndex = t_nLastErrorIndex;
}

BOOL SnmpMgrStrToOid(const char* string, AsnObjectIdentifier* oid)
{
    if (!string || !oid)
        return FALSE;
    std::vector<UINT> ids;
    if (!CBuiltinMib::Instance().Parse(string, &ids))
        return FALSE;
    auto* pIds = static_cast<UINT*>(SnmpUtilMemAlloc(static_cast<UINT>(ids.size() * sizeof(UINT))));
    if (!pIds)
        return FALSE;
    std::memcpy(pIds, ids.data(), ids.size() * sizeof(UINT));
    oid->ids = pIds;
    oid->idLength = static_cast<UINT>(ids.size());
    return TRUE;
}

BOOL SnmpMgrOidToStr(const AsnObjectIdentifier* oid, char** string)
{
    if (!oid || !string)
        return FALSE;
    std::string strText;
    const std::shared_ptr<const CMibTable> pLoaded = CurrentMibTable();
    if (!CBuiltinMib::Instance().ToText(oid->ids, oid->idLength, &strText, pLoaded.get()))
        return FALSE;
    auto* pText = static_cast<char*>(SnmpUtilMemAlloc(static_cast<UINT>(strText.size() + 1)));
    if (!pText)
        return FALSE;
    std::memcpy(pText, strText.c_str(), strText.size() + 1);
    *string = pText;
    return TRUE;
}

SNMPAPI SnmpUtilOidCpy(AsnObjectIdentifier* dst, const AsnObjectIdentifier* src)
{
    if (!dst || !src || (src->idLength && !src->ids))
        return FALSE;
    AsnObjectIdentifier copy{};
    if (src->idLength)
    {
        copy.ids = static_cast<UINT*>(SnmpUtilMemAlloc(src->idLength * static_cast<UINT>(sizeof(UINT))));
        if (!copy.ids)
            return FALSE;
        std::memcpy(copy.ids, src->ids, src->idLength * sizeof(UINT));
        copy.idLength = src->idLength;
    }
    *dst = copy;
    return TRUE;
}

SNMPAPI SnmpUtilOidNCmp(const AsnObjectIdentifier* a, const AsnObjectIdentifier* b, UINT n)
{
    const UINT nA = a ? a->idLength : 0;
    const UINT nB = b ? b->idLength : 0;
    const UINT nCommon = std::min({nA, nB, n});
    for (UINT i = 0; i < nCommon; ++i)
        if (a->ids[i] != b->ids[i])
            return a->ids[i] < b->ids[i] ? -1 : 1;
    if (nCommon == n)
        return 0;
    return nA == nB ? 0 : (nA < nB ? -1 : 1);
}

SNMPAPI SnmpUtilOidCmp(const AsnObjectIdentifier* a, const AsnObjectIdentifier* b)
{
    return SnmpUtilOidNCmp(a, b, std::max(a ? a->idLength : 0, b ? b->idLength : 0));
}

void SnmpUtilOidFree(AsnObjectIdentifier* oid)
{
    if (!oid)
        return;
    SnmpUtilMemFree(oid->ids);
    *oid = {};
}

SNMPAPI SnmpUtilAsnAnyCpy(AsnAny* dst, const AsnAny* src)
{
    if (!dst || !src)
        return FALSE;
    AsnAny copy = *src;
    if (src->asnType == ASN_OBJECTIDENTIFIER)
    {
        if (!SnmpUtilOidCpy(&copy.asnValue.object, &src->asnValue.object))
            return FALSE;
    }
    else if (IsOctetLike(src->asnType))
    {
        const AsnOctetString& bytes = src->asnValue.string;
        if ((bytes.length && !bytes.stream) || !CopyBytes(&copy.asnValue.string, bytes.stream, bytes.length))
            return FALSE;
    }
    *dst = copy;
    return TRUE;
}

void SnmpUtilAsnAnyFree(AsnAny* any)
{
    if (!any)
        return;
    if (any->asnType == ASN_OBJECTIDENTIFIER)
        SnmpUtilOidFree(&any->asnValue.object);
    else if (IsOctetLike(any->asnType) && any->asnValue.string.dynamic)
        SnmpUtilMemFree(any->asnValue.string.stream);
    *any = {};
    any->asnType = ASN_NULL;
}

void SnmpUtilVarBindFree(SnmpVarBind* vb)
{
    if (!vb)
        return;
    SnmpUtilOidFree(&vb->name);
    SnmpUtilAsnAnyFree(&vb->value);
}

void SnmpUtilVarBindListFree(SnmpVarBindList* vbl)
{
    if (!vbl)
        return;
    for (UINT i = 0; i < vbl->len && vbl->list; ++i)
        SnmpUtilVarBindFree(&vbl->list[i]);
    SnmpUtilMemFree(vbl->list);
    vbl->list = nullptr;
    vbl->len = 0;
}

void* SnmpUtilMemAlloc(UINT nBytes)
{
    auto* pHeader = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + nBytes));
    if (!pHeader)
        return nullptr;
    pHeader->nBytes = nBytes;
    return pHeader + 1;
}

void* SnmpUtilMemReAlloc(void* p, UINT nBytes)
{
    if (!p)
        return SnmpUtilMemAlloc(nBytes);
    const size_t nOld = HeaderOf(p)->nBytes;
    auto* pHeader = static_cast<BlockHeader*>(std::realloc(HeaderOf(p), sizeof(BlockHeader) + nBytes));
    if (!pHeader)
        return nullptr;  // the old block is still valid
    if (nBytes > nOld)
        std::memset(reinterpret_cast<BYTE*>(pHeader + 1) + nOld, 0, nBytes - nOld);
    pHeader->nBytes = nBytes;
    return pHeader + 1;
}

void SnmpUtilMemFree(void* p)
{
    if (p)
        std::free(HeaderOf(p));
}

std::string SnmpUtilAsnAnyText(const AsnAny* any)
{
    std::string text;
    if (!any)
        return text;
    const auto& v = any->asnValue;
    switch (any->asnType)
    {
    case ASN_INTEGER: Append(text, "INTEGER - %d\n", v.number); break;
    case ASN_COUNTER32: Append(text, "Counter32 - %u\n", v.counter); break;
    case ASN_GAUGE32: Append(text, "Gauge32 - %u\n", v.gauge); break;
    case ASN_TIMETICKS: Append(text, "TimeTicks - %u\n", v.ticks); break;
    case ASN_UNSIGNED32: Append(text, "UInteger32 - %u\n", v.unsigned32); break;
    case ASN_COUNTER64:
        Append(text, "Counter64 - %llu\n",
                    (static_cast<unsigned long long>(v.counter64.HighPart) << 32) | v.counter64.LowPart);
        break;
    case ASN_NULL: Append(text, "NULL - NULL\n"); break;
    case SNMP_EXCEPTION_NOSUCHOBJECT: Append(text, "NOSUCHOBJECT\n"); break;
    case SNMP_EXCEPTION_NOSUCHINSTANCE: Append(text, "NOSUCHINSTANCE\n"); break;
    case SNMP_EXCEPTION_ENDOFMIBVIEW: Append(text, "ENDOFMIBVIEW\n"); break;
    case ASN_OBJECTIDENTIFIER:
        Append(text, "OBJECT IDENTIFIER - ");
        for (UINT i = 0; i < v.object.idLength && v.object.ids; ++i)
            Append(text, i ? ".%u" : "%u", v.object.ids[i]);
        text += '\n';
        break;
    case ASN_IPADDRESS:
        Append(text, "IpAddress - ");
        for (UINT i = 0; i < v.address.length && v.address.stream; ++i)
            Append(text, i ? ".%u" : "%u", v.address.stream[i]);
        text += '\n';
        break;
    case ASN_OCTETSTRING:
        Append(text, "OCTET STRING - ");
        AppendBytes(text, v.string, IsPrintable(v.string));
        text += '\n';
        break;
    case ASN_BITS:
    case ASN_SEQUENCE:
    case ASN_OPAQUE:
        Append(text, "%s - ", any->asnType == ASN_BITS ? "BITS" : any->asnType == ASN_OPAQUE ? "Opaque" : "SEQUENCE");
        AppendBytes(text, v.arbitrary, false);
        text += '\n';
        break;
    default: Append(text, "Unknown type 0x%02X\n", any->asnType); break;
    }
    return text;
}

void SnmpUtilPrintAsnAny(const AsnAny* any)
{
    std::fputs(SnmpUtilAsnAnyText(any).c_str(), stdout);
}

#pragma once
// The SNMP manager interface the system is written against: sessions, one
// request of a binding list, OID text conversion and the SnmpUtil* helpers,
// with the interface's own types. Implemented over net-snmp's single-session
// API; safe to use from several threads once SnmpMgrStartup() has run.
#include "platform/WinTypes.h"
#include <cstddef>
#include <string>

using AsnInteger32 = std::int32_t;
using AsnUnsigned32 = std::uint32_t;
using AsnCounter32 = std::uint32_t;
using AsnGauge32 = std::uint32_t;
using AsnTimeticks = std::uint32_t;
using SNMPAPI = int;

struct AsnCounter64
{
    DWORD LowPart;
    DWORD HighPart;
};

struct AsnOctetString
{
    // Owned when dynamic is TRUE (freed with SnmpUtilMemFree). Values from an
    // agent are always dynamic with a non-null stream, even when empty.
    BYTE* stream;
    UINT length;   // Bytes; no terminating zero is counted or required.
    BOOL dynamic;
};

struct AsnObjectIdentifier
{
    UINT idLength;
    UINT* ids;  // Owned; freed with SnmpUtilOidFree.
};

// A number an agent sent beyond the 32-bit field of its type.
struct AsnWideNumber
{
    BOOL isSet;
    BOOL negative;
    std::uint64_t magnitude;
};

struct AsnAny
{
    BYTE asnType;
    union
    {
        AsnInteger32 number;
        AsnUnsigned32 unsigned32;
        AsnCounter64 counter64;
        AsnOctetString string;
        AsnOctetString bits;
        AsnObjectIdentifier object;
        AsnOctetString sequence;
        AsnOctetString address;
        AsnCounter32 counter;
        AsnGauge32 gauge;
        AsnTimeticks ticks;
        AsnOctetString arbitrary;
    } asnValue;
    // Set only where an agent sent an INTEGER beyond the signed 32-bit range, or
    // a Counter32, Gauge32, TimeTicks or UInteger32 beyond the unsigned one or
    // below zero: the number as sent (the 32-bit field holds its low 32 bits).
    AsnWideNumber wide{};
};

struct SnmpVarBind
{
    AsnObjectIdentifier name;
    AsnAny value;
};

struct SnmpVarBindList
{
    SnmpVarBind* list;  // Owned; freed with SnmpUtilVarBindListFree.
    UINT len;
};

// Type tags.
constexpr BYTE ASN_INTEGER = 0x02;
constexpr BYTE ASN_INTEGER32 = 0x02;
constexpr BYTE ASN_BITS = 0x03;
constexpr BYTE ASN_OCTETSTRING = 0x04;
constexpr BYTE ASN_NULL = 0x05;
constexpr BYTE ASN_OBJECTIDENTIFIER = 0x06;
constexpr BYTE ASN_SEQUENCE = 0x30;
constexpr BYTE ASN_IPADDRESS = 0x40;
constexpr BYTE ASN_COUNTER32 = 0x41;
constexpr BYTE ASN_GAUGE32 = 0x42;
constexpr BYTE ASN_TIMETICKS = 0x43;
constexpr BYTE ASN_OPAQUE = 0x44;
constexpr BYTE ASN_COUNTER64 = 0x46;
constexpr BYTE ASN_NSAPADDRESS = 0x45;  // an octet string; no type name of its own
constexpr BYTE ASN_UNSIGNED32 = 0x47;
constexpr BYTE SNMP_EXCEPTION_NOSUCHOBJECT = 0x80;
constexpr BYTE SNMP_EXCEPTION_NOSUCHINSTANCE = 0x81;
constexpr BYTE SNMP_EXCEPTION_ENDOFMIBVIEW = 0x82;

// Request types.
constexpr BYTE SNMP_PDU_GET = 0xA0;
constexpr BYTE SNMP_PDU_GETNEXT = 0xA1;
constexpr BYTE SNMP_PDU_SET = 0xA3;
constexpr BYTE SNMP_PDU_GETBULK = 0xA5;

// Last-error codes of a failed request.
constexpr DWORD SNMP_MGMTAPI_TIMEOUT = 40;      // no response within timeout and retries
constexpr DWORD SNMP_MGMTAPI_SELECT_FDERRORS = 41;  // transport failure
// What an SNMPv3 agent reported instead of an answer (or what stopped the
// session before it could ask).
constexpr DWORD SNMP_MGMTAPI_USM_UNKNOWN_USER = 60;       // usmStatsUnknownUserNames
constexpr DWORD SNMP_MGMTAPI_USM_WRONG_DIGEST = 61;       // usmStatsWrongDigests
constexpr DWORD SNMP_MGMTAPI_USM_UNSUPPORTED_LEVEL = 62;  // usmStatsUnsupportedSecLevels
constexpr DWORD SNMP_MGMTAPI_USM_NOT_IN_TIME = 63;        // usmStatsNotInTimeWindows
constexpr DWORD SNMP_MGMTAPI_USM_DECRYPTION = 64;         // usmStatsDecryptionErrors
constexpr DWORD SNMP_MGMTAPI_USM_UNKNOWN_ENGINE = 65;     // engine discovery failed
constexpr DWORD SNMP_MGMTAPI_USM_SHORT_PASSPHRASE = 66;   // under 8 characters: no key

// SNMP versions accepted by SnmpMgrOpen.
constexpr int SNMP_VERSION_V1 = 1;
constexpr int SNMP_VERSION_V2C = 2;

// SNMPv3 user-based security (USM) of a session.
enum class SnmpSecurityLevel { NoAuthNoPriv, AuthNoPriv, AuthPriv };
enum class SnmpAuthProtocol { MD5, SHA, SHA224, SHA256, SHA384, SHA512 };
enum class SnmpPrivProtocol { DES, AES, AES192, AES256 };  // AES-192/256: the draft key extension

// A master key (Ku) is what SnmpMgrMasterKey gives for a passphrase; a session
// given one never needs the passphrase itself.
constexpr size_t SNMP_MGMTAPI_MAX_KEY = 64;

struct SnmpMgrUsm
{
    const char* user = "";
    SnmpSecurityLevel level = SnmpSecurityLevel::NoAuthNoPriv;
    SnmpAuthProtocol auth = SnmpAuthProtocol::SHA;
    const char* authPass = "";  // used from authNoPriv up, unless authKeyLen > 0
    SnmpPrivProtocol priv = SnmpPrivProtocol::AES;
    const char* privPass = "";  // used at authPriv, unless privKeyLen > 0
    const char* context = "";   // context name, may be empty
    // Master keys of auth's hash standing for the passphrases; not owned.
    const BYTE* authKey = nullptr;
    size_t authKeyLen = 0;
    const BYTE* privKey = nullptr;
    size_t privKeyLen = 0;
};

struct SnmpMgrSession;  // opaque
using LPSNMP_MGR_SESSION = SnmpMgrSession*;

// Runs net-snmp's one-time initialisation (no MIB loading, no config files).
// Idempotent and thread-safe; every SnmpMgr* call runs it on first use too.
void SnmpMgrStartup();

// The version of the SNMP library in use ("5.9.3"). Any thread, at any time.
const char* SnmpLibraryVersion();

// agent: "host", "host:port", "[ipv6]" or "[ipv6]:port" (port defaults to 161);
// the host is a dotted IPv4 address, an IPv6 address (bare only without a
// port) or a name, looked up here (first IPv4, else first IPv6 address). timeout in
// milliseconds (below 1 counts as 1), retries below 0 count as 0. Nothing is
// sent. Returns NULL on failure, with the last error set: EINVAL (22) for a
// malformed agent text, an unknown version or a null argument; 0 for a host
// name that does not resolve; the socket's errno otherwise.
LPSNMP_MGR_SESSION SnmpMgrOpen(const char* agent, const char* community, int timeout, int retries,
                               int version = SNMP_VERSION_V1);
// An SNMPv3 session: as SnmpMgrOpen, with the user's security instead of a
// community. Opening discovers the agent's engine (so it sends and waits, up to
// timeout * (retries + 1)); keys come from the passphrases. net-snmp keeps users
// for the whole process, per engine and name: every cached user of this name is
// dropped first, so the passphrases given here are the ones used. USM opens and
// closes run one at a time, and never during a USM request of another thread.
// Fails as SnmpMgrOpen does, or with 40 (no answer to the discovery), 65 (no
// engine found), 66 (a passphrase needed at this level is under 8 characters);
// EINVAL for a key whose length is not that of the authentication hash.
LPSNMP_MGR_SESSION SnmpMgrOpenUsm(const char* agent, const SnmpMgrUsm* usm, int timeout, int retries);
// The master key (Ku) of a passphrase for the authentication protocol's hash,
// as net-snmp derives it (both the authentication and the privacy key of a user
// come from that hash). *keyLen gives the room at key (SNMP_MGMTAPI_MAX_KEY is
// enough) and receives the key's length. FALSE, with last error 66, for a
// passphrase under 8 characters; EINVAL for a null argument or too little room.
BOOL SnmpMgrMasterKey(SnmpAuthProtocol auth, const char* passphrase, BYTE* key, size_t* keyLen);
// Non-zero on success; the session is gone either way. Zero for NULL (EINVAL).
BOOL SnmpMgrClose(LPSNMP_MGR_SESSION session);
// One request (GET 0xA0, GET-NEXT 0xA1 or SET 0xA3) of the list's bindings;
// blocks up to timeout * (retries + 1). Reads send NULL values whatever the
// bindings carry; a SET sends their values.
// Non-zero when a response came: *errorStatus and *errorIndex (each may be
// null) are the agent's, and the answer's bindings replace the list's one for
// one (the list keeps its length; an error answer that carries fewer bindings,
// as tooBig may, leaves the rest as sent). Zero otherwise, the list unchanged,
// with the last error:
//   40 (SNMP_MGMTAPI_TIMEOUT): no response within timeout and retries;
//   41 (SNMP_MGMTAPI_SELECT_FDERRORS): transport failure, or an answer that
//      claims success but does not answer every binding;
//   EINVAL (22): nothing was sent: null session or list, another request type,
//      a binding name that is empty or longer than 128, a SET value that
//      cannot be encoded (SEQUENCE, an unknown tag, an IpAddress not 4 bytes);
//   ENOMEM (12): the answer could not be stored;
//   60-64 (SNMP_MGMTAPI_USM_*): an SNMPv3 agent's report.
// Values of tags the interface does not know keep their tag and carry no
// payload; Opaque-wrapped numbers arrive as their Opaque bytes, NsapAddress
// values as their bytes. Numbers beyond 32 bits (values and error status) are
// taken from the message as the agent sent it (v1 and v2c): the 32-bit
// outputs saturate (so no error reads as no error or as another status),
// values carry the number in AsnAny::wide, and SnmpMgrLastErrorStatus gives
// the status and index in full.
SNMPAPI SnmpMgrRequest(LPSNMP_MGR_SESSION session, BYTE requestType, SnmpVarBindList* variableBindings,
                       AsnInteger32* errorStatus, AsnInteger32* errorIndex);
// One GetBulk request (non-repeaters 0) of the list's bindings, for v2c and
// v3 sessions; blocks as SnmpMgrRequest. On a response the list is replaced by
// every binding of the answer, however many (none, fewer or more than asked):
// the caller reads pList->len again. Fails as SnmpMgrRequest, and with EINVAL
// for a v1 session or maxRepetitions 0.
SNMPAPI SnmpMgrRequestBulk(LPSNMP_MGR_SESSION session, UINT maxRepetitions, SnmpVarBindList* variableBindings,
                           AsnInteger32* errorStatus, AsnInteger32* errorIndex);
// The error status and index of the last response SnmpMgrRequest or SnmpMgrRequestBulk took on
// this thread, as the agent sent them; 0 and 0 before any.
void SnmpMgrLastErrorStatus(std::int64_t* errorStatus, std::int64_t* errorIndex);
// "." + numbers/names is absolute; other text is relative to mib-2. Numbers
// are plain decimal up to 4294967295; a name must be a child of the node named
// so far in the built-in MIB. Zero = not an OID (*oid untouched); on success
// oid->ids is allocated with SnmpUtilMemAlloc.
BOOL SnmpMgrStrToOid(const char* string, AsnObjectIdentifier* oid);
// The interface's name form (mib-2 relative, internet relative, or full with a
// leading dot); components without a built-in name, all after them and all
// below enterprises are named by the loaded MIB modules (CurrentMibTable) or
// written as numbers. *string is allocated with SnmpUtilMemAlloc. Zero =
// no text (empty OID or null argument).
BOOL SnmpMgrOidToStr(const AsnObjectIdentifier* oid, char** string);

// Deep copy; dst's old contents are overwritten, not freed. Zero = failure.
SNMPAPI SnmpUtilOidCpy(AsnObjectIdentifier* dst, const AsnObjectIdentifier* src);
// Compares the first n sub-identifiers: <0, 0 (equal), >0; within n a shorter
// OID that is a prefix of the other is the smaller.
SNMPAPI SnmpUtilOidNCmp(const AsnObjectIdentifier* a, const AsnObjectIdentifier* b, UINT n);
SNMPAPI SnmpUtilOidCmp(const AsnObjectIdentifier* a, const AsnObjectIdentifier* b);  // <0, 0, >0
void SnmpUtilOidFree(AsnObjectIdentifier* oid);  // frees ids; leaves {0, NULL}
SNMPAPI SnmpUtilAsnAnyCpy(AsnAny* dst, const AsnAny* src);  // deep copy; zero = failure
void SnmpUtilAsnAnyFree(AsnAny* any);  // frees its payload; leaves ASN_NULL
void SnmpUtilVarBindFree(SnmpVarBind* vb);  // frees name and value
void SnmpUtilVarBindListFree(SnmpVarBindList* vbl);  // frees every binding and the array
// The interface's heap: blocks carry a small header, so they must be freed
// with SnmpUtilMemFree only (never free()), and only these may be handed to
// the interface as owned memory. MemAlloc zero-fills; MemReAlloc(NULL, n) is
// MemAlloc(n), keeps the contents, zero-fills what it adds, and on failure
// returns NULL with the old block still valid.
void* SnmpUtilMemAlloc(UINT nBytes);
void* SnmpUtilMemReAlloc(void* p, UINT nBytes);
void SnmpUtilMemFree(void* p);  // NULL is ignored
// Prints a readable form of the value to standard output: "<type> - <value>\n"
// ("INTEGER - 5", "OCTET STRING - text" or hex bytes, "IpAddress - 10.0.0.1").
void SnmpUtilPrintAsnAny(const AsnAny* any);
// The text SnmpUtilPrintAsnAny prints (empty for a null value).
std::string SnmpUtilAsnAnyText(const AsnAny* any);

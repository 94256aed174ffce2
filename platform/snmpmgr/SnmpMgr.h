#pragma once
// The SNMP manager interface the system is written against: sessions, one
// request of a binding list, OID text conversion and the SnmpUtil* helpers,
// with the interface's own types. Implemented over net-snmp's single-session
// API; safe to use from several threads once SnmpMgrStartup() has run.
#include "platform/WinTypes.h"
#include <cstddef>

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
    BYTE* stream;  // Owned when dynamic is TRUE (freed with SnmpUtilMemFree).
    UINT length;   // Bytes; no terminating zero is counted or required.
    BOOL dynamic;
};

struct AsnObjectIdentifier
{
    UINT idLength;
    UINT* ids;  // Owned; freed with SnmpUtilOidFree.
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
constexpr BYTE ASN_UNSIGNED32 = 0x47;
constexpr BYTE SNMP_EXCEPTION_NOSUCHOBJECT = 0x80;
constexpr BYTE SNMP_EXCEPTION_NOSUCHINSTANCE = 0x81;
constexpr BYTE SNMP_EXCEPTION_ENDOFMIBVIEW = 0x82;

// Request types.
constexpr BYTE SNMP_PDU_GET = 0xA0;
constexpr BYTE SNMP_PDU_GETNEXT = 0xA1;
constexpr BYTE SNMP_PDU_SET = 0xA3;

// Last-error codes of a failed request.
constexpr DWORD SNMP_MGMTAPI_TIMEOUT = 40;      // no response within timeout and retries
constexpr DWORD SNMP_MGMTAPI_SELECT_FDERRORS = 41;  // transport failure

// SNMP versions accepted by SnmpMgrOpen.
constexpr int SNMP_VERSION_V1 = 1;
constexpr int SNMP_VERSION_V2C = 2;

struct SnmpMgrSession;  // opaque
using LPSNMP_MGR_SESSION = SnmpMgrSession*;

// Runs net-snmp's one-time initialisation (no MIB loading, no config files).
// Idempotent and thread-safe; every SnmpMgr* call runs it on first use too.
void SnmpMgrStartup();

// agent: "host" or "host:port" (port defaults to 161). timeout in milliseconds.
// Returns NULL on failure, with the last error set (0 when no code applies).
LPSNMP_MGR_SESSION SnmpMgrOpen(const char* agent, const char* community, int timeout, int retries,
                               int version = SNMP_VERSION_V1);
// Non-zero on success.
BOOL SnmpMgrClose(LPSNMP_MGR_SESSION session);
// Non-zero when a response came; the list's bindings are then replaced by the
// agent's answer. Zero otherwise, with the last error 40 or 41.
SNMPAPI SnmpMgrRequest(LPSNMP_MGR_SESSION session, BYTE requestType, SnmpVarBindList* variableBindings,
                       AsnInteger32* errorStatus, AsnInteger32* errorIndex);
// "." + numbers/names is absolute; other text is relative to mib-2. Zero = not an OID.
BOOL SnmpMgrStrToOid(const char* string, AsnObjectIdentifier* oid);
// The interface's name form (mib-2 relative, internet relative, or full with a
// leading dot). *string is allocated with SnmpUtilMemAlloc. Zero = no text.
BOOL SnmpMgrOidToStr(const AsnObjectIdentifier* oid, char** string);

SNMPAPI SnmpUtilOidCpy(AsnObjectIdentifier* dst, const AsnObjectIdentifier* src);  // zero = failure
SNMPAPI SnmpUtilOidNCmp(const AsnObjectIdentifier* a, const AsnObjectIdentifier* b, UINT n);  // 0 = equal
SNMPAPI SnmpUtilOidCmp(const AsnObjectIdentifier* a, const AsnObjectIdentifier* b);  // <0, 0, >0
void SnmpUtilOidFree(AsnObjectIdentifier* oid);
SNMPAPI SnmpUtilAsnAnyCpy(AsnAny* dst, const AsnAny* src);
void SnmpUtilAsnAnyFree(AsnAny* any);
void SnmpUtilVarBindFree(SnmpVarBind* vb);
void SnmpUtilVarBindListFree(SnmpVarBindList* vbl);
void* SnmpUtilMemAlloc(UINT nBytes);
void* SnmpUtilMemReAlloc(void* p, UINT nBytes);
void SnmpUtilMemFree(void* p);
// Prints a readable form of the value to standard output.
void SnmpUtilPrintAsnAny(const AsnAny* any);

#pragma once
// Writing one value to an agent: one SNMP SET of one binding, with a session
// of its own (independent of any walk). Runs on the calling (UI) thread and
// blocks until the agent answers or the profile's timeout and retries are used up.
#include "platform/WinTypes.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include "snmp/AgentProfile.h"
#include <string>

// What a write came to. The write shows nothing itself: the caller shows
// m_strError, when there is one, in an "Error" box, and writes m_strOutput to
// the standard output.
struct CWriteResult
{
    int m_nResult = 1;        // 0 = written, 1 = not written
    std::string m_strError;   // why it was not written; empty when that needs no box
    std::string m_strOutput;  // the failed open's line, or the agent's answer value
};

// Sets the variable strOid (an OID text) on strHost (name or address, optional
// ":port", used as typed) with strCommunity (v1, v2c) or the profile's user
// (v3), to strValue read as the type named strType (a type name as the grid
// shows it). Every failure but an exception inside the request (nothing)
// carries its text; a session that cannot be opened also carries a line for
// the standard output.
//
// How the text becomes a value (the type name in any case; blanks around a
// number, address or OID allowed; anything else must be exactly a value of the type):
//   INTEGER               optional sign and decimal digits, -2147483648..2147483647
//   UNSIGNED32, COUNTER32, GAUGE32, TIMETICKS   decimal digits, 0..4294967295
//   COUNTER64             decimal digits, 0..18446744073709551615
//   OCTETSTRING           the bytes of the text as they are, any length
//   IPADDRESS             a dotted quad "a.b.c.d"
//   OBJECTIDENTIFIER      an OID text the SNMP encoding carries as typed
//   BITS, SEQUENCE, OPAQUE and the exceptions cannot be written: refused
//   any other name ("Unknown")  a NULL value
// A text that is no value of its type, a type that cannot be written, or an
// OID that is not one is refused with a message before any session is opened:
// nothing is sent. What is sent is what was typed.
CWriteResult WriteValue(const std::string& strHost, const std::string& strCommunity, const std::string& strOid,
                        const std::string& strType, const std::string& strValue,
                        const CAgentProfile& profile = CAgentProfile::FromSettings());

// The name of an SNMP error status ("NOT WRITABLE" for 17); empty for statuses
// outside 1..18.
const char* ErrorStatusName(AsnInteger32 nStatus);

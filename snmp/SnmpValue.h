#pragma once
// The texts every returned variable is shown with: the numeric OID text, the
// type name and the value text. Pure functions, safe on any thread; each costs
// time linear in the size of its input.
#include "platform/snmpmgr/SnmpMgr.h"
#include <cstdint>
#include <string>

// Type names, exactly as shown in the grid and read back by the write.
namespace TypeName {
constexpr const char* Integer = "INTEGER";
constexpr const char* Bits = "BITS";
constexpr const char* OctetString = "OCTETSTRING";
constexpr const char* ObjectIdentifier = "OBJECTIDENTIFIER";
constexpr const char* Sequence = "SEQUENCE";
constexpr const char* IpAddress = "IPADDRESS";
constexpr const char* Counter32 = "COUNTER32";
constexpr const char* Gauge32 = "GAUGE32";
constexpr const char* TimeTicks = "TIMETICKS";
constexpr const char* Opaque = "OPAQUE";
constexpr const char* Counter64 = "COUNTER64";
constexpr const char* Unsigned32 = "UNSIGNED32";
constexpr const char* NoSuchObject = "EXCEPTION_NOSUCHOBJECT";
constexpr const char* NoSuchInstance = "EXCEPTION_NOSUCHINSTANCE";
constexpr const char* EndOfMibView = "EXCEPTION_ENDOFMIBVIEW";
constexpr const char* Unknown = "Unknown";
} // namespace TypeName

// The type name of a tag ("Unknown" for a tag not in the table, NULL included).
const char* TypeNameOf(BYTE asnType);

// Sets strType and strValue (both replaced) from the value. Never fails: an
// unknown tag gives "Unknown" and an empty value. Shows what arrived: numbers
// beyond 32 bits in full, an Opaque's wrapped float, double or 64-bit number
// as such, and bytes without a text form (BITS, NsapAddress, other Opaques) as
// " %02X" each. Reads no byte beyond the value's stated length.
void RenderValue(const AsnAny& value, std::string& strType, std::string& strValue);

// ".1.3.6.1.2.1.1.3.0": a dot before every sub-identifier, unsigned decimal;
// the empty text for an OID of no sub-identifiers.
std::string FormatOidText(const AsnObjectIdentifier& oid);
// Appends the OID text to strOut (no allocation when it has room).
void AppendOidText(const AsnObjectIdentifier& oid, std::string& strOut);

// "2 Mins 3 Secs" and the like, from whole seconds, by the largest unit that is not zero.
std::string FormatTimeTicks(std::uint64_t nSeconds);

struct CDuration
{
    std::uint64_t nDays;
    unsigned nHours;    // 0..23
    unsigned nMinutes;  // 0..59
    unsigned nSeconds;  // 0..59
};
CDuration SplitSeconds(std::uint64_t nSeconds);

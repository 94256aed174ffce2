#include "snmp/SnmpValue.h"
#include <charconv>
#include <cinttypes>
#include <cstdio>

namespace {

template <class T> void AppendNumber(std::string& strOut, T nValue)
{
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, nValue);
    strOut.append(buf, result.ptr);
}

template <class T> std::string NumberText(T nValue)
{
    std::string strOut;
    AppendNumber(strOut, nValue);
    return strOut;
}

// Printable text, CR, LF and NUL pass; 0x80 passes too, by the rule the
// texts have always been shown with.
bool PassesAsText(BYTE byte)
{
    return (byte >= 32 && byte <= 128) || byte == 13 || byte == 10 || byte == 0;
}

// " %02X" per byte.
std::string HexText(const BYTE* pBytes, UINT nLength)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string strHex(std::size_t{nLength} * 3, ' ');
    for (UINT n = 0; n < nLength; ++n) {
        strHex[n * 3 + 1] = kHex[pBytes[n] >> 4];
        strHex[n * 3 + 2] = kHex[pBytes[n] & 0x0F];
    }
    return strHex;
}

std::string OctetStringText(const AsnOctetString& str)
{
    const BYTE* pBytes = str.stream;
    const UINT nLength = pBytes ? str.length : 0;
    UINT i = 0;
    while (i < nLength && PassesAsText(pBytes[i]))
        ++i;
    if (i == nLength) {
        UINT nChars = 0;
        while (nChars < nLength && pBytes[nChars] != 0)
            ++nChars;
        return std::string(reinterpret_cast<const char*>(pBytes), nChars);
    }
    return HexText(pBytes, nLength);
}

// Four bytes as a dotted quad; any other length as the octet-string hex form,
// so a malformed address is still shown whole and never read past its end.
std::string IpAddressText(const AsnOctetString& address)
{
    if (!address.stream)
        return std::string();
    if (address.length != 4)
        return HexText(address.stream, address.length);
    std::string strText;
    for (int n = 0; n < 4; ++n) {
        if (n)
            strText += '.';
        AppendNumber(strText, unsigned{address.stream[n]});
    }
    return strText;
}

std::uint64_t Counter64Value(const AsnCounter64& counter)
{
    return (std::uint64_t{counter.HighPart} << 32) | counter.LowPart;
}

} // namespace

const char* TypeNameOf(BYTE asnType)
{
    switch (asnType) {
    case ASN_INTEGER: return TypeName::Integer;
    case ASN_BITS: return TypeName::Bits;
    case ASN_OCTETSTRING: return TypeName::OctetString;
    case ASN_OBJECTIDENTIFIER: return TypeName::ObjectIdentifier;
    case ASN_SEQUENCE: return TypeName::Sequence;
    case ASN_IPADDRESS: return TypeName::IpAddress;
    case ASN_COUNTER32: return TypeName::Counter32;
    case ASN_GAUGE32: return TypeName::Gauge32;
    case ASN_TIMETICKS: return TypeName::TimeTicks;
    case ASN_OPAQUE: return TypeName::Opaque;
    case ASN_COUNTER64: return TypeName::Counter64;
    case ASN_UNSIGNED32: return TypeName::Unsigned32;
    case SNMP_EXCEPTION_NOSUCHOBJECT: return TypeName::NoSuchObject;
    case SNMP_EXCEPTION_NOSUCHINSTANCE: return TypeName::NoSuchInstance;
    case SNMP_EXCEPTION_ENDOFMIBVIEW: return TypeName::EndOfMibView;
    default: return TypeName::Unknown;
    }
}

void RenderValue(const AsnAny& value, std::string& strType, std::string& strValue)
{
    strType = TypeNameOf(value.asnType);
    switch (value.asnType) {
    case ASN_INTEGER: strValue = NumberText(value.asnValue.number); break;
    case ASN_OCTETSTRING: strValue = OctetStringText(value.asnValue.string); break;
    case ASN_OBJECTIDENTIFIER: strValue = FormatOidText(value.asnValue.object); break;
    case ASN_IPADDRESS: strValue = IpAddressText(value.asnValue.address); break;
    case ASN_COUNTER32: strValue = NumberText(value.asnValue.counter); break;
    case ASN_GAUGE32: strValue = NumberText(value.asnValue.gauge); break;
    case ASN_TIMETICKS: strValue = FormatTimeTicks(value.asnValue.ticks / 100u); break;
    case ASN_COUNTER64: strValue = NumberText(Counter64Value(value.asnValue.counter64)); break;
    case ASN_UNSIGNED32: strValue = NumberText(value.asnValue.unsigned32); break;
    default: strValue.clear(); break;
    }
}

void AppendOidText(const AsnObjectIdentifier& oid, std::string& strOut)
{
    for (UINT i = 0; oid.ids && i < oid.idLength; ++i) {
        strOut += '.';
        AppendNumber(strOut, oid.ids[i]);
    }
}

std::string FormatOidText(const AsnObjectIdentifier& oid)
{
    std::string strText;
    strText.reserve(std::size_t{oid.idLength} * 4);
    AppendOidText(oid, strText);
    return strText;
}

CDuration SplitSeconds(std::uint64_t nSeconds)
{
    CDuration duration{};
    duration.nDays = nSeconds / 86400;
    std::uint64_t nRest = nSeconds % 86400;
    duration.nHours = static_cast<unsigned>(nRest / 3600);
    nRest %= 3600;
    duration.nMinutes = static_cast<unsigned>(nRest / 60);
    duration.nSeconds = static_cast<unsigned>(nRest % 60);
    return duration;
}

std::string FormatTimeTicks(std::uint64_t nSeconds)
{
    const CDuration d = SplitSeconds(nSeconds);
    char buf[96];
    if (d.nDays)
        std::snprintf(buf, sizeof buf, "%" PRIu64 " Days %u Hours %u Mins %u Secs", d.nDays, d.nHours, d.nMinutes,
                      d.nSeconds);
    else if (d.nHours)
        std::snprintf(buf, sizeof buf, "%u Hours %u Mins %u Secs", d.nHours, d.nMinutes, d.nSeconds);
    else if (d.nMinutes)
        std::snprintf(buf, sizeof buf, "%u Mins %u Secs", d.nMinutes, d.nSeconds);
    else
        std::snprintf(buf, sizeof buf, "%u Secs", d.nSeconds);
    return buf;
}

#include "snmp/SnmpValue.h"
#include <bit>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <optional>

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

// A number beyond its type's 32-bit field, as the agent sent it.
std::string WideText(const AsnWideNumber& wide)
{
    std::string strText = wide.negative ? "-" : "";
    AppendNumber(strText, wide.magnitude);
    return strText;
}

// The 32-bit number, or the wide one where the agent sent more.
template <class T> std::string NumberOrWideText(const AsnAny& value, T nNumber)
{
    return value.wide.isSet ? WideText(value.wide) : NumberText(nNumber);
}

std::string TimeTicksText(const AsnAny& value)
{
    if (!value.wide.isSet)
        return FormatTimeTicks(value.asnValue.ticks / 100u);
    return value.wide.negative ? WideText(value.wide) : FormatTimeTicks(value.wide.magnitude / 100u);
}

// Big-endian two's complement (bSigned) or unsigned content of up to 8 bytes.
template <class T> std::optional<T> BigEndianNumber(const BYTE* pBytes, UINT nLength, bool bSigned)
{
    if (nLength == 0 || nLength > 8)
        return std::nullopt;
    std::uint64_t nBits = bSigned && (pBytes[0] & 0x80) ? ~std::uint64_t{0} : 0;
    for (UINT i = 0; i < nLength; ++i)
        nBits = (nBits << 8) | pBytes[i];
    return static_cast<T>(nBits);
}

template <class T> std::string FloatText(T fValue)
{
    char buf[40];
    const auto result = std::to_chars(buf, buf + sizeof buf, fValue);
    return std::string(buf, result.ptr);
}

// The float, double or 64-bit number an Opaque may wrap (the wrapping's own
// tag, length and content); empty when the bytes are no such wrapping.
std::optional<std::string> WrappedNumberText(const BYTE* pBytes, UINT nLength)
{
    if (nLength < 4 || pBytes[0] != 0x9F || pBytes[2] != nLength - 3)
        return std::nullopt;
    const BYTE* pContent = pBytes + 3;
    UINT nContent = nLength - 3;
    switch (pBytes[1]) {
    case 0x78:  // float
        if (nContent == 4)
            return FloatText(std::bit_cast<float>(*BigEndianNumber<std::uint32_t>(pContent, 4, false)));
        break;
    case 0x79:  // double
        if (nContent == 8)
            return FloatText(std::bit_cast<double>(*BigEndianNumber<std::uint64_t>(pContent, 8, false)));
        break;
    case 0x7A:  // 64-bit signed
        if (const auto nValue = BigEndianNumber<std::int64_t>(pContent, nContent, true))
            return NumberText(*nValue);
        break;
    case 0x76:  // Counter64
    case 0x7B:  // 64-bit unsigned
        if (nContent == 9 && pContent[0] == 0)
            ++pContent, --nContent;
        if (const auto nValue = BigEndianNumber<std::uint64_t>(pContent, nContent, false))
            return NumberText(*nValue);
        break;
    }
    return std::nullopt;
}

std::string BytesText(const AsnOctetString& bytes)
{
    return bytes.stream ? HexText(bytes.stream, bytes.length) : std::string();
}

std::string OpaqueText(const AsnOctetString& bytes)
{
    if (!bytes.stream)
        return std::string();
    return WrappedNumberText(bytes.stream, bytes.length).value_or(HexText(bytes.stream, bytes.length));
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
    case ASN_INTEGER: strValue = NumberOrWideText(value, value.asnValue.number); break;
    case ASN_OCTETSTRING: strValue = OctetStringText(value.asnValue.string); break;
    case ASN_OBJECTIDENTIFIER: strValue = FormatOidText(value.asnValue.object); break;
    case ASN_IPADDRESS: strValue = IpAddressText(value.asnValue.address); break;
    case ASN_COUNTER32: strValue = NumberOrWideText(value, value.asnValue.counter); break;
    case ASN_GAUGE32: strValue = NumberOrWideText(value, value.asnValue.gauge); break;
    case ASN_TIMETICKS: strValue = TimeTicksText(value); break;
    case ASN_COUNTER64: strValue = NumberText(Counter64Value(value.asnValue.counter64)); break;
    case ASN_UNSIGNED32: strValue = NumberOrWideText(value, value.asnValue.unsigned32); break;
    case ASN_OPAQUE: strValue = OpaqueText(value.asnValue.arbitrary); break;
    case ASN_BITS:
    case ASN_SEQUENCE:
    case ASN_NSAPADDRESS: strValue = BytesText(value.asnValue.arbitrary); break;
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

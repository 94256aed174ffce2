#include "snmp/SnmpValue.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// "TYPE|value" of a value, the usual way tests look at both texts at once.
std::string Render(const AsnAny& value)
{
    std::string strType = "stale", strValue = "stale";
    RenderValue(value, strType, strValue);
    return strType + "|" + strValue;
}

std::string RenderBytes(BYTE asnType, const std::string& strBytes, UINT nLength = ~0u)
{
    AsnAny value{};
    value.asnType = asnType;
    value.asnValue.string.stream = reinterpret_cast<BYTE*>(const_cast<char*>(strBytes.data()));
    value.asnValue.string.length = nLength == ~0u ? static_cast<UINT>(strBytes.size()) : nLength;
    return Render(value);
}

std::string RenderNumber(BYTE asnType, AsnUnsigned32 nValue)
{
    AsnAny value{};
    value.asnType = asnType;
    value.asnValue.unsigned32 = nValue;
    return Render(value);
}

} // namespace

TEST(SnmpValue, TimeTicksPickTheLargestUnitAndDropHundredths)
{
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 0), "TIMETICKS|0 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 99), "TIMETICKS|0 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 100), "TIMETICKS|1 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 12345), "TIMETICKS|2 Mins 3 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 360000), "TIMETICKS|1 Hours 0 Mins 0 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 8640000), "TIMETICKS|1 Days 0 Hours 0 Mins 0 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 8646000), "TIMETICKS|1 Days 0 Hours 1 Mins 0 Secs");
    EXPECT_EQ(RenderNumber(ASN_TIMETICKS, 4294967295u), "TIMETICKS|497 Days 2 Hours 27 Mins 52 Secs");

    const CDuration d = SplitSeconds(86400 * 3 + 3600 * 23 + 60 * 59 + 59);
    EXPECT_EQ(d.nDays * 1000000 + d.nHours * 10000 + d.nMinutes * 100 + d.nSeconds, 3235959u);
    EXPECT_EQ(FormatTimeTicks(std::uint64_t{1} << 40), "12725829 Days 0 Hours 36 Mins 16 Secs");
}

TEST(SnmpValue, OctetStringsShowAsTextOnlyWhenEveryBytePasses)
{
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, "Linux box 5.10\r\n"), "OCTETSTRING|Linux box 5.10\r\n");
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, std::string("AB\0C", 4)), "OCTETSTRING|AB");  // stops at NUL
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, "ab\x80"), "OCTETSTRING|ab\x80");              // 0x80 passes
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, "abc\x81"), "OCTETSTRING| 61 62 63 81");
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, "a\tb"), "OCTETSTRING| 61 09 62");
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, std::string("\0\x1A\xFF", 3)), "OCTETSTRING| 00 1A FF");
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, ""), "OCTETSTRING|");
    // Only the stated length counts: the byte after it is never looked at.
    EXPECT_EQ(RenderBytes(ASN_OCTETSTRING, "xy\x01", 2), "OCTETSTRING|xy");
}

TEST(SnmpValue, NumbersKeepTheirSignednessAndWidth)
{
    EXPECT_EQ(RenderNumber(ASN_INTEGER, 0xFFFFFFFFu), "INTEGER|-1");
    EXPECT_EQ(RenderNumber(ASN_INTEGER, 0x80000000u), "INTEGER|-2147483648");
    EXPECT_EQ(RenderNumber(ASN_GAUGE32, 4294967295u), "GAUGE32|4294967295");
    EXPECT_EQ(RenderNumber(ASN_COUNTER32, 4294967295u), "COUNTER32|4294967295");
    EXPECT_EQ(RenderNumber(ASN_UNSIGNED32, 4000000000u), "UNSIGNED32|4000000000");

    AsnAny value{};
    value.asnType = ASN_COUNTER64;
    value.asnValue.counter64 = {0, 1};
    EXPECT_EQ(Render(value), "COUNTER64|4294967296");
    value.asnValue.counter64 = {0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_EQ(Render(value), "COUNTER64|18446744073709551615");
}

TEST(SnmpValue, OidTextsAndOidValues)
{
    std::vector<UINT> ids{1, 3, 6, 1, 2, 1, 1, 3, 0};
    const AsnObjectIdentifier oid{static_cast<UINT>(ids.size()), ids.data()};
    EXPECT_EQ(FormatOidText(oid), ".1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(FormatOidText(AsnObjectIdentifier{0, nullptr}), "");
    std::string strOut = "x";
    AppendOidText(oid, strOut);
    EXPECT_EQ(strOut, "x.1.3.6.1.2.1.1.3.0");

    std::vector<UINT> big{1, 4294967295u};
    AsnAny value{};
    value.asnType = ASN_OBJECTIDENTIFIER;
    value.asnValue.object = {2, big.data()};
    EXPECT_EQ(Render(value), "OBJECTIDENTIFIER|.1.4294967295");
}

TEST(SnmpValue, AddressesAndTypesWithoutValueText)
{
    EXPECT_EQ(RenderBytes(ASN_IPADDRESS, std::string("\x0A\x00\xC8\xFF", 4)), "IPADDRESS|10.0.200.255");
    // Any other length shows its bytes in hex, and never reads past them.
    EXPECT_EQ(RenderBytes(ASN_IPADDRESS, std::string("\xC0\xA8\0\x01\xAB\xCD", 6)), "IPADDRESS| C0 A8 00 01 AB CD");
    EXPECT_EQ(RenderBytes(ASN_IPADDRESS, "\x01\x02\x03\x04", 3), "IPADDRESS| 01 02 03");

    EXPECT_EQ(RenderBytes(ASN_NULL, "data"), "Unknown|");
    EXPECT_EQ(RenderBytes(0x80, ""), "EXCEPTION_NOSUCHOBJECT|");
    EXPECT_EQ(RenderBytes(0x81, ""), "EXCEPTION_NOSUCHINSTANCE|");
    EXPECT_EQ(RenderBytes(0x82, ""), "EXCEPTION_ENDOFMIBVIEW|");
    EXPECT_EQ(RenderBytes(0xA2, "data"), "Unknown|");
}

// What has no text form shows its bytes, never an empty value.
TEST(SnmpValue, BytesWithoutATextFormShowInHex)
{
    EXPECT_EQ(RenderBytes(ASN_BITS, "\x80\x01"), "BITS| 80 01");
    EXPECT_EQ(RenderBytes(ASN_SEQUENCE, "ab"), "SEQUENCE| 61 62");
    EXPECT_EQ(RenderBytes(ASN_OPAQUE, "data"), "OPAQUE| 64 61 74 61");
    EXPECT_EQ(RenderBytes(ASN_NSAPADDRESS, std::string("\x47\x00\x05", 3)), "Unknown| 47 00 05");
    EXPECT_EQ(RenderBytes(ASN_BITS, ""), "BITS|");
    EXPECT_EQ(RenderBytes(ASN_BITS, "\xFF\xEE", 1), "BITS| FF");
}

// An Opaque wrapping a float, double or 64-bit number shows the number;
// wrappings that do not add up show the bytes.
TEST(SnmpValue, OpaqueShowsTheNumberItWraps)
{
    const auto opaque = [](std::initializer_list<unsigned char> bytes) {
        return RenderBytes(ASN_OPAQUE, std::string(bytes.begin(), bytes.end()));
    };
    EXPECT_EQ(opaque({0x9F, 0x78, 0x04, 0x3F, 0xC0, 0x00, 0x00}), "OPAQUE|1.5");
    EXPECT_EQ(opaque({0x9F, 0x78, 0x04, 0xC1, 0x20, 0x00, 0x00}), "OPAQUE|-10");
    EXPECT_EQ(opaque({0x9F, 0x79, 0x08, 0x40, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18}), "OPAQUE|3.141592653589793");
    EXPECT_EQ(opaque({0x9F, 0x7A, 0x01, 0xFF}), "OPAQUE|-1");
    EXPECT_EQ(opaque({0x9F, 0x7A, 0x08, 0x80, 0, 0, 0, 0, 0, 0, 0}), "OPAQUE|-9223372036854775808");
    EXPECT_EQ(opaque({0x9F, 0x7B, 0x09, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
              "OPAQUE|18446744073709551615");
    EXPECT_EQ(opaque({0x9F, 0x76, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00}), "OPAQUE|4294967296");
    EXPECT_EQ(opaque({0x9F, 0x78, 0x05, 0x3F, 0xC0, 0x00, 0x00}), "OPAQUE| 9F 78 05 3F C0 00 00");  // length
    EXPECT_EQ(opaque({0x9F, 0x78, 0x03, 0x3F, 0xC0, 0x00}), "OPAQUE| 9F 78 03 3F C0 00");           // float size
    EXPECT_EQ(opaque({0x9F, 0x7C, 0x01, 0x01}), "OPAQUE| 9F 7C 01 01");                              // other tag
    EXPECT_EQ(opaque({0x9F, 0x7A, 0x00}), "OPAQUE| 9F 7A 00");
}

// Numbers an agent sent beyond their type's 32 bits are shown as sent, never
// as their low 32 bits.
TEST(SnmpValue, WideNumbersShowAsSent)
{
    const auto wide = [](BYTE asnType, bool bNegative, std::uint64_t nMagnitude) {
        AsnAny value{};
        value.asnType = asnType;
        value.asnValue.unsigned32 = static_cast<AsnUnsigned32>(nMagnitude);  // what is left of it
        value.wide = {TRUE, bNegative, nMagnitude};
        return Render(value);
    };
    EXPECT_EQ(wide(ASN_INTEGER, false, 4294967296ull), "INTEGER|4294967296");
    EXPECT_EQ(wide(ASN_INTEGER, true, 9223372036854775808ull), "INTEGER|-9223372036854775808");
    EXPECT_EQ(wide(ASN_GAUGE32, false, 4294967296ull), "GAUGE32|4294967296");
    EXPECT_EQ(wide(ASN_COUNTER32, false, 18446744073709551615ull), "COUNTER32|18446744073709551615");
    EXPECT_EQ(wide(ASN_UNSIGNED32, true, 1), "UNSIGNED32|-1");
    EXPECT_EQ(wide(ASN_TIMETICKS, false, 8640000ull * 1000), "TIMETICKS|1000 Days 0 Hours 0 Mins 0 Secs");
    EXPECT_EQ(wide(ASN_TIMETICKS, true, 5), "TIMETICKS|-5");
}

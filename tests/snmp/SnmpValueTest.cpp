#include "snmp/SnmpValue.h"
#include <gtest/gtest.h>
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
    EXPECT_EQ(RenderBytes(ASN_BITS, "data"), "BITS|");
    EXPECT_EQ(RenderBytes(ASN_SEQUENCE, "data"), "SEQUENCE|");
    EXPECT_EQ(RenderBytes(ASN_OPAQUE, "data"), "OPAQUE|");
    EXPECT_EQ(RenderBytes(0x80, ""), "EXCEPTION_NOSUCHOBJECT|");
    EXPECT_EQ(RenderBytes(0x81, ""), "EXCEPTION_NOSUCHINSTANCE|");
    EXPECT_EQ(RenderBytes(0x82, ""), "EXCEPTION_ENDOFMIBVIEW|");
    EXPECT_EQ(RenderBytes(0x45, "data"), "Unknown|");
    EXPECT_EQ(RenderBytes(0xA2, "data"), "Unknown|");
}

#include "snmp/SnmpValue.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

AsnAny Bytes(BYTE asnType, std::vector<BYTE>& bytes)
{
    AsnAny value{};
    value.asnType = asnType;
    value.asnValue.string.stream = bytes.data();
    value.asnValue.string.length = static_cast<UINT>(bytes.size());
    return value;
}

std::vector<BYTE> FromText(const std::string& strText)
{
    return std::vector<BYTE>(strText.begin(), strText.end());
}

// Renders value; the type name goes to *pstrType when wanted.
std::string Render(const AsnAny& value, std::string* pstrType = nullptr)
{
    std::string strType = "stale", strValue = "stale";
    RenderValue(value, strType, strValue);
    if (pstrType)
        *pstrType = strType;
    return strValue;
}

} // namespace

TEST(SnmpValue, TimeTicksPickTheLargestUnitAndDropHundredths)
{
    const struct
    {
        AsnTimeticks nTicks;
        const char* pszText;
    } cases[] = {
        {0, "0 Secs"},
        {99, "0 Secs"},
        {100, "1 Secs"},
        {12345, "2 Mins 3 Secs"},
        {360000, "1 Hours 0 Mins 0 Secs"},
        {8640000, "1 Days 0 Hours 0 Mins 0 Secs"},
        {8640000 + 6000, "1 Days 0 Hours 1 Mins 0 Secs"},
        {4294967295u, "497 Days 2 Hours 27 Mins 52 Secs"},
    };
    for (const auto& c : cases) {
        AsnAny value{};
        value.asnType = ASN_TIMETICKS;
        value.asnValue.ticks = c.nTicks;
        std::string strType;
        EXPECT_EQ(Render(value, &strType), c.pszText) << c.nTicks;
        EXPECT_EQ(strType, "TIMETICKS");
    }
    const CDuration d = SplitSeconds(86400 * 3 + 3600 * 23 + 60 * 59 + 59);
    EXPECT_EQ(d.nDays, 3u);
    EXPECT_EQ(d.nHours, 23u);
    EXPECT_EQ(d.nMinutes, 59u);
    EXPECT_EQ(d.nSeconds, 59u);
    EXPECT_EQ(FormatTimeTicks(std::uint64_t{1} << 40), "12725829 Days 0 Hours 36 Mins 16 Secs");
}

TEST(SnmpValue, OctetStringsShowAsTextOnlyWhenEveryBytePasses)
{
    std::vector<BYTE> line = FromText("Linux box 5.10\r\n");
    std::string strType;
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, line), &strType), "Linux box 5.10\r\n");
    EXPECT_EQ(strType, "OCTETSTRING");

    std::vector<BYTE> withNul{0x41, 0x42, 0x00, 0x43};
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, withNul)), "AB");

    std::vector<BYTE> with80 = FromText("ab");
    with80.push_back(0x80);
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, with80)), std::string("ab\x80"));

    std::vector<BYTE> with81 = FromText("abc");
    with81.push_back(0x81);
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, with81)), " 61 62 63 81");
    std::vector<BYTE> withTab = FromText("a\tb");
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, withTab)), " 61 09 62");
    std::vector<BYTE> binary{0x00, 0x1A, 0xFF};
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, binary)), " 00 1A FF");

    std::vector<BYTE> empty;
    EXPECT_EQ(Render(Bytes(ASN_OCTETSTRING, empty), &strType), "");
    EXPECT_EQ(strType, "OCTETSTRING");

    // Only the stated length counts: the byte after it is never looked at.
    std::vector<BYTE> longer = FromText("xy\x01");
    AsnAny cut = Bytes(ASN_OCTETSTRING, longer);
    cut.asnValue.string.length = 2;
    EXPECT_EQ(Render(cut), "xy");
}

TEST(SnmpValue, NumbersKeepTheirSignednessAndWidth)
{
    AsnAny value{};
    value.asnType = ASN_INTEGER;
    value.asnValue.number = -1;
    EXPECT_EQ(Render(value), "-1");
    value.asnValue.number = INT32_MIN;
    EXPECT_EQ(Render(value), "-2147483648");

    value.asnType = ASN_GAUGE32;
    value.asnValue.gauge = 4294967295u;
    EXPECT_EQ(Render(value), "4294967295");
    value.asnType = ASN_COUNTER32;
    value.asnValue.counter = 4294967295u;
    EXPECT_EQ(Render(value), "4294967295");
    value.asnType = ASN_UNSIGNED32;
    value.asnValue.unsigned32 = 4000000000u;
    std::string strType;
    EXPECT_EQ(Render(value, &strType), "4000000000");
    EXPECT_EQ(strType, "UNSIGNED32");

    value.asnType = ASN_COUNTER64;
    value.asnValue.counter64 = {0, 1};
    EXPECT_EQ(Render(value), "4294967296");
    value.asnValue.counter64 = {0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_EQ(Render(value), "18446744073709551615");
}

TEST(SnmpValue, OidTextsAndOidValues)
{
    std::vector<UINT> ids{1, 3, 6, 1, 2, 1, 1, 3, 0};
    const AsnObjectIdentifier oid{static_cast<UINT>(ids.size()), ids.data()};
    EXPECT_EQ(FormatOidText(oid), ".1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(FormatOidText(AsnObjectIdentifier{0, nullptr}), "");

    std::vector<UINT> big{1, 4294967295u};
    AsnAny value{};
    value.asnType = ASN_OBJECTIDENTIFIER;
    value.asnValue.object = {2, big.data()};
    std::string strType;
    EXPECT_EQ(Render(value, &strType), ".1.4294967295");
    EXPECT_EQ(strType, "OBJECTIDENTIFIER");

    std::string strOut = "x";
    AppendOidText(oid, strOut);
    EXPECT_EQ(strOut, "x.1.3.6.1.2.1.1.3.0");
}

TEST(SnmpValue, AddressesAndTypesWithoutValueText)
{
    std::vector<BYTE> quad{10, 0, 200, 255};
    std::string strType;
    EXPECT_EQ(Render(Bytes(ASN_IPADDRESS, quad), &strType), "10.0.200.255");
    EXPECT_EQ(strType, "IPADDRESS");
    std::vector<BYTE> six{0xC0, 0xA8, 0, 1, 0xAB, 0xCD};
    EXPECT_EQ(Render(Bytes(ASN_IPADDRESS, six)), " C0 A8 00 01 AB CD");
    std::vector<BYTE> three{1, 2, 3, 4};
    AsnAny shortAddress = Bytes(ASN_IPADDRESS, three);
    shortAddress.asnValue.address.length = 3;
    EXPECT_EQ(Render(shortAddress), " 01 02 03");

    const struct
    {
        BYTE tag;
        const char* pszName;
    } tagOnly[] = {{ASN_NULL, "Unknown"},           {ASN_BITS, "BITS"},
                   {ASN_SEQUENCE, "SEQUENCE"},       {ASN_OPAQUE, "OPAQUE"},
                   {0x80, "EXCEPTION_NOSUCHOBJECT"}, {0x81, "EXCEPTION_NOSUCHINSTANCE"},
                   {0x82, "EXCEPTION_ENDOFMIBVIEW"}, {0x45, "Unknown"},
                   {0xA2, "Unknown"}};
    std::vector<BYTE> payload = FromText("data");
    for (const auto& t : tagOnly) {
        EXPECT_EQ(Render(Bytes(t.tag, payload), &strType), "") << int{t.tag};
        EXPECT_EQ(strType, t.pszName);
    }
}

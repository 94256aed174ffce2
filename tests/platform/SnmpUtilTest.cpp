// The interface's helpers for OIDs, values, bindings and memory (the walk's
// subtree and order checks are exercised through the walk itself).
#include "platform/snmpmgr/SnmpMgr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
AsnObjectIdentifier MakeOid(std::initializer_list<UINT> ids)
{
    AsnObjectIdentifier oid{static_cast<UINT>(ids.size()),
                            static_cast<UINT*>(SnmpUtilMemAlloc(static_cast<UINT>(ids.size() * sizeof(UINT))))};
    std::copy(ids.begin(), ids.end(), oid.ids);
    return oid;
}

AsnAny MakeOctets(BYTE type, const std::string& strBytes)
{
    AsnAny any{};
    any.asnType = type;
    any.asnValue.string.stream = static_cast<BYTE*>(SnmpUtilMemAlloc(static_cast<UINT>(strBytes.size())));
    std::memcpy(any.asnValue.string.stream, strBytes.data(), strBytes.size());
    any.asnValue.string.length = static_cast<UINT>(strBytes.size());
    any.asnValue.string.dynamic = TRUE;
    return any;
}
}  // namespace

TEST(SnmpUtil, OidsCompareByTheirFirstNComponents)
{
    AsnObjectIdentifier a = MakeOid({1, 3, 6, 1, 2});
    AsnObjectIdentifier b = MakeOid({1, 3, 6, 1, 4, 1});
    AsnObjectIdentifier prefix = MakeOid({1, 3, 6});
    EXPECT_EQ(SnmpUtilOidNCmp(&a, &b, 4), 0);
    EXPECT_LT(SnmpUtilOidNCmp(&a, &b, 5), 0);
    EXPECT_GT(SnmpUtilOidNCmp(&b, &a, 6), 0);
    EXPECT_EQ(SnmpUtilOidNCmp(&a, &b, 0), 0);
    // A prefix is smaller than the longer OID, unless n stops before the end.
    EXPECT_LT(SnmpUtilOidNCmp(&prefix, &a, 5), 0);
    EXPECT_EQ(SnmpUtilOidNCmp(&prefix, &a, 3), 0);

    AsnObjectIdentifier copy{};
    ASSERT_NE(SnmpUtilOidCpy(&copy, &a), 0);
    EXPECT_NE(copy.ids, a.ids);  // a deep copy
    EXPECT_EQ(SnmpUtilOidCmp(&copy, &a), 0);
    EXPECT_EQ(SnmpUtilOidCpy(nullptr, &a), 0);
    for (AsnObjectIdentifier* p : {&a, &b, &copy, &prefix})
    {
        SnmpUtilOidFree(p);
        EXPECT_EQ(p->ids, nullptr);
        EXPECT_EQ(p->idLength, 0u);
    }
    SnmpUtilOidFree(nullptr);
}

TEST(SnmpUtil, MemoryIsZeroedAndKeptOnGrowth)
{
    auto* pBytes = static_cast<BYTE*>(SnmpUtilMemAlloc(64));
    auto* pList = static_cast<BYTE*>(SnmpUtilMemReAlloc(nullptr, 64));  // a list grown from nothing
    ASSERT_TRUE(pBytes && pList);
    EXPECT_EQ(std::count(pBytes, pBytes + 64, 0) + std::count(pList, pList + 64, 0), 128);
    SnmpUtilMemFree(pList);
    std::memset(pBytes, 0xAB, 64);
    pBytes = static_cast<BYTE*>(SnmpUtilMemReAlloc(pBytes, 4096));
    ASSERT_NE(pBytes, nullptr);
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(pBytes[i], i < 64 ? 0xAB : 0) << i;
    SnmpUtilMemFree(pBytes);
    SnmpUtilMemFree(nullptr);
}

TEST(SnmpUtil, ValuesCopyDeepAndFreeOnlyWhatTheyOwn)
{
    AsnAny text = MakeOctets(ASN_OCTETSTRING, "abc");
    AsnAny copy{};
    ASSERT_NE(SnmpUtilAsnAnyCpy(&copy, &text), 0);
    EXPECT_NE(copy.asnValue.string.stream, text.asnValue.string.stream);
    EXPECT_EQ(copy.asnValue.string.dynamic, TRUE);  // the copy owns its bytes
    SnmpUtilAsnAnyFree(&text);
    EXPECT_EQ(text.asnType, ASN_NULL);
    EXPECT_EQ(std::memcmp(copy.asnValue.string.stream, "abc", 3), 0);  // survives the original
    SnmpUtilAsnAnyFree(&copy);

    // A static (non-dynamic) stream is not the value's to free.
    static BYTE s_abFixed[] = {1, 2};
    AsnAny fixed{};
    fixed.asnType = ASN_OCTETSTRING;
    fixed.asnValue.string = {s_abFixed, 2, FALSE};
    SnmpUtilAsnAnyFree(&fixed);
}

TEST(SnmpUtil, PrintsReadableValues)
{
    AsnAny negative{}, wide{}, unknown{};
    negative.asnType = ASN_INTEGER;
    negative.asnValue.number = -5;
    wide.asnType = ASN_COUNTER64;
    wide.asnValue.counter64 = {1, 1};
    unknown.asnType = 0x99;
    // Printable text as it is, anything else as hex bytes.
    AsnAny values[] = {negative, wide, unknown, MakeOctets(ASN_OCTETSTRING, "Linux box"),
                       MakeOctets(ASN_OCTETSTRING, std::string("\x00\x1b\xff", 3)),
                       MakeOctets(ASN_IPADDRESS, "\xc0\xa8\x01\x02")};
    testing::internal::CaptureStdout();
    for (AsnAny& value : values)
        SnmpUtilPrintAsnAny(&value);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "INTEGER - -5\nCounter64 - 4294967297\nUnknown type 0x99\nOCTET STRING - Linux box\nOCTET STRING - 00 1B FF\n"
              "IpAddress - 192.168.1.2\n");
    for (AsnAny& value : values)
        SnmpUtilAsnAnyFree(&value);
}

// The interface's helpers for OIDs, values, bindings and memory.
#include "platform/snmpmgr/SnmpMgr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

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

std::string Printed(const AsnAny& any)
{
    testing::internal::CaptureStdout();
    SnmpUtilPrintAsnAny(&any);
    return testing::internal::GetCapturedStdout();
}
}  // namespace

TEST(SnmpUtil, OidCopyAndCompare)
{
    AsnObjectIdentifier a = MakeOid({1, 3, 6, 1, 2});
    AsnObjectIdentifier b = MakeOid({1, 3, 6, 1, 4, 1});
    AsnObjectIdentifier copy{};
    ASSERT_NE(SnmpUtilOidCpy(&copy, &a), 0);
    EXPECT_NE(copy.ids, a.ids);  // a deep copy
    EXPECT_EQ(SnmpUtilOidCmp(&copy, &a), 0);

    EXPECT_EQ(SnmpUtilOidNCmp(&a, &b, 4), 0);  // equal in the first four
    EXPECT_LT(SnmpUtilOidNCmp(&a, &b, 5), 0);
    EXPECT_GT(SnmpUtilOidNCmp(&b, &a, 6), 0);
    EXPECT_LT(SnmpUtilOidCmp(&a, &b), 0);
    EXPECT_EQ(SnmpUtilOidNCmp(&a, &b, 0), 0);

    // A prefix is smaller than the longer OID, unless n stops before the end.
    AsnObjectIdentifier prefix = MakeOid({1, 3, 6});
    EXPECT_LT(SnmpUtilOidNCmp(&prefix, &a, 5), 0);
    EXPECT_GT(SnmpUtilOidCmp(&a, &prefix), 0);
    EXPECT_EQ(SnmpUtilOidNCmp(&prefix, &a, 3), 0);

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
    ASSERT_NE(pBytes, nullptr);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(pBytes[i], 0) << i;
    std::memset(pBytes, 0xAB, 64);
    pBytes = static_cast<BYTE*>(SnmpUtilMemReAlloc(pBytes, 4096));
    ASSERT_NE(pBytes, nullptr);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(pBytes[i], 0xAB) << i;
    for (int i = 64; i < 4096; ++i)
        ASSERT_EQ(pBytes[i], 0) << i;
    SnmpUtilMemFree(pBytes);
    SnmpUtilMemFree(nullptr);

    // Growing a binding list from nothing gives a zeroed binding.
    auto* pList = static_cast<SnmpVarBind*>(SnmpUtilMemReAlloc(nullptr, sizeof(SnmpVarBind)));
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList->name.ids, nullptr);
    EXPECT_EQ(pList->value.asnType, 0);
    SnmpUtilMemFree(pList);
}

TEST(SnmpUtil, ValuesAndBindingsCopyDeepAndFreeWhole)
{
    AsnAny text = MakeOctets(ASN_OCTETSTRING, "abc");
    AsnAny copy{};
    ASSERT_NE(SnmpUtilAsnAnyCpy(&copy, &text), 0);
    EXPECT_NE(copy.asnValue.string.stream, text.asnValue.string.stream);
    EXPECT_EQ(std::memcmp(copy.asnValue.string.stream, "abc", 3), 0);
    EXPECT_EQ(copy.asnValue.string.dynamic, TRUE);
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

    // A list frees every binding's name and value and its array.
    SnmpVarBindList list{};
    list.list = static_cast<SnmpVarBind*>(SnmpUtilMemReAlloc(nullptr, 3 * sizeof(SnmpVarBind)));
    list.len = 3;
    for (UINT i = 0; i < 3; ++i)
    {
        list.list[i].name = MakeOid({1, 3, i});
        list.list[i].value = MakeOctets(ASN_IPADDRESS, "\x7f\0\0\x01");
    }
    SnmpUtilVarBindFree(&list.list[2]);
    EXPECT_EQ(list.list[2].name.ids, nullptr);
    SnmpUtilVarBindListFree(&list);
    EXPECT_EQ(list.list, nullptr);
    EXPECT_EQ(list.len, 0u);
}

TEST(SnmpUtil, PrintsReadableValues)
{
    AsnAny any{};
    any.asnType = ASN_INTEGER;
    any.asnValue.number = -5;
    EXPECT_EQ(Printed(any), "INTEGER - -5\n");
    any.asnType = ASN_COUNTER64;
    any.asnValue.counter64 = {1, 1};
    EXPECT_EQ(Printed(any), "Counter64 - 4294967297\n");
    any.asnType = 0x99;
    EXPECT_EQ(Printed(any), "Unknown type 0x99\n");

    // Printable text as it is, anything else as hex bytes.
    for (const auto& [type, strBytes, strPrinted] :
         {std::tuple{ASN_OCTETSTRING, std::string("Linux box"), "OCTET STRING - Linux box\n"},
          std::tuple{ASN_OCTETSTRING, std::string("\x00\x1b\xff", 3), "OCTET STRING - 00 1B FF\n"},
          std::tuple{ASN_IPADDRESS, std::string("\xc0\xa8\x01\x02"), "IpAddress - 192.168.1.2\n"}})
    {
        AsnAny bytes = MakeOctets(type, strBytes);
        EXPECT_EQ(Printed(bytes), strPrinted);
        SnmpUtilAsnAnyFree(&bytes);
    }
}

// OID text in both directions, through the interface's calls and the table.
#include "platform/snmpmgr/BuiltinMib.h"
#include "platform/snmpmgr/SnmpMgr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<UINT> Ids(const std::string& strDotted)
{
    std::vector<UINT> ids;
    size_t nPos = 1;
    while (nPos <= strDotted.size())
    {
        const size_t nDot = strDotted.find('.', nPos);
        ids.push_back(static_cast<UINT>(std::stoul(strDotted.substr(nPos, nDot - nPos))));
        nPos = nDot == std::string::npos ? strDotted.size() + 1 : nDot + 1;
    }
    return ids;
}

// Name text of a numeric OID ("" when the interface gives none).
std::string NameOf(const std::string& strDotted)
{
    std::vector<UINT> ids = Ids(strDotted);
    AsnObjectIdentifier oid{static_cast<UINT>(ids.size()), ids.data()};
    char* pszText = nullptr;
    if (!SnmpMgrOidToStr(&oid, &pszText))
        return "";
    std::string strText(pszText);
    SnmpUtilMemFree(pszText);
    return strText;
}

// Numeric text of an OID text ("-" when it is not an OID).
std::string NumbersOf(const char* pszText)
{
    AsnObjectIdentifier oid{};
    if (!SnmpMgrStrToOid(pszText, &oid))
        return "-";
    std::string strDotted;
    for (UINT i = 0; i < oid.idLength; ++i)
        strDotted += "." + std::to_string(oid.ids[i]);
    SnmpUtilOidFree(&oid);
    return strDotted;
}
}  // namespace

TEST(BuiltinMib, TableIsConsistentAndCoversTheModules)
{
    const CBuiltinMib& mib = CBuiltinMib::Instance();
    EXPECT_TRUE(mib.Problems().empty()) << mib.Problems().front();
    EXPECT_GT(mib.NodeCount(), 1000u);
    // One object from each module the interface names.
    for (const char* pszName :
         {".iso.org.dod.internet.mgmt.mib-2.system.sysORTable.sysOREntry.sysORUpTime",
          ".iso.org.dod.internet.snmpV2.snmpModules.snmpMIB.snmpMIBObjects.snmpSet.snmpSetSerialNo",
          "ifMIB.ifMIBObjects.ifRcvAddressTable.ifRcvAddressEntry.ifRcvAddressType",
          "ip.ipTrafficStats.ipIfStatsTable.ipIfStatsEntry.ipIfStatsHCOutOctets",
          "ip.ipNetToPhysicalTable.ipNetToPhysicalEntry.ipNetToPhysicalState",
          "tcp.tcpListenerTable.tcpListenerEntry.tcpListenerProcess",
          "host.hrSWRunPerf.hrSWRunPerfTable.hrSWRunPerfEntry.hrSWRunPerfMem",
          "entityMIB.entityMIBObjects.entityPhysical.entPhysicalTable.entPhysicalEntry.entPhysicalUUID",
          ".1.3.6.1.6.3.10.2.1.snmpEngineBoots", ".1.3.6.1.6.3.11.2.1.snmpUnknownPDUHandlers",
          ".1.3.6.1.6.3.12.1.snmpTargetParamsTable", ".1.3.6.1.6.3.13.1.snmpNotifyFilterTable",
          ".1.3.6.1.6.3.15.1.2.usmUserTable.usmUserEntry.usmUserStatus",
          ".1.3.6.1.6.3.16.1.vacmMIBViews.vacmViewTreeFamilyTable",
          ".1.3.6.1.4.1.ucdavis.memory.memTotalReal",
          ".1.3.6.1.4.1.netSnmp.netSnmpObjects.nsExtensions.nsExtendObjects.nsExtendConfigTable"})
        EXPECT_NE(NumbersOf(pszName), "-") << pszName;
    EXPECT_EQ(NumbersOf(".1.3.6.1.4.1.ucdavis.memory.memTotalReal.0"), ".1.3.6.1.4.1.2021.4.5.0");
}

TEST(BuiltinMib, OidToTextFollowsTheThreeForms)
{
    // Under mib-2: relative to it.
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.1.1.0"), "system.sysDescr.0");
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.31.1.1.1.1.1"), "ifMIB.ifMIBObjects.ifXTable.ifXEntry.ifName.1");
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.4.20.1.1.127.0.0.1"), "ip.ipAddrTable.ipAddrEntry.ipAdEntAddr.127.0.0.1");
    // Elsewhere under internet: relative to internet; no names below enterprises.
    EXPECT_EQ(NameOf(".1.3.6.1.4.1.2021.4.5.0"), "private.enterprises.2021.4.5.0");
    EXPECT_EQ(NameOf(".1.3.6.1.6.3.1.1.4.1.0"), "snmpV2.snmpModules.snmpMIB.snmpMIBObjects.snmpTrap.snmpTrapOID.0");
    EXPECT_EQ(NameOf(".1.3.6.1.6.3.16.1.5.2.1.6.6.95"),
              "snmpV2.snmpModules.snmpVacmMIB.vacmMIBObjects.vacmMIBViews.vacmViewTreeFamilyTable."
              "vacmViewTreeFamilyEntry.vacmViewTreeFamilyStatus.6.95");
    EXPECT_EQ(NameOf(".1.3.6.1.3.99"), "experimental.99");
    // mib-2 and internet themselves are not below themselves.
    EXPECT_EQ(NameOf(".1.3.6.1.2.1"), "mgmt.mib-2");
    EXPECT_EQ(NameOf(".1.3.6.1"), ".iso.org.dod.internet");
    // Anything else: the full name with a leading dot.
    EXPECT_EQ(NameOf(".1.2.840.10040"), ".iso.2.840.10040");
    EXPECT_EQ(NameOf(".2.5"), ".2.5");
    // Once a component has no name the rest are numbers, even known ids.
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.99.1.1"), "99.1.1");
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.1.99.1"), "system.99.1");
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.2.2.1.4294967295"), "interfaces.ifTable.ifEntry.4294967295");
    // No text for an empty OID or missing arguments.
    AsnObjectIdentifier empty{};
    char* pszText = nullptr;
    EXPECT_FALSE(SnmpMgrOidToStr(&empty, &pszText));
    EXPECT_FALSE(SnmpMgrOidToStr(nullptr, &pszText));
    EXPECT_EQ(pszText, nullptr);
}

TEST(BuiltinMib, TextToOidAcceptsNamesNumbersAndRejectsTheRest)
{
    EXPECT_EQ(NumbersOf(".1.3.6.1.2.1.1.1.0"), ".1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(NumbersOf(".1.3"), ".1.3");
    EXPECT_EQ(NumbersOf("system.sysDescr.0"), ".1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(NumbersOf("1.1.0"), ".1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(NumbersOf("system.5.0"), ".1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(NumbersOf(".iso.org.dod.internet.private.enterprises.2021"), ".1.3.6.1.4.1.2021");
    EXPECT_EQ(NumbersOf("ifMIB.ifMIBObjects.ifXTable.ifXEntry.ifName.1"), ".1.3.6.1.2.1.31.1.1.1.1.1");
    EXPECT_EQ(NumbersOf(".1.3.4294967295"), ".1.3.4294967295");
    EXPECT_EQ(NumbersOf(".0"), ".0");
    EXPECT_EQ(NumbersOf("007"), ".1.3.6.1.2.1.7");

    for (const char* pszBad :
         {"", ".", "..", "...", "1.3.x", ".1.3.", ".1..3", "foo", ".foo", "system.foo", ".1.3.4294967296",
          ".1.3.-1", ".1.3.+1", " .1.3", ".1.3 ", "system.sysDescr.0.", ".1.3.6.1.system", "sysDescr",
          "private.enterprises", ".iso.org.dod.internet.mgmt.mib-2.99.sysDescr", "1.3.0x10", "SYSTEM"})
        EXPECT_EQ(NumbersOf(pszBad), "-") << '"' << pszBad << '"';

    AsnObjectIdentifier untouched{7, nullptr};
    EXPECT_FALSE(SnmpMgrStrToOid("1.3.x", &untouched));
    EXPECT_EQ(untouched.idLength, 7u);
    EXPECT_FALSE(SnmpMgrStrToOid(nullptr, &untouched));
}

TEST(BuiltinMib, TextFormsRoundTrip)
{
    // Every named node under mib-2, with an instance suffix, survives
    // numbers → name → numbers; other OIDs survive through the absolute form.
    int nChecked = 0;
    for (UINT a = 1; a <= 50; ++a)
        for (UINT b = 1; b <= 40; ++b)
            for (UINT c : {1u, 2u, 3u})
            {
                const std::string strDotted =
                    ".1.3.6.1.2.1." + std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + ".0";
                const std::string strName = NameOf(strDotted);
                ASSERT_FALSE(strName.empty());
                ASSERT_NE(strName.front(), '.');
                EXPECT_EQ(NumbersOf(strName.c_str()), strDotted) << strName;
                ++nChecked;
            }
    for (const char* pszDotted : {".1.3.6.1.6.3.15.1.2.2.1.3.5.1", ".1.0.8802.1.1.2", ".2.16.840.1.101",
                                  ".1.3.6.1.4.1.2021.11.9.0"})
    {
        const std::string strName = NameOf(pszDotted);
        const std::string strAbsolute = strName.front() == '.' ? strName : ".iso.org.dod.internet." + strName;
        EXPECT_EQ(NumbersOf(strAbsolute.c_str()), pszDotted) << strName;
    }
    EXPECT_EQ(nChecked, 50 * 40 * 3);
}

TEST(BuiltinMib, TableTextFaultsAreReportedAndTheRestStillServes)
{
    const CBuiltinMib mib("root: 1 iso\niso: 3 org\norg: 3 again\norg: 3 twice\nnowhere: 1 lost\n"
                          "iso: x bad\nlone line\norg: 6 iso\n# comment\n\norg: 7 seven\n");
    const std::vector<std::string>& problems = mib.Problems();
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_EQ(problems[0], "id used twice under org: 3");
    EXPECT_EQ(problems[1], "unknown parent: nowhere");
    EXPECT_EQ(problems[2], "bad entry under iso: x");
    EXPECT_EQ(problems[3], "line without parent: lone line");
    EXPECT_EQ(problems[4], "name defined twice: iso");

    std::vector<UINT> ids;
    EXPECT_FALSE(mib.Parse(".iso.org.again.seven", &ids));  // seven is a child of org only
    ASSERT_TRUE(mib.Parse(".iso.org.seven", &ids));
    EXPECT_EQ(ids, (std::vector<UINT>{1, 3, 7}));
    std::string strText;
    ASSERT_TRUE(mib.ToText(ids.data(), static_cast<UINT>(ids.size()), &strText));
    EXPECT_EQ(strText, ".iso.org.seven");
    // Without mib-2 in the table, relative text has nothing to be relative to.
    EXPECT_FALSE(mib.Parse("1.1", &ids));
}

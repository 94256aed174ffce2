// The table view's logic without a window: an instance suffix read by its
// INDEX, counter rates between two readings, and the cells of applied walks.
#include "platform/mibparse/MibTable.h"
#include "snmp/SnmpValue.h"
#include "tableview/CounterRate.h"
#include "tableview/InstanceIndex.h"
#include "tableview/TableData.h"
#include "tableview/TableLocator.h"
#include <gtest/gtest.h>

namespace {

using Parts = std::vector<CIndexPart>;
using Texts = std::vector<std::string>;

CIndexPart Part(EIndexKind eKind, UINT nFixed = 0)
{
    return CIndexPart{"i", eKind, nFixed};
}

// --- Instance suffixes ---------------------------------------------------------------

TEST(InstanceIndex, EachKindTakesItsSubIdentifiersInTurn)
{
    // ipNetToMediaTable: ifIndex, then an address.
    EXPECT_EQ(DecodeInstance({3, 10, 0, 0, 254}, {Part(EIndexKind::Integer), Part(EIndexKind::IpAddress)}),
              (Texts{"3", "10.0.0.254"}));
    // A counted string, then an implied one (vacmAccessTable's shape, shortened).
    EXPECT_EQ(DecodeInstance({2, 'a', 'b', 'x', 'y', 'z'}, {Part(EIndexKind::String), Part(EIndexKind::ImpliedString)}),
              (Texts{"\"ab\"", "\"xyz\""}));
    EXPECT_EQ(DecodeInstance({0, 7}, {Part(EIndexKind::String), Part(EIndexKind::Integer)}), (Texts{"\"\"", "7"}));
    EXPECT_EQ(DecodeInstance({0, 1, 255}, {Part(EIndexKind::FixedString, 3)}), (Texts{"00:01:ff"}));
    EXPECT_EQ(DecodeInstance({3, 1, 3, 6, 9}, {Part(EIndexKind::Oid), Part(EIndexKind::Integer)}),
              (Texts{".1.3.6", "9"}));
    EXPECT_EQ(DecodeInstance({1, 3, 6, 1}, {Part(EIndexKind::ImpliedOid)}), (Texts{".1.3.6.1"}));
    EXPECT_EQ(DecodeInstance({4294967295u}, {Part(EIndexKind::Integer)}), (Texts{"4294967295"}));
}

TEST(InstanceIndex, ASuffixThatDoesNotFitItsIndexIsNotDecoded)
{
    EXPECT_FALSE(DecodeInstance({1, 2}, {Part(EIndexKind::Integer)}));                    // left over
    EXPECT_FALSE(DecodeInstance({10, 0, 0}, {Part(EIndexKind::IpAddress)}));              // too short
    EXPECT_FALSE(DecodeInstance({10, 0, 0, 256}, {Part(EIndexKind::IpAddress)}));         // no octet
    EXPECT_FALSE(DecodeInstance({5, 'a', 'b'}, {Part(EIndexKind::String)}));              // length beyond the end
    EXPECT_FALSE(DecodeInstance({4294967295u}, {Part(EIndexKind::String)}));              // huge length
    EXPECT_FALSE(DecodeInstance({1, 300}, {Part(EIndexKind::String)}));                   // no octet
    EXPECT_FALSE(DecodeInstance({}, {Part(EIndexKind::Integer)}));
    EXPECT_FALSE(DecodeInstance({1}, {}));  // nothing describes it: shown raw
    EXPECT_EQ(RawInstanceText({1, 4, 10}), "1.4.10");
}

// --- Rates --------------------------------------------------------------------------

TEST(CounterRate, CountsUpWrapsOnceAndRefusesWhatWentBack)
{
    const std::string c32 = TypeName::Counter32, c64 = TypeName::Counter64;
    EXPECT_DOUBLE_EQ(*CounterRate(c32, "1000", "3000", 4.0), 500.0);
    EXPECT_DOUBLE_EQ(*CounterRate(c32, "5", "5", 10.0), 0.0);
    // 296 steps to the top, one onto 0, 704 beyond it.
    EXPECT_DOUBLE_EQ(*CounterRate(c32, "4294967000", "704", 10.0), 100.0);
    EXPECT_DOUBLE_EQ(*CounterRate(c32, "4294967295", "0", 1.0), 1.0);
    // A drop no single wrap explains is a restart.
    EXPECT_FALSE(CounterRate(c32, "3000000", "12", 10.0));
    EXPECT_FALSE(CounterRate(c64, "1000", "999", 10.0));
    // 64-bit values near the top differ by amounts a double could not hold apart.
    EXPECT_DOUBLE_EQ(*CounterRate(c64, "18446744073709551000", "18446744073709551615", 5.0), 123.0);
    EXPECT_DOUBLE_EQ(*CounterRate(c64, "4294967000", "4294968000", 1.0), 1000.0);
}

TEST(CounterRate, NoRateWithoutTwoCounterReadingsAndTime)
{
    const std::string c32 = TypeName::Counter32;
    EXPECT_FALSE(CounterRate(TypeName::Gauge32, "1", "2", 1.0));
    EXPECT_FALSE(CounterRate(c32, "", "2", 1.0));
    EXPECT_FALSE(CounterRate(c32, "1", "2x", 1.0));
    EXPECT_FALSE(CounterRate(c32, "-1", "2", 1.0));
    EXPECT_FALSE(CounterRate(c32, "1", "4294967296", 1.0));  // no Counter32 value
    EXPECT_FALSE(CounterRate(c32, "1", "2", 0.0));
    EXPECT_FALSE(CounterRate(c32, "1", "2", -3.0));
}

// --- Walks applied ---------------------------------------------------------------------

CWalkRecord Record(const std::string& strOid, const std::string& strName, const std::string& strType,
                   const std::string& strValue)
{
    return CWalkRecord{strOid, strName, strType, strValue, {}};
}

// ifTable as a walk brings it: column by column.
std::vector<CWalkRecord> IfWalk(const std::string& strIn1, const std::string& strIn2, bool bThirdRow = false)
{
    std::vector<CWalkRecord> walk = {
        Record(".1.3.6.1.2.1.2.2.1.1.1", "interfaces.ifTable.ifEntry.ifIndex.1", "INTEGER", "1"),
        Record(".1.3.6.1.2.1.2.2.1.1.2", "interfaces.ifTable.ifEntry.ifIndex.2", "INTEGER", "2"),
        Record(".1.3.6.1.2.1.2.2.1.1.10", "interfaces.ifTable.ifEntry.ifIndex.10", "INTEGER", "10"),
        Record(".1.3.6.1.2.1.2.2.1.2.1", "interfaces.ifTable.ifEntry.ifDescr.1", "OCTETSTRING", "lo"),
        Record(".1.3.6.1.2.1.2.2.1.2.2", "interfaces.ifTable.ifEntry.ifDescr.2", "OCTETSTRING", "eth0"),
        Record(".1.3.6.1.2.1.2.2.1.2.10", "interfaces.ifTable.ifEntry.ifDescr.10", "OCTETSTRING", "br0"),
        Record(".1.3.6.1.2.1.2.2.1.10.1", "interfaces.ifTable.ifEntry.ifInOctets.1", "COUNTER32", strIn1),
        Record(".1.3.6.1.2.1.2.2.1.10.2", "interfaces.ifTable.ifEntry.ifInOctets.2", "COUNTER32", strIn2),
        Record(".1.3.6.1.2.1.2.2.1.10.10", "interfaces.ifTable.ifEntry.ifInOctets.10", "COUNTER32", "0"),
        Record(".1.3.6.1.2.1.2.2.1.99.2", "interfaces.ifTable.ifEntry.99.2", "INTEGER", "5"),
        Record(".1.3.6.1.2.1.2.3.0", "interfaces.2.3.0", "INTEGER", "7"),  // past the table
    };
    if (bThirdRow)
        walk.push_back(Record(".1.3.6.1.2.1.2.2.1.2.11", "interfaces.ifTable.ifEntry.ifDescr.11", "OCTETSTRING", "x"));
    return walk;
}

TEST(TableData, OneRowPerInstanceInOidOrderAndOneColumnPerObject)
{
    CTableData data(".1.3.6.1.2.1.2.2", {CIndexPart{"ifIndex", EIndexKind::Integer, 0}});
    const CTableData::CChange change = data.ApplyWalk(IfWalk("100", "200"), 0);
    EXPECT_TRUE(change.bShapeChanged);
    EXPECT_TRUE(change.cells.empty());
    ASSERT_EQ(data.RowCount(), 3);
    ASSERT_EQ(data.ColumnCount(), 5);
    const Texts headers = {"ifIndex", "ifIndex", "ifDescr", "ifInOctets", "99"};
    for (int nColumn = 0; nColumn < 5; ++nColumn)
        EXPECT_EQ(data.HeaderText(nColumn), headers[static_cast<std::size_t>(nColumn)]);
    // 10 after 2: OID order, not text order.
    EXPECT_EQ(data.CellText(2, 0), "10");
    EXPECT_EQ(data.CellText(2, 2), "br0");
    EXPECT_EQ(data.CellText(1, 4), "5");
    EXPECT_EQ(data.CellText(0, 4), "");  // row 1 has no column 99
    EXPECT_EQ(data.ColumnType(3), "COUNTER32");
    EXPECT_EQ(data.SortBy(0), CTableData::ESortBy::Number);
    EXPECT_EQ(data.SortBy(2), CTableData::ESortBy::Text);
    EXPECT_EQ(data.SortBy(3), CTableData::ESortBy::Number);
}

TEST(TableData, WithoutAnIndexTheInstanceShowsRawAndSortsInOidOrder)
{
    CTableData data(".1.3.6.1.2.1.2.2", {});
    data.ApplyWalk(IfWalk("1", "2"), 0);
    EXPECT_EQ(data.HeaderText(0), "Index");
    EXPECT_EQ(data.CellText(1, 0), "2");
    EXPECT_EQ(data.SortBy(0), CTableData::ESortBy::OidOrder);
    CTableData pairs(".1.3.6.1.4.1.9.9", {});
    pairs.ApplyWalk({Record(".1.3.6.1.4.1.9.9.1.2.1.9", "n", "INTEGER", "1"),
                     Record(".1.3.6.1.4.1.9.9.1.2.1.10", "n", "INTEGER", "2")},
                    0);
    EXPECT_EQ(pairs.CellText(0, 0), "1.9");
    EXPECT_EQ(pairs.CellText(1, 0), "1.10");
    EXPECT_EQ(pairs.SortBy(0), CTableData::ESortBy::OidOrder);
    EXPECT_EQ(pairs.HeaderText(1), "2");  // the column's sub-identifier where no name is
}

TEST(TableData, ASecondWalkTellsChangedCellsAndCounterRates)
{
    CTableData data(".1.3.6.1.2.1.2.2", {});
    data.ApplyWalk(IfWalk("100", "4294967290"), 100.0);
    EXPECT_FALSE(data.Rate(0, 3));  // one reading only
    const CTableData::CChange change = data.ApplyWalk(IfWalk("600", "10"), 110.0);
    EXPECT_FALSE(change.bShapeChanged);
    EXPECT_EQ(change.cells, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}}));
    EXPECT_DOUBLE_EQ(*data.Rate(0, 3), 50.0);
    EXPECT_DOUBLE_EQ(*data.Rate(1, 3), 1.6);  // wrapped: 16 steps in 10 s
    EXPECT_DOUBLE_EQ(*data.Rate(2, 3), 0.0);
    EXPECT_FALSE(data.Rate(0, 1));  // no counter
    EXPECT_FALSE(data.Rate(0, 0));  // the index

    // A new row changes the shape; it has no rate yet, the others keep theirs.
    const CTableData::CChange grown = data.ApplyWalk(IfWalk("1600", "20", true), 120.0);
    EXPECT_TRUE(grown.bShapeChanged);
    ASSERT_EQ(data.RowCount(), 4);
    EXPECT_EQ(data.CellText(3, 0), "11");
    EXPECT_FALSE(data.Rate(3, 3));
    EXPECT_DOUBLE_EQ(*data.Rate(0, 3), 100.0);
}

} // namespace

namespace {

// --- Which table a node belongs to --------------------------------------------------------

TEST(TableLocator, TheTableItsEntryAColumnAndAnInstanceAllFindTheTable)
{
    for (const char* pszNode : {"interfaces.ifTable", "interfaces.ifTable.ifEntry", "interfaces.ifTable.ifEntry.ifType",
                                "interfaces.ifTable.ifEntry.ifType.3", ".1.3.6.1.2.1.2.2.1.3.3"}) {
        const std::optional<CTableRef> table = LocateTable(pszNode);
        ASSERT_TRUE(table) << pszNode;
        EXPECT_EQ(table->m_strOid, ".1.3.6.1.2.1.2.2") << pszNode;
        EXPECT_EQ(table->m_strName, "ifTable") << pszNode;
    }
    // ipNetToMediaTable's instance holds an address: the nearest table still wins.
    EXPECT_EQ(LocateTable("ip.ipNetToMediaTable.ipNetToMediaEntry.ipNetToMediaPhysAddress.2.10.0.0.1")->m_strName,
              "ipNetToMediaTable");
}

// A module table whose ipNetToMediaEntry has this INDEX, published while it lives.
class CPublishedEntry
{
public:
    struct Object
    {
        std::vector<UINT> path;
        const char* pszName;
        const char* pszBaseType;
        const char* pszRange = "";
    };
    CPublishedEntry(const std::vector<std::string>& indexes, bool bImplied, const std::vector<Object>& objects)
    {
        auto pTable = std::make_shared<CMibTable>();
        CMibObject* pEntry = pTable->Add({1, 3, 6, 1, 2, 1, 4, 22, 1});
        pEntry->strName = "ipNetToMediaEntry";
        pEntry->indexes = indexes;
        pEntry->bImpliedIndex = bImplied;
        for (const Object& object : objects) {
            CMibObject* pObject = pTable->Add(object.path);
            pObject->strName = object.pszName;
            pObject->strBaseType = object.pszBaseType;
            pObject->strRange = object.pszRange;
        }
        PublishMibTable(std::move(pTable));
    }
    ~CPublishedEntry() { PublishMibTable(nullptr); }
};

constexpr const char* kArpInstance = "ip.ipNetToMediaTable.ipNetToMediaEntry.ipNetToMediaPhysAddress.2.10.0.0.1";

TEST(TableLocator, TheLoadedModulesGiveTheEntrysIndex)
{
    const std::vector<UINT> kColumn = {1, 3, 6, 1, 2, 1, 4, 22, 1};
    auto column = [&](UINT nId) {
        std::vector<UINT> path = kColumn;
        path.push_back(nId);
        return path;
    };
    {
        const CPublishedEntry mibs({"ipNetToMediaIfIndex", "ipNetToMediaNetAddress"}, false,
                                   {{column(1), "ipNetToMediaIfIndex", "INTEGER"},
                                    {column(3), "ipNetToMediaNetAddress", "IpAddress"}});
        const std::optional<CTableRef> table = LocateTable(kArpInstance);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->m_index.size(), 2u);
        EXPECT_EQ(table->m_index[0].m_strName, "ipNetToMediaIfIndex");
        EXPECT_EQ(table->m_index[1].m_eKind, EIndexKind::IpAddress);
        EXPECT_EQ(DecodeInstance({2, 10, 0, 0, 1}, table->m_index), (std::vector<std::string>{"2", "10.0.0.1"}));
    }
    {
        // A fixed-size string, then an IMPLIED one defined outside the entry.
        const CPublishedEntry mibs({"tag", "owner"}, true,
                                   {{column(1), "tag", "OCTET STRING", "(SIZE (2))"},
                                    {{1, 3, 6, 1, 4, 1, 99999, 7}, "owner", "OCTET STRING"}});
        const std::optional<CTableRef> table = LocateTable(kArpInstance);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->m_index.size(), 2u);
        EXPECT_EQ(table->m_index[0].m_eKind, EIndexKind::FixedString);
        EXPECT_EQ(table->m_index[0].m_nFixedLength, 2u);
        EXPECT_EQ(table->m_index[1].m_eKind, EIndexKind::ImpliedString);
        EXPECT_EQ(DecodeInstance({'a', 'b', 'x', 'y', 'z'}, table->m_index),
                  (std::vector<std::string>{"\"ab\"", "\"xyz\""}));
    }
    // An index of a type no instance is read by, or one no module defines:
    // the raw suffix, not a wrong reading.
    for (const auto& [pszName, pszType] : {std::pair{"bits", "BITS"}, std::pair{"missing", ""}}) {
        const CPublishedEntry mibs({pszName}, false, {{column(1), "bits", pszType}});
        ASSERT_TRUE(LocateTable(kArpInstance));
        EXPECT_TRUE(LocateTable(kArpInstance)->m_index.empty()) << pszName;
    }
    EXPECT_TRUE(LocateTable(kArpInstance)->m_index.empty());  // nothing loaded
}

TEST(TableLocator, NodesOfNoTableFindNone)
{
    for (const char* pszNode : {"system", "system.sysDescr.0", "interfaces", "interfaces.ifNumber.0", "",
                                "no.such.name", ".1.3.6.1.4.1.99999.1.1.2.1",
                                // below a table but not through its entry
                                ".1.3.6.1.2.1.2.2.2"})
        EXPECT_FALSE(LocateTable(pszNode)) << pszNode;
}

} // namespace

// The lines of the "MIB Details" pane and the enumeration labels of values,
// from a vendor-like module.
#include "mib/MibDetails.h"
#include "platform/mibparse/MibParser.h"
#include "support/MibFiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class MibDetails : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<std::string> list = {m_files.Write("ACME-SWITCH-MIB.txt", CMibFiles::kVendorModule)};
        for (const QString& strName : QDir(QString::fromStdString(CMibFiles::BaseFolder())).entryList(QDir::Files))
            list.push_back(CMibFiles::BaseFolder() + "/" + strName.toStdString());
        m_pTable = CMibParser::Parse(list).pTable;
        ASSERT_TRUE(m_pTable);
    }

    std::string Line(const std::string& strOid, const std::string& strLabel) const
    {
        for (const auto& [strName, strText] : MibDetailsLines(*m_pTable, strOid))
            if (strName == strLabel)
                return strText;
        return "<none>";
    }

    CMibFiles m_files;
    std::shared_ptr<const CMibTable> m_pTable;
};

} // namespace

TEST_F(MibDetails, AnInstanceShowsItsObjectsDefinition)
{
    const std::string strOid = ".1.3.6.1.4.1.99999.1.1.1.3.12";
    EXPECT_EQ(Line(strOid, "Name"), "acmePortTemp.12");
    EXPECT_EQ(Line(strOid, "Module"), "ACME-SWITCH-MIB");
    EXPECT_EQ(Line(strOid, "OID"), strOid);
    EXPECT_EQ(Line(strOid, "Syntax"), "AcmeTenths (0..1000)");
    EXPECT_EQ(Line(strOid, "Display hint"), "d-1");
    EXPECT_EQ(Line(strOid, "Access"), "read-only");
    EXPECT_EQ(Line(strOid, "Status"), "current");
    EXPECT_EQ(Line(strOid, "Units"), "degrees Celsius");
    EXPECT_EQ(Line(strOid, "Description"), "The port's temperature.");
    EXPECT_EQ(Line(strOid, "Index"), "<none>");  // lines without a text are left out
}

TEST_F(MibDetails, EnumerationsIndexesAndDeprecation)
{
    EXPECT_EQ(Line(".1.3.6.1.4.1.99999.1.1.1.2.1", "Syntax"), "INTEGER { up(1), down(2), testing(3) }");
    EXPECT_EQ(Line(".1.3.6.1.4.1.99999.1.1.1", "Index"), "acmePortIndex");
    EXPECT_EQ(Line(".1.3.6.1.4.1.99999.1.1.1.5.3", "Status"), "deprecated");
    EXPECT_EQ(MibEnumLabel(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "2"), "down(2)");
    EXPECT_EQ(MibEnumLabel(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "9"), "");
    EXPECT_EQ(MibEnumLabel(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "2x"), "");
    EXPECT_EQ(MibEnumLabel(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.3.1", "2"), "");  // not enumerated

    // Back from a label to its number: only the exact text MibEnumLabel gives.
    EXPECT_EQ(MibEnumNumber(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "down(2)"), "2");
    EXPECT_EQ(MibEnumNumber(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "down(3)"), "");
    EXPECT_EQ(MibEnumNumber(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "down(2"), "");
    EXPECT_EQ(MibEnumNumber(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", "2"), "");
    EXPECT_EQ(MibEnumNumber(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.2.1", ""), "");
    EXPECT_EQ(MibEnumNumber(*m_pTable, ".1.3.6.1.4.1.99999.1.1.1.3.1", "down(2)"), "");
}

TEST_F(MibDetails, UnknownOrMalformedOidsGiveNothing)
{
    EXPECT_TRUE(MibDetailsLines(*m_pTable, ".1.3.6.1.4.1.12345.1").size() > 0);  // enterprises is named
    EXPECT_EQ(Line(".1.3.6.1.4.1.12345.1", "Name"), "enterprises.12345.1");
    EXPECT_TRUE(MibDetailsLines(*m_pTable, ".5.1").empty());
    EXPECT_TRUE(MibDetailsLines(*m_pTable, "").empty());
    EXPECT_TRUE(MibDetailsLines(*m_pTable, "1.3.6").empty());
    EXPECT_TRUE(MibDetailsLines(*m_pTable, ".1.3.x").empty());
}

// "orvex --walk --format": the finished tree as CSV and JSON, the same tree
// the default form prints, and the variables as net-snmp's snmpwalk lines.
#include "snmp/AppSettings.h"
#include "support/CsvReader.h"
#include "support/SnmpdEnvironment.h"
#include "support/TempXdg.h"
#include "support/WalkRun.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

[[maybe_unused]] auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

// A table whose values do not change between walks.
constexpr const char* kStaticTable = ".1.3.6.1.2.1.1.9";

std::string Walk(const char* pszFormat, int nExpectedExit = kExitDone)
{
    const CWalkResult result =
        ::Walk({"--base", kStaticTable, "--format", pszFormat, CSnmpdEnvironment::Agent().Address(), "public"});
    EXPECT_EQ(result.nExit, nExpectedExit) << pszFormat << ": " << result.strErr;
    return result.strOut;
}

// The default form's lines, label and cells without the escapes' trouble:
// the table's texts hold no TAB, line end or backslash.
std::vector<std::vector<std::string>> TreeLines(const std::string& strText)
{
    std::vector<std::vector<std::string>> lines;
    std::size_t nPos = 0;
    while (nPos < strText.size()) {
        const std::size_t nEnd = strText.find('\n', nPos);
        std::vector<std::string> fields;
        for (std::size_t nField = nPos, nTab; (nTab = strText.find('\t', nField)) < nEnd; nField = nTab + 1)
            fields.push_back(strText.substr(nField, nTab - nField));
        lines.push_back(fields);
        nPos = nEnd + 1;
    }
    return lines;
}

class WalkFormat : public testing::Test
{
protected:
    void SetUp() override { AppSettings.Reset(); }
    void TearDown() override { AppSettings.Reset(); }
    CTempXdg m_xdg;
};

TEST_F(WalkFormat, CsvAndJsonCarryTheTreeTheDefaultFormPrints)
{
    auto tree = TreeLines(Walk("tree"));
    ASSERT_GT(tree.size(), 10u);
    auto rows = ReadCsv(Walk("csv"));
    ASSERT_EQ(rows.size(), tree.size() + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Depth", "MIB", "Type", "Value", "OID"}));
    for (std::size_t i = 0; i < tree.size(); ++i)
        EXPECT_EQ(std::vector<std::string>(rows[i + 1].begin() + 1, rows[i + 1].end()), tree[i]) << "row " << i;

    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(Walk("json")));
    ASSERT_TRUE(doc.isArray());
    std::vector<std::vector<std::string>> nodes;
    std::function<void(const QJsonArray&)> collect = [&](const QJsonArray& array) {
        for (const QJsonValue& value : array) {
            const QJsonObject node = value.toObject();
            nodes.push_back({node["name"].toString().toStdString(), node["type"].toString().toStdString(),
                             node["value"].toString().toStdString(), node["oid"].toString().toStdString()});
            collect(node["children"].toArray());
        }
    };
    collect(doc.array());
    EXPECT_EQ(nodes, tree);
}

TEST_F(WalkFormat, SnmpwalkFormEqualsNetSnmpsOwn)
{
    std::string strNetSnmp;
    ASSERT_EQ(CSnmpdEnvironment::Agent().RunTool(
                  "snmpwalk", {"-v2c", "-c", "public", "-On", CSnmpdEnvironment::Agent().Address(), kStaticTable},
                  &strNetSnmp),
              0);
    EXPECT_EQ(Walk("snmpwalk"), strNetSnmp);
}

TEST_F(WalkFormat, AFormatOfTheOtherProgramIsAUsageError)
{
    Walk("records", kExitUsage);
}

} // namespace

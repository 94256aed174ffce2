// The tree export's texts: CSV a standard reader takes back, JSON a standard
// parser takes back, and texts that are no UTF-8 read as Latin-1.
#include "support/CsvReader.h"
#include "treelist/TreeExport.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct CNode
{
    int nDepth;
    std::string strLabel;
    std::vector<std::string> cells;
};

std::string Export(CTreeExport::EFormat eFormat, const std::vector<CNode>& nodes)
{
    std::string strOut;
    CTreeExport out(eFormat, {"Label", "A", "B"}, {"name", "a", "b"},
                    [&](std::string_view strText) { strOut += strText; });
    for (const CNode& node : nodes)
        out.Node(node.nDepth, node.strLabel, node.cells);
    out.Finish();
    return strOut;
}

std::string Latin1AsUtf8(const std::string& s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size())).toUtf8().toStdString();
}

// Pre-order with depths: two top nodes, the first three levels deep, texts
// that need CSV quoting and JSON escapes, an empty and a missing cell.
const std::vector<CNode> kTree = {
    {0, "top", {}},
    {1, "a, \"quoted\"", {"line\r\nend", "tab\there"}},
    {2, "deep", {"", "back\\slash"}},
    {1, "sibling", {"only one cell"}},
    {0, "second", {"x", "\x01 control"}},
};

std::vector<CNode> FromJson(const QJsonArray& nodes, int nDepth)
{
    std::vector<CNode> out;
    for (const QJsonValue& value : nodes) {
        const QJsonObject node = value.toObject();
        out.push_back({nDepth, node["name"].toString().toStdString(),
                       {node["a"].toString().toStdString(), node["b"].toString().toStdString()}});
        for (CNode& child : FromJson(node["children"].toArray(), nDepth + 1))
            out.push_back(std::move(child));
    }
    return out;
}

// What comes back: every node with exactly its two cells, missing ones empty.
std::vector<CNode> Padded(std::vector<CNode> nodes)
{
    for (CNode& node : nodes)
        node.cells.resize(2);
    return nodes;
}

bool operator==(const CNode& a, const CNode& b)
{
    return a.nDepth == b.nDepth && a.strLabel == b.strLabel && a.cells == b.cells;
}

TEST(TreeExport, CsvReadsBackAsTheNodesWithCrlfBetweenRecords)
{
    const std::string strCsv = Export(CTreeExport::efCsv, kTree);
    EXPECT_EQ(strCsv.substr(0, 16), "Depth,Label,A,B\r");
    const auto records = ReadCsv(strCsv);
    ASSERT_EQ(records.size(), kTree.size() + 1);
    std::vector<CNode> back;
    for (std::size_t i = 1; i < records.size(); ++i) {
        ASSERT_EQ(records[i].size(), 4u) << "record " << i;
        back.push_back({std::stoi(records[i][0]), records[i][1], {records[i][2], records[i][3]}});
    }
    EXPECT_EQ(back, Padded(kTree));
    // Fields without a comma, quote or line end stay bare.
    EXPECT_NE(strCsv.find("\r\n2,deep,,back\\slash\r\n"), std::string::npos);
}

TEST(TreeExport, JsonParsesBackAsTheTree)
{
    const std::string strJson = Export(CTreeExport::efJson, kTree);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(strJson), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << strJson;
    ASSERT_TRUE(doc.isArray());
    EXPECT_EQ(FromJson(doc.array(), 0), Padded(kTree));
    EXPECT_TRUE(doc.array()[1].toObject()["children"].toArray().isEmpty());
}

TEST(TreeExport, AnEmptyTreeIsAHeaderOrAnEmptyArray)
{
    EXPECT_EQ(ReadCsv(Export(CTreeExport::efCsv, {})).size(), 1u);
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(Export(CTreeExport::efJson, {})));
    EXPECT_TRUE(doc.isArray());
    EXPECT_TRUE(doc.array().isEmpty());
}

// A node given deeper than a child of the node before is taken as that
// child: the JSON stays well formed.
TEST(TreeExport, JsonTakesATooDeepNodeAsAChild)
{
    const std::string strJson = Export(CTreeExport::efJson, {{0, "top", {}}, {3, "far", {}}, {0, "next", {}}});
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(strJson));
    ASSERT_TRUE(doc.isArray()) << strJson;
    EXPECT_EQ(FromJson(doc.array(), 0), (Padded({{0, "top", {}}, {1, "far", {}}, {0, "next", {}}})));
}

TEST(TreeExport, TextsThatAreNoUtf8AreReadAsLatin1)
{
    const std::vector<std::string> kUtf8 = {"plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", ""};
    for (const std::string& s : kUtf8)
        EXPECT_EQ(CTreeExport::ToUtf8(s), s);
    // A lone high byte, a cut sequence, an overlong form, a surrogate, a code past U+10FFFF.
    const std::vector<std::string> kNotUtf8 = {"caf\xE9", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80",
                                               "\xF4\x90\x80\x80", "ok \x80"};
    for (const std::string& s : kNotUtf8)
        EXPECT_EQ(CTreeExport::ToUtf8(s), Latin1AsUtf8(s)) << s;

    const std::vector<CNode> tree = {{0, "caf\xE9", {"\xFF\xFE", "fine"}}};
    const auto records = ReadCsv(Export(CTreeExport::efCsv, tree));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1][1], Latin1AsUtf8("caf\xE9"));
    EXPECT_EQ(records[1][2], Latin1AsUtf8("\xFF\xFE"));
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(Export(CTreeExport::efJson, tree)));
    EXPECT_EQ(doc.array()[0].toObject()["name"].toString(), QString::fromLatin1("caf\xE9"));
}

TEST(TreeExport, TheFormatFollowsTheExtensionInAnyCase)
{
    CTreeExport::EFormat eFormat = CTreeExport::efJson;
    EXPECT_TRUE(CTreeExport::FormatOfFileName("/tmp/a.CSV", eFormat));
    EXPECT_EQ(eFormat, CTreeExport::efCsv);
    EXPECT_TRUE(CTreeExport::FormatOfFileName("tree.Json", eFormat));
    EXPECT_EQ(eFormat, CTreeExport::efJson);
    for (const char* pszName : {"tree.txt", "csv", "tree.json.bak", "", ".jso"})
        EXPECT_FALSE(CTreeExport::FormatOfFileName(pszName, eFormat)) << pszName;
}

} // namespace

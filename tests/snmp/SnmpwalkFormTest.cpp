// The walker's other output forms, run as a program: net-snmp's snmpwalk
// lines compared with snmpwalk itself, and the tree as CSV and JSON read back.
#include "support/CsvReader.h"
#include "support/FakeAgent.h"
#include "support/SnmpdFixture.h"
#include "support/TempXdg.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <map>

namespace {

std::string RunWalker(const QStringList& args, int* pnExit = nullptr)
{
    const QString strTool = QCoreApplication::applicationDirPath() + "/../tools/orvex-walk/orvex-walk";
    if (!QFileInfo(strTool).isExecutable()) {
        ADD_FAILURE() << "no " << strTool.toStdString();
        return {};
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(strTool, args);
    process.waitForFinished(60000);
    if (pnExit)
        *pnExit = process.exitCode();
    return process.readAllStandardOutput().toStdString();
}

// One variable of the snmpwalk form: its first line's OID and everything after
// " = " up to the next variable (a long Hex-STRING or a text goes on over lines).
struct CVariable
{
    std::string strOid, strValue;
    std::string TypeWord() const
    {
        const std::size_t nColon = strValue.find(": ");
        return nColon == std::string::npos ? strValue : strValue.substr(0, nColon);
    }
};

std::vector<CVariable> Variables(const std::string& strText)
{
    std::vector<CVariable> variables;
    std::size_t nPos = 0;
    while (nPos < strText.size()) {
        std::size_t nEnd = strText.find('\n', nPos);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        const std::string strLine = strText.substr(nPos, nEnd - nPos);
        const std::size_t nEquals = strLine.find(" = ");
        if (!strLine.empty() && strLine[0] == '.' && nEquals != std::string::npos
            && strLine.find_first_not_of(".0123456789") == nEquals)
            variables.push_back({strLine.substr(0, nEquals), strLine.substr(nEquals + 3)});
        else if (!variables.empty())
            variables.back().strValue += "\n" + strLine;
        nPos = nEnd + 1;
    }
    return variables;
}

// snmpwalk's variables; the line it closes a walk with at the end of the
// agent's MIB view is no variable, and the walk gives no record for it.
std::vector<CVariable> NetSnmpWalk(const CSnmpdFixture& agent, const std::string& strAddress)
{
    std::string strOut;
    agent.RunTool("snmpwalk", {"-v2c", "-c", "public", "-On", "-t", "2", "-r", "1", strAddress, ".1.3"}, &strOut);
    std::vector<CVariable> variables = Variables(strOut);
    if (!variables.empty() && variables.back().TypeWord().starts_with("No more variables left in this MIB View"))
        variables.pop_back();
    return variables;
}

std::vector<CVariable> OurWalk(const std::string& strAddress)
{
    return Variables(RunWalker({"--version", "2c", "--base", ".1.3", "--timeout", "2", "--retries", "1",
                                "--format", "snmpwalk", QString::fromStdString(strAddress), "public"}));
}

// Without the host-wide tables whose rows come and go while tests run: the
// processes, the sockets (each walker's own among them), the installed software.
std::vector<CVariable> WithoutLiveRows(std::vector<CVariable> variables)
{
    static const char* const kLive[] = {".1.3.6.1.2.1.25.4.", ".1.3.6.1.2.1.25.5.", ".1.3.6.1.2.1.25.6.3.",
                                        ".1.3.6.1.2.1.6.13.", ".1.3.6.1.2.1.6.19.", ".1.3.6.1.2.1.6.20.",
                                        ".1.3.6.1.2.1.7.5.",  ".1.3.6.1.2.1.7.7."};
    std::erase_if(variables, [](const CVariable& v) {
        return std::any_of(std::begin(kLive), std::end(kLive), [&](const char* p) { return v.strOid.rfind(p, 0) == 0; });
    });
    return variables;
}

// Line for line, every variable that is the same in two walks of net-snmp's
// on either side of ours: whatever is stable must match exactly; OIDs and
// type words must match for all. The agent's cache states can expire and be
// filled again between the walks, so equal values around ours prove nothing.
void ExpectSameWalk(const CSnmpdFixture& agent, const std::string& strAddress)
{
    const std::string kCacheStatus = ".1.3.6.1.4.1.8072.1.5.3.1.3.";
    const std::vector<CVariable> before = WithoutLiveRows(NetSnmpWalk(agent, strAddress));
    const std::vector<CVariable> ours = WithoutLiveRows(OurWalk(strAddress));
    const std::vector<CVariable> after = WithoutLiveRows(NetSnmpWalk(agent, strAddress));
    ASSERT_FALSE(ours.empty());
    ASSERT_EQ(before.size(), after.size());
    ASSERT_EQ(ours.size(), before.size());
    std::size_t nStable = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        ASSERT_EQ(ours[i].strOid, before[i].strOid) << "variable " << i;
        EXPECT_EQ(ours[i].TypeWord(), before[i].TypeWord()) << ours[i].strOid;
        if (before[i].strValue == after[i].strValue && ours[i].strOid.rfind(kCacheStatus, 0) != 0) {
            ++nStable;
            EXPECT_EQ(ours[i].strValue, before[i].strValue) << ours[i].strOid;
        }
    }
    EXPECT_GT(nStable, ours.size() / 2);
}

TEST(SnmpwalkForm, EqualsNetSnmpsWalkOfSnmpd)
{
    CTempXdg xdg;
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    ExpectSameWalk(agent, agent.Address());
}

// Values snmpd does not serve: the rules for choosing STRING or Hex-STRING,
// empty texts, long hex, every number type, addresses, OIDs, Opaque numbers.
TEST(SnmpwalkForm, EqualsNetSnmpsWalkForEveryKindOfValue)
{
    using A = CFakeAgent;
    const std::vector<A::CVar> table = {
        A::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "plain text"),
        A::Bytes(".1.3.6.1.2.1.1.2.0", 0x06, ""),
        A::Bytes(".1.3.6.1.2.1.1.4.0", 0x04, ""),
        A::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, std::string("nul\0inside", 10)),
        A::Bytes(".1.3.6.1.2.1.1.6.0", 0x04, "tab\tand\nline \"quoted\""),
        A::Bytes(".1.3.6.1.2.1.1.7.0", 0x04, std::string("\x01\x02\xFF\xFE\x80 long hex that runs over lines", 36)),
        A::Bytes(".1.3.6.1.2.1.1.8.0", 0x04, "caf\xE9"),
        A::Number(".1.3.6.1.2.1.2.1.0", 0x02, -42),
        A::Number(".1.3.6.1.2.1.2.2.1.1.1", 0x41, 4294967295LL),
        A::Number(".1.3.6.1.2.1.2.2.1.1.2", 0x42, 7),
        A::Number(".1.3.6.1.2.1.2.2.1.1.3", 0x43, 12345),
        A::Number(".1.3.6.1.2.1.2.2.1.1.4", 0x43, 987654321),
        A::Number(".1.3.6.1.2.1.2.2.1.1.5", 0x46, 1234567890123LL),
        A::Number(".1.3.6.1.2.1.2.2.1.1.6", 0x47, 3000000000LL),
        A::Bytes(".1.3.6.1.2.1.4.20.1.1.1", 0x40, std::string("\x0A\x00\x00\x01", 4)),
        A::Bytes(".1.3.6.1.2.1.4.20.1.1.2", 0x44, std::string("\x9F\x78\x04\x3F\xC0\x00\x00", 7)),
        A::Bytes(".1.3.6.1.2.1.4.20.1.1.3", 0x44, std::string("\x01\x02", 2)),
        A::Bytes(".1.3.6.1.2.1.4.20.1.1.4", 0x03, std::string("\xA0\x01", 2)),
    };
    A::CVar oid = A::Tag(".1.3.6.1.2.1.4.20.1.1.5", 0x06);
    oid.object = {1, 3, 6, 1, 4, 1, 8072, 3, 2, 10};
    std::vector<A::CVar> all = table;
    all.push_back(oid);
    CFakeAgent fake([all](const A::CRequest& request, std::size_t) { return A::NextFrom(all, request); });
    CTempXdg xdg;
    CSnmpdFixture tools;  // only its isolated tools are used
    ASSERT_TRUE(tools.IsRunning()) << tools.Error();
    ExpectSameWalk(tools, fake.Address());
}

// --- The tree forms ----------------------------------------------------------------

// One variable as the records form prints it: OID, name, type, value.
struct CRecordLine
{
    std::string strOid, strName, strType, strValue;
    bool operator==(const CRecordLine&) const = default;
};

std::string Unescaped(const std::string& strField)
{
    std::string strOut;
    for (std::size_t i = 0; i < strField.size(); ++i) {
        if (strField[i] != '\\' || i + 1 == strField.size()) {
            strOut += strField[i];
            continue;
        }
        const char c = strField[++i];
        strOut += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return strOut;
}

std::vector<CRecordLine> Records(const std::string& strText)
{
    std::vector<CRecordLine> records;
    std::size_t nPos = 0;
    while (nPos < strText.size()) {
        const std::size_t nEnd = strText.find('\n', nPos);
        std::vector<std::string> fields;
        std::size_t nField = nPos;
        for (std::size_t nTab; (nTab = strText.find('\t', nField)) < nEnd; nField = nTab + 1)
            fields.push_back(Unescaped(strText.substr(nField, nTab - nField)));
        fields.push_back(Unescaped(strText.substr(nField, nEnd - nField)));
        if (fields.size() == 4)
            records.push_back({fields[0], fields[1], fields[2], fields[3]});
        nPos = nEnd + 1;
    }
    return records;
}

// A text as the tree forms carry it: UTF-8 stays, anything else is read as Latin-1.
std::string AsTreeFormText(const std::string& s)
{
    const QByteArray bytes = QByteArray::fromStdString(s);
    if (QString::fromUtf8(bytes).toUtf8() == bytes)
        return s;
    return QString::fromLatin1(bytes).toUtf8().toStdString();
}

class WalkerTreeForms : public testing::Test
{
protected:
    WalkerTreeForms()
        : m_agent([this](const CFakeAgent::CRequest& request, std::size_t) {
              return CFakeAgent::NextFrom(m_table, request);
          })
    {
    }
    std::string Walk(const char* pszFormat)
    {
        int nExit = -1;
        const std::string strOut = RunWalker({"--format", pszFormat, "--timeout", "2", "--retries", "0",
                                              QString::fromStdString(m_agent.Address()), "public"},
                                             &nExit);
        EXPECT_EQ(nExit, 0) << pszFormat;
        return strOut;
    }
    // The records with their values as the tree forms carry them.
    std::vector<CRecordLine> Expected()
    {
        std::vector<CRecordLine> records = Records(Walk("records"));
        for (CRecordLine& record : records)
            record.strValue = AsTreeFormText(record.strValue);
        return records;
    }

    CTempXdg m_xdg;
    const std::vector<CFakeAgent::CVar> m_table = {
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "comma, \"quotes\"\r\nand a line end"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.4.0", 0x04, ""),
        CFakeAgent::Bytes(".1.3.6.1.2.1.1.5.0", 0x04, "byte \x80 is no UTF-8"),
        CFakeAgent::Number(".1.3.6.1.2.1.1.7.0", 0x02, 72),
        CFakeAgent::Bytes(".1.3.6.1.2.1.2.2.1.2.1", 0x04, "eth0"),
        CFakeAgent::Bytes(".1.3.6.1.2.1.2.2.1.2.2", 0x04, "eth1"),
        CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.3.1", 0x02, 6),
    };
    CFakeAgent m_agent;
};

// Every variable from the rebuilt tree: its path of labels, type, value, OID;
// inner nodes carry no cells.
TEST_F(WalkerTreeForms, CsvRebuildsTheTreeOfTheRecords)
{
    const std::vector<CRecordLine> expected = Expected();
    ASSERT_EQ(expected.size(), m_table.size());
    const auto rows = ReadCsv(Walk("csv"));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Depth", "MIB", "Type", "Value", "OID"}));
    std::vector<std::string> path;
    std::vector<CRecordLine> rebuilt;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 5u) << "row " << i;
        const std::size_t nDepth = std::stoul(rows[i][0]);
        ASSERT_LE(nDepth, path.size()) << "row " << i << " is deeper than a child of the row before";
        path.resize(nDepth);
        path.push_back(rows[i][1]);
        if (rows[i][4].empty()) {
            EXPECT_EQ(rows[i][2] + rows[i][3], "") << "inner node " << rows[i][1];
            continue;
        }
        std::string strName;
        for (const std::string& strLabel : path)
            strName += (strName.empty() ? "" : ".") + strLabel;
        rebuilt.push_back({rows[i][4], strName, rows[i][2], rows[i][3]});
    }
    EXPECT_EQ(rebuilt, expected);
}

void CollectJson(const QJsonArray& nodes, const std::string& strPath, std::vector<CRecordLine>& out)
{
    for (const QJsonValue& value : nodes) {
        const QJsonObject node = value.toObject();
        EXPECT_EQ(node.keys(), (QStringList{"children", "name", "oid", "type", "value"}));
        const std::string strName = strPath + node["name"].toString().toStdString();
        if (!node["oid"].toString().isEmpty())
            out.push_back({node["oid"].toString().toStdString(), strName, node["type"].toString().toStdString(),
                           node["value"].toString().toStdString()});
        CollectJson(node["children"].toArray(), strName + ".", out);
    }
}

TEST_F(WalkerTreeForms, JsonGivesTheTreeOfTheRecords)
{
    const std::vector<CRecordLine> expected = Expected();
    const std::string strJson = Walk("json");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(strJson), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << strJson;
    ASSERT_TRUE(doc.isArray());
    std::vector<CRecordLine> rebuilt;
    CollectJson(doc.array(), "", rebuilt);
    EXPECT_EQ(rebuilt, expected);
}

TEST(WalkerFormats, AnUnknownFormatIsAUsageError)
{
    CTempXdg xdg;
    int nExit = -1;
    RunWalker({"--format", "tree", "127.0.0.1:1", "public"}, &nExit);
    EXPECT_EQ(nExit, 2);
}

} // namespace

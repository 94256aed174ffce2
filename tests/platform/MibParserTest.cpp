// net-snmp's MIB parser behind CMibParser: what a module set gives as a table,
// what faulty files give as problems, and how loaded names join the built-in ones.
#include "platform/mibparse/MibParser.h"
#include "platform/snmpmgr/BuiltinMib.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include "support/MibFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cctype>
#include <cstdio>
#include <random>

namespace {

std::vector<std::string> BaseFiles()
{
    std::vector<std::string> files;
    for (const QString& strName : QDir(QString::fromStdString(CMibFiles::BaseFolder())).entryList(QDir::Files))
        files.push_back(CMibFiles::BaseFolder() + "/" + strName.toStdString());
    return files;
}

std::vector<UINT> Ids(const std::string& strDotted)
{
    std::vector<UINT> ids;
    for (size_t nPos = 1; nPos <= strDotted.size();) {
        const size_t nDot = std::min(strDotted.find('.', nPos), strDotted.size());
        ids.push_back(static_cast<UINT>(std::stoul(strDotted.substr(nPos, nDot - nPos))));
        nPos = nDot + 1;
    }
    return ids;
}

const CMibObject* ObjectAt(const CMibTable& table, const std::string& strOid)
{
    const std::vector<UINT> ids = Ids(strOid);
    UINT nDepth = 0;
    const CMibObject* pObject = table.Find(ids.data(), static_cast<UINT>(ids.size()), &nDepth);
    return nDepth == ids.size() ? pObject : nullptr;
}

std::string NameOf(const std::string& strOid)
{
    std::vector<UINT> ids = Ids(strOid);
    AsnObjectIdentifier oid{static_cast<UINT>(ids.size()), ids.data()};
    char* pszText = nullptr;
    if (!SnmpMgrOidToStr(&oid, &pszText))
        return "";
    std::string strText(pszText);
    SnmpUtilMemFree(pszText);
    return strText;
}

bool HasProblemIn(const CMibParseResult& result, const std::string& strFile, int nLine = -1)
{
    return std::any_of(result.problems.begin(), result.problems.end(), [&](const CMibProblem& problem) {
        return problem.strFile == strFile && (nLine < 0 || problem.nLine == nLine);
    });
}

bool Loaded(const CMibParseResult& result, const std::string& strModule)
{
    return std::any_of(result.loaded.begin(), result.loaded.end(),
                       [&](const CMibModuleInfo& module) { return module.strName == strModule; });
}

// Publishes a table for one test and takes it back.
class CPublished
{
public:
    explicit CPublished(std::shared_ptr<const CMibTable> pTable) { PublishMibTable(std::move(pTable)); }
    ~CPublished() { PublishMibTable(nullptr); }
};

} // namespace

TEST(MibParser, VendorModuleGivesNamesDefinitionsAndEnumerationLabels)
{
    CMibFiles files;
    std::vector<std::string> list = {files.Write("ACME-SWITCH-MIB.txt", CMibFiles::kVendorModule)};
    for (const std::string& strBase : BaseFiles())
        list.push_back(strBase);
    const CMibParseResult result = CMibParser::Parse(list);
    for (const CMibProblem& problem : result.problems)
        ADD_FAILURE() << problem.strFile << ":" << problem.nLine << ": " << problem.strText;
    ASSERT_TRUE(Loaded(result, "ACME-SWITCH-MIB"));
    ASSERT_TRUE(result.pTable);
    const CMibTable& table = *result.pTable;

    const CMibObject* pEntry = ObjectAt(table, ".1.3.6.1.4.1.99999.1.1.1");
    ASSERT_TRUE(pEntry);
    EXPECT_EQ(pEntry->strName, "acmePortEntry");
    EXPECT_EQ(pEntry->indexes, std::vector<std::string>{"acmePortIndex"});
    EXPECT_FALSE(pEntry->bImpliedIndex);
    EXPECT_EQ(pEntry->strAccess, "not-accessible");

    const CMibObject* pState = ObjectAt(table, ".1.3.6.1.4.1.99999.1.1.1.2");
    ASSERT_TRUE(pState);
    EXPECT_EQ(pState->strModule, "ACME-SWITCH-MIB");
    EXPECT_EQ(pState->strSyntax, "INTEGER");
    EXPECT_EQ(pState->strAccess, "read-write");
    EXPECT_EQ(pState->EnumLabel(1), "up(1)");
    EXPECT_EQ(pState->EnumLabel(3), "testing(3)");
    EXPECT_EQ(pState->EnumLabel(4), "");
    ASSERT_EQ(pState->enums.size(), 3u);
    EXPECT_EQ(pState->enums.front().second, "up");  // in definition order

    const CMibObject* pTemp = ObjectAt(table, ".1.3.6.1.4.1.99999.1.1.1.3");
    ASSERT_TRUE(pTemp);
    EXPECT_EQ(pTemp->strSyntax, "AcmeTenths");
    EXPECT_EQ(pTemp->strBaseType, "Integer32");  // beneath AcmeTenths
    EXPECT_EQ(pTemp->strHint, "d-1");
    EXPECT_EQ(pTemp->strRange, "(0..1000)");
    EXPECT_EQ(pTemp->strUnits, "degrees Celsius");
    EXPECT_EQ(pTemp->strDescription, "The port's temperature.");

    const CMibObject* pName = ObjectAt(table, ".1.3.6.1.4.1.99999.1.1.1.4");
    ASSERT_TRUE(pName);
    EXPECT_EQ(pName->strSyntax, "DisplayString");
    EXPECT_EQ(pName->strHint, "255a");
    EXPECT_EQ(pName->strRange, "(SIZE (0..255))");

    const CMibObject* pErrors = ObjectAt(table, ".1.3.6.1.4.1.99999.1.1.1.5");
    ASSERT_TRUE(pErrors);
    EXPECT_EQ(pErrors->strStatus, "deprecated");
    EXPECT_EQ(pErrors->strSyntax, "Counter32");
    EXPECT_EQ(CMibTable::OidText(pErrors), ".1.3.6.1.4.1.99999.1.1.1.5");

    // Instances below a known object: the deepest object on the path.
    const std::vector<UINT> instance = Ids(".1.3.6.1.4.1.99999.1.1.1.2.7");
    UINT nDepth = 0;
    EXPECT_EQ(table.Find(instance.data(), static_cast<UINT>(instance.size()), &nDepth), pState);
    EXPECT_EQ(nDepth, instance.size() - 1);

    const CPublished published(result.pTable);
    EXPECT_EQ(NameOf(".1.3.6.1.4.1.99999.1.1.1.2.7"), "private.enterprises.acmeSwitch.acmePorts.acmePortTable."
                                                       "acmePortEntry.acmePortState.7");
}

TEST(MibParser, BuiltinNamesWinAndUnknownComponentsStayNumbers)
{
    CMibFiles files;
    // A module that renames what the built-in MIB names, and names more.
    const std::string strOther = files.Write("OTHER-MIB.txt", R"(OTHER-MIB DEFINITIONS ::= BEGIN
IMPORTS mib-2, enterprises FROM SNMPv2-SMI;
otherSystem OBJECT IDENTIFIER ::= { mib-2 1 }
otherGroup  OBJECT IDENTIFIER ::= { mib-2 9999 }
otherLeaf   OBJECT IDENTIFIER ::= { otherGroup 3 }
otherVendor OBJECT IDENTIFIER ::= { enterprises 424242 }
END
)");
    std::vector<std::string> list = {strOther};
    for (const std::string& strBase : BaseFiles())
        list.push_back(strBase);
    const CPublished published(CMibParser::Parse(list).pTable);
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.1.1.0"), "system.sysDescr.0");
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.9999.3.4"), "otherGroup.otherLeaf.4");
    EXPECT_EQ(NameOf(".1.3.6.1.2.1.9998.3"), "9998.3");
    EXPECT_EQ(NameOf(".1.3.6.1.4.1.424242.1"), "private.enterprises.otherVendor.1");
    EXPECT_EQ(NameOf(".1.3.6.1.4.1.2021.4.5.0"), "private.enterprises.2021.4.5.0");  // UCD-SNMP-MIB not given
    EXPECT_EQ(NameOf(".1.0.8802"), ".iso.0.8802");
}

TEST(MibParser, EveryBaseModuleLoadsAndAgreesWithTheBuiltinNames)
{
    const CMibParseResult result = CMibParser::Parse(BaseFiles());
    for (const CMibProblem& problem : result.problems)
        ADD_FAILURE() << problem.strFile << ":" << problem.nLine << ": " << problem.strText;
    for (const char* pszModule : {"SNMPv2-SMI", "SNMPv2-TC", "SNMPv2-CONF", "RFC1213-MIB", "HCNUM-TC", "INET-ADDRESS-MIB",
                                  "SNMP-FRAMEWORK-MIB", "SNMP-VIEW-BASED-ACM-MIB", "IANAifType-MIB"})
        EXPECT_TRUE(Loaded(result, pszModule)) << pszModule;
    ASSERT_TRUE(result.pTable);
    // Every named node of the base modules has the built-in MIB's name where
    // that has one for the same OID.
    size_t nCompared = 0;
    std::vector<std::pair<const CMibObject*, std::vector<UINT>>> stack{{result.pTable->Root(), {}}};
    while (!stack.empty()) {
        auto [pObject, path] = stack.back();
        stack.pop_back();
        for (const auto& [nId, pChild] : pObject->children) {
            std::vector<UINT> childPath = path;
            childPath.push_back(nId);
            stack.push_back({pChild, childPath});
            std::string strBuiltin;
            CBuiltinMib::Instance().ToText(childPath.data(), static_cast<UINT>(childPath.size()), &strBuiltin);
            const std::string strLast = strBuiltin.substr(strBuiltin.rfind('.') + 1);
            if (strLast.empty() || std::isdigit(static_cast<unsigned char>(strLast.front())))
                continue;  // the built-in MIB has no name here
            EXPECT_EQ(pChild->strName, strLast) << CMibTable::OidText(pChild);
            ++nCompared;
        }
    }
    EXPECT_GE(nCompared, 20u);
}

TEST(MibParser, EachBrokenFileIsReportedWithItsFileAndTheOthersStillLoad)
{
    CMibFiles files;
    const std::string strVendor = files.Write("ACME-SWITCH-MIB.txt", CMibFiles::kVendorModule);
    const std::string strSyntax = files.Write("SYNTAX.txt", "SYNTAX-BAD-MIB DEFINITIONS ::= BEGIN\n"
                                                             "IMPORTS enterprises, OBJECT-TYPE FROM SNMPv2-SMI;\n"
                                                             "synBad OBJECT IDENTIFIER ::= { enterprises 99998 }\n"
                                                             "synObj OBJECT-TYPE\n"
                                                             "    SYNTAX INTEGER {\n"
                                                             "    MAX-ACCESS read-only\n"
                                                             "    ::= { synBad 1 }\n"
                                                             "END\n");
    const std::string strMissing = files.Write("MISSING.txt", "MISSING-IMPORT-MIB DEFINITIONS ::= BEGIN\n"
                                                               "IMPORTS fooBar FROM NO-SUCH-MIB;\n"
                                                               "missObj OBJECT IDENTIFIER ::= { fooBar 1 }\n"
                                                               "END\n");
    const std::string strLoopA = files.Write("LOOPA.txt", "LOOP-A-MIB DEFINITIONS ::= BEGIN\n"
                                                           "IMPORTS loopB FROM LOOP-B-MIB;\n"
                                                           "loopA OBJECT IDENTIFIER ::= { loopB 1 }\nEND\n");
    const std::string strLoopB = files.Write("LOOPB.txt", "LOOP-B-MIB DEFINITIONS ::= BEGIN\n"
                                                           "IMPORTS loopA FROM LOOP-A-MIB;\n"
                                                           "loopB OBJECT IDENTIFIER ::= { loopA 1 }\nEND\n");
    std::string strJunk(20000, '\0');
    std::mt19937 random(7);
    for (char& c : strJunk)
        c = static_cast<char>(random());
    const std::string strBinary = files.Write("junk.bin", strJunk);
    const std::string strJunkModule = files.Write("JUNK.txt", "JUNK-MIB DEFINITIONS ::= BEGIN\n" + strJunk);
    // 50 MB: a sparse file, so the test does not write it all.
    const std::string strHuge = files.Write("HUGE-MIB.txt", "HUGE-MIB DEFINITIONS ::= BEGIN\n");
    std::filesystem::resize_file(strHuge, 50u << 20);
    const std::string strGone = files.Folder() + "/GONE.txt";

    std::vector<std::string> list = {strSyntax, strMissing, strLoopA, strLoopB, strBinary,
                                      strJunkModule, strHuge, strGone, strVendor};
    for (const std::string& strBase : BaseFiles())
        list.push_back(strBase);
    const CMibParseResult result = CMibParser::Parse(list);

    EXPECT_TRUE(HasProblemIn(result, strSyntax, 7));
    EXPECT_TRUE(HasProblemIn(result, strMissing, 2));
    EXPECT_TRUE(HasProblemIn(result, strLoopA));
    EXPECT_TRUE(HasProblemIn(result, strLoopB));
    EXPECT_TRUE(HasProblemIn(result, strBinary, 1));
    EXPECT_TRUE(HasProblemIn(result, strJunkModule));
    EXPECT_TRUE(HasProblemIn(result, strHuge, 0));
    EXPECT_TRUE(HasProblemIn(result, strGone, 0));
    for (const char* pszFailed : {"SYNTAX-BAD-MIB", "MISSING-IMPORT-MIB", "LOOP-A-MIB", "HUGE-MIB"})
        EXPECT_FALSE(Loaded(result, pszFailed)) << pszFailed;
    EXPECT_TRUE(Loaded(result, "ACME-SWITCH-MIB"));
    EXPECT_FALSE(HasProblemIn(result, strVendor));
    ASSERT_TRUE(result.pTable);
    EXPECT_TRUE(ObjectAt(*result.pTable, ".1.3.6.1.4.1.99999.1.1.1.2"));
}

TEST(MibParser, TheFileGivenFirstWinsForAModuleName)
{
    CMibFiles files;
    const char* pszText = "TWIN-MIB DEFINITIONS ::= BEGIN\n"
                          "IMPORTS enterprises FROM SNMPv2-SMI;\n"
                          "%s OBJECT IDENTIFIER ::= { enterprises 77777 }\nEND\n";
    char szFirst[256], szSecond[256];
    std::snprintf(szFirst, sizeof szFirst, pszText, "twinFirst");
    std::snprintf(szSecond, sizeof szSecond, pszText, "twinSecond");
    const std::string strFirst = files.Write("a/TWIN-MIB.txt", szFirst);
    const std::string strSecond = files.Write("b/TWIN-MIB.txt", szSecond);
    std::vector<std::string> list = {strFirst, strSecond};
    for (const std::string& strBase : BaseFiles())
        list.push_back(strBase);
    const CMibParseResult result = CMibParser::Parse(list);
    ASSERT_TRUE(result.pTable);
    const CMibObject* pTwin = ObjectAt(*result.pTable, ".1.3.6.1.4.1.77777");
    ASSERT_TRUE(pTwin);
    EXPECT_EQ(pTwin->strName, "twinFirst");
    const auto it = std::find_if(result.loaded.begin(), result.loaded.end(),
                                 [](const CMibModuleInfo& m) { return m.strName == "TWIN-MIB"; });
    ASSERT_NE(it, result.loaded.end());
    EXPECT_EQ(it->strFile, strFirst);
}

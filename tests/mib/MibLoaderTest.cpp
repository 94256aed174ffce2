// Module sets from a MIB path: which files, in which order, and the table a
// load puts in place for every name the interface writes.
#include "mib/MibLoader.h"
#include "mib/MibPath.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include "support/MibFiles.h"
#include "support/TempXdg.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string NameOf(std::vector<UINT> ids)
{
    AsnObjectIdentifier oid{static_cast<UINT>(ids.size()), ids.data()};
    char* pszText = nullptr;
    if (!SnmpMgrOidToStr(&oid, &pszText))
        return "";
    std::string strText(pszText);
    SnmpUtilMemFree(pszText);
    return strText;
}

std::string TwinModule(const char* pszName)
{
    return std::string("TWIN-MIB DEFINITIONS ::= BEGIN\nIMPORTS enterprises FROM SNMPv2-SMI;\n") + pszName +
           " OBJECT IDENTIFIER ::= { enterprises 77777 }\nEND\n";
}

class MibLoader : public ::testing::Test
{
protected:
    void TearDown() override { UnloadMibModules(); }
    CTempXdg m_xdg;
};

} // namespace

TEST_F(MibLoader, FilesComeInPathOrderFoldersBeforeSubfoldersBaseLast)
{
    CMibFiles files;
    const std::string a2 = files.Write("one/B.txt", "x"), a1 = files.Write("one/A.txt", "x");
    const std::string sub = files.Write("one/sub/C.txt", "x");
    files.Write("one/.hidden", "x");
    const std::string b1 = files.Write("two/inner/D.txt", "x");
    const std::string single = files.Write("loose/E.mib", "x");
    const std::string base = files.Write("base/SNMPv2-SMI.txt", "x");
    const std::string strPath = files.Folder() + "/one:" + files.Folder() + "/missing::" + files.Folder() +
                                "/two/*:" + single;
    EXPECT_EQ(MibPath::Files(strPath, files.Folder() + "/base"),
              (std::vector<std::string>{a1, a2, sub, b1, single, base}));
}

TEST_F(MibLoader, DataHomeStandsForTheUsersDataFolder)
{
    CMibFiles files;
    const std::string strUser = m_xdg.DataDir().toStdString() + "/orvex/mibs";
    EXPECT_EQ(MibPath::UserFolder(), strUser);
    std::string strError;
    ASSERT_TRUE(MibPath::CopyToUserFolder(files.Write("ACME-SWITCH-MIB.txt", CMibFiles::kVendorModule), &strError))
        << strError;
    EXPECT_EQ(MibPath::Files("$XDG_DATA_HOME/orvex/mibs", ""),
              std::vector<std::string>{strUser + "/ACME-SWITCH-MIB.txt"});
    EXPECT_FALSE(MibPath::CopyToUserFolder(files.Folder() + "/none.txt", &strError));
    EXPECT_FALSE(strError.empty());
}

TEST_F(MibLoader, DebianModulesNameTheUcdObjectsAndUnloadingTakesTheNamesBack)
{
    const std::vector<UINT> memTotalReal = {1, 3, 6, 1, 4, 1, 2021, 4, 5, 0};
    const std::vector<UINT> laLoad = {1, 3, 6, 1, 4, 1, 2021, 10, 1, 3, 1};
    EXPECT_EQ(NameOf(memTotalReal), "private.enterprises.2021.4.5.0");

    const CMibLoadReport report = LoadMibModules(CMibFiles::kSystemFolder, CMibFiles::BaseFolder());
    for (const CMibProblem& problem : report.problems)
        ADD_FAILURE() << problem.strFile << ":" << problem.nLine << ": " << problem.strText;
    EXPECT_TRUE(std::any_of(report.loaded.begin(), report.loaded.end(), [](const CMibModuleInfo& module) {
        return module.strName == "UCD-SNMP-MIB" && module.strFile == std::string(CMibFiles::kSystemFolder) +
                                                                        "/UCD-SNMP-MIB.txt";
    }));
    EXPECT_EQ(NameOf(memTotalReal), "private.enterprises.ucdavis.memory.memTotalReal.0");
    EXPECT_EQ(NameOf(laLoad), "private.enterprises.ucdavis.laTable.laEntry.laLoad.1");
    EXPECT_EQ(NameOf({1, 3, 6, 1, 2, 1, 1, 1, 0}), "system.sysDescr.0");
    EXPECT_EQ(LastMibLoadReport().loaded.size(), report.loaded.size());

    UnloadMibModules();
    EXPECT_EQ(NameOf(memTotalReal), "private.enterprises.2021.4.5.0");
    EXPECT_TRUE(LastMibLoadReport().loaded.empty());
}

TEST_F(MibLoader, TheEarlierFolderInThePathWins)
{
    CMibFiles files;
    files.Write("first/TWIN-MIB.txt", TwinModule("twinFirst"));
    files.Write("second/TWIN-MIB.txt", TwinModule("twinSecond"));
    LoadMibModules(files.Folder() + "/first:" + files.Folder() + "/second", CMibFiles::BaseFolder());
    EXPECT_EQ(NameOf({1, 3, 6, 1, 4, 1, 77777}), "private.enterprises.twinFirst");
    LoadMibModules(files.Folder() + "/second:" + files.Folder() + "/first", CMibFiles::BaseFolder());
    EXPECT_EQ(NameOf({1, 3, 6, 1, 4, 1, 77777}), "private.enterprises.twinSecond");
}

TEST_F(MibLoader, TheSystemsModuleOfANameWinsOverTheBaseModule)
{
    CMibFiles files;
    // A system SNMPv2-SMI that names enterprises differently from the base one.
    files.Write("sys/SNMPv2-SMI.txt", "SNMPv2-SMI DEFINITIONS ::= BEGIN\n"
                                      "org OBJECT IDENTIFIER ::= { iso 3 }\n"
                                      "dod OBJECT IDENTIFIER ::= { org 6 }\n"
                                      "internet OBJECT IDENTIFIER ::= { dod 1 }\n"
                                      "private OBJECT IDENTIFIER ::= { internet 4 }\n"
                                      "enterprises OBJECT IDENTIFIER ::= { private 1 }\n"
                                      "sysVendor OBJECT IDENTIFIER ::= { enterprises 5555 }\nEND\n");
    const CMibLoadReport report = LoadMibModules(files.Folder() + "/sys", CMibFiles::BaseFolder());
    const auto it = std::find_if(report.loaded.begin(), report.loaded.end(),
                                 [](const CMibModuleInfo& module) { return module.strName == "SNMPv2-SMI"; });
    ASSERT_NE(it, report.loaded.end());
    EXPECT_EQ(it->strFile, files.Folder() + "/sys/SNMPv2-SMI.txt");
    EXPECT_EQ(NameOf({1, 3, 6, 1, 4, 1, 5555}), "private.enterprises.sysVendor");
}

TEST_F(MibLoader, ABackgroundLoadTellsItsWindowWhenTheTableIsInPlace)
{
    int nLoaded = 0;
    CMsgWindow window(nullptr, [&](UINT message, WPARAM, LPARAM) {
        nLoaded += message == WM_MIB_LOADED;
        return LRESULT{0};
    });
    StartMibLoad(CMibFiles::kSystemFolder, CMibFiles::BaseFolder(), window.Handle());
    while (nLoaded == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(NameOf({1, 3, 6, 1, 4, 1, 2021, 4, 5, 0}), "private.enterprises.ucdavis.memory.memTotalReal.0");
    EXPECT_FALSE(LastMibLoadReport().loaded.empty());
}

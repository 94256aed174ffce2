// Walks of a real snmpd by the command-line walker with and without MIB
// modules: the loaded names fill in what the built-in MIB writes as numbers
// and change nothing else.
#include "support/MibFiles.h"
#include "support/SnmpdEnvironment.h"
#include "support/TempXdg.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

struct ToolRun
{
    int nExit = -1;
    std::string strOut, strErr;
};

ToolRun RunWalker(QStringList args)
{
    const QString strTool = QCoreApplication::applicationDirPath() + "/../tools/orvex-walk/orvex-walk";
    ToolRun run;
    if (!QFileInfo(strTool).isExecutable()) {
        ADD_FAILURE() << "no " << strTool.toStdString() << ": build the orvex-walk target";
        return run;
    }
    args << "--version" << "2c" << "--timeout" << "5" << "--retries" << "1"
         << QString::fromStdString(CSnmpdEnvironment::Agent().Address()) << "public";
    QProcess process;
    process.start(strTool, args);
    if (!process.waitForFinished(120000))
        return run;
    run.nExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.strOut = process.readAllStandardOutput().toStdString();
    run.strErr = process.readAllStandardError().toStdString();
    return run;
}

// OID text -> name text of every printed record.
std::map<std::string, std::string> NamesByOid(const std::string& strOut)
{
    std::map<std::string, std::string> names;
    std::istringstream lines(strOut);
    for (std::string strLine; std::getline(lines, strLine);) {
        const size_t nTab = strLine.find('\t');
        const size_t nTab2 = strLine.find('\t', nTab + 1);
        if (nTab != std::string::npos && nTab2 != std::string::npos)
            names[strLine.substr(0, nTab)] = strLine.substr(nTab + 1, nTab2 - nTab - 1);
    }
    return names;
}

// The components before the first one written as a number.
std::string NamedPart(const std::string& strName)
{
    size_t nStart = strName.front() == '.' ? 1 : 0;
    while (nStart < strName.size() && !std::isdigit(static_cast<unsigned char>(strName[nStart]))) {
        const size_t nDot = strName.find('.', nStart);
        if (nDot == std::string::npos)
            return strName;
        nStart = nDot + 1;
    }
    return strName.substr(0, nStart);
}

} // namespace

TEST(MibNamesWalk, DebianModulesNameTheUcdObjectsAndLeaveEveryBuiltinNameAsItWas)
{
    CTempXdg xdg;
    const ToolRun without = RunWalker({"--no-mibs", "--base", ".1.3"});
    const ToolRun with = RunWalker({"--mibs", CMibFiles::kSystemFolder, "--base", ".1.3"});
    ASSERT_EQ(without.nExit, 0) << without.strErr;
    ASSERT_EQ(with.nExit, 0) << with.strErr;
    const auto namesWithout = NamesByOid(without.strOut), namesWith = NamesByOid(with.strOut);
    ASSERT_GT(namesWithout.size(), 100u);

    EXPECT_EQ(namesWith.at(".1.3.6.1.4.1.2021.4.5.0"), "private.enterprises.ucdavis.memory.memTotalReal.0");
    EXPECT_EQ(namesWith.at(".1.3.6.1.4.1.2021.10.1.3.1"), "private.enterprises.ucdavis.laTable.laEntry.laLoad.1");
    EXPECT_EQ(namesWithout.at(".1.3.6.1.4.1.2021.4.5.0"), "private.enterprises.2021.4.5.0");
    EXPECT_EQ(namesWithout.at(".1.3.6.1.4.1.2021.10.1.3.1"), "private.enterprises.2021.10.1.3.1");

    // Same records either way; every name keeps its built-in part exactly.
    size_t nChanged = 0;
    for (const auto& [strOid, strName] : namesWithout) {
        const auto it = namesWith.find(strOid);
        if (it == namesWith.end())
            continue;  // counters may come and go between two walks
        const std::string strKept = NamedPart(strName);
        EXPECT_EQ(it->second.substr(0, strKept.size()), strKept) << strOid;
        nChanged += it->second != strName;
    }
    EXPECT_GT(nChanged, 10u);
}

TEST(MibNamesWalk, UnusableMibPathsStillWalkWithTheBuiltinNames)
{
    CTempXdg xdg;
    CMibFiles files;
    files.Write("BROKEN.txt", "BROKEN-MIB DEFINITIONS ::= BEGIN\nIMPORTS x FROM NOWHERE;\nbad ::= { x 1 }\n");
    const QString strPath = QString::fromStdString(files.Folder() + "/none:" + files.Folder());
    const ToolRun run = RunWalker({"--mibs", strPath, "--base", ".1.3.6.1.2.1.1"});
    EXPECT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_EQ(NamesByOid(run.strOut).at(".1.3.6.1.2.1.1.1.0"), "system.sysDescr.0");
}

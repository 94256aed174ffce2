// The command-line descriptions behind --help and the manual pages: they name
// the options the parsers read and no other; --help and --version as the
// programs print them.
#include "app/CommandLineHelp.h"
#include "support/InstallLayout.h"
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <set>

namespace {

using NameSet = std::set<std::string>;

NameSet Documented(const CProgramHelp& help)
{
    NameSet names;
    for (const COptionGroupHelp& group : help.groups)
        for (const COptionHelp& option : group.options)
            for (const std::string& strName : OptionNames(option))
                if (strName.front() == '-')
                    names.insert(strName);
    return names;
}

// Option texts in a parser's source: string literals that start with a dash, or,
// with strPattern, the first group of its matches.
NameSet ReadBy(const char* pszSource, const QString& strPattern = QStringLiteral("\"(--?[A-Za-z][A-Za-z0-9-]*)\""),
               const std::string& strPrefix = "")
{
    QFile file(TestSetting("SOURCE_DIR") + "/" + pszSource);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << pszSource;
    const QString strSource = QString::fromUtf8(file.readAll());
    NameSet names;
    for (auto it = QRegularExpression(strPattern).globalMatch(strSource); it.hasNext();)
        names.insert(strPrefix + it.next().captured(1).toStdString());
    return names;
}

NameSet Union(std::initializer_list<NameSet> sets)
{
    NameSet all;
    for (const NameSet& set : sets)
        all.insert(set.begin(), set.end());
    return all;
}

const NameSet kHelpAndVersion = {"--help", "-h", "--version", "-V"};

QString Program(const char* pszRelative)
{
    return QCoreApplication::applicationDirPath() + "/../" + pszRelative;
}

} // namespace

TEST(CommandLineHelp, DescribesExactlyTheOptionsTheParsersRead)
{
    const NameSet walk = ReadBy("snmp/WalkOptions.cpp");
    EXPECT_EQ(Documented(OrvexWalkHelp()), Union({walk, ReadBy("tools/orvex-walk/main.cpp"), kHelpAndVersion}));
    // The window's options are compared as words ("host" for --host).
    const NameSet window = ReadBy("app/OrvexCommandLineInfo.cpp", QStringLiteral("strParam == \"(\\w+)\""), "--");
    EXPECT_EQ(Documented(OrvexHelp()), Union({walk, window, ReadBy("app/main.cpp"), kHelpAndVersion}));
}

TEST(CommandLineHelp, HelpTextKeepsItsWidthAndListsEveryOptionAndExitCode)
{
    for (const CProgramHelp* pHelp : {&OrvexHelp(), &OrvexWalkHelp()}) {
        const std::string strText = HelpText(*pHelp, 60);
        EXPECT_EQ(strText.rfind(std::string("usage: ") + pHelp->pszName + " ", 0), 0u);
        for (const QString& strLine : QString::fromStdString(strText).split('\n'))
            EXPECT_TRUE(strLine.size() <= 60 || !strLine.trimmed().contains(' ')) << strLine.toStdString();
        for (const COptionGroupHelp& group : pHelp->groups)
            for (const COptionHelp& option : group.options)
                EXPECT_NE(strText.find(std::string("\n  ") + option.pszNames + (*option.pszValue ? " " : "") +
                                       option.pszValue + "\n"),
                          std::string::npos)
                    << option.pszNames;
        for (const CExitCodeHelp& exit : pHelp->exitCodes)
            EXPECT_NE(strText.find("\n  " + std::to_string(exit.nCode) + "  "), std::string::npos) << exit.nCode;
    }
    // A paragraph longer than a line is broken between words, never inside one.
    const std::string strWrapped = HelpText(OrvexWalkHelp(), 30);
    EXPECT_NE(strWrapped.find("\n        Start the walk at OID\n"), std::string::npos) << strWrapped;
}

TEST(CommandLineHelp, OnlyVersionAloneAsksForTheProgramsVersion)
{
    EXPECT_TRUE(AsksForVersion({"--version"}));
    EXPECT_TRUE(AsksForVersion({"-V"}));
    EXPECT_FALSE(AsksForVersion({}));
    EXPECT_FALSE(AsksForVersion({"--version", "2c"}));
    EXPECT_FALSE(AsksForVersion({"--version", "2c", "127.0.0.1", "public"}));
    EXPECT_FALSE(AsksForVersion({"127.0.0.1", "--version"}));
    EXPECT_TRUE(AsksForHelp({"-h"}));
    EXPECT_TRUE(AsksForHelp({"--help", "x"}));
    EXPECT_FALSE(AsksForHelp({"--walk", "--help"}));
}

TEST(ProgramOptions, HelpAndVersionAsBothProgramsPrintThem)
{
    const CProgramRun config = RunProgram("net-snmp-config", {"--version"});
    ASSERT_EQ(config.nExit, 0) << config.strErr.toStdString();
    const struct
    {
        const char* pszName;
        QString strPath;
        const CProgramHelp& help;
    } programs[] = {{"orvex", Program("app/orvex"), OrvexHelp()},
                    {"orvex-walk", Program("tools/orvex-walk/orvex-walk"), OrvexWalkHelp()}};
    for (const auto& program : programs) {
        const QString strVersion = QString("%1 %2\nnet-snmp %3\nQt %4\n")
                                       .arg(program.pszName, TestSetting("VERSION"), config.strOut.trimmed(), qVersion());
        for (const char* pszOption : {"--version", "-V"}) {
            const CProgramRun run = RunProgram(program.strPath, {pszOption});
            EXPECT_EQ(run.nExit, 0) << program.pszName << " " << pszOption;
            EXPECT_EQ(run.strOut, strVersion) << program.pszName << " " << pszOption;
        }
        const CProgramRun help = RunProgram(program.strPath, {"--help"});
        EXPECT_EQ(help.nExit, 0) << program.pszName;
        EXPECT_EQ(help.strOut.toStdString(), HelpText(program.help)) << program.pszName;
    }
    // Followed by anything, --version is the SNMP version option again: here one
    // without its agent, so a usage error.
    const CProgramRun snmpVersion = RunProgram(Program("tools/orvex-walk/orvex-walk"), {"--version", "2c"});
    EXPECT_EQ(snmpVersion.nExit, 2);
    EXPECT_EQ(snmpVersion.strOut, "");
}

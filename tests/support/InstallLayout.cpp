#include "InstallLayout.h"
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

QStringList FilesBelow(const QString& strRoot)
{
    QStringList files;
    const QDir root(strRoot);
    for (QDirIterator it(strRoot, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
        files.push_back(root.relativeFilePath(it.next()));
    files.sort();
    return files;
}

QStringList ExpectedInstalledFiles(const QString& strSourceDir)
{
    const QString strId = kAppId;
    QStringList files = {
        "bin/orvex",
        "bin/orvex-walk",
        "share/applications/" + strId + ".desktop",
        "share/metainfo/" + strId + ".metainfo.xml",
        "share/icons/hicolor/scalable/apps/" + strId + ".svg",
        "share/man/man1/orvex.1.gz",
        "share/man/man1/orvex-walk.1.gz",
        "share/doc/orvex/copyright",
        "share/doc/orvex/changelog.gz",
    };
    for (const int nSize : {16, 32, 48, 128, 256})
        files.push_back(QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(nSize) + strId + ".png");
    for (const QString& strFile : FilesBelow(strSourceDir + "/resources/Help"))
        files.push_back("share/orvex/Help/" + strFile);
    for (const QString& strFile : FilesBelow(strSourceDir + "/resources/mibs"))
        files.push_back("share/orvex/mibs/" + strFile);
    files.sort();
    return files;
}

CProgramRun RunProgram(const QString& strProgram, const QStringList& args, const QProcessEnvironment& env,
                       int nTimeoutMs)
{
    QProcess process;
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    all.insert(env);
    process.setProcessEnvironment(all);
    process.start(strProgram, args);
    CProgramRun run;
    if (!process.waitForFinished(nTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.strErr = strProgram + " did not end: " + process.errorString();
        return run;
    }
    run.nExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.strOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.strErr = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QString TestSetting(const char* pszName)
{
    const QString strValue = qEnvironmentVariable((std::string("ORVEX_") + pszName).c_str());
    if (strValue.isEmpty())
        ADD_FAILURE() << "ORVEX_" << pszName << " is not set: run the test through ctest";
    return strValue;
}

#pragma once
// What an installation of Orvex holds, for the tests of the install rules and of
// the Debian package, and a way to run the programs they install.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The files (not folders) an install puts under its prefix, relative to it and
// sorted: the programs, the manual and base MIB modules as they are in
// resources/, desktop entry, icons, AppStream metadata, manual pages and the
// package's documents. sourceDir is the checkout.
QStringList ExpectedInstalledFiles(const QString& strSourceDir);

// Every file below strRoot, relative to it, sorted.
QStringList FilesBelow(const QString& strRoot);

struct CProgramRun
{
    int nExit = -1;  // -1: could not start, crashed or timed out
    QString strOut, strErr;
};

// Runs a program to its end (at most nTimeoutMs) with env added to the test's
// environment, and collects what it wrote.
CProgramRun RunProgram(const QString& strProgram, const QStringList& args,
                       const QProcessEnvironment& env = {}, int nTimeoutMs = 120000);

// The value of ORVEX_<name> set for the test by CTest (build folder, tools), or a
// test failure and an empty text.
QString TestSetting(const char* pszName);

constexpr const char* kAppId = "org.orvex.Orvex";

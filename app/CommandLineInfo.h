#pragma once
// What the command line asks the application to do at start-up. Arguments are
// handed over one at a time; a derived class can take further options by
// overriding ParseParam and passing what it does not know to the base.
#include "platform/WinTypes.h"
#include <string>
#include <vector>

class CCommandLineInfo
{
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;

    // strParam without its leading dashes when bFlag ("-x" and "--x" are flags;
    // "/x" is a path here). The first non-flag argument names a document to
    // open; unknown flags are ignored.
    virtual void ParseParam(const std::string& strParam, BOOL bFlag, BOOL bLast);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};

// Feeds every argument (program name excluded) to info.ParseParam.
void ParseCommandLine(const std::vector<std::string>& args, CCommandLineInfo& info);

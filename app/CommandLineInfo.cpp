#include "app/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const std::string& strParam, BOOL bFlag, BOOL /*bLast*/)
{
    if (bFlag || m_nShellCommand == FileOpen)
        return;
    m_nShellCommand = FileOpen;
    m_strFileName = strParam;
}

void ParseCommandLine(const std::vector<std::string>& args, CCommandLineInfo& info)
{
    for (std::size_t n = 0; n < args.size(); ++n) {
        const std::string& strArg = args[n];
        const bool bFlag = strArg.size() > 1 && strArg[0] == '-';
        const std::size_t nDashes = bFlag ? strArg.find_first_not_of('-') : 0;
        const std::string strParam = bFlag ? strArg.substr(std::min(nDashes, strArg.size())) : strArg;
        info.ParseParam(strParam, bFlag, n + 1 == args.size());
    }
}

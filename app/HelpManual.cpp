#include "app/HelpManual.h"
#include "platform/shell/Shell.h"
#include "snmp/AppSettings.h"
#include <cstring>

std::string HelpDirectory(const std::string& strHomePath)
{
    return strHomePath + "Help/";
}

void OpenHelpManual()
{
    // HomePath may fill its buffer without a terminating NUL.
    const std::string strHome(AppSettings.HomePath, strnlen(AppSettings.HomePath, sizeof AppSettings.HomePath));
    const std::string strDirectory = HelpDirectory(strHome);
    ShellExecute(nullptr, nullptr, kHelpManualFile, nullptr, strDirectory.c_str(), SW_SHOWNORMAL);
}

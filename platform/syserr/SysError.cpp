#include "platform/syserr/SysError.h"

#include <cstring>
#include <string_view>

namespace
{
thread_local DWORD t_dwLastError = 0;
}

DWORD GetLastError()
{
    return t_dwLastError;
}

void SetLastError(DWORD dwCode)
{
    t_dwLastError = dwCode;
}

bool FormatSystemMessage(DWORD dwCode, std::string* pstrText)
{
    if (!pstrText || dwCode > static_cast<DWORD>(INT32_MAX))
        return false;
    char szBuf[256];
    // GNU strerror_r: may return a static text instead of filling the buffer.
    const char* pszText = strerror_r(static_cast<int>(dwCode), szBuf, sizeof szBuf);
    if (!pszText || !*pszText || std::string_view(pszText).starts_with("Unknown error"))
        return false;
    *pstrText = pszText;
    *pstrText += '\n';
    return true;
}

#include "snmp/ErrorText.h"
#include <cstdarg>
#include <cstdio>

std::string BoundErrorText(std::string strText)
{
    if (strText.size() <= kMaxErrorText)
        return strText;
    const bool bLineEnd = strText.back() == '\n';
    strText.resize(kMaxErrorText);
    if (bLineEnd)
        strText.back() = '\n';
    return strText;
}

std::string FormatErrorText(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list argsAgain;
    va_copy(argsAgain, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, args);
    va_end(args);
    std::string strText(nLength > 0 ? static_cast<std::size_t>(nLength) : 0, '\0');
    if (nLength > 0)
        std::vsnprintf(strText.data(), strText.size() + 1, pszFormat, argsAgain);
    va_end(argsAgain);
    return BoundErrorText(std::move(strText));
}

#include "snmp/WalkMessages.h"
#include "snmp/ErrorText.h"
#include <cstring>

char* NewWalkErrorText(const std::string& strText)
{
    const std::string strBounded = BoundErrorText(strText);
    char* pszText = new char[kErrorTextSize];
    std::memcpy(pszText, strBounded.c_str(), strBounded.size() + 1);
    return pszText;
}

void FreeWalkPayload(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WALK_RECORD)
        TakeWalkRecord(wParam);
    else if (message == WM_WALK_ERROR)
        TakeWalkErrorText(lParam);
}

std::unique_ptr<CWalkRecord> TakeWalkRecord(WPARAM wParam)
{
    return std::unique_ptr<CWalkRecord>(reinterpret_cast<CWalkRecord*>(wParam));
}

std::unique_ptr<char[]> TakeWalkErrorText(LPARAM lParam)
{
    return std::unique_ptr<char[]>(reinterpret_cast<char*>(lParam));
}

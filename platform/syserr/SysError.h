#pragma once
// Last-error codes and their texts. Codes are errno-style numbers plus the SNMP
// manager interface's own codes (40, 41); each thread has its own last error.
#include "platform/WinTypes.h"
#include <string>

// The calling thread's last error; 0 until something sets it. O(1).
DWORD GetLastError();
void SetLastError(DWORD dwCode);

// Stands in for the system message-table lookup: on success *pstrText is the C
// library's text for the errno-style code followed by "\n" and the result is
// true. Codes the C library does not know give false and leave *pstrText alone.
// Thread-safe.
bool FormatSystemMessage(DWORD dwCode, std::string* pstrText);

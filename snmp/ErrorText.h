#pragma once
// The SNMP layer's failure texts are fixed English texts that must fit a
// 256-byte buffer. These helpers format and bound them; safe on any thread.
#include <cstddef>
#include <string>

constexpr std::size_t kErrorTextSize = 256;                 // buffer bytes, NUL included
constexpr std::size_t kMaxErrorText = kErrorTextSize - 1;  // characters

// Cuts strText to kMaxErrorText characters. A text that ended in a line feed
// still ends in one after the cut.
std::string BoundErrorText(std::string strText);

// printf-style formatting of any length, then BoundErrorText.
std::string FormatErrorText(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

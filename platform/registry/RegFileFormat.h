#pragma once
// Text form of a hive, the registry export format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\SOFTWARE\Vendor\Settings]
//   "Timeout"=dword:0000001e           REG_DWORD of exactly 4 bytes
//   "Cleaning"=hex:01                  REG_BINARY
//   "Cell"=hex(4):41,42,00             any other type or length, "\" continues a line
//   "Base"=".1.3"                      REG_SZ of printable ASCII and one final NUL
//   @="..."                            the key's default value
//
// Beyond the plain format, so that every name survives: a value name writes a
// byte outside printable ASCII as \xHH (besides \\ and \"), and a key name
// writes such a byte, and '%', as %HH. Data are never escaped that way: a REG_SZ
// that the quoted form cannot hold exactly is written as hex(1).
#include "platform/registry/RegHive.h"
#include <string>

// Whole-file text of the hive under the root name ("HKEY_CURRENT_USER").
std::string FormatRegHive(const CRegHive& hive, const std::string& strRoot);

// Parses text written by FormatRegHive (also CRLF line ends, a UTF-8 byte-order
// mark, blank lines and ";" comments). An empty text is an empty hive. On
// failure returns false with "line N: reason" in strError and leaves hive as is.
bool ParseRegHive(const std::string& text, const std::string& strRoot, CRegHive& hive,
                  std::string& strError);

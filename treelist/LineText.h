#pragma once
// One node, one line: the text outputs that put a node on a line of TAB-separated
// fields write the bytes that would break the line or the fields as escapes.
#include <string>
#include <string_view>

// Appends strField to strOut with backslash, TAB, LF and CR written as "\\",
// "\t", "\n" and "\r" (so the text reads back unambiguously); every other byte
// as it is. O(field).
void AppendLineField(std::string& strOut, std::string_view strField);

#pragma once
// The built-in MIB's table: the standard modules' object names, as lines
// "parent: id name id name ..." (see CBuiltinMib).
#include <string_view>

std::string_view BuiltinMibTable();

#pragma once
// The definition of the object an OID belongs to, as the lines the "MIB
// Details" pane shows, and the enumeration label of a value.
#include "platform/mibparse/MibTable.h"
#include <string>
#include <utility>
#include <vector>

// (label, text) pairs: Name, Module, OID, Syntax, Display hint, Access,
// Status, Units, Index, Description; lines without a text are left out. The
// name carries the instance part of the OID (".0", ".7"). Empty when no
// loaded module defines an object on the OID's path. O(length of the OID).
std::vector<std::pair<std::string, std::string>> MibDetailsLines(const CMibTable& table, const std::string& strOid);

// "up(1)" when the OID's object enumerates the INTEGER value text, else empty.
std::string MibEnumLabel(const CMibTable& table, const std::string& strOid, const std::string& strValue);

// The number of a label as MibEnumLabel gives it ("1" for "up(1)" where the
// OID's object enumerates up as 1); empty for any other text.
std::string MibEnumNumber(const CMibTable& table, const std::string& strOid, const std::string& strLabel);

#pragma once
// The enumeration labels of INTEGER values, as the Value cell, its tooltip and
// a write of the cell use them. Each call looks the OID up once in the MIB
// table loaded at that moment (CurrentMibTable): O(length of the OID), any thread.
#include <string>

// The Value cell's text: the label ("up(1)") when the ShowEnumLabels setting is
// on and the OID's object enumerates the value, else strValue.
std::string ValueCellText(const std::string& strOid, const std::string& strType, const std::string& strValue);

// The label of an INTEGER value whatever the setting; empty when there is none.
std::string EnumLabelOf(const std::string& strOid, const std::string& strType, const std::string& strValue);

// What a write sends for a Value cell's text: the number of a label the OID's
// object enumerates ("1" for "up(1)"), any other text as it is.
std::string ValueToWrite(const std::string& strOid, const std::string& strType, const std::string& strText);

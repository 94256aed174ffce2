#pragma once
// The form net-snmp's command-line tools print a variable in, with numeric
// OIDs (snmpwalk -On) and no MIB files: ".1.3.6.1.2.1.1.5.0 = STRING: \"host\"".
// Scripts written for those tools read the walk's output in this form. Pure
// functions, safe on any thread; each costs time linear in its input.
#include "platform/snmpmgr/SnmpMgr.h"
#include <string>

class CWalkRecord;

// The part after "OID = ": the type word and the value as the tools print
// them ("INTEGER: 5", "STRING: \"text\"", "Hex-STRING: 00 1F ", "\"\"",
// "Timeticks: (12345) 0:02:03.45", "OID: .1.3.6.1", "IpAddress: 10.0.0.1",
// "No Such Object available on this agent at this OID", ...). A value may
// hold line ends (a text's own, or a long Hex-STRING's), as the tools print it.
std::string SnmpwalkValueText(const AsnAny& value);

// The record's whole line: its OID text, " = ", its value text, a line end.
std::string SnmpwalkLine(const CWalkRecord& record);

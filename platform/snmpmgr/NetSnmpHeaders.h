#pragma once
// net-snmp's headers, for sources that also use the manager interface.
// net-snmp defines some of the same ASN_* names as macros; they are dropped so
// that the interface's constants rule (the values agree except ASN_SEQUENCE,
// which is the full tag 0x30 there). Include this before any Orvex header.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#undef ASN_INTEGER
#undef ASN_NULL
#undef ASN_SEQUENCE
#undef ASN_IPADDRESS
#undef ASN_TIMETICKS
#undef ASN_OPAQUE
#undef ASN_COUNTER64

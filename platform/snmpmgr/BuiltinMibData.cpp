#include "platform/snmpmgr/BuiltinMibData.h"

std::string_view BuiltinMibTable()
{
    static constexpr std::string_view kTable = R"(
root: 1 iso
iso: 3 org
org: 6 dod
dod: 1 internet
internet: 1 directory 2 mgmt 3 experimental 4 private 5 security 6 snmpV2
mgmt: 1 mib-2
private: 1 enterprises
snmpV2: 1 snmpDomains 2 snmpProxys 3 snmpModules
mib-2: 1 system 2 interfaces 3 at 4 ip 5 icmp 6 tcp 7 udp 8 egp 10 transmission 11 snmp
system: 1 sysDescr 2 sysObjectID 3 sysUpTime 4 sysContact 5 sysName 6 sysLocation 7 sysServices 8 sysORLastChange 9 sysORTable
)";
    return kTable;
}

#include "platform/snmpmgr/BuiltinMibData.h"

// Object names of the standard MIB modules, one parent per line:
// "parent: id name id name ...". A parent may take several lines.
std::string_view BuiltinMibTable()
{
    static constexpr std::string_view kTable = R"(
# SNMPv2-SMI
root: 1 iso
iso: 3 org
org: 6 dod
dod: 1 internet
internet: 1 directory 2 mgmt 3 experimental 4 private 5 security 6 snmpV2
mgmt: 1 mib-2
private: 1 enterprises
snmpV2: 1 snmpDomains 2 snmpProxys 3 snmpModules
mib-2: 1 system 2 interfaces 3 at 4 ip 5 icmp 6 tcp 7 udp 8 egp 10 transmission 11 snmp 25 host
mib-2: 31 ifMIB 47 entityMIB 48 ipMIB 49 tcpMIB 50 udpMIB
# SNMPv2-TM
snmpDomains: 1 snmpUDPDomain 2 snmpCLNSDomain 3 snmpCONSDomain 4 snmpDDPDomain 5 snmpIPXDomain
snmpProxys: 1 rfc1157Proxy
rfc1157Proxy: 1 rfc1157Domain
# MIB-II and SNMPv2-MIB
system: 1 sysDescr 2 sysObjectID 3 sysUpTime 4 sysContact 5 sysName 6 sysLocation 7 sysServices
system: 8 sysORLastChange 9 sysORTable
sysORTable: 1 sysOREntry
sysOREntry: 1 sysORIndex 2 sysORID 3 sysORDescr 4 sysORUpTime
interfaces: 1 ifNumber 2 ifTable
ifTable: 1 ifEntry
ifEntry: 1 ifIndex 2 ifDescr 3 ifType 4 ifMtu 5 ifSpeed 6 ifPhysAddress 7 ifAdminStatus
ifEntry: 8 ifOperStatus 9 ifLastChange 10 ifInOctets 11 ifInUcastPkts 12 ifInNUcastPkts
ifEntry: 13 ifInDiscards 14 ifInErrors 15 ifInUnknownProtos 16 ifOutOctets 17 ifOutUcastPkts
ifEntry: 18 ifOutNUcastPkts 19 ifOutDiscards 20 ifOutErrors 21 ifOutQLen 22 ifSpecific
at: 1 atTable
atTable: 1 atEntry
atEntry: 1 atIfIndex 2 atPhysAddress 3 atNetAddress
ip: 1 ipForwarding 2 ipDefaultTTL 3 ipInReceives 4 ipInHdrErrors 5 ipInAddrErrors 6 ipForwDatagrams
ip: 7 ipInUnknownProtos 8 ipInDiscards 9 ipInDelivers 10 ipOutRequests 11 ipOutDiscards
ip: 12 ipOutNoRoutes 13 ipReasmTimeout 14 ipReasmReqds 15 ipReasmOKs 16 ipReasmFails 17 ipFragOKs
ip: 18 ipFragFails 19 ipFragCreates 20 ipAddrTable 21 ipRouteTable 22 ipNetToMediaTable
ip: 23 ipRoutingDiscards 24 ipForward
ipAddrTable: 1 ipAddrEntry
ipAddrEntry: 1 ipAdEntAddr 2 ipAdEntIfIndex 3 ipAdEntNetMask 4 ipAdEntBcastAddr
ipAddrEntry: 5 ipAdEntReasmMaxSize
ipRouteTable: 1 ipRouteEntry
ipRouteEntry: 1 ipRouteDest 2 ipRouteIfIndex 3 ipRouteMetric1 4 ipRouteMetric2 5 ipRouteMetric3
ipRouteEntry: 6 ipRouteMetric4 7 ipRouteNextHop 8 ipRouteType 9 ipRouteProto 10 ipRouteAge
ipRouteEntry: 11 ipRouteMask 12 ipRouteMetric5 13 ipRouteInfo
ipNetToMediaTable: 1 ipNetToMediaEntry
ipNetToMediaEntry: 1 ipNetToMediaIfIndex 2 ipNetToMediaPhysAddress 3 ipNetToMediaNetAddress
ipNetToMediaEntry: 4 ipNetToMediaType
icmp: 1 icmpInMsgs 2 icmpInErrors 3 icmpInDestUnreachs 4 icmpInTimeExcds 5 icmpInParmProbs
icmp: 6 icmpInSrcQuenchs 7 icmpInRedirects 8 icmpInEchos 9 icmpInEchoReps 10 icmpInTimestamps
icmp: 11 icmpInTimestampReps 12 icmpInAddrMasks 13 icmpInAddrMaskReps 14 icmpOutMsgs
icmp: 15 icmpOutErrors 16 icmpOutDestUnreachs 17 icmpOutTimeExcds 18 icmpOutParmProbs
icmp: 19 icmpOutSrcQuenchs 20 icmpOutRedirects 21 icmpOutEchos 22 icmpOutEchoReps
icmp: 23 icmpOutTimestamps 24 icmpOutTimestampReps 25 icmpOutAddrMasks 26 icmpOutAddrMaskReps
tcp: 1 tcpRtoAlgorithm 2 tcpRtoMin 3 tcpRtoMax 4 tcpMaxConn 5 tcpActiveOpens 6 tcpPassiveOpens
tcp: 7 tcpAttemptFails 8 tcpEstabResets 9 tcpCurrEstab 10 tcpInSegs 11 tcpOutSegs 12 tcpRetransSegs
tcp: 13 tcpConnTable 14 tcpInErrs 15 tcpOutRsts
tcpConnTable: 1 tcpConnEntry
tcpConnEntry: 1 tcpConnState 2 tcpConnLocalAddress 3 tcpConnLocalPort 4 tcpConnRemAddress
tcpConnEntry: 5 tcpConnRemPort
udp: 1 udpInDatagrams 2 udpNoPorts 3 udpInErrors 4 udpOutDatagrams 5 udpTable
udpTable: 1 udpEntry
udpEntry: 1 udpLocalAddress 2 udpLocalPort
egp: 1 egpInMsgs 2 egpInErrors 3 egpOutMsgs 4 egpOutErrors 5 egpNeighTable 6 egpAs
egpNeighTable: 1 egpNeighEntry
egpNeighEntry: 1 egpNeighState 2 egpNeighAddr 3 egpNeighAs 4 egpNeighInMsgs 5 egpNeighInErrs
egpNeighEntry: 6 egpNeighOutMsgs 7 egpNeighOutErrs 8 egpNeighInErrMsgs 9 egpNeighOutErrMsgs
egpNeighEntry: 10 egpNeighStateUps 11 egpNeighStateDowns 12 egpNeighIntervalHello
egpNeighEntry: 13 egpNeighIntervalPoll 14 egpNeighMode 15 egpNeighEventTrigger
snmp: 1 snmpInPkts 2 snmpOutPkts 3 snmpInBadVersions 4 snmpInBadCommunityNames
snmp: 5 snmpInBadCommunityUses 6 snmpInASNParseErrs 8 snmpInTooBigs 9 snmpInNoSuchNames
snmp: 10 snmpInBadValues 11 snmpInReadOnlys 12 snmpInGenErrs 13 snmpInTotalReqVars
snmp: 14 snmpInTotalSetVars 15 snmpInGetRequests 16 snmpInGetNexts 17 snmpInSetRequests
snmp: 18 snmpInGetResponses 19 snmpInTraps 20 snmpOutTooBigs 21 snmpOutNoSuchNames
snmp: 22 snmpOutBadValues 24 snmpOutGenErrs 25 snmpOutGetRequests 26 snmpOutGetNexts
snmp: 27 snmpOutSetRequests 28 snmpOutGetResponses 29 snmpOutTraps 30 snmpEnableAuthenTraps
snmp: 31 snmpSilentDrops 32 snmpProxyDrops
snmpModules: 1 snmpMIB
snmpMIB: 1 snmpMIBObjects 2 snmpMIBConformance
snmpMIBObjects: 4 snmpTrap 5 snmpTraps 6 snmpSet
snmpTrap: 1 snmpTrapOID 3 snmpTrapEnterprise
snmpTraps: 1 coldStart 2 warmStart 3 linkDown 4 linkUp 5 authenticationFailure
snmpSet: 1 snmpSetSerialNo
snmpMIBConformance: 1 snmpMIBCompliances 2 snmpMIBGroups
# IF-MIB
ifMIB: 1 ifMIBObjects 2 ifConformance
ifMIBObjects: 1 ifXTable 2 ifStackTable 3 ifTestTable 4 ifRcvAddressTable 5 ifTableLastChange
ifMIBObjects: 6 ifStackLastChange
ifXTable: 1 ifXEntry
ifXEntry: 1 ifName 2 ifInMulticastPkts 3 ifInBroadcastPkts 4 ifOutMulticastPkts 5 ifOutBroadcastPkts
ifXEntry: 6 ifHCInOctets 7 ifHCInUcastPkts 8 ifHCInMulticastPkts 9 ifHCInBroadcastPkts
ifXEntry: 10 ifHCOutOctets 11 ifHCOutUcastPkts 12 ifHCOutMulticastPkts 13 ifHCOutBroadcastPkts
ifXEntry: 14 ifLinkUpDownTrapEnable 15 ifHighSpeed 16 ifPromiscuousMode 17 ifConnectorPresent
ifXEntry: 18 ifAlias 19 ifCounterDiscontinuityTime
ifStackTable: 1 ifStackEntry
ifStackEntry: 1 ifStackHigherLayer 2 ifStackLowerLayer 3 ifStackStatus
ifTestTable: 1 ifTestEntry
ifTestEntry: 1 ifTestId 2 ifTestStatus 3 ifTestType 4 ifTestResult 5 ifTestCode 6 ifTestOwner
ifRcvAddressTable: 1 ifRcvAddressEntry
ifRcvAddressEntry: 1 ifRcvAddressAddress 2 ifRcvAddressStatus 3 ifRcvAddressType
ifConformance: 1 ifGroups 2 ifCompliances
# IP-MIB and IP-FORWARD-MIB
ip: 25 ipv6IpForwarding 26 ipv6IpDefaultHopLimit 27 ipv4InterfaceTableLastChange
ip: 28 ipv4InterfaceTable 29 ipv6InterfaceTableLastChange 30 ipv6InterfaceTable 31 ipTrafficStats
ip: 32 ipAddressPrefixTable 33 ipAddressSpinLock 34 ipAddressTable 35 ipNetToPhysicalTable
ip: 36 ipv6ScopeZoneIndexTable 37 ipDefaultRouterTable 38 ipv6RouterAdvertSpinLock
ip: 39 ipv6RouterAdvertTable
ipv4InterfaceTable: 1 ipv4InterfaceEntry
ipv4InterfaceEntry: 1 ipv4InterfaceIfIndex 2 ipv4InterfaceReasmMaxSize 3 ipv4InterfaceEnableStatus
ipv4InterfaceEntry: 4 ipv4InterfaceRetransmitTime
ipv6InterfaceTable: 1 ipv6InterfaceEntry
ipv6InterfaceEntry: 1 ipv6InterfaceIfIndex 2 ipv6InterfaceReasmMaxSize 3 ipv6InterfaceIdentifier
ipv6InterfaceEntry: 5 ipv6InterfaceEnableStatus 6 ipv6InterfaceReachableTime
ipv6InterfaceEntry: 7 ipv6InterfaceRetransmitTime 8 ipv6InterfaceForwarding
ipTrafficStats: 1 ipSystemStatsTable 2 ipIfStatsTableLastChange 3 ipIfStatsTable
ipSystemStatsTable: 1 ipSystemStatsEntry
ipIfStatsTable: 1 ipIfStatsEntry
ipSystemStatsEntry: 1 ipSystemStatsIPVersion 3 ipSystemStatsInReceives 4 ipSystemStatsHCInReceives
ipSystemStatsEntry: 5 ipSystemStatsInOctets 6 ipSystemStatsHCInOctets 7 ipSystemStatsInHdrErrors
ipSystemStatsEntry: 8 ipSystemStatsInNoRoutes 9 ipSystemStatsInAddrErrors
ipSystemStatsEntry: 10 ipSystemStatsInUnknownProtos 11 ipSystemStatsInTruncatedPkts
ipSystemStatsEntry: 12 ipSystemStatsInForwDatagrams 13 ipSystemStatsHCInForwDatagrams
ipSystemStatsEntry: 14 ipSystemStatsReasmReqds 15 ipSystemStatsReasmOKs 16 ipSystemStatsReasmFails
ipSystemStatsEntry: 17 ipSystemStatsInDiscards 18 ipSystemStatsInDelivers
ipSystemStatsEntry: 19 ipSystemStatsHCInDelivers 20 ipSystemStatsOutRequests
ipSystemStatsEntry: 21 ipSystemStatsHCOutRequests 22 ipSystemStatsOutNoRoutes
ipSystemStatsEntry: 23 ipSystemStatsOutForwDatagrams 24 ipSystemStatsHCOutForwDatagrams
ipSystemStatsEntry: 25 ipSystemStatsOutDiscards 26 ipSystemStatsOutFragReqds
ipSystemStatsEntry: 27 ipSystemStatsOutFragOKs 28 ipSystemStatsOutFragFails
ipSystemStatsEntry: 29 ipSystemStatsOutFragCreates 30 ipSystemStatsOutTransmits
ipSystemStatsEntry: 31 ipSystemStatsHCOutTransmits 32 ipSystemStatsOutOctets
ipSystemStatsEntry: 33 ipSystemStatsHCOutOctets 34 ipSystemStatsInMcastPkts
ipSystemStatsEntry: 35 ipSystemStatsHCInMcastPkts 36 ipSystemStatsInMcastOctets
ipSystemStatsEntry: 37 ipSystemStatsHCInMcastOctets 38 ipSystemStatsOutMcastPkts
ipSystemStatsEntry: 39 ipSystemStatsHCOutMcastPkts 40 ipSystemStatsOutMcastOctets
ipSystemStatsEntry: 41 ipSystemStatsHCOutMcastOctets 42 ipSystemStatsInBcastPkts
ipSystemStatsEntry: 43 ipSystemStatsHCInBcastPkts 44 ipSystemStatsOutBcastPkts
ipSystemStatsEntry: 45 ipSystemStatsHCOutBcastPkts 46 ipSystemStatsDiscontinuityTime
ipSystemStatsEntry: 47 ipSystemStatsRefreshRate
ipIfStatsEntry: 1 ipIfStatsIPVersion 3 ipIfStatsInReceives 4 ipIfStatsHCInReceives
ipIfStatsEntry: 5 ipIfStatsInOctets 6 ipIfStatsHCInOctets 7 ipIfStatsInHdrErrors
ipIfStatsEntry: 8 ipIfStatsInNoRoutes 9 ipIfStatsInAddrErrors 10 ipIfStatsInUnknownProtos
ipIfStatsEntry: 11 ipIfStatsInTruncatedPkts 12 ipIfStatsInForwDatagrams
ipIfStatsEntry: 13 ipIfStatsHCInForwDatagrams 14 ipIfStatsReasmReqds 15 ipIfStatsReasmOKs
ipIfStatsEntry: 16 ipIfStatsReasmFails 17 ipIfStatsInDiscards 18 ipIfStatsInDelivers
ipIfStatsEntry: 19 ipIfStatsHCInDelivers 20 ipIfStatsOutRequests 21 ipIfStatsHCOutRequests
ipIfStatsEntry: 22 ipIfStatsOutNoRoutes 23 ipIfStatsOutForwDatagrams 24 ipIfStatsHCOutForwDatagrams
ipIfStatsEntry: 25 ipIfStatsOutDiscards 26 ipIfStatsOutFragReqds 27 ipIfStatsOutFragOKs
ipIfStatsEntry: 28 ipIfStatsOutFragFails 29 ipIfStatsOutFragCreates 30 ipIfStatsOutTransmits
ipIfStatsEntry: 31 ipIfStatsHCOutTransmits 32 ipIfStatsOutOctets 33 ipIfStatsHCOutOctets
ipIfStatsEntry: 34 ipIfStatsInMcastPkts 35 ipIfStatsHCInMcastPkts 36 ipIfStatsInMcastOctets
ipIfStatsEntry: 37 ipIfStatsHCInMcastOctets 38 ipIfStatsOutMcastPkts 39 ipIfStatsHCOutMcastPkts
ipIfStatsEntry: 40 ipIfStatsOutMcastOctets 41 ipIfStatsHCOutMcastOctets 42 ipIfStatsInBcastPkts
ipIfStatsEntry: 43 ipIfStatsHCInBcastPkts 44 ipIfStatsOutBcastPkts 45 ipIfStatsHCOutBcastPkts
ipIfStatsEntry: 46 ipIfStatsDiscontinuityTime 47 ipIfStatsRefreshRate
ipIfStatsEntry: 2 ipIfStatsIfIndex
ipAddressPrefixTable: 1 ipAddressPrefixEntry
ipAddressPrefixEntry: 1 ipAddressPrefixIfIndex 2 ipAddressPrefixType 3 ipAddressPrefixPrefix
ipAddressPrefixEntry: 4 ipAddressPrefixLength 5 ipAddressPrefixOrigin 6 ipAddressPrefixOnLinkFlag
ipAddressPrefixEntry: 7 ipAddressPrefixAutonomousFlag 8 ipAddressPrefixAdvPreferredLifetime
ipAddressPrefixEntry: 9 ipAddressPrefixAdvValidLifetime
ipAddressTable: 1 ipAddressEntry
ipAddressEntry: 1 ipAddressAddrType 2 ipAddressAddr 3 ipAddressIfIndex 4 ipAddressType
ipAddressEntry: 5 ipAddressPrefix 6 ipAddressOrigin 7 ipAddressStatus 8 ipAddressCreated
ipAddressEntry: 9 ipAddressLastChanged 10 ipAddressRowStatus 11 ipAddressStorageType
ipNetToPhysicalTable: 1 ipNetToPhysicalEntry
ipNetToPhysicalEntry: 1 ipNetToPhysicalIfIndex 2 ipNetToPhysicalNetAddressType
ipNetToPhysicalEntry: 3 ipNetToPhysicalNetAddress 4 ipNetToPhysicalPhysAddress
ipNetToPhysicalEntry: 5 ipNetToPhysicalLastUpdated 6 ipNetToPhysicalType 7 ipNetToPhysicalState
ipNetToPhysicalEntry: 8 ipNetToPhysicalRowStatus
ipv6ScopeZoneIndexTable: 1 ipv6ScopeZoneIndexEntry
ipv6ScopeZoneIndexEntry: 1 ipv6ScopeZoneIndexIfIndex 2 ipv6ScopeZoneIndexLinkLocal
ipv6ScopeZoneIndexEntry: 3 ipv6ScopeZoneIndex3 4 ipv6ScopeZoneIndexAdminLocal
ipv6ScopeZoneIndexEntry: 5 ipv6ScopeZoneIndexSiteLocal 6 ipv6ScopeZoneIndex6 7 ipv6ScopeZoneIndex7
ipv6ScopeZoneIndexEntry: 8 ipv6ScopeZoneIndexOrganizationLocal 9 ipv6ScopeZoneIndex9
ipv6ScopeZoneIndexEntry: 10 ipv6ScopeZoneIndexA 11 ipv6ScopeZoneIndexB 12 ipv6ScopeZoneIndexC
ipv6ScopeZoneIndexEntry: 13 ipv6ScopeZoneIndexD
ipDefaultRouterTable: 1 ipDefaultRouterEntry
ipDefaultRouterEntry: 1 ipDefaultRouterAddressType 2 ipDefaultRouterAddress 3 ipDefaultRouterIfIndex
ipDefaultRouterEntry: 4 ipDefaultRouterLifetime 5 ipDefaultRouterPreference
ipv6RouterAdvertTable: 1 ipv6RouterAdvertEntry
ipv6RouterAdvertEntry: 1 ipv6RouterAdvertIfIndex 2 ipv6RouterAdvertSendAdverts
ipv6RouterAdvertEntry: 3 ipv6RouterAdvertMaxInterval 4 ipv6RouterAdvertMinInterval
ipv6RouterAdvertEntry: 5 ipv6RouterAdvertManagedFlag 6 ipv6RouterAdvertOtherConfigFlag
ipv6RouterAdvertEntry: 7 ipv6RouterAdvertLinkMTU 8 ipv6RouterAdvertReachableTime
ipv6RouterAdvertEntry: 9 ipv6RouterAdvertRetransmitTime 10 ipv6RouterAdvertCurHopLimit
ipv6RouterAdvertEntry: 11 ipv6RouterAdvertDefaultLifetime 12 ipv6RouterAdvertRowStatus
icmp: 29 icmpStatsTable 30 icmpMsgStatsTable
icmpStatsTable: 1 icmpStatsEntry
icmpStatsEntry: 1 icmpStatsIPVersion 2 icmpStatsInMsgs 3 icmpStatsInErrors 4 icmpStatsOutMsgs
icmpStatsEntry: 5 icmpStatsOutErrors
icmpMsgStatsTable: 1 icmpMsgStatsEntry
icmpMsgStatsEntry: 1 icmpMsgStatsIPVersion 2 icmpMsgStatsType 3 icmpMsgStatsInPkts
icmpMsgStatsEntry: 4 icmpMsgStatsOutPkts
ipMIB: 2 ipMIBConformance
ipMIBConformance: 1 ipMIBCompliances 2 ipMIBGroups
ipForward: 1 ipForwardNumber 2 ipForwardTable 3 ipCidrRouteNumber 4 ipCidrRouteTable
ipForward: 5 ipForwardConformance 6 inetCidrRouteNumber 7 inetCidrRouteTable 8 inetCidrRouteDiscards
ipForwardTable: 1 ipForwardEntry
ipForwardEntry: 1 ipForwardDest 2 ipForwardMask 3 ipForwardPolicy 4 ipForwardNextHop
ipForwardEntry: 5 ipForwardIfIndex 6 ipForwardType 7 ipForwardProto 8 ipForwardAge 9 ipForwardInfo
ipForwardEntry: 10 ipForwardNextHopAS 11 ipForwardMetric1 12 ipForwardMetric2 13 ipForwardMetric3
ipForwardEntry: 14 ipForwardMetric4 15 ipForwardMetric5
ipCidrRouteTable: 1 ipCidrRouteEntry
ipCidrRouteEntry: 1 ipCidrRouteDest 2 ipCidrRouteMask 3 ipCidrRouteTos 4 ipCidrRouteNextHop
ipCidrRouteEntry: 5 ipCidrRouteIfIndex 6 ipCidrRouteType 7 ipCidrRouteProto 8 ipCidrRouteAge
ipCidrRouteEntry: 9 ipCidrRouteInfo 10 ipCidrRouteNextHopAS 11 ipCidrRouteMetric1
ipCidrRouteEntry: 12 ipCidrRouteMetric2 13 ipCidrRouteMetric3 14 ipCidrRouteMetric4
ipCidrRouteEntry: 15 ipCidrRouteMetric5 16 ipCidrRouteStatus
inetCidrRouteTable: 1 inetCidrRouteEntry
inetCidrRouteEntry: 1 inetCidrRouteDestType 2 inetCidrRouteDest 3 inetCidrRoutePfxLen
inetCidrRouteEntry: 4 inetCidrRoutePolicy 5 inetCidrRouteNextHopType 6 inetCidrRouteNextHop
inetCidrRouteEntry: 7 inetCidrRouteIfIndex 8 inetCidrRouteType 9 inetCidrRouteProto
inetCidrRouteEntry: 10 inetCidrRouteAge 11 inetCidrRouteNextHopAS 12 inetCidrRouteMetric1
inetCidrRouteEntry: 13 inetCidrRouteMetric2 14 inetCidrRouteMetric3 15 inetCidrRouteMetric4
inetCidrRouteEntry: 16 inetCidrRouteMetric5 17 inetCidrRouteStatus
ipForwardConformance: 1 ipForwardGroups 2 ipForwardCompliances
# TCP-MIB
tcp: 17 tcpHCInSegs 18 tcpHCOutSegs 19 tcpConnectionTable 20 tcpListenerTable
tcpConnectionTable: 1 tcpConnectionEntry
tcpConnectionEntry: 1 tcpConnectionLocalAddressType 2 tcpConnectionLocalAddress
tcpConnectionEntry: 3 tcpConnectionLocalPort 4 tcpConnectionRemAddressType 5 tcpConnectionRemAddress
tcpConnectionEntry: 6 tcpConnectionRemPort 7 tcpConnectionState 8 tcpConnectionProcess
tcpListenerTable: 1 tcpListenerEntry
tcpListenerEntry: 1 tcpListenerLocalAddressType 2 tcpListenerLocalAddress 3 tcpListenerLocalPort
tcpListenerEntry: 4 tcpListenerProcess
tcpMIB: 2 tcpMIBConformance
tcpMIBConformance: 1 tcpMIBCompliances 2 tcpMIBGroups
# UDP-MIB
udp: 7 udpEndpointTable 8 udpHCInDatagrams 9 udpHCOutDatagrams
udpEndpointTable: 1 udpEndpointEntry
udpEndpointEntry: 1 udpEndpointLocalAddressType 2 udpEndpointLocalAddress 3 udpEndpointLocalPort
udpEndpointEntry: 4 udpEndpointRemoteAddressType 5 udpEndpointRemoteAddress 6 udpEndpointRemotePort
udpEndpointEntry: 7 udpEndpointInstance 8 udpEndpointProcess
udpMIB: 2 udpMIBConformance
udpMIBConformance: 1 udpMIBCompliances 2 udpMIBGroups
# HOST-RESOURCES-MIB and HOST-RESOURCES-TYPES
host: 1 hrSystem 2 hrStorage 3 hrDevice 4 hrSWRun 5 hrSWRunPerf 6 hrSWInstalled 7 hrMIBAdminInfo
hrSystem: 1 hrSystemUptime 2 hrSystemDate 3 hrSystemInitialLoadDevice
hrSystem: 4 hrSystemInitialLoadParameters 5 hrSystemNumUsers 6 hrSystemProcesses
hrSystem: 7 hrSystemMaxProcesses
hrStorage: 1 hrStorageTypes 2 hrMemorySize 3 hrStorageTable
hrStorageTypes: 1 hrStorageOther 2 hrStorageRam 3 hrStorageVirtualMemory 4 hrStorageFixedDisk
hrStorageTypes: 5 hrStorageRemovableDisk 6 hrStorageFloppyDisk 7 hrStorageCompactDisc
hrStorageTypes: 8 hrStorageRamDisk 9 hrStorageFlashMemory 10 hrStorageNetworkDisk
hrStorageTable: 1 hrStorageEntry
hrStorageEntry: 1 hrStorageIndex 2 hrStorageType 3 hrStorageDescr 4 hrStorageAllocationUnits
hrStorageEntry: 5 hrStorageSize 6 hrStorageUsed 7 hrStorageAllocationFailures
hrDevice: 1 hrDeviceTypes 2 hrDeviceTable 3 hrProcessorTable 4 hrNetworkTable 5 hrPrinterTable
hrDevice: 6 hrDiskStorageTable 7 hrPartitionTable 8 hrFSTable 9 hrFSTypes
hrDeviceTypes: 1 hrDeviceOther 2 hrDeviceUnknown 3 hrDeviceProcessor 4 hrDeviceNetwork
hrDeviceTypes: 5 hrDevicePrinter 6 hrDeviceDiskStorage 10 hrDeviceVideo 11 hrDeviceAudio
hrDeviceTypes: 12 hrDeviceCoprocessor 13 hrDeviceKeyboard 14 hrDeviceModem 15 hrDeviceParallelPort
hrDeviceTypes: 16 hrDevicePointing 17 hrDeviceSerialPort 18 hrDeviceTape 19 hrDeviceClock
hrDeviceTypes: 20 hrDeviceVolatileMemory 21 hrDeviceNonVolatileMemory
hrDeviceTable: 1 hrDeviceEntry
hrDeviceEntry: 1 hrDeviceIndex 2 hrDeviceType 3 hrDeviceDescr 4 hrDeviceID 5 hrDeviceStatus
hrDeviceEntry: 6 hrDeviceErrors
hrProcessorTable: 1 hrProcessorEntry
hrProcessorEntry: 1 hrProcessorFrwID 2 hrProcessorLoad
hrNetworkTable: 1 hrNetworkEntry
hrNetworkEntry: 1 hrNetworkIfIndex
hrPrinterTable: 1 hrPrinterEntry
hrPrinterEntry: 1 hrPrinterStatus 2 hrPrinterDetectedErrorState
hrDiskStorageTable: 1 hrDiskStorageEntry
hrDiskStorageEntry: 1 hrDiskStorageAccess 2 hrDiskStorageMedia 3 hrDiskStorageRemoveble
hrDiskStorageEntry: 4 hrDiskStorageCapacity
hrPartitionTable: 1 hrPartitionEntry
hrPartitionEntry: 1 hrPartitionIndex 2 hrPartitionLabel 3 hrPartitionID 4 hrPartitionSize
hrPartitionEntry: 5 hrPartitionFSIndex
hrFSTable: 1 hrFSEntry
hrFSEntry: 1 hrFSIndex 2 hrFSMountPoint 3 hrFSRemoteMountPoint 4 hrFSType 5 hrFSAccess
hrFSEntry: 6 hrFSBootable 7 hrFSStorageIndex 8 hrFSLastFullBackupDate 9 hrFSLastPartialBackupDate
hrFSTypes: 1 hrFSOther 2 hrFSUnknown 3 hrFSBerkeleyFFS 4 hrFSSys5FS 5 hrFSFat 6 hrFSHPFS 7 hrFSHFS
hrFSTypes: 8 hrFSMFS 9 hrFSNTFS 10 hrFSVNode 11 hrFSJournaled 12 hrFSiso9660 13 hrFSRockRidge
hrFSTypes: 14 hrFSNFS 15 hrFSNetware 16 hrFSAFS 17 hrFSDFS 18 hrFSAppleshare 19 hrFSRFS 20 hrFSDGCFS
hrFSTypes: 21 hrFSBFS 22 hrFSFAT32 23 hrFSLinuxExt2
hrSWRun: 1 hrSWOSIndex 2 hrSWRunTable
hrSWRunTable: 1 hrSWRunEntry
hrSWRunEntry: 1 hrSWRunIndex 2 hrSWRunName 3 hrSWRunID 4 hrSWRunPath 5 hrSWRunParameters
hrSWRunEntry: 6 hrSWRunType 7 hrSWRunStatus
hrSWRunPerf: 1 hrSWRunPerfTable
hrSWRunPerfTable: 1 hrSWRunPerfEntry
hrSWRunPerfEntry: 1 hrSWRunPerfCPU 2 hrSWRunPerfMem
hrSWInstalled: 1 hrSWInstalledLastChange 2 hrSWInstalledLastUpdateTime 3 hrSWInstalledTable
hrSWInstalledTable: 1 hrSWInstalledEntry
hrSWInstalledEntry: 1 hrSWInstalledIndex 2 hrSWInstalledName 3 hrSWInstalledID 4 hrSWInstalledType
hrSWInstalledEntry: 5 hrSWInstalledDate
hrMIBAdminInfo: 1 hostResourcesMibModule 2 hrMIBCompliances 3 hrMIBGroups
# ENTITY-MIB
entityMIB: 1 entityMIBObjects 2 entityMIBTraps 3 entityConformance
entityMIBObjects: 1 entityPhysical 2 entityLogical 3 entityMapping 4 entityGeneral
entityPhysical: 1 entPhysicalTable
entPhysicalTable: 1 entPhysicalEntry
entPhysicalEntry: 1 entPhysicalIndex 2 entPhysicalDescr 3 entPhysicalVendorType
entPhysicalEntry: 4 entPhysicalContainedIn 5 entPhysicalClass 6 entPhysicalParentRelPos
entPhysicalEntry: 7 entPhysicalName 8 entPhysicalHardwareRev 9 entPhysicalFirmwareRev
entPhysicalEntry: 10 entPhysicalSoftwareRev 11 entPhysicalSerialNum 12 entPhysicalMfgName
entPhysicalEntry: 13 entPhysicalModelName 14 entPhysicalAlias 15 entPhysicalAssetID
entPhysicalEntry: 16 entPhysicalIsFRU 17 entPhysicalMfgDate 18 entPhysicalUris 19 entPhysicalUUID
entityLogical: 1 entLogicalTable
entLogicalTable: 1 entLogicalEntry
entLogicalEntry: 1 entLogicalIndex 2 entLogicalDescr 3 entLogicalType 4 entLogicalCommunity
entLogicalEntry: 5 entLogicalTAddress 6 entLogicalTDomain 7 entLogicalContextEngineID
entLogicalEntry: 8 entLogicalContextName
entityMapping: 1 entLPMappingTable 2 entAliasMappingTable 3 entPhysicalContainsTable
entLPMappingTable: 1 entLPMappingEntry
entLPMappingEntry: 1 entLPPhysicalIndex
entAliasMappingTable: 1 entAliasMappingEntry
entAliasMappingEntry: 1 entAliasLogicalIndexOrZero 2 entAliasMappingIdentifier
entPhysicalContainsTable: 1 entPhysicalContainsEntry
entPhysicalContainsEntry: 1 entPhysicalChildIndex
entityGeneral: 1 entLastChangeTime
entityMIBTraps: 0 entityMIBTrapPrefix
entityMIBTrapPrefix: 1 entConfigChange
entityConformance: 1 entityCompliances 2 entityGroups
# SNMP-FRAMEWORK-MIB, SNMP-MPD-MIB
snmpModules: 10 snmpFrameworkMIB 11 snmpMPDMIB 12 snmpTargetMIB 13 snmpNotificationMIB 15 snmpUsmMIB
snmpModules: 16 snmpVacmMIB 18 snmpCommunityMIB
snmpFrameworkMIB: 1 snmpFrameworkAdmin 2 snmpFrameworkMIBObjects 3 snmpFrameworkMIBConformance
snmpFrameworkAdmin: 1 snmpAuthProtocols 2 snmpPrivProtocols
snmpAuthProtocols: 1 usmNoAuthProtocol 2 usmHMACMD5AuthProtocol 3 usmHMACSHAAuthProtocol
snmpPrivProtocols: 1 usmNoPrivProtocol 2 usmDESPrivProtocol
snmpFrameworkMIBObjects: 1 snmpEngine
snmpEngine: 1 snmpEngineID 2 snmpEngineBoots 3 snmpEngineTime 4 snmpEngineMaxMessageSize
snmpFrameworkMIBConformance: 1 snmpFrameworkMIBCompliances 2 snmpFrameworkMIBGroups
snmpMPDMIB: 1 snmpMPDAdmin 2 snmpMPDMIBObjects 3 snmpMPDMIBConformance
snmpMPDMIBObjects: 1 snmpMPDStats
snmpMPDStats: 1 snmpUnknownSecurityModels 2 snmpInvalidMsgs 3 snmpUnknownPDUHandlers
snmpMPDMIBConformance: 1 snmpMPDMIBCompliances 2 snmpMPDMIBGroups
# SNMP-TARGET-MIB
snmpTargetMIB: 1 snmpTargetObjects 3 snmpTargetConformance
snmpTargetObjects: 1 snmpTargetSpinLock 2 snmpTargetAddrTable 3 snmpTargetParamsTable
snmpTargetObjects: 4 snmpUnavailableContexts 5 snmpUnknownContexts
snmpTargetAddrTable: 1 snmpTargetAddrEntry
snmpTargetAddrEntry: 1 snmpTargetAddrName 2 snmpTargetAddrTDomain 3 snmpTargetAddrTAddress
snmpTargetAddrEntry: 4 snmpTargetAddrTimeout 5 snmpTargetAddrRetryCount 6 snmpTargetAddrTagList
snmpTargetAddrEntry: 7 snmpTargetAddrParams 8 snmpTargetAddrStorageType 9 snmpTargetAddrRowStatus
snmpTargetParamsTable: 1 snmpTargetParamsEntry
snmpTargetParamsEntry: 1 snmpTargetParamsName 2 snmpTargetParamsMPModel
snmpTargetParamsEntry: 3 snmpTargetParamsSecurityModel 4 snmpTargetParamsSecurityName
snmpTargetParamsEntry: 5 snmpTargetParamsSecurityLevel 6 snmpTargetParamsStorageType
snmpTargetParamsEntry: 7 snmpTargetParamsRowStatus
snmpTargetConformance: 1 snmpTargetCompliances 2 snmpTargetGroups
# SNMP-NOTIFICATION-MIB
snmpNotificationMIB: 1 snmpNotifyObjects 3 snmpNotifyConformance
snmpNotifyObjects: 1 snmpNotifyTable 2 snmpNotifyFilterProfileTable 3 snmpNotifyFilterTable
snmpNotifyTable: 1 snmpNotifyEntry
snmpNotifyEntry: 1 snmpNotifyName 2 snmpNotifyTag 3 snmpNotifyType 4 snmpNotifyStorageType
snmpNotifyEntry: 5 snmpNotifyRowStatus
snmpNotifyFilterProfileTable: 1 snmpNotifyFilterProfileEntry
snmpNotifyFilterProfileEntry: 1 snmpNotifyFilterProfileName 2 snmpNotifyFilterProfileStorType
snmpNotifyFilterProfileEntry: 3 snmpNotifyFilterProfileRowStatus
snmpNotifyFilterTable: 1 snmpNotifyFilterEntry
snmpNotifyFilterEntry: 1 snmpNotifyFilterSubtree 2 snmpNotifyFilterMask 3 snmpNotifyFilterType
snmpNotifyFilterEntry: 4 snmpNotifyFilterStorageType 5 snmpNotifyFilterRowStatus
snmpNotifyConformance: 1 snmpNotifyCompliances 2 snmpNotifyGroups
# SNMP-USER-BASED-SM-MIB
snmpUsmMIB: 1 usmMIBObjects 2 usmMIBConformance
usmMIBObjects: 1 usmStats 2 usmUser
usmStats: 1 usmStatsUnsupportedSecLevels 2 usmStatsNotInTimeWindows 3 usmStatsUnknownUserNames
usmStats: 4 usmStatsUnknownEngineIDs 5 usmStatsWrongDigests 6 usmStatsDecryptionErrors
usmUser: 1 usmUserSpinLock 2 usmUserTable
usmUserTable: 1 usmUserEntry
usmUserEntry: 1 usmUserEngineID 2 usmUserName 3 usmUserSecurityName 4 usmUserCloneFrom
usmUserEntry: 5 usmUserAuthProtocol 6 usmUserAuthKeyChange 7 usmUserOwnAuthKeyChange
usmUserEntry: 8 usmUserPrivProtocol 9 usmUserPrivKeyChange 10 usmUserOwnPrivKeyChange
usmUserEntry: 11 usmUserPublic 12 usmUserStorageType 13 usmUserStatus
usmMIBConformance: 1 usmMIBCompliances 2 usmMIBGroups
# SNMP-VIEW-BASED-ACM-MIB
snmpVacmMIB: 1 vacmMIBObjects 2 vacmMIBConformance
vacmMIBObjects: 1 vacmContextTable 2 vacmSecurityToGroupTable 4 vacmAccessTable 5 vacmMIBViews
vacmContextTable: 1 vacmContextEntry
vacmContextEntry: 1 vacmContextName
vacmSecurityToGroupTable: 1 vacmSecurityToGroupEntry
vacmSecurityToGroupEntry: 1 vacmSecurityModel 2 vacmSecurityName 3 vacmGroupName
vacmSecurityToGroupEntry: 4 vacmSecurityToGroupStorageType 5 vacmSecurityToGroupStatus
vacmAccessTable: 1 vacmAccessEntry
vacmAccessEntry: 1 vacmAccessContextPrefix 2 vacmAccessSecurityModel 3 vacmAccessSecurityLevel
vacmAccessEntry: 4 vacmAccessContextMatch 5 vacmAccessReadViewName 6 vacmAccessWriteViewName
vacmAccessEntry: 7 vacmAccessNotifyViewName 8 vacmAccessStorageType 9 vacmAccessStatus
vacmMIBViews: 1 vacmViewSpinLock 2 vacmViewTreeFamilyTable
vacmViewTreeFamilyTable: 1 vacmViewTreeFamilyEntry
vacmViewTreeFamilyEntry: 1 vacmViewTreeFamilyViewName 2 vacmViewTreeFamilySubtree
vacmViewTreeFamilyEntry: 3 vacmViewTreeFamilyMask 4 vacmViewTreeFamilyType
vacmViewTreeFamilyEntry: 5 vacmViewTreeFamilyStorageType 6 vacmViewTreeFamilyStatus
vacmMIBConformance: 1 vacmMIBCompliances 2 vacmMIBGroups
# SNMP-COMMUNITY-MIB
snmpCommunityMIB: 1 snmpCommunityMIBObjects 2 snmpCommunityMIBConformance
snmpCommunityMIBObjects: 1 snmpCommunityTable 2 snmpTargetAddrExtTable 3 snmpTrapAddress
snmpCommunityMIBObjects: 4 snmpTrapCommunity
snmpCommunityTable: 1 snmpCommunityEntry
snmpCommunityEntry: 1 snmpCommunityIndex 2 snmpCommunityName 3 snmpCommunitySecurityName
snmpCommunityEntry: 4 snmpCommunityContextEngineID 5 snmpCommunityContextName
snmpCommunityEntry: 6 snmpCommunityTransportTag 7 snmpCommunityStorageType 8 snmpCommunityStatus
snmpTargetAddrExtTable: 1 snmpTargetAddrExtEntry
snmpTargetAddrExtEntry: 1 snmpTargetAddrTMask 2 snmpTargetAddrMMS
# UCD-SNMP-MIB, NET-SNMP-MIB, NET-SNMP-AGENT-MIB, NET-SNMP-EXTEND-MIB
enterprises: 2021 ucdavis 8072 netSnmp
ucdavis: 2 prTable 4 memory 8 extTable 9 dskTable 10 laTable 11 systemStats 12 ucdInternal
ucdavis: 13 ucdExperimental 15 fileTable 16 logMatch 100 version 101 snmperrs 102 mrTable
ucdavis: 250 ucdSnmpAgent 251 ucdTraps
netSnmp: 1 netSnmpObjects 3 netSnmpEnumerations 4 netSnmpNotificationPrefix 5 netSnmpConformance
netSnmp: 9999 netSnmpExperimental
prTable: 1 prEntry
memory: 1 memIndex 2 memErrorName 3 memTotalSwap 4 memAvailSwap 5 memTotalReal 6 memAvailReal
memory: 7 memTotalSwapTXT 8 memAvailSwapTXT 9 memTotalRealTXT 10 memAvailRealTXT 11 memTotalFree
memory: 12 memMinimumSwap 13 memShared 14 memBuffer 15 memCached 16 memUsedSwapTXT 17 memUsedRealTXT
memory: 18 memTotalSwapX 19 memAvailSwapX 20 memTotalRealX 21 memAvailRealX 22 memTotalFreeX
memory: 23 memMinimumSwapX 24 memSharedX 25 memBufferX 26 memCachedX 27 memSysAvail 100 memSwapError
memory: 101 memSwapErrorMsg
extTable: 1 extEntry
dskTable: 1 dskEntry
laTable: 1 laEntry
systemStats: 1 ssIndex 2 ssErrorName 3 ssSwapIn 4 ssSwapOut 5 ssIOSent 6 ssIOReceive
systemStats: 7 ssSysInterrupts 8 ssSysContext 9 ssCpuUser 10 ssCpuSystem 11 ssCpuIdle
systemStats: 50 ssCpuRawUser 51 ssCpuRawNice 52 ssCpuRawSystem 53 ssCpuRawIdle 54 ssCpuRawWait
systemStats: 55 ssCpuRawKernel 56 ssCpuRawInterrupt 57 ssIORawSent 58 ssIORawReceived
systemStats: 59 ssRawInterrupts 60 ssRawContexts 61 ssCpuRawSoftIRQ 62 ssRawSwapIn 63 ssRawSwapOut
systemStats: 64 ssCpuRawSteal 65 ssCpuRawGuest 66 ssCpuRawGuestNice 67 ssCpuNumCpus
fileTable: 1 fileEntry
logMatch: 1 logMatchMaxEntries 2 logMatchTable
version: 1 versionIndex 2 versionTag 3 versionDate 4 versionCDate 5 versionIdent
version: 6 versionConfigureOptions 10 versionClearCache 11 versionUpdateConfig
version: 12 versionRestartAgent 13 versionSavePersistentData 20 versionDoDebugging
snmperrs: 1 snmperrIndex 2 snmperrNames 100 snmperrErrorFlag 101 snmperrErrMessage
mrTable: 1 mrEntry
ucdSnmpAgent: 1 hpux9 2 sunos4 3 solaris 4 osf 5 ultrix 6 hpux10 7 netbsd1 8 freebsd 9 irix 10 linux
ucdSnmpAgent: 11 bsdi 12 openbsd 13 win32 14 hpux11 15 aix 16 macosx 17 dragonfly 255 unknown
ucdTraps: 1 ucdStart 2 ucdShutdown
netSnmpObjects: 1 nsVersion 2 nsMibRegistry 3 nsExtensions 4 nsDLMod 5 nsCache 6 nsErrorHistory
netSnmpObjects: 7 nsConfiguration 8 nsTransactions
netSnmpEnumerations: 1 netSnmpModuleIDs 2 netSnmpAgentOIDs 3 netSnmpDomains
netSnmpNotificationPrefix: 0 netSnmpNotifications 1 netSnmpNotificationObjects
netSnmpConformance: 1 netSnmpCompliances 2 netSnmpGroups
netSnmpExperimental: 9999 netSnmpPlaypen
prEntry: 1 prIndex 2 prNames 3 prMin 4 prMax 5 prCount 100 prErrorFlag 101 prErrMessage 102 prErrFix
prEntry: 103 prErrFixCmd
extEntry: 1 extIndex 2 extNames 3 extCommand 100 extResult 101 extOutput 102 extErrFix
extEntry: 103 extErrFixCmd
dskEntry: 1 dskIndex 2 dskPath 3 dskDevice 4 dskMinimum 5 dskMinPercent 6 dskTotal 7 dskAvail
dskEntry: 8 dskUsed 9 dskPercent 10 dskPercentNode 11 dskTotalLow 12 dskTotalHigh 13 dskAvailLow
dskEntry: 14 dskAvailHigh 15 dskUsedLow 16 dskUsedHigh 100 dskErrorFlag 101 dskErrorMsg
laEntry: 1 laIndex 2 laNames 3 laLoad 4 laConfig 5 laLoadInt 6 laLoadFloat 100 laErrorFlag
laEntry: 101 laErrMessage
fileEntry: 1 fileIndex 2 fileName 3 fileSize 4 fileMax 100 fileErrorFlag 101 fileErrorMsg
logMatchTable: 1 logMatchEntry
mrEntry: 1 mrIndex 2 mrModuleName
nsMibRegistry: 1 nsModuleTable
nsExtensions: 1 netSnmpExtendMIB 2 nsExtendObjects 3 nsExtendGroups
nsCache: 1 nsCacheDefaultTimeout 2 nsCacheEnabled 3 nsCacheTable
nsConfiguration: 1 nsConfigDebug 2 nsConfigLogging
nsTransactions: 1 nsTransactionTable
netSnmpModuleIDs: 2 netSnmpAgentMIB
netSnmpNotifications: 1 nsNotifyStart 2 nsNotifyShutdown 3 nsNotifyRestart
netSnmpGroups: 2 nsModuleGroup 4 nsCacheGroup 7 nsConfigGroups 8 nsTransactionGroup
netSnmpGroups: 9 nsAgentNotifyGroup
logMatchEntry: 1 logMatchIndex 2 logMatchName 3 logMatchFilename 4 logMatchRegEx
logMatchEntry: 5 logMatchGlobalCounter 6 logMatchGlobalCount 7 logMatchCurrentCounter
logMatchEntry: 8 logMatchCurrentCount 9 logMatchCounter 10 logMatchCount 11 logMatchCycle
logMatchEntry: 100 logMatchErrorFlag 101 logMatchRegExCompilation
nsModuleTable: 1 nsModuleEntry
nsExtendObjects: 1 nsExtendNumEntries 2 nsExtendConfigTable 3 nsExtendOutput1Table
nsExtendObjects: 4 nsExtendOutput2Table
nsExtendGroups: 1 nsExtendConfigGroup 2 nsExtendOutputGroup
nsCacheTable: 1 nsCacheEntry
nsConfigDebug: 1 nsDebugEnabled 2 nsDebugOutputAll 3 nsDebugDumpPdu 4 nsDebugTokenTable
nsConfigLogging: 1 nsLoggingTable
nsTransactionTable: 1 nsTransactionEntry
nsConfigGroups: 1 nsDebugGroup 2 nsLoggingGroup
nsModuleEntry: 1 nsmContextName 2 nsmRegistrationPoint 3 nsmRegistrationPriority 4 nsModuleName
nsModuleEntry: 5 nsModuleModes 6 nsModuleTimeout
nsExtendConfigTable: 1 nsExtendConfigEntry
nsExtendOutput1Table: 1 nsExtendOutput1Entry
nsExtendOutput2Table: 1 nsExtendOutput2Entry
nsCacheEntry: 1 nsCachedOID 2 nsCacheTimeout 3 nsCacheStatus
nsDebugTokenTable: 1 nsDebugTokenEntry
nsLoggingTable: 1 nsLoggingEntry
nsTransactionEntry: 1 nsTransactionID 2 nsTransactionMode
nsExtendConfigEntry: 1 nsExtendToken 2 nsExtendCommand 3 nsExtendArgs 4 nsExtendInput
nsExtendConfigEntry: 5 nsExtendCacheTime 6 nsExtendExecType 7 nsExtendRunType 20 nsExtendStorage
nsExtendConfigEntry: 21 nsExtendStatus
nsExtendOutput1Entry: 1 nsExtendOutput1Line 2 nsExtendOutputFull 3 nsExtendOutNumLines
nsExtendOutput1Entry: 4 nsExtendResult
nsExtendOutput2Entry: 1 nsExtendLineIndex 2 nsExtendOutLine
nsDebugTokenEntry: 2 nsDebugTokenPrefix 4 nsDebugTokenStatus
nsLoggingEntry: 1 nsLogLevel 2 nsLogToken 3 nsLogType 4 nsLogMaxLevel 5 nsLogStatus
)";
    return kTable;
}

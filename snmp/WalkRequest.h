#pragma once
// What a query asks of an agent: where it is and how to speak to it. Copied
// whole by the walk when it starts, so what is added here reaches the walk
// without further plumbing.
#include "snmp/AgentProfile.h"
#include <string>

struct CWalkRequest
{
    std::string m_strHost;       // host as typed: name or dotted address, optionally ":port"
    std::string m_strCommunity;  // community, passed unchanged (v1, v2c)
    // How to talk to the agent; a request built without one takes the settings
    // record's values as they are when it is built.
    CAgentProfile m_profile = CAgentProfile::FromSettings();
    std::string m_strBase = {};  // OID text of the subtree walked; empty: the "Base" setting
    // Records carry the value as net-snmp's tools print it (the snmpwalk output
    // form); off, the walk spares every record that formatting.
    bool m_bSnmpwalkValues = false;
};

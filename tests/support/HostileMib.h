#pragma once
// What a hostile (or merely odd) agent sends: names outside the internet
// subtree, values that would break lines, numbers beyond 32 bits, values
// without a text form and names too long for the tree's name buffer. Walked
// from ".1" in ascending order; each entry with the value text it must show.
#include "FakeAgent.h"
#include <string>
#include <vector>

struct CHostileVar
{
    CFakeAgent::CVar var;
    std::string strType;   // the type name shown
    std::string strValue;  // the value text shown
};

const std::vector<CHostileVar>& HostileMib();
std::vector<CFakeAgent::CVar> HostileVars();
// The numeric OID text of a variable (".1.3.6...").
std::string OidText(const CFakeAgent::Oid& name);

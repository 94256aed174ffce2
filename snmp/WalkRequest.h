#pragma once
// What a query asks of an agent: where it is and how to speak to it. Copied
// whole by the walk when it starts, so what is added here reaches the walk
// without further plumbing.
#include <string>

struct CWalkRequest
{
    std::string m_strHost;       // host as typed: name or dotted address, optionally ":port"
    std::string m_strCommunity;  // community, passed unchanged
};

#pragma once
// The nodes of the records' name paths, as the grid builds them before any
// cleaning: one node per name component ("system.sysDescr.0" gives system,
// sysDescr and 0; a leading "." belongs to the first component), the part a
// record shares with the one before it placed once, the record's texts on its
// last node. Each new node goes to the sink in pre-order with its depth
// (0 = a top node), so the output of a walk of any size streams.
#include "snmp/WalkMessages.h"
#include <functional>
#include <string>
#include <vector>

class CNamePathRows
{
public:
    // pCells: the record whose last component the node is, else null.
    using Sink = std::function<void(int nDepth, const std::string& strLabel, const CWalkRecord* pCells)>;

    explicit CNamePathRows(Sink sink) : m_sink(std::move(sink)) {}

    // The next record in walk order. A name equal to the one before it, or a
    // leading part of it, gives a new node for its last component. O(name).
    void Add(const CWalkRecord& record);

    // The components of a name.
    static std::vector<std::string> Components(const std::string& strName);

private:
    Sink m_sink;
    std::vector<std::string> m_prev;  // the last record's components
};

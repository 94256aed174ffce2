#pragma once
// What one query of the grid shares with its threads: the walk's flags, the
// count of its cleaning threads, and the lock under which those threads read
// the tree. The grid holds the state of its current query; every thread of a
// query holds a share of that query's state until it ends. Ending a query
// (Stop, a new query, the window's end) marks its state: the grid then neither
// waits for those threads nor hears from them again.
#include "snmp/WalkTarget.h"

#include <atomic>
#include <mutex>

struct CQueryState : CWalkState
{
    std::atomic<int> m_nCleaners{0};  // cleaning threads of the query not yet ended
    // A cleaning thread reads nodes only while holding m_treeMutex and finding
    // m_bTreeGone false; the grid sets m_bTreeGone under the mutex when the query
    // ends, after which the query's threads never read a node again.
    std::mutex m_treeMutex;
    bool m_bTreeGone = false;  // guarded by m_treeMutex
};

#pragma once
// What a walk reads from and writes to the object that owns it (the grid, or
// any other receiver: the command-line walker, tests). The owner derives from
// CWalkTarget, sets the fields and calls StartMibWalkThread (snmp/MibWalk.h).
//
// Threads: the owner writes m_request and m_hWalkWnd on its own thread before
// the start; the walk copies them when it starts and never reads
// them again. m_bRun and m_bWalking are shared flags, each written whole by one
// side: the owner clears m_bRun to stop the walk; the walk keeps m_bWalking at 1
// while it runs and drops it to 0 as its very last touch of the target, so an
// owner that has seen m_bWalking == 0 may destroy itself at once.
#include "platform/WinTypes.h"
#include "platform/winmsg/WinMsg.h"
#include "snmp/WalkRequest.h"
#include <atomic>
#include <string>

class CWalkTarget
{
public:
    CWalkTarget() = default;
    CWalkTarget(const CWalkTarget&) = delete;
    CWalkTarget& operator=(const CWalkTarget&) = delete;

    CWalkRequest m_request;           // the agent the walk asks
    std::atomic<BYTE> m_bRun{0};      // 1 = the walk may go on; cleared by the owner to stop it
    std::atomic<BYTE> m_bWalking{0};  // 1 from the thread start until the walk has ended
    HWND m_hWalkWnd = nullptr;        // the window every message of the walk goes to (a CMsgWindow's)

protected:
    ~CWalkTarget() = default;
};

#pragma once
// What a walk reads from and writes to the object that owns it (the grid, or
// any other receiver: the command-line walker, tests). The owner derives from
// CWalkTarget, sets the fields and calls StartMibWalkThread (snmp/MibWalk.h).
//
// Threads: the owner writes m_request, m_hWalkWnd and m_pWalk on
// its own thread before the start; the walk copies them when it starts and never
// reads them again. The walk's flags live in a CWalkState that the owner and the
// walk thread own together, so the owner may go, or start another walk with a new
// state, while an earlier walk still waits for an answer: that walk ends on its
// own and touches nothing but its own state.
#include "platform/WinTypes.h"
#include "platform/winmsg/WinMsg.h"
#include "snmp/WalkRequest.h"
#include <atomic>
#include <memory>
#include <string>

// The flags of one walk, each written whole by one side: the owner clears m_bRun
// to stop the walk; the walk keeps m_bWalking at 1 while it runs and drops it to
// 0 when it has let go of everything but this state.
struct CWalkState
{
    std::atomic<BYTE> m_bRun{1};      // 1 = the walk may go on; cleared by the owner to stop it
    std::atomic<BYTE> m_bWalking{0};  // 1 from the thread start until the walk has ended
};

class CWalkTarget
{
public:
    CWalkTarget() = default;
    CWalkTarget(const CWalkTarget&) = delete;
    CWalkTarget& operator=(const CWalkTarget&) = delete;

    CWalkRequest m_request;      // the agent the walk asks
    HWND m_hWalkWnd = nullptr;   // the window every message of the walk goes to (a CMsgWindow's)
    // The state of the walk started next (and then of the one that runs); the
    // walk holds a share of it until it ends.
    std::shared_ptr<CWalkState> m_pWalk = std::make_shared<CWalkState>();

protected:
    ~CWalkTarget() = default;
};

#pragma once
// The MIB walk from the "Base" setting onward, on a thread of its own,
// reporting to the target's window with the messages of snmp/WalkMessages.h:
// one record per variable, in the agent's order. v1, and any profile with
// max-repetitions 0, asks GET-NEXT for one variable per request; v2c and v3 ask
// GetBulk for up to max-repetitions variables, and every end rule below applies
// to each variable of an answer in turn (those before the end are posted). An
// answer of fewer variables than asked goes on from its last one; tooBig halves
// the repetitions and asks again (at 1 it ends the walk as an error status).
//
// How a walk ends (texts are posted as WM_WALK_ERROR, the end message is sent):
//   noSuchName (status 2), answer outside the base subtree,
//   endOfMibView (v2c, v3)                   no text        WM_WALK_DONE
//   any other error status (negative too)    "Error: errorStatus=..."  WM_WALK_DONE
//   a name not beyond the one before it      "Error: OID not increasing, ..." WM_WALK_DONE
//   an answer without variables (status 0)   "Error: The agent answered without variables.\n" WM_WALK_DONE
//   no response / exception in the request   its text       WM_WALK_DONE
//   m_bRun cleared (Stop)                    no text        WM_WALK_STOPPED
//   window gone                              nothing        nothing
//   failure before or while opening, failed OID copy, failed close
//                                            its text       no end message
// Whatever the way out the session is closed, everything the walk holds is
// released, and m_bWalking drops to 0 before the end message is sent. The walk
// touches nothing of its owner but its shared state and its window handle.
#include "platform/WinTypes.h"
#include "platform/winmsg/WinMsg.h"
#include "snmp/WalkRequest.h"
#include <memory>

class CWalkTarget;
struct CWalkState;

// What the walk takes from its target when it is started.
struct CWalkStart
{
    CWalkRequest request;
    HWND hWnd = nullptr;
};

// Starts the walk of target on a new detached thread: sets the m_bWalking of
// target.m_pWalk to 1, copies the request, the window handle and a share of the
// state on the calling thread, and returns at once. FALSE (and m_bWalking back
// at 0) when no thread could be created. The target may go at any time.
BOOL StartMibWalkThread(CWalkTarget& target);

// The walk itself, run by the thread StartMibWalkThread creates. Blocks until
// the walk has ended; reads Base from AppSettings, the rest from start.
void MibWalkThread(std::shared_ptr<CWalkState> pState, CWalkStart start);

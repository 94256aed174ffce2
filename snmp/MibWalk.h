#pragma once
// The MIB walk: GET-NEXT from the "Base" setting onward, one variable per
// request, on a thread of its own, reporting to the target's window with the
// messages of snmp/WalkMessages.h.
//
// How a walk ends (texts are posted as WM_WALK_ERROR, the end message is sent):
//   noSuchName (status 2), answer outside the base subtree,
//   endOfMibView (v2c)                       no text        WM_WALK_DONE
//   any other error status (negative too)    "Error: errorStatus=..."  WM_WALK_DONE
//   answer not beyond the name asked about   "Error: OID not increasing, ..." WM_WALK_DONE
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
// the walk has ended; reads Base, Timeout, Retries and Version from AppSettings.
void MibWalkThread(std::shared_ptr<CWalkState> pState, CWalkStart start);

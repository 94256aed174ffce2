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
// released, and m_bWalking drops to 0 before the end message is sent.
#include "platform/WinTypes.h"
#include "platform/winmsg/WinMsg.h"
#include "snmp/WalkRequest.h"

class CWalkTarget;

// What the walk takes from its target when it is started.
struct CWalkStart
{
    CWalkRequest request;
    HWND hWnd = nullptr;
};

// Starts the walk of target on a new detached thread: sets m_bWalking to 1,
// copies the request and the window handle on the calling thread, and returns
// at once. TRUE = the walk runs; FALSE = no thread could be created (m_bWalking
// back at 0). The target must stay alive until m_bWalking is 0 again.
BOOL StartMibWalkThread(CWalkTarget& target);

// The walk itself, run by the thread StartMibWalkThread creates. Blocks until
// the walk has ended; reads Base, Timeout, Retries and Version from AppSettings.
void MibWalkThread(CWalkTarget& target, CWalkStart start);

#pragma once
// Something that can handle commands. A command is offered, in order, to the
// active view, its child frame, the main frame and the application; the first
// target that handles it runs it. A command no target handles is disabled.
#include "app/CmdUI.h"

class CCmdTarget
{
public:
    virtual ~CCmdTarget() = default;

    // Runs command nID and returns TRUE when this target handles it.
    virtual BOOL OnCommand(UINT nID) { (void)nID; return FALSE; }
    // Returns TRUE when this target handles cmdUI.m_nID, after setting its state
    // (enabled unless the target says otherwise). Cheap: called often.
    virtual BOOL OnUpdateCommand(CCmdUI& cmdUI) { (void)cmdUI; return FALSE; }
};

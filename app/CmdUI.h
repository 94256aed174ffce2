#pragma once
// The state a command target gives a command while menus and toolbar are
// brought up to date: enabled or not, and a check mark for toggles.
#include "platform/WinTypes.h"

class CCmdUI
{
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}

    void Enable(BOOL bEnable = TRUE) { m_bEnabled = bEnable; }
    // 0 unchecked, 1 checked; untouched (-1) means the command is no toggle.
    void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }

    const UINT m_nID;
    BOOL m_bEnabled = TRUE;
    int m_nCheck = -1;
};

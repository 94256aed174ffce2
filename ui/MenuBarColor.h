#pragma once
// The colour of the skinned menu bar and toolbars, which the query bar and the
// dialogs use as the dark end of their gradients.
#include "platform/WinTypes.h"

// The menu-bar colour for the current application palette: the window colour
// tinted a quarter of the way towards the highlight colour. Cheap; call freely.
COLORREF GetMenuBarColor();

#pragma once
// Toggle state of the lock keys, for the status-bar indicators. The windowing
// system reports Caps Lock and Num Lock with every key and mouse event (the
// native modifier bits of X11); Scroll Lock is followed by counting its presses
// from the first call on. Before any input has arrived every lock reads as off.
#include "platform/WinTypes.h"

constexpr int VK_CAPITAL = 0x14;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;

// TRUE when the lock key nVirtKey (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) is on.
// Starts watching the application's input on the first call (UI thread only).
BOOL IsKeyToggled(int nVirtKey);

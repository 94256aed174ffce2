#pragma once
// The system clipboard with the open / empty / set / close protocol the product
// code is written in, over QClipboard. UI thread only.
//
// The clipboard is held open by one owner at a time: opening it while it is open
// fails. Emptying and setting need it open. Tests can make opening or setting fail.
#include "platform/WinTypes.h"
#include "platform/clipboard/GlobalMem.h"
#include <string>

class QObject;

constexpr UINT CF_TEXT = 1;  // 8-bit text ended by a NUL byte

// Opens the clipboard on behalf of pOwner (Not owned; may be null; Qt keeps no
// per-window clipboard owner). FALSE when it is already open or opening was made
// to fail.
BOOL OpenClipboard(const QObject* pOwner);
// Removes the clipboard's contents. FALSE when the clipboard is not open.
BOOL EmptyClipboard();
// Hands the block to the clipboard. On success the clipboard owns it until it is
// emptied or set again, and hMem is left empty; on failure (clipboard not open,
// unknown format, no block, made to fail) hMem stays the caller's. CF_TEXT
// blocks are read up to the first NUL. Cost O(size of the block) to find its
// end; each paste makes its text of the block then.
BOOL SetClipboardData(UINT nFormat, HGLOBAL& hMem);
// FALSE when the clipboard was not open.
BOOL CloseClipboard();

// The clipboard's current text as 8-bit bytes (characters above 0xFF become "?").
std::string GetClipboardText();

// Makes the following opens and/or sets fail until called again with FALSE.
void SetClipboardFaults(BOOL bFailOpen, BOOL bFailSet);

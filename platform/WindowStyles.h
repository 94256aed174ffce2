#pragma once
// Window and control style bits the in-place editors are created with.
#include "platform/WinTypes.h"

constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;

constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;

// Control ids of the in-place editors.
constexpr UINT IDC_LABEL_EDIT = 0x1233;  // column 0
constexpr UINT IDC_CELL_EDIT = 0x1234;   // a sub-item
constexpr UINT IDC_CELL_COMBO = 0x1235;  // a drop-down cell

#pragma once
// The application's resources that are not pictures: string table, menus 128 and
// 129, toolbar 128 and accelerator table 128. Pictures are in resources/ (see
// platform/res/PictureResources.h); InitAppResources makes them reachable.
#include "platform/WinTypes.h"
#include <string>
#include <vector>

struct CMenuItemDef
{
    UINT nID;             // ID_SEPARATOR (0) for a separator
    const char* pszText;  // "&New\tCtrl+N": text, then the shortcut shown beside it
};

struct CPopupDef
{
    const char* pszText;  // "&File"
    std::vector<CMenuItemDef> items;
};

struct CAccelDef
{
    UINT nID;
    const char* pszKey;   // portable key-sequence text, e.g. "Ctrl+N"
};

// Menu nID (IDR_MAINFRAME or IDR_ORVEXTYPE), top-level popups in order; empty for
// any other number.
const std::vector<CPopupDef>& MenuResource(UINT nID);

// Toolbar nID's buttons in order, ID_SEPARATOR for separators; the n-th
// non-separator button shows the n-th image of the bitmap of the same number.
const std::vector<UINT>& ToolBarResource(UINT nID);
constexpr int kToolBarImageWidth = 16;
constexpr int kToolBarImageHeight = 15;
constexpr COLORREF kToolBarTransparent = RGB(204, 255, 255);

// Accelerator table nID; a command may have several keys.
const std::vector<CAccelDef>& AcceleratorResource(UINT nID);

// String resource nID ("" when there is none). Command prompts are the status-bar
// text, then "\n", then the tooltip.
std::string LoadString(UINT nID);
// One part of a "a\nb\n..." resource string ("" when missing).
std::string StringPart(const std::string& str, int nPart);

// Registers the compiled-in pictures; idempotent. Call before loading any.
void InitAppResources();

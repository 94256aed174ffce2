#pragma once
// A popup menu of text items with command numbers, shown at a screen point
// until the user picks an item or dismisses it. UI thread only.
#include "platform/WinTypes.h"
#include <memory>
#include <string>

class QMenu;
class QWidget;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;

class CPopupMenu
{
public:
    CPopupMenu();
    ~CPopupMenu();
    CPopupMenu(const CPopupMenu&) = delete;
    CPopupMenu& operator=(const CPopupMenu&) = delete;

    // Appends an item (8-bit text; "&" marks the access key) or a separator.
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem, const std::string& text = std::string());
    // Shows the menu at (x, y) in screen coordinates over pWnd (Not owned; may be
    // null) and waits. Returns the chosen item's number, 0 when none was chosen.
    // The choice is always returned (as with TPM_RETURNCMD); TPM_RIGHTBUTTON
    // lets the right button pick items too, which Qt menus always allow.
    UINT TrackPopupMenu(UINT nFlags, int x, int y, QWidget* pWnd);

private:
    std::unique_ptr<QMenu> m_pMenu;  // Owned.
};

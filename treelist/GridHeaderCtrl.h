#pragma once
// The header of a tree-list grid: paints without flicker through an off-screen
// buffer, stretches its last column over the width left, and offers a context menu (opened by a right click) with "Print
// Preview" (message 7770 to the window that owns the list) and "-> Clipboard"
// (message 7771 to the list, which copies its tree as text).
#include "platform/listctrl/HeaderCtrl.h"

class CListCtrl;

// The command that opens the header's menu.
constexpr UINT ID_HEADER_MENU = 13393;
// Items of the menu.
constexpr UINT ID_HEADER_PRINTPREVIEW = 1;
constexpr UINT ID_HEADER_CLIPBOARD = 2;

class CGridHeaderCtrl : public CHeaderCtrl
{
public:
    explicit CGridHeaderCtrl(QWidget* pParent = nullptr);

    // ID_HEADER_MENU with notification code 0 (high word) shows the menu at the
    // cursor and carries out the choice; TRUE when the command was the header's.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Carries out a choice of the menu (0: none).
    void OnMenuChoice(UINT nChoice);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    CListCtrl* List() const;  // the list this header belongs to, or null
};

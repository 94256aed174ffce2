#pragma once
// One row of the report-mode list: what the list layer keeps per item.
// Selection and keyboard focus are not here: they live in the view's
// selection model, as the view's own navigation changes them.
#include "platform/WinTypes.h"
#include <string>
#include <vector>

struct CListRow
{
    // Cells 0..31 whose text the list asks its owner for (callback texts);
    // a row with every bit set keeps no text of its own.
    static constexpr UINT kAllCallback = ~0u;

    std::vector<std::string> texts;  // texts[i] = sub-item i (0 = the item label); missing = empty
    LPARAM lParam = 0;               // item data; never owned by the list
    int nIndent = 0;                 // in image widths
    int nImage = 0;                  // small image index
    UINT nState = 0;                 // LVIS_CUT, LVIS_DROPHILITED and the state-image bits
    UINT nCallbackCells = 0;         // bit i: sub-item i's text is a callback text

    bool IsCallback(int nSubItem) const;
    void SetCallback(int nSubItem);
    // The row's own text (empty for a callback cell).
    const std::string& Text(int nSubItem) const;
    // Gives the cell an own text: it stops being a callback cell.
    void SetText(int nSubItem, const std::string& text);
};

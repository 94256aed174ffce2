#pragma once
// One row of the report-mode list: what the list layer keeps per item.
// Selection and keyboard focus are not here: they live in the view's
// selection model, as the view's own navigation changes them.
#include "platform/WinTypes.h"
#include <string>
#include <vector>

struct CListRow
{
    std::vector<std::string> texts;  // texts[i] = sub-item i (0 = the item label); missing = empty
    LPARAM lParam = 0;               // item data; never owned by the list
    int nIndent = 0;                 // in image widths
    int nImage = 0;                  // small image index
    UINT nState = 0;                 // LVIS_CUT, LVIS_DROPHILITED and the state-image bits

    const std::string& Text(int nSubItem) const;
    void SetText(int nSubItem, const std::string& text);
};

#pragma once
// The list's column header. Columns keep the order they were inserted in
// (sections cannot be moved by the user), so display positions and column
// indices coincide unless code reorders them.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include <QHeaderView>

class CHeaderCtrl : public QHeaderView
{

public:
    explicit CHeaderCtrl(QWidget* pParent = nullptr);

    int GetItemCount() const;
    // Rectangle of column nIndex in the header's own coordinates; FALSE when it does not exist.
    BOOL GetItemRect(int nIndex, CRect* pRect) const;
    // Column index shown at display position nOrder; -1 when out of range.
    int OrderToIndex(int nOrder) const;
    // Display position of column nIndex; -1 when out of range.
    int IndexToOrder(int nIndex) const;
};

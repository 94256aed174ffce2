#include "platform/listctrl/HeaderCtrl.h"

CHeaderCtrl::CHeaderCtrl(QWidget* pParent) : QHeaderView(Qt::Horizontal, pParent)
{
    setSectionsMovable(false);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHighlightSections(false);
    setSectionsClickable(false);
}

int CHeaderCtrl::GetItemCount() const
{
    return count();
}

BOOL CHeaderCtrl::GetItemRect(int nIndex, CRect* pRect) const
{
    if (!pRect || nIndex < 0 || nIndex >= count())
        return FALSE;
    const int x = sectionViewportPosition(nIndex);
    *pRect = CRect(x, 0, x + sectionSize(nIndex), height());
    return TRUE;
}

int CHeaderCtrl::OrderToIndex(int nOrder) const
{
    if (nOrder < 0 || nOrder >= count())
        return -1;
    return logicalIndex(nOrder);
}

int CHeaderCtrl::IndexToOrder(int nIndex) const
{
    if (nIndex < 0 || nIndex >= count())
        return -1;
    return visualIndex(nIndex);
}

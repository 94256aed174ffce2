#include "treelist/GridHeaderCtrl.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/listctrl/ListCtrl.h"
#include "treelist/MemDC.h"
#include "treelist/TreeListCtrl.h"
#include "platform/menu/PopupMenu.h"
#include <QContextMenuEvent>
#include <QCursor>
#include <QPaintEvent>
#include <QPainter>

CGridHeaderCtrl::CGridHeaderCtrl(QWidget* pParent) : CHeaderCtrl(pParent)
{
    // Every pixel is painted from the buffer: no background erase before it.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // The last column takes whatever width the window has left.
    setStretchLastSection(true);
}

CListCtrl* CGridHeaderCtrl::List() const
{
    return dynamic_cast<CListCtrl*>(parentWidget());
}

void CGridHeaderCtrl::paintEvent(QPaintEvent* pEvent)
{
    if (pEvent->region().isEmpty())
        return;
    QPainter painter(viewport());
    CDC dc(&painter);
    const CRect rcUpdate(pEvent->rect());
    CMemDC memDC(&dc, rcUpdate);

    // Everything right of the last column is plain button face.
    CRect rcItems;
    for (int nItem = 0; nItem < GetItemCount(); ++nItem) {
        CRect rcItem;
        if (GetItemRect(nItem, &rcItem))
            rcItems.UnionRect(rcItems, rcItem);
    }
    memDC.ExcludeClipRect(rcItems);
    memDC.FillSolidRect(rcUpdate, GetSysColor(COLOR_BTNFACE, this));
    memDC.SelectClipRgn(nullptr);

    QPainter* pMemPainter = memDC.GetPainter();
    for (int nOrder = 0; nOrder < count(); ++nOrder) {
        const int nIndex = logicalIndex(nOrder);
        CRect rcItem;
        CRect rcVisible;
        if (isSectionHidden(nIndex) || !GetItemRect(nIndex, &rcItem) || !rcVisible.IntersectRect(rcItem, rcUpdate))
            continue;
        pMemPainter->save();
        paintSection(pMemPainter, rcItem.ToQRect(), nIndex);
        pMemPainter->restore();
    }
}

void CGridHeaderCtrl::contextMenuEvent(QContextMenuEvent* pEvent)
{
    OnCommand(ID_HEADER_MENU, 0);
    pEvent->accept();
}

BOOL CGridHeaderCtrl::OnCommand(WPARAM wParam, LPARAM /*lParam*/)
{
    if ((wParam & 0xFFFF) != ID_HEADER_MENU || ((wParam >> 16) & 0xFFFF) != 0)
        return FALSE;
    CPopupMenu menu;
    menu.AppendMenu(MF_STRING, ID_HEADER_PRINTPREVIEW, "Print Preview");
    menu.AppendMenu(MF_STRING, ID_HEADER_CLIPBOARD, "-> Clipboard");
    const QPoint ptCursor = QCursor::pos();
    OnMenuChoice(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, ptCursor.x(), ptCursor.y(), this));
    return TRUE;
}

void CGridHeaderCtrl::OnMenuChoice(UINT nChoice)
{
    CListCtrl* pList = List();
    if (!pList)
        return;
    if (nChoice == ID_HEADER_PRINTPREVIEW)
        pList->SendParentMessage(WM_TREELIST_PRINTPREVIEW, 0, 0);
    else if (nChoice == ID_HEADER_CLIPBOARD)
        pList->SendCtrlMessage(WM_TREELIST_COPYTEXT, 0, 0);
}

#include "platform/menu/PopupMenu.h"
#include <QAction>
#include <QMenu>

CPopupMenu::CPopupMenu() : m_pMenu(std::make_unique<QMenu>())
{
}

CPopupMenu::~CPopupMenu() = default;

BOOL CPopupMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const std::string& text)
{
    if (nFlags & MF_SEPARATOR) {
        m_pMenu->addSeparator();
        return TRUE;
    }
    QAction* pAction = m_pMenu->addAction(QString::fromLatin1(text.c_str()));
    pAction->setData(nIDNewItem);
    pAction->setEnabled((nFlags & MF_GRAYED) == 0);
    return TRUE;
}

UINT CPopupMenu::TrackPopupMenu(UINT /*nFlags*/, int x, int y, QWidget* /*pWnd*/)
{
    const QAction* pChosen = m_pMenu->exec(QPoint(x, y));
    return pChosen ? pChosen->data().toUInt() : 0;
}

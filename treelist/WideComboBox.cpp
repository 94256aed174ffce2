#include "treelist/WideComboBox.h"
#include "platform/gdi/SysMetrics.h"
#include <QAbstractItemView>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int kExtraWidth = 4;

} // namespace

CWideComboBox::CWideComboBox(QWidget* pParent) : QComboBox(pParent)
{
}

void CWideComboBox::showPopup()
{
    OnDropDown();
    QComboBox::showPopup();
    FitListBox();
}

void CWideComboBox::OnDropDown()
{
    const QFontMetrics metrics(font());
    const int nScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    int nWidest = 0;
    for (int i = 0; i < count(); ++i)
        nWidest = std::max(nWidest, metrics.horizontalAdvance(itemText(i)) + nScrollWidth);
    m_nDropWidth = nWidest + metrics.horizontalAdvance(QLatin1Char('0')) + kExtraWidth;

    const QPoint ptTopLeft = mapToGlobal(QPoint(0, 0));
    const QScreen* pScreen = QGuiApplication::screenAt(ptTopLeft);
    if (!pScreen)
        pScreen = screen();
    const int nAreaRight = pScreen ? pScreen->availableGeometry().right() + 1 : ptTopLeft.x() + m_nDropWidth;
    m_nDropShift = std::max(0, ptTopLeft.x() + m_nDropWidth - nAreaRight);
}

void CWideComboBox::FitListBox()
{
    QWidget* pListBox = view() ? view()->window() : nullptr;
    if (m_nDropWidth < 1 || !pListBox || pListBox == window())
        return;
    QRect rc = pListBox->geometry();
    if (rc.width() == m_nDropWidth || rc.left() + m_nDropWidth <= rc.right() + 1)
        return;
    rc.setWidth(m_nDropWidth);
    rc.translate(-m_nDropShift, 0);
    pListBox->setGeometry(rc);
}

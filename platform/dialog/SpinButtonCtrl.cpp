#include "platform/dialog/SpinButtonCtrl.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

CSpinButtonCtrl::CSpinButtonCtrl(QWidget* pParent)
    : QWidget(pParent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(&m_timerRepeat, &QTimer::timeout, this, &CSpinButtonCtrl::OnRepeat);
}

void CSpinButtonCtrl::SetBuddy(QLineEdit* pBuddy)
{
    if (m_pBuddy)
        m_pBuddy->removeEventFilter(this);
    m_pBuddy = pBuddy;
    if (!pBuddy)
        return;
    pBuddy->installEventFilter(this);
    const QRect rcBuddy = pBuddy->geometry();
    const int cx = std::min(width(), rcBuddy.width() / 2);
    pBuddy->resize(rcBuddy.width() - cx, rcBuddy.height());
    setGeometry(rcBuddy.right() - cx + 1, rcBuddy.top(), cx, rcBuddy.height());
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
}

void CSpinButtonCtrl::Step(int nDelta)
{
    if (!m_pBuddy)
        return;
    bool bOk = false;
    const long long value = m_pBuddy->text().toLongLong(&bOk);
    const long long from = bOk ? value : m_nPos;
    const long long lo = std::min(m_nLower, m_nUpper);
    const long long hi = std::max(m_nLower, m_nUpper);
    m_nPos = static_cast<int>(std::clamp(from + nDelta, lo, hi));
    m_pBuddy->setText(QString::number(m_nPos));
}

int CSpinButtonCtrl::ArrowAt(const QPoint& pt) const
{
    return pt.y() < height() / 2 ? +1 : -1;
}

void CSpinButtonCtrl::OnRepeat()
{
    m_timerRepeat.setInterval(50);
    Step(m_nPressed);
}

void CSpinButtonCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || !isEnabled())
        return;
    m_nPressed = ArrowAt(pEvent->position().toPoint());
    Step(m_nPressed);
    m_timerRepeat.start(400);
    update();
}

void CSpinButtonCtrl::mouseReleaseEvent(QMouseEvent*)
{
    m_timerRepeat.stop();
    m_nPressed = 0;
    update();
}

bool CSpinButtonCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pBuddy && pEvent->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(pEvent)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CSpinButtonCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        const int arrow = i == 0 ? +1 : -1;
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= (m_nPressed == arrow) ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption indicator = button;
        indicator.rect = halves[i].adjusted(2, 1, -2, -1);
        style()->drawPrimitive(arrow > 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &indicator, &painter, this);
    }
}

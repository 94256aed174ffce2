#include "ui/ColourPopup.h"
#include "platform/gdi/SysMetrics.h"
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <array>

namespace {

constexpr std::array<CColourPopup::NamedColour, 40> kPalette = {{
    {RGB(0x00, 0x00, 0x00), "Black"},        {RGB(0x99, 0x33, 0x00), "Brown"},
    {RGB(0x33, 0x33, 0x00), "Olive"},        {RGB(0x00, 0x33, 0x00), "Dark Green"},
    {RGB(0x00, 0x33, 0x66), "Dark Teal"},    {RGB(0x00, 0x00, 0x80), "Navy"},
    {RGB(0x33, 0x33, 0x99), "Indigo"},       {RGB(0x33, 0x33, 0x33), "Charcoal"},

    {RGB(0x80, 0x00, 0x00), "Maroon"},       {RGB(0xFF, 0x66, 0x00), "Orange"},
    {RGB(0x80, 0x80, 0x00), "Dark Yellow"},  {RGB(0x00, 0x80, 0x00), "Green"},
    {RGB(0x00, 0x80, 0x80), "Teal"},         {RGB(0x00, 0x00, 0xFF), "Blue"},
    {RGB(0x66, 0x66, 0x99), "Slate"},        {RGB(0x80, 0x80, 0x80), "Grey"},

    {RGB(0xFF, 0x00, 0x00), "Red"},          {RGB(0xFF, 0x99, 0x00), "Amber"},
    {RGB(0x99, 0xCC, 0x00), "Lime"},         {RGB(0x33, 0x99, 0x66), "Sea Green"},
    {RGB(0x33, 0xCC, 0xCC), "Turquoise"},    {RGB(0x33, 0x66, 0xFF), "Royal Blue"},
    {RGB(0x80, 0x00, 0x80), "Purple"},       {RGB(0xA0, 0xA0, 0xA0), "Medium Grey"},

    {RGB(0xFF, 0x00, 0xFF), "Magenta"},      {RGB(0xFF, 0xCC, 0x00), "Gold"},
    {RGB(0xFF, 0xFF, 0x00), "Yellow"},       {RGB(0x00, 0xFF, 0x00), "Bright Green"},
    {RGB(0x00, 0xFF, 0xFF), "Aqua"},         {RGB(0x00, 0xCC, 0xFF), "Sky Blue"},
    {RGB(0x99, 0x33, 0x66), "Plum"},         {RGB(0xD0, 0xD0, 0xD0), "Silver"},

    {RGB(0xFF, 0x99, 0xCC), "Pink"},         {RGB(0xFF, 0xCC, 0x99), "Peach"},
    {RGB(0xFF, 0xFF, 0x99), "Cream"},        {RGB(0xCC, 0xFF, 0xCC), "Mint"},
    {RGB(0xCC, 0xFF, 0xFF), "Ice Blue"},     {RGB(0x99, 0xCC, 0xFF), "Pale Blue"},
    {RGB(0xCC, 0x99, 0xFF), "Lavender"},     {RGB(0xFF, 0xFF, 0xFF), "White"},
}};

constexpr int kRows = static_cast<int>(kPalette.size()) / CColourPopup::kColumns;

} // namespace

std::span<const CColourPopup::NamedColour> CColourPopup::Palette() { return kPalette; }

CColourPopup::CColourPopup(QWidget* pParent, COLORREF current, COLORREF defaultColour,
                           const QString& strDefaultText, const QString& strCustomText)
    : QWidget(pParent, Qt::Popup)
    , m_current(current)
    , m_default(defaultColour)
    , m_strDefaultText(strDefaultText)
    , m_strCustomText(strCustomText)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    const QFontMetrics metrics(font());
    m_nCell = std::max(18, metrics.height() + 6);
    m_nTextRow = metrics.height() + 10;
    m_nMargin = 4;
    const int cx = kColumns * m_nCell + 2 * m_nMargin;
    int cy = kRows * m_nCell + 2 * m_nMargin;
    cy += HasDefault() ? m_nTextRow + m_nMargin : 0;
    cy += HasCustom() ? m_nTextRow + m_nMargin : 0;
    setFixedSize(cx, cy);
    // Start on the entry that matches the current colour, so Enter keeps it.
    for (int i = 0; i < static_cast<int>(kPalette.size()); ++i)
        if (kPalette[i].colour == current)
            m_nHot = i;
    if (HasDefault() && current == defaultColour)
        m_nHot = kDefaultItem;
}

QRect CColourPopup::ItemRect(int nItem) const
{
    const int cxInner = width() - 2 * m_nMargin;
    const int yGrid = m_nMargin + (HasDefault() ? m_nTextRow + m_nMargin : 0);
    if (nItem == kDefaultItem)
        return HasDefault() ? QRect(m_nMargin, m_nMargin, cxInner, m_nTextRow) : QRect();
    if (nItem == CustomItem())
        return HasCustom() ? QRect(m_nMargin, yGrid + kRows * m_nCell + m_nMargin, cxInner, m_nTextRow) : QRect();
    if (nItem < 0 || nItem > CustomItem())
        return QRect();
    return QRect(m_nMargin + (nItem % kColumns) * m_nCell, yGrid + (nItem / kColumns) * m_nCell, m_nCell, m_nCell);
}

int CColourPopup::ItemAt(const QPoint& pt) const
{
    for (int i = kDefaultItem; i <= CustomItem(); ++i)
        if (ItemRect(i).contains(pt))
            return i;
    return kNoItem;
}

QString CColourPopup::ToolTipOf(int nItem) const
{
    if (nItem >= 0 && nItem < CustomItem())
        return QString::fromLatin1(kPalette[nItem].name);
    return QString();
}

void CColourPopup::ShowAt(const QPoint& ptGlobal)
{
    QPoint pt = ptGlobal;
    if (const QScreen* pScreen = QApplication::screenAt(ptGlobal)) {
        const QRect rcScreen = pScreen->availableGeometry();
        pt.setX(std::clamp(pt.x(), rcScreen.left(), std::max(rcScreen.left(), rcScreen.right() - width())));
        if (pt.y() + height() > rcScreen.bottom())
            pt.setY(std::max(rcScreen.top(), pt.y() - height()));
    }
    move(pt);
    show();
    setFocus(Qt::PopupFocusReason);
}

void CColourPopup::Choose(int nItem)
{
    if (nItem == kNoItem)
        return;
    m_bChosen = true;
    close();
    if (nItem == CustomItem())
        emit customRequested();
    else if (nItem == kDefaultItem)
        emit colourChosen(m_default, true);
    else
        emit colourChosen(kPalette[nItem].colour, false);
}

void CColourPopup::MoveHot(int nKey)
{
    const int nLast = CustomItem() - 1;
    int n = m_nHot;
    if (n == kNoItem) {
        n = 0;
    } else if (n == kDefaultItem) {
        n = (nKey == Qt::Key_Down) ? 0 : (nKey == Qt::Key_Up && HasCustom()) ? CustomItem() : n;
    } else if (n == CustomItem()) {
        n = (nKey == Qt::Key_Up) ? nLast - kColumns + 1 : (nKey == Qt::Key_Down && HasDefault()) ? kDefaultItem : n;
    } else if (nKey == Qt::Key_Left) {
        n = (n > 0) ? n - 1 : n;
    } else if (nKey == Qt::Key_Right) {
        n = (n < nLast) ? n + 1 : n;
    } else if (nKey == Qt::Key_Up) {
        n = (n >= kColumns) ? n - kColumns : (HasDefault() ? kDefaultItem : n);
    } else if (nKey == Qt::Key_Down) {
        n = (n + kColumns <= nLast) ? n + kColumns : (HasCustom() ? CustomItem() : n);
    }
    m_nHot = n;
    update();
}

void CColourPopup::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
        MoveHot(pEvent->key());
        break;
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Space:
        Choose(m_nHot);
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(pEvent);
    }
}

void CColourPopup::mouseMoveEvent(QMouseEvent* pEvent)
{
    const int n = ItemAt(pEvent->position().toPoint());
    if (n != kNoItem && n != m_nHot) {
        m_nHot = n;
        update();
    }
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        Choose(ItemAt(pEvent->position().toPoint()));
}

void CColourPopup::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (!m_bChosen) {
        m_bChosen = true;  // report the cancel once
        emit cancelled();
    }
}

bool CColourPopup::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ToolTip) {
        auto* pHelp = static_cast<QHelpEvent*>(pEvent);
        const int n = ItemAt(pHelp->pos());
        const QString strTip = ToolTipOf(n);
        if (strTip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(pHelp->globalPos(), strTip, this, ItemRect(n));
        return true;
    }
    return QWidget::event(pEvent);
}

void CColourPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (HasDefault())
        PaintTextItem(painter, kDefaultItem, m_strDefaultText, true);
    for (int i = 0; i < CustomItem(); ++i)
        PaintCell(painter, i);
    if (HasCustom())
        PaintTextItem(painter, CustomItem(), m_strCustomText, false);
}

void CColourPopup::PaintTextItem(QPainter& painter, int nItem, const QString& strText, bool bSwatch)
{
    const QRect rc = ItemRect(nItem);
    const bool bSelected = (nItem == kDefaultItem && m_current == m_default);
    QColor frame = palette().color(QPalette::Mid);
    if (nItem == m_nHot || bSelected) {
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(nItem == m_nHot ? 60 : 30);
        painter.fillRect(rc, fill);
        frame = palette().color(QPalette::Highlight);
    }
    painter.setPen(frame);
    painter.drawRect(rc.adjusted(0, 0, -1, -1));
    QRect rcText = rc;
    if (bSwatch) {
        const int side = rc.height() - 8;
        const QRect rcSwatch(rc.left() + 5, rc.top() + 4, side, side);
        painter.fillRect(rcSwatch, ToQColor(m_default));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rcSwatch.adjusted(0, 0, -1, -1));
        rcText.setLeft(rcSwatch.right());
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rcText, Qt::AlignCenter, strText);
}

void CColourPopup::PaintCell(QPainter& painter, int nItem)
{
    const QRect rc = ItemRect(nItem);
    const bool bSelected = kPalette[nItem].colour == m_current;
    if (nItem == m_nHot || bSelected) {
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(nItem == m_nHot ? 80 : 40);
        painter.fillRect(rc, fill);
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(rc.adjusted(0, 0, -1, -1));
    }
    const QRect rcSwatch = rc.adjusted(3, 3, -3, -3);
    painter.fillRect(rcSwatch, ToQColor(kPalette[nItem].colour));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rcSwatch.adjusted(0, 0, -1, -1));
}

#include "ui/ColourPicker.h"
#include "platform/gdi/SysMetrics.h"
#include "ui/ColourPopup.h"
#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

bool RunColourDialog(COLORREF& colour, QWidget* pParent)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(colour), pParent);
    if (!chosen.isValid())
        return false;
    colour = ToColorRef(chosen);
    return true;
}

} // namespace

CColourPicker::CColourPicker(QWidget* pParent)
    : QPushButton(pParent)
    , m_fnDialog(RunColourDialog)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &CColourPicker::ShowPopup);
}

void CColourPicker::SetColour(COLORREF colour)
{
    m_colour = colour;
    update();
}

void CColourPicker::ShowPopup()
{
    if (Popup())
        return;
    m_pPopup = new CColourPopup(this, m_colour, m_default, m_strDefaultText, m_strCustomText);
    connect(m_pPopup, &CColourPopup::colourChosen, this, [this](quint32 colour, bool) { OnChosen(colour); });
    connect(m_pPopup, &CColourPopup::customRequested, this, &CColourPicker::OnCustom, Qt::QueuedConnection);
    for (auto signal : {&CColourPopup::customRequested, &CColourPopup::cancelled})
        connect(m_pPopup, signal, this, [this] { setDown(false); });
    setDown(true);
    m_pPopup->ShowAt(mapToGlobal(QPoint(0, height())));
}

CColourPopup* CColourPicker::Popup() const
{
    // A closed popup lingers until its deferred deletion; it no longer counts.
    return (m_pPopup && m_pPopup->isVisible()) ? m_pPopup.data() : nullptr;
}

CColourPicker::~CColourPicker()
{
    // Before the button's own parts go: closing the popup reports back to them.
    delete m_pPopup;
}

void CColourPicker::OnChosen(quint32 colour)
{
    setDown(false);
    SetColour(colour);
    emit colourChosen(colour);
}

void CColourPicker::OnCustom()
{
    COLORREF colour = m_colour;
    if (m_fnDialog && m_fnDialog(colour, window()))
        OnChosen(colour);
}

void CColourPicker::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Down && (pEvent->modifiers() & Qt::AltModifier)) {
        ShowPopup();
        return;
    }
    QPushButton::keyPressEvent(pEvent);
}

void CColourPicker::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect rcContent = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int cxArrow = std::min(12, rcContent.width() / 3);
    const QRect rcArrow(rcContent.right() - cxArrow + 1, rcContent.top(), cxArrow, rcContent.height());
    QRect rcSwatch(rcContent.left() + 1, rcContent.top() + 1, rcContent.width() - cxArrow - 6, rcContent.height() - 2);
    if (isDown())
        rcSwatch.translate(1, 1);
    painter.fillRect(rcSwatch, isEnabled() ? ToQColor(m_colour) : palette().color(QPalette::Button));
    painter.setPen(palette().color(isEnabled() ? QPalette::Dark : QPalette::Mid));
    painter.drawRect(rcSwatch.adjusted(0, 0, -1, -1));

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rcArrow.left() - 2, rcContent.top() + 1, rcArrow.left() - 2, rcContent.bottom() - 1);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = rcArrow;
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);
}

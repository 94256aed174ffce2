#include "ui/ThemeHelper.h"
#include "platform/gdi/DC.h"
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <cstring>

namespace {

constexpr int kClassButton = 1;
constexpr int kClassCombo = 2;
constexpr int kClassSpin = 3;

int ClassOf(const char* pszClassList)
{
    if (!pszClassList) return 0;
    if (std::strcmp(pszClassList, "BUTTON") == 0) return kClassButton;
    if (std::strcmp(pszClassList, "COMBOBOX") == 0) return kClassCombo;
    if (std::strcmp(pszClassList, "SPIN") == 0) return kClassSpin;
    return 0;
}

// Style state for the common numbering 1 normal, 2 hot, 3 pressed, 4 disabled.
QStyle::State StateOf(int iStateId)
{
    QStyle::State state = QStyle::State_Raised;
    if (iStateId != 4)
        state |= QStyle::State_Enabled;
    if (iStateId == 2)
        state |= QStyle::State_MouseOver;
    if (iStateId == 3)
        state = (state & ~QStyle::State_Raised) | QStyle::State_Sunken;
    return state;
}

void InitOption(QStyleOption& option, const QWidget* pWidget, const CRect& rc, QStyle::State state)
{
    if (pWidget) {
        option.palette = pWidget->palette();
        option.fontMetrics = pWidget->fontMetrics();
        option.direction = pWidget->layoutDirection();
    } else {
        option.palette = QApplication::palette();
    }
    option.rect = rc.ToQRect();
    option.state = state;
}

} // namespace

CThemeHelper::CThemeHelper(const QWidget* pWidget, const char* pszClassList)
    : m_pWidget(pWidget), m_nClass(ClassOf(pszClassList))
{
}

BOOL CThemeHelper::IsThemeActive()
{
    const QStyle* pStyle = QApplication::style();
    return pStyle && pStyle->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0 ? TRUE : FALSE;
}

BOOL CThemeHelper::DrawThemeBackground(CDC* pDC, int iPartId, int iStateId, const CRect& rc) const
{
    if (!IsOpen() || !pDC || !pDC->GetPainter() || rc.IsRectEmpty())
        return FALSE;
    switch (m_nClass) {
    case kClassButton:
        return DrawButtonPart(pDC, iPartId, iStateId, rc);
    case kClassCombo:
        if (iPartId != CP_DROPDOWNBUTTON)
            return FALSE;
        DrawArrowButton(pDC, QStyle::PE_IndicatorArrowDown, iStateId, rc);
        return TRUE;
    case kClassSpin:
        if (iPartId != SPNP_UP && iPartId != SPNP_DOWN)
            return FALSE;
        DrawArrowButton(pDC, iPartId == SPNP_UP ? QStyle::PE_IndicatorSpinUp : QStyle::PE_IndicatorSpinDown,
                        iStateId, rc);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CThemeHelper::DrawButtonPart(CDC* pDC, int iPartId, int iStateId, const CRect& rc) const
{
    QPainter* pPainter = pDC->GetPainter();
    const QStyle* pStyle = QApplication::style();
    QStyleOptionButton option;
    if (iPartId == BP_PUSHBUTTON) {
        InitOption(option, m_pWidget, rc, StateOf(iStateId));
        pPainter->save();
        pStyle->drawControl(QStyle::CE_PushButtonBevel, &option, pPainter, nullptr);
        pPainter->restore();
        return TRUE;
    }
    if (iPartId != BP_CHECKBOX || iStateId < 1 || iStateId > 8)
        return FALSE;
    const bool bChecked = iStateId > 4;
    QStyle::State state = StateOf(bChecked ? iStateId - 4 : iStateId);
    state |= bChecked ? QStyle::State_On : QStyle::State_Off;
    const int cx = pStyle->pixelMetric(QStyle::PM_IndicatorWidth);
    const int cy = pStyle->pixelMetric(QStyle::PM_IndicatorHeight);
    const CPoint c = rc.CenterPoint();
    InitOption(option, m_pWidget, CRect(c.x - cx / 2, c.y - cy / 2, c.x - cx / 2 + cx, c.y - cy / 2 + cy), state);
    pPainter->save();
    pStyle->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, pPainter, nullptr);
    pPainter->restore();
    return TRUE;
}

void CThemeHelper::DrawArrowButton(CDC* pDC, int nArrow, int iStateId, const CRect& rc) const
{
    QPainter* pPainter = pDC->GetPainter();
    const QStyle* pStyle = QApplication::style();
    QStyleOptionButton panel;
    InitOption(panel, m_pWidget, rc, StateOf(iStateId));
    QStyleOption arrow;
    CRect rcArrow(rc);
    rcArrow.DeflateRect(2, 1);
    InitOption(arrow, m_pWidget, rcArrow, StateOf(iStateId));
    pPainter->save();
    pStyle->drawControl(QStyle::CE_PushButtonBevel, &panel, pPainter, nullptr);
    pStyle->drawPrimitive(static_cast<QStyle::PrimitiveElement>(nArrow), &arrow, pPainter, nullptr);
    pPainter->restore();
}

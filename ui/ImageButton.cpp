#include "ui/ImageButton.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/res/PictureResources.h"
#include "ui/ThemeHelper.h"
#include <QPainter>
#include <QStyleOption>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace {

constexpr int kImageGap = 4;

} // namespace

CImageButton::CImageButton(QWidget* pParent, int nID)
    : QAbstractButton(pParent), m_nID(nID)
{
    const QPalette& pal = palette();
    m_acr[ColorBkIn] = m_acr[ColorBkOut] = ToColorRef(pal.color(QPalette::Button));
    m_acr[ColorFgIn] = m_acr[ColorFgOut] = ToColorRef(pal.color(QPalette::ButtonText));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void CImageButton::SetWindowText(const std::string& strText)
{
    setText(QString::fromLatin1(strText.data(), qsizetype(strText.size())));
}

std::string CImageButton::GetWindowText() const
{
    return text().toLatin1().toStdString();
}

BOOL CImageButton::SetBitmaps(UINT nBitmapID, COLORREF crTransparent)
{
    const QImage image = LoadBitmapResource(nBitmapID);
    if (image.isNull())
        return FALSE;
    SetImage(image, crTransparent);
    return TRUE;
}

void CImageButton::SetImage(const QImage& image, COLORREF crTransparent)
{
    m_pixImage = QPixmap::fromImage(ApplyColorKey(image, crTransparent));
    updateGeometry();
    update();
}

void CImageButton::SetColor(ColorIndex nIndex, COLORREF cr)
{
    m_acr[nIndex] = cr;
    update();
}

void CImageButton::OffsetColor(ColorIndex nIndex, int nOffset)
{
    const COLORREF cr = m_acr[nIndex];
    auto shift = [nOffset](unsigned nChannel) { return unsigned(std::clamp(int(nChannel) + nOffset, 0, 255)); };
    SetColor(nIndex, RGB(shift(GetRValue(cr)), shift(GetGValue(cr)), shift(GetBValue(cr))));
}

void CImageButton::SetThemeHelper(const CThemeHelper* pTheme)
{
    m_pTheme = pTheme;
    update();
}

QSize CImageButton::sizeHint() const
{
    const QSize sizeText = fontMetrics().size(Qt::TextSingleLine, text());
    const int nImage = m_pixImage.isNull() ? 0 : m_pixImage.width() + kImageGap;
    return QSize(sizeText.width() + nImage + 16, std::max(sizeText.height(), m_pixImage.height()) + 8);
}

void CImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool bHover = m_bHover && isEnabled();
    const bool bThemed = m_pTheme && m_pTheme->IsOpen();
    if (bThemed)
        DrawThemedPanel(painter, bHover);
    else
        DrawFlatPanel(painter, bHover);
    DrawContent(painter, bHover, bThemed);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CImageButton::DrawThemedPanel(QPainter& painter, bool bHover) const
{
    const int nState = !isEnabled() ? PBS_DISABLED : isDown() ? PBS_PRESSED : bHover ? PBS_HOT : PBS_NORMAL;
    CDC dc(&painter);
    m_pTheme->DrawThemeBackground(&dc, BP_PUSHBUTTON, nState, CRect(rect()));
}

void CImageButton::DrawFlatPanel(QPainter& painter, bool bHover) const
{
    QColor back = ToQColor(m_acr[bHover ? ColorBkIn : ColorBkOut]);
    if (isDown())
        back = back.darker(112);
    painter.fillRect(rect(), back);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CImageButton::DrawContent(QPainter& painter, bool bHover, bool bThemed) const
{
    const QString strText = text();
    const int nTextWidth = painter.fontMetrics().horizontalAdvance(strText);
    const int nImageWidth = m_pixImage.isNull() ? 0 : m_pixImage.width() + (strText.isEmpty() ? 0 : kImageGap);
    const int nShift = isDown() ? 1 : 0;
    int x = (width() - nImageWidth - nTextWidth) / 2 + nShift;
    if (!m_pixImage.isNull()) {
        // The style reads the palette from the option: without one it crashes.
        QStyleOption option;
        option.initFrom(this);
        const QPixmap pix = isEnabled() ? m_pixImage
                                        : style()->generatedIconPixmap(QIcon::Disabled, m_pixImage, &option);
        painter.drawPixmap(x, (height() - pix.height()) / 2 + nShift, pix);
        x += nImageWidth;
    }
    if (!isEnabled())
        painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
    else if (bThemed)
        painter.setPen(palette().color(QPalette::ButtonText));
    else
        painter.setPen(ToQColor(m_acr[bHover ? ColorFgIn : ColorFgOut]));
    painter.drawText(QRect(x, nShift, nTextWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, strText);
}

void CImageButton::enterEvent(QEnterEvent* pEvent)
{
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(pEvent);
}

void CImageButton::leaveEvent(QEvent* pEvent)
{
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(pEvent);
}

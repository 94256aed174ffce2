#include "ui/SplashWnd.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SysMetrics.h"
#include "platform/res/PictureResources.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVariantAnimation>

namespace {

// Qt alignment for a DT_* format. As with the drawing call it mirrors, vertical
// centring and bottom alignment only apply to single-line text.
int AlignmentOf(UINT nFormat)
{
    int nFlags = (nFormat & DT_CENTER) ? Qt::AlignHCenter : (nFormat & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (nFormat & DT_SINGLELINE) {
        nFlags |= (nFormat & DT_VCENTER) ? Qt::AlignVCenter : (nFormat & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
        nFlags |= Qt::TextSingleLine;
    } else {
        nFlags |= Qt::AlignTop;
        if (nFormat & DT_WORDBREAK)
            nFlags |= Qt::TextWordWrap;
    }
    return nFlags | ((nFormat & DT_NOPREFIX) ? 0 : Qt::TextShowMnemonic);
}

// Window opacity needs a compositing window system; the offscreen and minimal
// platforms (and Wayland) ignore it.
bool PlatformCanFade()
{
    const QString strPlatform = QGuiApplication::platformName();
    return strPlatform == "xcb" || strPlatform == "windows" || strPlatform == "cocoa";
}

bool IsHidingButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

} // namespace

CSplashWnd::CSplashWnd()
    : m_bCanFade(PlatformCanFade()), m_font(QApplication::font())
{
    setObjectName("SplashWndClass");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::Hide);
}

CSplashWnd::~CSplashWnd()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

BOOL CSplashWnd::Create(QWidget* pParent, const char* pszText, DWORD nTimeout, DWORD nStyle)
{
    m_pParent = pParent;
    m_strText = pszText ? pszText : "";
    m_nTimeout = nTimeout;
    m_nStyle = nStyle;
    Qt::WindowFlags flags = Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!(nStyle & SplashShadow))
        flags |= Qt::NoDropShadowWindowHint;
    setParent(pParent, flags);
    return TRUE;
}

BOOL CSplashWnd::SetBitmap(UINT nResourceID, short nRed, short nGreen, short nBlue)
{
    return UsePicture(LoadBitmapResource(nResourceID), nRed, nGreen, nBlue);
}

BOOL CSplashWnd::SetBitmap(const char* pszFileName, short nRed, short nGreen, short nBlue)
{
    return UsePicture(QImage(QString::fromLocal8Bit(pszFileName ? pszFileName : "")), nRed, nGreen, nBlue);
}

BOOL CSplashWnd::UsePicture(const QImage& image, short nRed, short nGreen, short nBlue)
{
    if (image.isNull())
        return FALSE;
    m_bitmap = QPixmap::fromImage(image);
    m_nWidth = image.width();
    m_nHeight = image.height();
    m_rcText = CRect(0, 0, m_nWidth, m_nHeight);
    PlaceWindow();
    if (nRed == -1 || nGreen == -1 || nBlue == -1) {
        m_hRegion = QRegion();
        clearMask();
    } else {
        m_hRegion = RegionFromBitmap(image, RGB(unsigned(nRed), unsigned(nGreen), unsigned(nBlue)));
        setMask(m_hRegion);
    }
    update();
    return TRUE;
}

void CSplashWnd::PlaceWindow()
{
    const QScreen* pScreen = m_pParent ? m_pParent->screen() : QGuiApplication::primaryScreen();
    const QRect rcScreen = pScreen ? pScreen->availableGeometry() : QRect();
    if (m_nStyle & SplashCentreScreen) {
        m_nX = rcScreen.x() + (rcScreen.width() - m_nWidth) / 2;
        m_nY = rcScreen.y() + (rcScreen.height() - m_nHeight) / 2;
    } else if (m_nStyle & SplashCentreParent) {
        const QRect rcParent = m_pParent ? m_pParent->frameGeometry() : rcScreen;
        m_nX = rcParent.x() + (rcParent.width() - m_nWidth) / 2;
        m_nY = rcParent.y() + (rcParent.height() - m_nHeight) / 2;
    }
}

std::vector<QRect> CSplashWnd::OpaqueRuns(const QImage& image, COLORREF crTransparent)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(int(GetRValue(crTransparent)), int(GetGValue(crTransparent)), int(GetBValue(crTransparent)));
    std::vector<QRect> runs;
    runs.reserve(40);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && pLine[x] == key)
                ++x;
            const int nStart = x;
            while (x < pixels.width() && pLine[x] != key)
                ++x;
            if (x > nStart)
                runs.emplace_back(nStart, y, x - nStart, 1);
        }
    }
    return runs;
}

QRegion CSplashWnd::RegionFromBitmap(const QImage& image, COLORREF crTransparent)
{
    const std::vector<QRect> runs = OpaqueRuns(image, crTransparent);
    QRegion region;
    // Runs are already sorted by row and within a row by column, which is the
    // banded form setRects expects, so the union costs one pass.
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

void CSplashWnd::SetTextFont(const char* pszFaceName, int nSize, int nFontStyle)
{
    QFont font(QString::fromLatin1(pszFaceName ? pszFaceName : ""));
    font.setPointSizeF(nSize / 10.0);
    font.setWeight((nFontStyle & 1) ? QFont::Bold : QFont::Normal);
    font.setItalic((nFontStyle & 2) != 0);
    font.setUnderline((nFontStyle & 4) != 0);
    m_font = font;
}

void CSplashWnd::SetText(const char* pszText)
{
    m_strText = pszText ? pszText : "";
    Redraw();
}

void CSplashWnd::SetTextColor(COLORREF crColor)
{
    m_crTextColor = crColor;
    Redraw();
}

void CSplashWnd::SetTextRect(const CRect& rcText)
{
    m_rcText = rcText;
    Redraw();
}

void CSplashWnd::SetTextFormat(UINT nFormat)
{
    m_nTextFormat = nFormat;
}

void CSplashWnd::Redraw()
{
    if (isVisible())
        repaint();
}

void CSplashWnd::Show()
{
    setGeometry(m_nX, m_nY, m_nWidth, m_nHeight);
    if ((m_nStyle & SplashFadeIn) && m_bCanFade) {
        setWindowOpacity(0.0);
        show();
        FadeTo(1.0, kFadeInMs);
    } else {
        show();
    }
    if (m_nStyle & SplashHideOnInput)
        qApp->installEventFilter(this);
    if (m_nTimeout != 0)
        m_timer.start(int(m_nTimeout));
    // Start-up keeps the event loop busy; paint now so the picture is seen.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CSplashWnd::Hide()
{
    if (m_bHiding)
        return;
    m_bHiding = true;
    m_timer.stop();
    qApp->removeEventFilter(this);
    if (!(m_nStyle & SplashFadeOut) || !m_bCanFade || !isVisible()) {
        Destroy();
        return;
    }
    if (m_pFade && m_pFade->state() == QAbstractAnimation::Running)
        connect(m_pFade, &QVariantAnimation::finished, this, &CSplashWnd::FadeOutAndDestroy);
    else
        FadeOutAndDestroy();
}

void CSplashWnd::FadeOutAndDestroy()
{
    FadeTo(0.0, kFadeOutMs);
    connect(m_pFade, &QVariantAnimation::finished, this, &CSplashWnd::Destroy);
}

void CSplashWnd::FadeTo(double dOpacity, int nMs)
{
    if (m_pFade) {
        // May be called from the old animation's own finished signal.
        m_pFade->disconnect(this);
        m_pFade->stop();
        m_pFade->deleteLater();
    }
    m_pFade = new QVariantAnimation(this);
    m_pFade->setStartValue(windowOpacity());
    m_pFade->setEndValue(dOpacity);
    m_pFade->setDuration(nMs);
    connect(m_pFade, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setWindowOpacity(value.toDouble()); });
    m_pFade->start();
}

void CSplashWnd::Destroy()
{
    hide();
    deleteLater();
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
    painter.setFont(m_font);
    painter.setPen(ToQColor(m_crTextColor));
    painter.drawText(m_rcText.ToQRect(), AlignmentOf(m_nTextFormat),
                     QString::fromLatin1(m_strText.data(), qsizetype(m_strText.size())));
}

bool CSplashWnd::eventFilter(QObject* pObject, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::KeyPress:
        Hide();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        if (IsHidingButton(static_cast<QMouseEvent*>(pEvent)->button())) {
            Hide();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(pObject, pEvent);
}

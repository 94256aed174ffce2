#pragma once
// A borderless picture window shown while the application loads: a bitmap cut to
// shape by a transparent colour, a line of text over it, optional fades.
//
// Lifetime: create it with new; it deletes itself after Hide (by its owner, its
// timeout or, with SplashHideOnInput, a key or click). Hold it in a QPointer.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

class QVariantAnimation;

class CSplashWnd : public QWidget
{
    Q_OBJECT
public:
    // Style bits given to Create.
    enum : DWORD {
        SplashFadeIn = 1,         // blend in over 500 ms when shown
        SplashFadeOut = 2,        // blend out over 200 ms when hidden
        SplashShadow = 4,         // let the window system draw a drop shadow
        SplashCentreScreen = 8,
        SplashCentreParent = 16,  // without a parent: centred on the screen
        SplashHideOnInput = 32,   // a key or mouse-button press hides it
    };
    static constexpr int kFadeInMs = 500;
    static constexpr int kFadeOutMs = 200;

    CSplashWnd();
    ~CSplashWnd() override;

    // Stores parent (may be null; Not owned), text (null = empty), timeout in ms
    // (0 = stays until hidden) and style bits; makes the (hidden) window.
    BOOL Create(QWidget* pParent, const char* pszText, DWORD nTimeout, DWORD nStyle);
    // Loads the picture (resource number, or an image file), sizes and places the
    // window, resets the text rectangle to the whole picture and shapes the window
    // by the colour (red, green, blue); any component -1 keeps it rectangular.
    // FALSE, with picture and size unchanged, when the picture cannot be loaded.
    BOOL SetBitmap(UINT nResourceID, short nRed, short nGreen, short nBlue);
    BOOL SetBitmap(const char* pszFileName, short nRed, short nGreen, short nBlue);
    // Point font of that face; nSize in tenths of a point; nFontStyle bits:
    // 1 bold, 2 italic, 4 underline.
    void SetTextFont(const char* pszFaceName, int nSize, int nFontStyle);
    void SetText(const char* pszText);
    void SetTextColor(COLORREF crColor);
    void SetTextRect(const CRect& rcText);
    // Text drawing format, DT_* bits (centre 1, right 2, vcentre 4, bottom 8,
    // word break 0x10, single line 0x20, no prefix 0x800). No redraw.
    void SetTextFormat(UINT nFormat);
    // Places and shows the window (fading in where the platform can) and starts
    // the timeout. Does not take the focus.
    void Show();
    // Hides (fading out where the platform can, after a running fade-in has
    // finished) and destroys the window; the object then deletes itself.
    void Hide();

    // The window shape for picture: the union of its runs of pixels that are
    // not crTransparent, one rectangle per run per row. Cost: one pass over the pixels.
    static QRegion RegionFromBitmap(const QImage& image, COLORREF crTransparent);
    // The runs themselves, row by row, left to right.
    static std::vector<QRect> OpaqueRuns(const QImage& image, COLORREF crTransparent);

    const CRect& TextRect() const { return m_rcText; }
    const QRegion& WindowRegion() const { return m_hRegion; }
    QPoint Position() const { return QPoint(m_nX, m_nY); }
    QSize PictureSize() const { return QSize(m_nWidth, m_nHeight); }
    const QFont& TextFont() const { return m_font; }
    DWORD Style() const { return m_nStyle; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    BOOL UsePicture(const QImage& image, short nRed, short nGreen, short nBlue);
    void PlaceWindow();
    void Redraw();
    void FadeTo(double dOpacity, int nMs);
    void FadeOutAndDestroy();
    void Destroy();

    bool m_bCanFade;              // the platform can change a window's opacity
    QPointer<QWidget> m_pParent;  // Not owned.
    QPixmap m_bitmap;
    QFont m_font;
    QRegion m_hRegion;
    DWORD m_nStyle = 0;
    DWORD m_nTimeout = 2000;
    std::string m_strText;
    CRect m_rcText;
    UINT m_nTextFormat = 21;      // centred on a single line
    COLORREF m_crTextColor = RGB(0, 0, 0);
    int m_nWidth = 0, m_nHeight = 0;
    int m_nX = 0, m_nY = 0;

    QTimer m_timer;
    QVariantAnimation* m_pFade = nullptr;  // Owned (child object).
    bool m_bHiding = false;
};

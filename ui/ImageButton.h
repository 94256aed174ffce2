#pragma once
// A push button that shows a small colour-keyed image beside its caption. With a
// theme helper and visual styles on it draws the themed push-button panel, else
// a flat panel in its own colours, which change under the mouse.
#include "platform/WinTypes.h"
#include <QAbstractButton>
#include <QPixmap>
#include <string>

class CThemeHelper;

class CImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum ColorIndex { ColorBkIn, ColorFgIn, ColorBkOut, ColorFgOut, ColorCount };  // In = under the mouse

    explicit CImageButton(QWidget* pParent = nullptr, int nID = 0);

    int GetDlgCtrlID() const { return m_nID; }
    // Caption, 8-bit (Latin-1).
    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const;
    // Image from bitmap resource nBitmapID; pixels of crTransparent are see-through.
    // FALSE (image unchanged) when the resource does not exist.
    BOOL SetBitmaps(UINT nBitmapID, COLORREF crTransparent);
    void SetImage(const QImage& image, COLORREF crTransparent);
    const QPixmap& Image() const { return m_pixImage; }
    void EnableWindow(BOOL bEnable) { setEnabled(bEnable != FALSE); }

    void SetColor(ColorIndex nIndex, COLORREF cr);
    COLORREF GetColor(ColorIndex nIndex) const { return m_acr[nIndex]; }
    // Adds nOffset to each channel of the colour, clamped to 0..255.
    void OffsetColor(ColorIndex nIndex, int nOffset);
    // The theme to draw the panel with (Not owned; must outlive the button; null: flat).
    void SetThemeHelper(const CThemeHelper* pTheme);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void enterEvent(QEnterEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    void DrawFlatPanel(class QPainter& painter, bool bHover) const;
    void DrawThemedPanel(class QPainter& painter, bool bHover) const;
    void DrawContent(class QPainter& painter, bool bHover, bool bThemed) const;

    int m_nID;
    QPixmap m_pixImage;
    COLORREF m_acr[ColorCount];
    const CThemeHelper* m_pTheme = nullptr;  // Not owned.
    bool m_bHover = false;
};

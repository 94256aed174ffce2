#pragma once
// The About box: the version text, the application icon drawn large beside it, OK.
#include "platform/dialog/Dialog.h"

class CAboutDlg : public CDialog
{
    Q_OBJECT
public:
    enum : int { IDC_VERSION = 1020 };
    static constexpr int kIconResource = 128;
    // Where the icon is drawn and how large, in pixels.
    static constexpr int kIconX = 40;
    static constexpr int kIconY = 30;
    static constexpr int kIconSize = 100;
    static constexpr int kIconGap = 14;  // between the icon and the version text

    // parent may be null; Not owned.
    explicit CAboutDlg(QWidget* pParent = nullptr);

protected:
    BOOL OnEraseBkgnd(QPainter& painter) override;
    void OnPaint(QPainter& painter) override;
};

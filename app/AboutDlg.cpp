#include "app/AboutDlg.h"
#include "app/ResourceTables.h"
#include "app/DialogBackground.h"
#include "platform/res/PictureResources.h"
#include "ui/MenuBarColor.h"
#include "ui/MyStatic.h"
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

CAboutDlg::CAboutDlg(QWidget* pParent)
    : CDialog("About Orvex", 216, 137, QStringLiteral("MS Shell Dlg"), 8, pParent)
{
    InitAppResources();
    auto* pOk = AddControl<QPushButton>(IDOK, 159, 114, 50, 16);
    pOk->setText(QStringLiteral("OK"));
    pOk->setDefault(true);
    auto* pVersion = new CMyStatic(this, IDC_VERSION);
    PlaceControl(IDC_VERSION, pVersion, 60, 18, 119, 8);
    // The text's place would put it over the right half of the large icon: it starts
    // right of the icon instead, on its designed line.
    QRect rcVersion = pVersion->geometry();
    rcVersion.moveLeft(std::max(rcVersion.left(), kIconX + kIconSize + kIconGap));
    pVersion->setGeometry(rcVersion);
    QFont bold = pVersion->font();
    bold.setBold(true);
    pVersion->setFont(bold);
    pVersion->setTextFormat(Qt::PlainText);  // no prefix or markup processing
    pVersion->SetWindowText("Orvex Version 2.0.0");
    ConnectStandardButtons();
}

BOOL CAboutDlg::OnEraseBkgnd(QPainter& painter)
{
    DrawDialogBackground(painter, rect(), GetMenuBarColor());
    return TRUE;
}

void CAboutDlg::OnPaint(QPainter& painter)
{
    const QIcon icon(IconResourcePath(kIconResource));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    icon.paint(&painter, QRect(kIconX, kIconY, kIconSize, kIconSize));
}

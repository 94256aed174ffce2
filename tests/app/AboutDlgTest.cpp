// The About box: its texts, the icon it draws, its background, and how it closes.
#include "app/AboutDlg.h"
#include "app/DialogBackground.h"
#include "ui/MyStatic.h"
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AboutDlg, ShowsVersionAndIconAndClosesWithOkOrEscape)
{
    CAboutDlg dlg;
    dlg.Create();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About Orvex"));
    EXPECT_EQ(dlg.size(), QSize(dlg.Units().MapX(216), dlg.Units().MapY(137)));
    auto* pVersion = qobject_cast<CMyStatic*>(dlg.GetDlgItem(CAboutDlg::IDC_VERSION));
    ASSERT_NE(pVersion, nullptr);
    EXPECT_EQ(pVersion->text(), QStringLiteral("Orvex Version 2.0.0"));
    EXPECT_EQ(pVersion->textFormat(), Qt::PlainText);

    // The icon covers its 100 x 100 square from (40, 30): its middle is neither the
    // white panel nor the gradient, and just outside it the panel is white again.
    const QImage image = dlg.grab().toImage();
    const QPoint middle(CAboutDlg::kIconX + CAboutDlg::kIconSize / 2, CAboutDlg::kIconY + CAboutDlg::kIconSize / 2);
    EXPECT_NE(image.pixelColor(middle), QColor(Qt::white));
    const QPoint besideIcon(CAboutDlg::kIconX - 5, CAboutDlg::kIconY + CAboutDlg::kIconSize / 2);
    EXPECT_EQ(image.pixelColor(besideIcon), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(2, image.height() - kButtonStripHeight), QColor(Qt::black));

    QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
    EXPECT_EQ(dlg.Result(), IDOK);
    EXPECT_FALSE(dlg.isVisible());

    CAboutDlg modal;
    QTimer::singleShot(0, &modal, [&] { QTest::keyClick(&modal, Qt::Key_Escape); });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    QTimer::singleShot(0, &modal, [&] { QTest::keyClick(&modal, Qt::Key_Return); });
    EXPECT_EQ(modal.DoModal(), IDOK);  // OK is the default button
}

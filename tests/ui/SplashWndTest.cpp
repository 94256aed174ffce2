#include "ui/SplashWnd.h"
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A 20 x 6 picture: grey, with magenta where asked.
QImage Picture(const std::vector<QPoint>& cutOut = {})
{
    QImage image(20, 6, QImage::Format_RGB32);
    image.fill(QColor(90, 120, 160));
    for (const QPoint& pt : cutOut)
        image.setPixel(pt, qRgb(255, 0, 255));
    return image;
}

QString SaveTemp(const QTemporaryDir& dir, const QImage& image)
{
    const QString strPath = dir.filePath("picture.png");
    image.save(strPath);
    return strPath;
}

bool SameArea(const QRegion& a, const QRegion& b)
{
    return a.subtracted(b).isEmpty() && b.subtracted(a).isEmpty();
}

void DeleteLater()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(SplashRegion, RunsAndShape)
{
    // No transparent pixel: one run per row, covering the whole picture.
    const QImage solid = Picture();
    const std::vector<QRect> runs = CSplashWnd::OpaqueRuns(solid, kMagenta);
    ASSERT_EQ(runs.size(), 6u);
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(runs[std::size_t(y)], QRect(0, y, 20, 1));
    EXPECT_TRUE(SameArea(CSplashWnd::RegionFromBitmap(solid, kMagenta), QRegion(0, 0, 20, 6)));

    // A hole splits its row; a transparent right-most pixel is cut, an opaque one kept.
    const QImage holed = Picture({{5, 1}, {6, 1}, {19, 2}, {0, 3}});
    const QRegion region = CSplashWnd::RegionFromBitmap(holed, kMagenta);
    EXPECT_EQ(CSplashWnd::OpaqueRuns(holed, kMagenta).size(), 7u);
    for (const auto& [pt, bInside] : {std::pair{QPoint(5, 1), false}, {QPoint(6, 1), false}, {QPoint(4, 1), true},
                                      {QPoint(7, 1), true}, {QPoint(19, 2), false}, {QPoint(18, 2), true},
                                      {QPoint(19, 1), true}, {QPoint(0, 3), false}, {QPoint(1, 3), true},
                                      {QPoint(20, 0), false}})
        EXPECT_EQ(region.contains(pt), bInside) << pt.x() << "," << pt.y();

    // A row that is all transparent contributes nothing.
    QImage blank = Picture();
    for (int x = 0; x < 20; ++x)
        blank.setPixel(x, 4, qRgb(255, 0, 255));
    EXPECT_EQ(CSplashWnd::OpaqueRuns(blank, kMagenta).size(), 5u);
}

TEST(SplashWindow, BitmapShapesTheWindowAndResetsTheTextRect)
{
    QTemporaryDir dir;
    const QString strFile = SaveTemp(dir, Picture({{0, 0}, {19, 5}}));
    auto* pSplash = new CSplashWnd;
    QPointer<CSplashWnd> guard(pSplash);
    ASSERT_TRUE(pSplash->Create(nullptr, "tag", 0, 0));
    EXPECT_EQ(pSplash->objectName(), "SplashWndClass");

    pSplash->SetTextRect(CRect(3, 3, 9, 5));
    ASSERT_TRUE(pSplash->SetBitmap(strFile.toLocal8Bit().constData(), 255, 0, 255));
    EXPECT_EQ(pSplash->TextRect(), CRect(0, 0, 20, 6));
    EXPECT_EQ(pSplash->PictureSize(), QSize(20, 6));
    EXPECT_FALSE(pSplash->WindowRegion().contains(QPoint(0, 0)));
    EXPECT_FALSE(pSplash->mask().contains(QPoint(19, 5)));
    EXPECT_TRUE(pSplash->mask().contains(QPoint(1, 0)));

    // -1 for any component: rectangular again.
    ASSERT_TRUE(pSplash->SetBitmap(strFile.toLocal8Bit().constData(), 255, -1, 255));
    EXPECT_TRUE(pSplash->WindowRegion().isEmpty());
    EXPECT_TRUE(pSplash->mask().isEmpty());

    // A picture that cannot be loaded changes nothing.
    pSplash->SetTextRect(CRect(1, 1, 2, 2));
    EXPECT_FALSE(pSplash->SetBitmap(dir.filePath("missing.png").toLocal8Bit().constData(), 255, 0, 255));
    EXPECT_FALSE(pSplash->SetBitmap(999u, 255, 0, 255));
    EXPECT_EQ(pSplash->PictureSize(), QSize(20, 6));
    EXPECT_EQ(pSplash->TextRect(), CRect(1, 1, 2, 2));

    pSplash->Hide();
    DeleteLater();
    EXPECT_TRUE(guard.isNull());
}

TEST(SplashWindow, Placement)
{
    QTemporaryDir dir;
    const QString strFile = SaveTemp(dir, Picture());
    const auto placed = [&](QWidget* pParent, DWORD nStyle) {
        CSplashWnd splash;
        splash.Create(pParent, nullptr, 0, nStyle);
        splash.SetBitmap(strFile.toLocal8Bit().constData(), -1, -1, -1);
        return splash.Position();
    };
    const auto centred = [](const QRect& rc) {
        return QPoint(rc.x() + (rc.width() - 20) / 2, rc.y() + (rc.height() - 6) / 2);
    };
    const QPoint ptScreen = centred(QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_EQ(placed(nullptr, CSplashWnd::SplashCentreScreen), ptScreen);
    QWidget parent;
    parent.setGeometry(100, 80, 300, 200);
    EXPECT_EQ(placed(&parent, CSplashWnd::SplashCentreParent), centred(parent.frameGeometry()));
    EXPECT_EQ(placed(nullptr, CSplashWnd::SplashCentreParent), ptScreen) << "no parent: the screen instead";
    EXPECT_EQ(placed(nullptr, 0), QPoint(0, 0)) << "neither bit: the position stays";
}

TEST(SplashWindow, PaintsTheTextInItsRectangle)
{
    QImage picture(120, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QTemporaryDir dir;
    const QString strFile = SaveTemp(dir, picture);
    CSplashWnd splash;
    splash.Create(nullptr, "MMMM", 0, 0);
    splash.SetBitmap(strFile.toLocal8Bit().constData(), -1, -1, -1);
    splash.SetTextFont("DejaVu Sans", 120, 1);
    EXPECT_EQ(splash.TextFont().weight(), QFont::Bold);
    splash.SetTextColor(RGB(255, 0, 0));
    splash.SetTextRect(CRect(60, 0, 120, 40));
    splash.SetTextFormat(0x25);  // centred on one line

    const QImage shot = splash.grab().toImage();
    int nRedInside = 0, nRedOutside = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80)
                (x >= 60 ? nRedInside : nRedOutside)++;
        }
    EXPECT_GT(nRedInside, 20);
    EXPECT_EQ(nRedOutside, 0);
}

TEST(SplashWindow, TimeoutAndInputHideIt)
{
    QTemporaryDir dir;
    const QString strFile = SaveTemp(dir, Picture());
    auto make = [&](DWORD nTimeout, DWORD nStyle) {
        auto* pSplash = new CSplashWnd;
        pSplash->Create(nullptr, "x", nTimeout, nStyle);
        pSplash->SetBitmap(strFile.toLocal8Bit().constData(), 255, 0, 255);
        pSplash->Show();
        return QPointer<CSplashWnd>(pSplash);
    };

    // The timeout hides it and the object goes.
    QPointer<CSplashWnd> timed = make(300, CSplashWnd::SplashHideOnInput);
    ASSERT_TRUE(timed && timed->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(timed.isNull(), 3000);

    // With bit 32 a key press or a click hides it at once, and is consumed.
    QWidget other;
    other.show();
    for (const bool bKey : {true, false}) {
        QPointer<CSplashWnd> pSplash = make(0, CSplashWnd::SplashHideOnInput);
        bKey ? QTest::keyClick(&other, Qt::Key_A) : QTest::mouseClick(&other, Qt::RightButton);
        DeleteLater();
        EXPECT_TRUE(pSplash.isNull()) << (bKey ? "key" : "click");
    }

    // Without it, input passes by and the splash stays.
    QPointer<CSplashWnd> stays = make(0, 0);
    QTest::keyClick(&other, Qt::Key_A);
    QTest::mouseClick(&other, Qt::LeftButton);
    DeleteLater();
    ASSERT_FALSE(stays.isNull());
    EXPECT_TRUE(stays->isVisible());
    stays->Hide();
    stays->Hide();  // a second Hide is harmless
    DeleteLater();
    EXPECT_TRUE(stays.isNull());
}

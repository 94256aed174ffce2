#include "ui/MyStatic.h"
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A parent that paints itself solid green, as the dialogs paint their gradients.
class CGreenParent : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 200, 0)); }
};

} // namespace

TEST(MyStatic, ParentShowsThroughAroundTheText)
{
    CGreenParent parent;
    parent.resize(120, 30);
    auto* pLabel = new CMyStatic(&parent, 1236);  // Owned by parent.
    pLabel->setGeometry(0, 0, 120, 30);
    pLabel->SetWindowText("Host \xB5");
    EXPECT_EQ(pLabel->text(), QString::fromLatin1("Host \xB5"));
    EXPECT_EQ(pLabel->GetDlgCtrlID(), 1236);

    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(118, 28), QColor(0, 200, 0));
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 200, 0));
    bool bText = false;
    for (int x = 0; x < 60 && !bText; ++x)
        for (int y = 0; y < 30 && !bText; ++y)
            bText = shot.pixelColor(x, y).green() < 150;
    EXPECT_TRUE(bText) << "the text itself is drawn";
}

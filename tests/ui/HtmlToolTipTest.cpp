// The shared tooltip: its markup ("<<" literal, tags work, bytes kept) and the
// one window's life: created once with a parent, shown within its width, hidden.
#include "ui/HtmlToolTip.h"
#include <QKeyEvent>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QString Plain(const std::string& text)
{
    QTextDocument doc;
    doc.setHtml(CHtmlToolTip::ToRichText(text));
    return doc.toPlainText();
}

} // namespace

TEST(HtmlToolTip, LessThanIsLiteralWhenDoubledAndMarkupOtherwise)
{
    EXPECT_EQ(Plain("a<<b>c"), "a<b>c");
    EXPECT_EQ(Plain("1 <<< 2"), "1 << 2");  // "<<", then a "<" that closes no tag
    EXPECT_EQ(Plain("AT&T 5 > 4"), "AT&T 5 > 4");
    EXPECT_EQ(Plain("&lt;"), "&lt;");  // no entities
    EXPECT_EQ(Plain("open <"), "open <");
    EXPECT_EQ(Plain("two  spaces"), "two  spaces");
    EXPECT_EQ(Plain("line1\nline2"), "line1\nline2");
    EXPECT_EQ(Plain("caf\xE9"), QString::fromLatin1("caf\xE9"));

    QTextDocument doc;
    doc.setHtml(CHtmlToolTip::ToRichText("<b>bold</b> plain"));
    EXPECT_EQ(doc.toPlainText(), "bold plain");
    QTextCursor cursor(&doc);
    cursor.setPosition(2);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    cursor.setPosition(7);
    EXPECT_NE(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(Plain("<<b>not bold<</b>"), "<b>not bold</b>");
}

TEST(HtmlToolTip, OneWindowShownWithinItsWidthAndHiddenByInput)
{
    EXPECT_EQ(CHtmlToolTip::Shared(), nullptr);
    std::shared_ptr<CHtmlToolTip> pFirst = CHtmlToolTip::Acquire();
    ASSERT_NE(pFirst, nullptr);
    std::shared_ptr<CHtmlToolTip> pSecond = CHtmlToolTip::Acquire();
    EXPECT_EQ(pSecond, pFirst);  // one window for all holders
    CHtmlToolTip* pTip = CHtmlToolTip::Shared();
    EXPECT_EQ(pTip, pFirst.get());
    EXPECT_TRUE(pTip->isWindow());

    pTip->Show("short", QPoint(100, 100), 300);
    EXPECT_TRUE(pTip->isVisible());
    EXPECT_LT(pTip->width(), 300);
    EXPECT_GE(pTip->y(), 100);

    const std::string longText(400, 'x');
    pTip->Show(longText + " " + longText, QPoint(100, 100), 200);
    EXPECT_EQ(pTip->width(), 200);
    const int nWrappedHeight = pTip->height();
    pTip->Show("short", QPoint(100, 100), 200);
    EXPECT_LT(pTip->height(), nWrappedHeight);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QEvent leave(QEvent::Enter);
    pTip->RelayEvent(&leave);
    EXPECT_TRUE(pTip->isVisible());
    pTip->RelayEvent(&key);
    EXPECT_FALSE(pTip->isVisible());

    // It lives while anyone holds it, whoever took it first.
    pFirst.reset();
    EXPECT_EQ(CHtmlToolTip::Shared(), pTip);
    pSecond.reset();
    EXPECT_EQ(CHtmlToolTip::Shared(), nullptr);
    EXPECT_NE(CHtmlToolTip::Acquire(), nullptr);
}

// The clipboard layer: the open/empty/set/close protocol, who owns the block,
// and the failures tests can provoke.
#include "platform/clipboard/Clipboard.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

HGLOBAL TextBlock(const std::string& text)
{
    HGLOBAL hMem = CGlobalMem::Alloc(GMEM_SHARE, text.size() + 1);
    std::memcpy(hMem->Lock(), text.c_str(), text.size() + 1);
    return hMem;
}

} // namespace

TEST(Clipboard, SetTextTakesTheBlockAndKeepsEveryByte)
{
    const std::string text = "a\tb\n\xE9\xFF\x01";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));  // one holder at a time
    EXPECT_TRUE(EmptyClipboard());
    HGLOBAL hMem = TextBlock(text);
    EXPECT_FALSE(SetClipboardData(CF_TEXT + 1, hMem));
    ASSERT_TRUE(hMem);  // a refused block stays the caller's
    EXPECT_TRUE(SetClipboardData(CF_TEXT, hMem));
    EXPECT_FALSE(hMem);  // the clipboard took it
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetClipboardText(), text);
    EXPECT_EQ(CGlobalMem::LiveCount(), 0);
}

TEST(Clipboard, ClosedOrFailingClipboardRefusesAndLeavesTheBlockWithTheCaller)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL hOld = TextBlock("old");
    ASSERT_TRUE(SetClipboardData(CF_TEXT, hOld));
    ASSERT_TRUE(CloseClipboard());

    {
        HGLOBAL hMem = TextBlock("new");
        EXPECT_FALSE(EmptyClipboard());
        EXPECT_FALSE(SetClipboardData(CF_TEXT, hMem));  // not open
        EXPECT_TRUE(hMem);
        EXPECT_EQ(GetClipboardText(), "old");

        SetClipboardFaults(TRUE, FALSE);
        EXPECT_FALSE(OpenClipboard(nullptr));
        SetClipboardFaults(FALSE, TRUE);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_TRUE(EmptyClipboard());
        EXPECT_FALSE(SetClipboardData(CF_TEXT, hMem));
        EXPECT_TRUE(hMem);
        EXPECT_TRUE(CloseClipboard());
        SetClipboardFaults(FALSE, FALSE);
        EXPECT_EQ(GetClipboardText(), "");  // emptied before the failed hand-over
        EXPECT_EQ(CGlobalMem::LiveCount(), 1);
    }
    EXPECT_EQ(CGlobalMem::LiveCount(), 0);
}

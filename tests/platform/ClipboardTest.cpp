// The clipboard layer: the open/empty/set/close protocol and who owns the
// block (its failures are exercised through the tree copy).
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
    HGLOBAL hEarly = TextBlock("early");
    EXPECT_FALSE(SetClipboardData(CF_TEXT, hEarly));  // not open
    EXPECT_TRUE(hEarly);
    hEarly.reset();
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
    EXPECT_EQ(GetClipboardText(), text);  // made again for each reader
    EXPECT_EQ(CGlobalMem::LiveCount(), 1);  // the clipboard's own
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(CGlobalMem::LiveCount(), 0);
    EXPECT_EQ(GetClipboardText(), "");
}

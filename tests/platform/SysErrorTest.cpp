#include "platform/syserr/SysError.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <cstring>
#include <thread>

TEST(SysError, LastErrorIsPerThread)
{
    SetLastError(40);
    DWORD dwSeenByOther = 12345;
    std::thread other([&] {
        dwSeenByOther = GetLastError();
        SetLastError(41);
    });
    other.join();
    EXPECT_EQ(dwSeenByOther, 0u);
    EXPECT_EQ(GetLastError(), 40u);
    SetLastError(0);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST(SysError, MessageLookupGivesLibraryTextWithLineEnd)
{
    std::string strText = "untouched";
    ASSERT_TRUE(FormatSystemMessage(ECONNREFUSED, &strText));
    EXPECT_EQ(strText, std::string(std::strerror(ECONNREFUSED)) + "\n");

    // Unknown codes report "none" and leave the output as it was.
    strText = "untouched";
    EXPECT_FALSE(FormatSystemMessage(9999, &strText));
    EXPECT_FALSE(FormatSystemMessage(0xFFFFFFFFu, &strText));
    EXPECT_EQ(strText, "untouched");
    EXPECT_FALSE(FormatSystemMessage(EINVAL, nullptr));
}

// The last-error code (message texts are checked through the request failure texts).
#include "platform/syserr/SysError.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <thread>

TEST(SysError, LastErrorIsPerThreadAndUnknownCodesHaveNoText)
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

    std::string strText = "untouched";
    EXPECT_FALSE(FormatSystemMessage(0xFFFFFFFFu, &strText));
    EXPECT_EQ(strText, "untouched");
    EXPECT_FALSE(FormatSystemMessage(EINVAL, nullptr));
}

#include "snmp/WalkProgress.h"
#include <gtest/gtest.h>

namespace {
using Clock = CWalkProgress::Clock;
using std::chrono::milliseconds;
} // namespace

TEST(WalkProgress, RunningThenDoneThenANewWalk)
{
    const Clock::time_point t0 = Clock::now();
    CWalkProgress progress;
    EXPECT_EQ(progress.Text(t0), "");
    progress.Start(t0);
    EXPECT_EQ(progress.Text(t0), "0 variables received, 0 per second, 0.0 s so far");
    progress.OnRecord();
    EXPECT_EQ(progress.Text(t0 + milliseconds(500)), "1 variable received, 2 per second, 0.5 s so far");
    for (int i = 0; i < 2999; ++i)
        progress.OnRecord();
    EXPECT_EQ(progress.Text(t0 + milliseconds(1500)), "3000 variables received, 2000 per second, 1.5 s so far");
    progress.OnEnd(t0 + milliseconds(2340), false);
    // The time stops at the end; records placed after the end message still count.
    progress.OnRecord();
    EXPECT_EQ(progress.Text(t0 + milliseconds(9000)), "3001 variables in 2.34 s");
    progress.OnEnd(t0 + milliseconds(9000), true);  // a second end changes nothing
    EXPECT_EQ(progress.Text(t0), "3001 variables in 2.34 s");

    progress.Start(t0 + milliseconds(10000));
    progress.OnRecord();
    progress.OnEnd(t0 + milliseconds(10250), true);
    EXPECT_EQ(progress.Text(t0), "1 variable in 0.25 s (stopped)");
    EXPECT_EQ(progress.Records(), 1u);
}

TEST(WalkProgress, AnErrorIsTheTextOnOneLineAndOutlivesTheEndMessage)
{
    const Clock::time_point t0 = Clock::now();
    CWalkProgress progress;
    progress.Start(t0);
    progress.OnRecord();
    progress.OnError("Error Sending Request\nErrorID:40 (There was no response)\n", t0 + milliseconds(20));
    progress.OnEnd(t0 + milliseconds(30), false);
    EXPECT_EQ(progress.Text(t0), "Error Sending Request ErrorID:40 (There was no response)");
    progress.Start(t0);
    EXPECT_EQ(progress.Text(t0), "0 variables received, 0 per second, 0.0 s so far");
    // An error of a walk that never opened its session.
    progress.OnError("Error: Unable to resolve Host\n", t0);
    EXPECT_EQ(progress.Text(t0), "Error: Unable to resolve Host");
}

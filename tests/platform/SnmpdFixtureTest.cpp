// The agent other tests rely on: it answers, honours its two communities and
// keeps the objects it promises writable.
#include "support/SnmpdFixture.h"

#include <gtest/gtest.h>
#include <filesystem>

TEST(SnmpdFixture, AgentAnswersAndHonoursCommunities)
{
    CSnmpdFixture agent;
    ASSERT_TRUE(agent.IsRunning()) << agent.Error();
    EXPECT_GT(agent.Port(), 0);
    EXPECT_NE(agent.Port(), 161);
    EXPECT_EQ(agent.Address(), "127.0.0.1:" + std::to_string(agent.Port()));
    EXPECT_NE(agent.Walk(".1.3.6.1.2.1.1").find(".1.3.6.1.2.1.1.1.0 = STRING:"), std::string::npos);

    std::string strOut;
    EXPECT_EQ(agent.RunTool("snmpset", {"-v2c", "-c", "private", agent.Address(), ".1.3.6.1.2.1.1.4.0", "s",
                                        "ops desk", ".1.3.6.1.2.1.11.30.0", "i", "1"},
                            &strOut),
              0)
        << strOut;
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.1.4.0"), "\"ops desk\"");
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.11.30.0"), "1");

    // The read-only community cannot write.
    EXPECT_NE(agent.RunTool("snmpset", {"-v2c", "-c", "public", agent.Address(), ".1.3.6.1.2.1.1.5.0", "s", "x"},
                            &strOut),
              0);
    EXPECT_NE(agent.Get(".1.3.6.1.2.1.1.5.0"), "\"x\"");
}

TEST(SnmpdFixture, TwoAgentsRunSideBySideAndStopCleanly)
{
    std::string strFolder;
    {
        CSnmpdFixture first;
        CSnmpdFixture second;
        ASSERT_TRUE(first.IsRunning()) << first.Error();
        ASSERT_TRUE(second.IsRunning()) << second.Error();
        EXPECT_NE(first.Port(), second.Port());
        strFolder = first.Folder();
    }
    EXPECT_FALSE(std::filesystem::exists(strFolder));
}

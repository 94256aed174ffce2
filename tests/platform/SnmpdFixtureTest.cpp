// The agent other tests rely on. Writing through "private" is covered by the
// manager interface's own tests.
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
    EXPECT_NE(agent.RunTool("snmpset", {"-v2c", "-c", "public", agent.Address(), ".1.3.6.1.2.1.1.5.0", "s", "x"},
                            &strOut),
              0)
        << "the read-only community wrote";

    // A second agent runs beside it with extra configuration; its files go with it.
    std::string strFolder;
    {
        CSnmpdFixture configured("sysName fixed\n");
        ASSERT_TRUE(configured.IsRunning()) << configured.Error();
        EXPECT_NE(configured.Port(), agent.Port());
        EXPECT_EQ(configured.Get(".1.3.6.1.2.1.1.5.0"), "\"fixed\"");
        strFolder = configured.Folder();
    }
    EXPECT_FALSE(std::filesystem::exists(strFolder));
}

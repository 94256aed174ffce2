#include "snmp/AppSettings.h"
#include "snmp/WalkOptions.h"
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

class WalkOptions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        unsetenv("ORVEX_AUTH_PASS");
        unsetenv("ORVEX_PRIV_PASS");
    }
    void TearDown() override
    {
        SetUp();
    }

    std::optional<CWalkOptions> Parse(const Args& args)
    {
        m_strError.clear();
        return CWalkOptions::Parse(args, m_strError);
    }

    std::string m_strError;
};

} // namespace

TEST_F(WalkOptions, VersionThreeTakesTheUserInsteadOfACommunity)
{
    const std::optional<CWalkOptions> options =
        Parse({"--snmp-version", "3", "--user", "ops", "--level", "authpriv", "--auth", "sha-512", "--auth-pass",
               "auth secret", "--priv", "AES-256", "--priv-pass", "priv secret", "--context", "vrf1",
               "--max-repetitions", "40", "[2001:db8::1]:1161"});
    ASSERT_TRUE(options) << m_strError;
    EXPECT_EQ(options->m_strHost, "[2001:db8::1]:1161");
    EXPECT_EQ(options->m_strCommunity, "");
    const CAgentProfile profile = options->Profile();
    EXPECT_TRUE(profile.IsV3());
    EXPECT_EQ(profile.m_strUser, "ops");
    EXPECT_EQ(profile.m_eLevel, SnmpSecurityLevel::AuthPriv);
    EXPECT_EQ(profile.m_eAuth, SnmpAuthProtocol::SHA512);
    EXPECT_EQ(profile.m_strAuthPass, "auth secret");
    EXPECT_EQ(profile.m_ePriv, SnmpPrivProtocol::AES256);
    EXPECT_EQ(profile.m_strPrivPass, "priv secret");
    EXPECT_EQ(profile.m_strContext, "vrf1");
    EXPECT_EQ(profile.BulkRepetitions(), 40);
    EXPECT_EQ(profile.m_nTimeout, CAppSettings::kDefaultTimeout);  // not given: the setting's

    // Version 3 with a community left in is not a command line.
    EXPECT_FALSE(Parse({"-v", "3", "--user", "ops", "host", "public"}));
}

TEST_F(WalkOptions, PassphrasesFromTheEnvironmentWhenNotGiven)
{
    setenv("ORVEX_AUTH_PASS", "from-env-auth", 1);
    setenv("ORVEX_PRIV_PASS", "from-env-priv", 1);
    std::optional<CWalkOptions> options = Parse({"-v", "3", "--user", "u", "--level", "authPriv", "h"});
    ASSERT_TRUE(options) << m_strError;
    EXPECT_EQ(options->m_strAuthPass, "from-env-auth");
    EXPECT_EQ(options->m_strPrivPass, "from-env-priv");
    options = Parse({"-v", "3", "--user", "u", "--level", "authPriv", "--auth-pass", "given-auth", "h"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->m_strAuthPass, "given-auth");  // the option wins
    EXPECT_EQ(options->m_strPrivPass, "from-env-priv");
}

TEST_F(WalkOptions, WhatVersionThreeLacksIsSaid)
{
    const std::pair<Args, const char*> cases[] = {
        {{"-v", "3", "host"}, "SNMPv3 needs --user NAME"},
        {{"-v", "3", "--user", "u", "--level", "authNoPriv", "host"},
         "this level needs --auth-pass TEXT or ORVEX_AUTH_PASS"},
        {{"-v", "3", "--user", "u", "--level", "authPriv", "--auth-pass", "a-pass-long", "host"},
         "authPriv needs --priv-pass TEXT or ORVEX_PRIV_PASS"},
    };
    for (const auto& [args, pszError] : cases) {
        EXPECT_FALSE(Parse(args));
        EXPECT_EQ(m_strError, pszError);
    }
    ASSERT_TRUE(Parse({"-v", "3", "--user", "u", "host"}));  // noAuthNoPriv by default
}

TEST_F(WalkOptions, BadCommandLinesAndTheSettingsUnderneath)
{
    for (const Args& args : std::vector<Args>{
             {"--auth", "SHA-1024", "-v", "3", "--user", "u", "h"},
             {"--priv", "AES-256-C", "-v", "3", "--user", "u", "h"},
             {"--level", "auth", "-v", "3", "--user", "u", "h"},
             {"--snmp-version", "2", "h", "c"},
             {"--max-repetitions", "-1", "h", "c"},
             {"--max-repetitions", "5x", "h", "c"},
             {"h"},
             {"--user", "u", "h"},
         }) {
        EXPECT_FALSE(Parse(args)) << args[0];
        EXPECT_EQ(m_strError, "");
    }
    AppSettings.Version = 2;
    AppSettings.MaxRepetitions = 7;
    AppSettings.Timeout = 9;
    std::optional<CWalkOptions> options = Parse({"--retries", "0", "h", "c"});
    ASSERT_TRUE(options);
    CAgentProfile profile = options->Profile();
    EXPECT_EQ(profile.m_nVersion, CAgentProfile::kVersion2c);
    EXPECT_EQ(profile.BulkRepetitions(), 7);
    EXPECT_EQ(profile.m_nTimeout, 9);
    EXPECT_EQ(profile.m_nRetries, 0);
    // The earlier spelling of the version option; v1 never walks in bulk.
    options = Parse({"--version", "1", "h", "c"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Profile().BulkRepetitions(), 0);
}

TEST_F(WalkOptions, MibsTakesAPathNoMibsIsAFlagAndOnlyOneOfThemIsGiven)
{
    std::optional<CWalkOptions> options = Parse({"--no-mibs", "-v", "3", "--user", "u", "h"});
    ASSERT_TRUE(options) << m_strError;
    EXPECT_TRUE(options->m_bNoMibs);
    EXPECT_EQ(options->m_strHost, "h");
    options = Parse({"--base", ".1.3", "--no-mibs", "h", "c"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->m_strCommunity, "c");
    EXPECT_EQ(options->m_strBase, ".1.3");
    options = Parse({"--mibs", "/a:/b", "h", "c"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->m_strMibs, "/a:/b");
    EXPECT_FALSE(options->m_bNoMibs);
    EXPECT_FALSE(Parse({"--mibs", "/a", "--no-mibs", "h", "c"}));
    EXPECT_FALSE(Parse({"--no-mibs", "--mibs", "/a", "h", "c"}));
}

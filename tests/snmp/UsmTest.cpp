// SNMPv3 against a real agent: every user and level, the failures the agent
// reports, net-snmp's process-wide user cache, SET, and sessions opened at once.
#include "platform/msgbox/MessageBox.h"
#include "snmp/AgentSession.h"
#include "snmp/AppSettings.h"
#include "snmp/SnmpWrite.h"
#include "snmp/WalkHarness.h"
#include "support/SnmpdEnvironment.h"
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

static auto* const g_pSnmpd = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);

namespace {

using User = CSnmpdFixture::CV3User;

const User& FindUser(const std::string& strName)
{
    for (const User& user : CSnmpdFixture::kV3Users)
        if (strName == user.pszName)
            return user;
    ADD_FAILURE() << "no test user " << strName;
    return CSnmpdFixture::kV3Users[0];
}

CAgentProfile ProfileOf(const User& user)
{
    CAgentProfile profile = CAgentProfile::FromSettings();
    profile.m_nVersion = CAgentProfile::kVersion3;
    profile.m_strUser = user.pszName;
    profile.m_eLevel = ParseSecurityLevel(user.pszLevel).value();
    if (*user.pszAuth)
        profile.m_eAuth = ParseAuthProtocol(user.pszAuth).value();
    if (*user.pszPriv)
        profile.m_ePriv = ParsePrivProtocol(user.pszPriv).value();
    profile.m_strAuthPass = user.AuthPass();
    profile.m_strPrivPass = user.PrivPass();
    return profile;
}

// One walk of the system subtree with the profile.
std::unique_ptr<CWalkHarness> Walk(const CAgentProfile& profile)
{
    auto pHarness = std::make_unique<CWalkHarness>(CSnmpdEnvironment::Agent().Address());
    pHarness->m_request.m_profile = profile;
    pHarness->Run();
    return pHarness;
}

std::string OnlyText(const CWalkHarness& harness)
{
    return harness.m_texts.size() == 1 ? harness.m_texts[0] : "(" + std::to_string(harness.m_texts.size()) + " texts)";
}

class Usm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        AppSettings.SetBase(".1.3.6.1.2.1.1");
        AppSettings.Timeout = 3;
        AppSettings.Retries = 0;
    }
    void TearDown() override { AppSettings.Reset(); }
};

} // namespace

TEST_F(Usm, EveryUserAndLevelWalksTheSystemSubtreeAsNetSnmpsWalker)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    for (const User& user : CSnmpdFixture::kV3Users) {
        const std::unique_ptr<CWalkHarness> pWalk = Walk(ProfileOf(user));
        EXPECT_TRUE(pWalk->m_texts.empty()) << user.pszName << ": " << OnlyText(*pWalk);
        std::vector<std::string> args = user.ToolOptions();
        args.insert(args.end(), {"-On", agent.Address(), ".1.3.6.1.2.1.1"});
        std::string strOut;
        ASSERT_EQ(agent.RunTool("snmpwalk", args, &strOut), 0) << strOut;
        Strings oids, lines;
        std::istringstream stream(strOut);
        for (std::string strLine; std::getline(stream, strLine);) {
            oids.push_back(strLine.substr(0, strLine.find(" = ")));
            lines.push_back(strLine);
        }
        ASSERT_GT(pWalk->m_records.size(), 5u) << user.pszName;
        ASSERT_EQ(pWalk->Oids(), oids) << user.pszName;
        // Values that do not move between two walks read the same.
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const CWalkRecord& record = pWalk->m_records[i];
            if (record.m_strType == "OCTETSTRING" || record.m_strType == "INTEGER") {
                EXPECT_NE(lines[i].find(record.m_strType == "INTEGER" ? "INTEGER: " : "STRING: "), std::string::npos)
                    << lines[i];
                EXPECT_NE(lines[i].find(record.m_strValue), std::string::npos) << lines[i];
            }
        }
    }
}

TEST_F(Usm, WhatTheAgentRefusesHasItsOwnText)
{
    const User& shaAes = FindUser("shaaes");
    CAgentProfile wrongAuth = ProfileOf(shaAes);
    wrongAuth.m_strAuthPass = "not-the-auth-pass";
    CAgentProfile unknown = ProfileOf(shaAes);
    unknown.m_strUser = "nobody-here";
    CAgentProfile tooHigh = ProfileOf(FindUser("noauth"));
    tooHigh.m_eLevel = SnmpSecurityLevel::AuthNoPriv;
    tooHigh.m_strAuthPass = "some-auth-pass";
    CAgentProfile shortPass = ProfileOf(shaAes);
    shortPass.m_strPrivPass = "short";
    CAgentProfile wrongPriv = ProfileOf(shaAes);
    wrongPriv.m_strPrivPass = "not-the-priv-pass";
    wrongPriv.m_nTimeout = 1;
    const std::pair<const CAgentProfile*, const char*> cases[] = {
        {&wrongAuth, "ErrorID:61 (SNMPv3: wrong digest; the authentication protocol or passphrase does not match"},
        {&unknown, "ErrorID:60 (SNMPv3: the agent does not know this user name)"},
        {&tooHigh, "ErrorID:62 (SNMPv3: the agent does not support this security level for this user)"},
        {&shortPass, "ErrorID:66 (SNMPv3: a passphrase must have at least 8 characters)"},
        // The agent cannot decrypt and stays silent: the time-out says why that may be.
        {&wrongPriv, "ErrorID:40 (There was no response from the host, the request timed-out)\nAt authPriv the "
                     "privacy protocol or passphrase may not match the agent's"},
    };
    for (const auto& [pProfile, pszText] : cases) {
        const std::unique_ptr<CWalkHarness> pWalk = Walk(*pProfile);
        EXPECT_TRUE(pWalk->m_records.empty());
        EXPECT_NE(OnlyText(*pWalk).find(pszText), std::string::npos) << OnlyText(*pWalk);
    }
}

// net-snmp keeps a user's keys for the whole process: each session must use
// its own passphrases whatever came before.
TEST_F(Usm, EachSessionUsesItsOwnPassphrasesInEitherOrder)
{
    const User& user = FindUser("sha256aes256");
    const CAgentProfile right = ProfileOf(user);
    CAgentProfile wrong = right;
    wrong.m_strAuthPass = "wrong-auth-pass";
    const std::size_t nRecords = Walk(right)->m_records.size();
    ASSERT_GT(nRecords, 5u);
    for (const CAgentProfile* pProfile : std::initializer_list<const CAgentProfile*>{&wrong, &right, &wrong, &wrong,
                                                                                     &right, &right}) {
        const std::unique_ptr<CWalkHarness> pWalk = Walk(*pProfile);
        if (pProfile == &right) {
            EXPECT_EQ(pWalk->m_records.size(), nRecords);
            EXPECT_TRUE(pWalk->m_texts.empty()) << OnlyText(*pWalk);
        } else {
            EXPECT_TRUE(pWalk->m_records.empty());
            EXPECT_NE(OnlyText(*pWalk).find("wrong digest"), std::string::npos) << OnlyText(*pWalk);
        }
    }
}

TEST_F(Usm, SessionsOfSeveralThreadsAtOnce)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    std::vector<std::thread> threads;
    std::vector<std::size_t> counts(6);
    for (std::size_t t = 0; t < counts.size(); ++t)
        threads.emplace_back([&, t] {
            // Opening asks the agent for its engine: USM work on every thread at once.
            const CAgentProfile profile = ProfileOf(CSnmpdFixture::kV3Users[t % 5]);
            for (int n = 0; n < 3; ++n) {
                CAgentSession session;
                if (session.Open(agent.Address(), "", profile) && session.Close())
                    ++counts[t];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(counts, std::vector<std::size_t>(counts.size(), 3));
    // And the users still answer afterwards.
    for (std::size_t t = 0; t < 5; ++t)
        EXPECT_GT(Walk(ProfileOf(CSnmpdFixture::kV3Users[t]))->m_records.size(), 5u) << t;
}

TEST_F(Usm, SetOverAuthPrivWritesAndReadsBack)
{
    CSnmpdFixture& agent = CSnmpdEnvironment::Agent();
    const CAgentProfile profile = ProfileOf(FindUser("shaaes"));
    const CWriteResult written =
        WriteValue(agent.Address(), "", ".1.3.6.1.2.1.1.6.0", "OCTETSTRING", "rack 7, over v3", profile);
    EXPECT_EQ(written.m_nResult, 0) << written.m_strError;
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.1.6.0"), "\"rack 7, over v3\"");
    // A read-only user is refused by the agent's access control, not by USM.
    const CWriteResult readOnly = WriteValue(agent.Address(), "", ".1.3.6.1.2.1.1.6.0", "OCTETSTRING", "x",
                                             ProfileOf(FindUser("md5des")));
    EXPECT_EQ(readOnly.m_nResult, 1);
    EXPECT_EQ(readOnly.m_strError.rfind("Attempting to Write\n Status:", 0), 0u) << readOnly.m_strError;
    CAgentProfile wrong = profile;
    wrong.m_strAuthPass = "wrong-auth-pass";
    const CWriteResult refused = WriteValue(agent.Address(), "", ".1.3.6.1.2.1.1.6.0", "OCTETSTRING", "y", wrong);
    EXPECT_EQ(refused.m_nResult, 1);
    EXPECT_NE(refused.m_strError.find("wrong digest"), std::string::npos) << refused.m_strError;
    EXPECT_EQ(agent.Get(".1.3.6.1.2.1.1.6.0"), "\"rack 7, over v3\"");
}

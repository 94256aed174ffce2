// What the host history keeps of an agent's profile: every field but the
// secrets comes back from its text, whatever the names hold; keys as hex.
#include "snmp/AgentProfile.h"
#include "snmp/AppSettings.h"
#include <gtest/gtest.h>

namespace {

CAgentProfile SampleV3()
{
    CAgentProfile profile;
    profile.m_nVersion = CAgentProfile::kVersion3;
    profile.m_nPort = 1161;
    profile.m_nTimeout = 7;
    profile.m_nRetries = 0;
    profile.m_nMaxRepetitions = 40;
    profile.m_strUser = "ops;level=noAuthNoPriv%3B=";  // what a field separator would do, escaped
    profile.m_eLevel = SnmpSecurityLevel::AuthPriv;
    profile.m_eAuth = SnmpAuthProtocol::SHA512;
    profile.m_ePriv = SnmpPrivProtocol::AES192;
    profile.m_strContext = "ctx\n\x7f%";
    profile.m_bRememberKeys = true;
    profile.m_strAuthPass = "auth-secret-1";
    profile.m_strPrivPass = "priv-secret-2";
    return profile;
}

auto Fields(const CAgentProfile& p)
{
    return std::make_tuple(p.m_nVersion, p.m_nPort, p.m_nTimeout, p.m_nRetries, p.m_nMaxRepetitions, p.m_strUser,
                           p.m_eLevel, p.m_eAuth, p.m_ePriv, p.m_strContext, p.m_bRememberKeys);
}

} // namespace

TEST(AgentProfileText, EveryFieldButTheSecretsComesBack)
{
    const CAgentProfile profile = SampleV3();
    const std::string strText = profile.ToText();
    EXPECT_EQ(strText.find("secret"), std::string::npos) << strText;
    const CAgentProfile back = CAgentProfile::FromText(strText, CAgentProfile());
    EXPECT_EQ(Fields(back), Fields(profile)) << strText;
    EXPECT_EQ(back.m_strAuthPass, "");
    EXPECT_EQ(back.m_strPrivPass, "");
    EXPECT_TRUE(back.m_authKey.empty());

    // Each value of the enumerations and versions reads back as itself.
    for (const DWORD nVersion : {CAgentProfile::kVersion1, CAgentProfile::kVersion2c}) {
        CAgentProfile other = profile;
        other.m_nVersion = nVersion;
        other.m_eAuth = SnmpAuthProtocol::MD5;
        other.m_ePriv = SnmpPrivProtocol::DES;
        other.m_eLevel = SnmpSecurityLevel::NoAuthNoPriv;
        other.m_bRememberKeys = false;
        EXPECT_EQ(Fields(CAgentProfile::FromText(other.ToText(), profile)), Fields(other)) << other.ToText();
    }
}

TEST(AgentProfileText, WhatIsMissingOrNotUnderstoodKeepsTheDefaults)
{
    const CAgentProfile defaults = SampleV3();
    for (const char* pszText : {"", ";;", "version=4;port=;timeout=x;retries=-;level=high;auth=SHA-1;priv=AES-128",
                                "port=99999999999;max-repetitions=1e3;colour=red;remember", "port 161;user"}) {
        EXPECT_EQ(Fields(CAgentProfile::FromText(pszText, defaults)), Fields(defaults)) << pszText;
    }
    // A text cut short (a history cell holds 254 characters) loses only its end.
    const std::string strCut = defaults.ToText().substr(0, defaults.ToText().find(";context="));
    CAgentProfile plain = defaults;
    plain.m_strContext = "default context";
    const CAgentProfile back = CAgentProfile::FromText(strCut, plain);
    EXPECT_EQ(back.m_strUser, defaults.m_strUser);
    EXPECT_EQ(back.m_strContext, "default context");
    // A broken escape stays as written.
    EXPECT_EQ(CAgentProfile::FromText("user=a%2;context=%zz%", defaults).m_strUser, "a%2");
    EXPECT_EQ(CAgentProfile::FromText("user=a%2;context=%zz%", defaults).m_strContext, "%zz%");
}

TEST(AgentProfileText, KeysAsHexadecimal)
{
    const std::vector<BYTE> bytes = {0x00, 0x7f, 0x80, 0xff, 0x0a};
    EXPECT_EQ(HexText(bytes), "007f80ff0a");
    EXPECT_EQ(HexBytes("007F80ff0a"), bytes);
    for (const char* pszBad : {"0", "0g", "00 1", "-1"})
        EXPECT_TRUE(HexBytes(pszBad).empty()) << pszBad;
    EXPECT_TRUE(HexBytes("").empty());
}

TEST(AgentProfileSecrets, KeysReplaceTypedPassphrasesAndBelongToOneHash)
{
    CAgentProfile profile = SampleV3();
    EXPECT_FALSE(profile.NeedsSecrets());
    ASSERT_TRUE(profile.DeriveKeys());
    EXPECT_EQ(profile.m_authKey.size(), 64u);  // SHA-512
    EXPECT_NE(profile.m_authKey, profile.m_privKey);

    BYTE key[SNMP_MGMTAPI_MAX_KEY];
    size_t nKey = sizeof key;
    ASSERT_TRUE(SnmpMgrMasterKey(SnmpAuthProtocol::SHA512, "auth-secret-1", key, &nKey));
    EXPECT_EQ(profile.m_authKey, std::vector<BYTE>(key, key + nKey));
    nKey = sizeof key;
    ASSERT_TRUE(SnmpMgrMasterKey(SnmpAuthProtocol::MD5, "auth-secret-1", key, &nKey));
    EXPECT_EQ(nKey, 16u);

    // Keys stand for the passphrases: without them nothing is missing.
    CAgentProfile keysOnly = profile;
    keysOnly.m_strAuthPass.clear();
    keysOnly.m_strPrivPass.clear();
    EXPECT_FALSE(keysOnly.NeedsSecrets());
    EXPECT_EQ(keysOnly.Usm().authKeyLen, 64u);
    // A typed passphrase goes first.
    EXPECT_EQ(profile.Usm().authKeyLen, 0u);
    // A passphrase too short for a key leaves the keys as they were.
    CAgentProfile shortPass = keysOnly;
    shortPass.m_strPrivPass = "short";
    EXPECT_FALSE(shortPass.DeriveKeys());
    EXPECT_EQ(shortPass.m_privKey, profile.m_privKey);

    keysOnly.DropKeys();
    EXPECT_TRUE(keysOnly.NeedsSecrets());
    keysOnly.m_strAuthPass = "auth-secret-1";
    EXPECT_TRUE(keysOnly.NeedsSecrets());  // authPriv needs the privacy one too
    keysOnly.m_eLevel = SnmpSecurityLevel::AuthNoPriv;
    EXPECT_FALSE(keysOnly.NeedsSecrets());
    keysOnly.m_nVersion = CAgentProfile::kVersion2c;
    keysOnly.m_strAuthPass.clear();
    EXPECT_FALSE(keysOnly.NeedsSecrets());
}

#pragma once
// One snmpd shared by every test of a program. Register it once per program:
//   static auto* const g_pEnv = ::testing::AddGlobalTestEnvironment(new CSnmpdEnvironment);
// and reach the agent with CSnmpdEnvironment::Agent() inside tests.
#include "SnmpdFixture.h"
#include <gtest/gtest.h>
#include <memory>

class CSnmpdEnvironment : public ::testing::Environment
{
public:
    void SetUp() override;
    void TearDown() override;
    // The running shared agent. Valid between SetUp and TearDown only.
    static CSnmpdFixture& Agent();

private:
    static std::unique_ptr<CSnmpdFixture> s_pAgent;  // Owned.
};

#include "SnmpdEnvironment.h"
#include <cstdlib>

std::unique_ptr<CSnmpdFixture> CSnmpdEnvironment::s_pAgent;

void CSnmpdEnvironment::SetUp()
{
    s_pAgent = std::make_unique<CSnmpdFixture>();
    ASSERT_TRUE(s_pAgent->IsRunning()) << s_pAgent->Error();
}

void CSnmpdEnvironment::TearDown()
{
    s_pAgent.reset();
}

CSnmpdFixture& CSnmpdEnvironment::Agent()
{
    if (!s_pAgent)
    {
        ADD_FAILURE() << "CSnmpdEnvironment is not registered or already torn down";
        std::abort();
    }
    return *s_pAgent;
}

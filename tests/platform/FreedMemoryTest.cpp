#include "platform/memory/FreedMemory.h"

#include <gtest/gtest.h>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Tells, when destroyed, on which thread that happened.
struct CWitness
{
    explicit CWitness(std::shared_ptr<std::promise<std::thread::id>> pDone) : m_pDone(std::move(pDone)) {}
    CWitness(CWitness&&) = default;
    ~CWitness()
    {
        if (m_pDone)
            m_pDone->set_value(std::this_thread::get_id());
    }
    std::shared_ptr<std::promise<std::thread::id>> m_pDone;
};

} // namespace

TEST(FreedMemory, FreeInBackgroundDestroysOnceOnAnotherThread)
{
    auto pDone = std::make_shared<std::promise<std::thread::id>>();
    std::future<std::thread::id> destroyedOn = pDone->get_future();
    std::vector<CWitness> structure;
    structure.emplace_back(pDone);
    FreeInBackground(std::move(structure));
    EXPECT_TRUE(structure.empty());  // taken, not copied
    ASSERT_EQ(destroyedOn.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_NE(destroyedOn.get(), std::this_thread::get_id());
}

#include "platform/memory/FreedMemory.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReleaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

namespace {

std::mutex g_jobsMutex;
std::condition_variable g_jobsDone;
int g_nJobs = 0;  // guarded by g_jobsMutex

// The process's exit waits for the jobs: a detached thread still freeing while
// static objects are destroyed would free what is already gone.
void WaitForJobs()
{
    std::unique_lock<std::mutex> lock(g_jobsMutex);
    g_jobsDone.wait(lock, [] { return g_nJobs == 0; });
}

} // namespace

// One job shared by the thread and this call: what it releases goes on the
// thread that runs it, not with the last copy here.
void RunInBackground(std::function<void()> job)
{
    auto pJob = std::make_shared<std::function<void()>>(std::move(job));
    {
        std::lock_guard<std::mutex> lock(g_jobsMutex);
        ++g_nJobs;
    }
    // Registered after whatever static objects exist by now, so it runs before they go.
    std::atexit(WaitForJobs);
    const auto run = [pJob] {
        (*pJob)();
        std::lock_guard<std::mutex> lock(g_jobsMutex);
        --g_nJobs;
        g_jobsDone.notify_all();
    };
    try {
        std::thread(run).detach();
    } catch (const std::system_error&) {
        run();
    }
}

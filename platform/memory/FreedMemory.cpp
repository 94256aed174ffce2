#include "platform/memory/FreedMemory.h"

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

// One job shared by the thread and this call: what it releases goes on the
// thread that runs it, not with the last copy here.
void RunInBackground(std::function<void()> job)
{
    auto pJob = std::make_shared<std::function<void()>>(std::move(job));
    try {
        std::thread([pJob] { (*pJob)(); }).detach();
    } catch (const std::system_error&) {
        (*pJob)();
    }
}

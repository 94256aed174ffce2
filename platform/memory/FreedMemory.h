#pragma once
// Giving memory back. The allocator keeps freed memory for reuse; after a
// large tree has been cleaned or emptied most of it would stay unused, and
// freeing a million small objects takes the thread that does it a second.
#include <functional>
#include <memory>
#include <utility>

// Hands the pages the process has freed back to the system. Costs a pass over
// the allocator's free lists: call it after large releases, not in loops.
void ReleaseFreedMemory();

// Runs job on a detached thread of its own (here, when no thread can be
// started); the process's exit waits for jobs still running, so a job may use
// static objects that exist when it is started. A job must never wait for
// the UI thread: the exit would wait for it in turn.
void RunInBackground(std::function<void()> job);

// Destroys what object holds on a thread of its own, then releases the freed
// memory: for large structures of plain data that nothing refers to any more.
template <class T>
void FreeInBackground(T&& object)
{
    auto pHeld = std::make_shared<std::decay_t<T>>(std::forward<T>(object));
    RunInBackground([pHeld = std::move(pHeld)]() mutable {
        pHeld.reset();
        ReleaseFreedMemory();
    });
}

#pragma once
// Hands SIGINT and SIGTERM to the event loop's thread: the signal handler only
// writes the signal's number to a pipe, and the loop calls the given function
// with it between two events, so that it may use stdio and Qt safely. One at a
// time in a process; its destruction puts the previous handlers back.
#include <QSocketNotifier>
#include <functional>
#include <memory>

class CInterruptNotifier
{
public:
    // fnInterrupted runs on the thread that made this, with the signal's number.
    explicit CInterruptNotifier(std::function<void(int)> fnInterrupted);
    ~CInterruptNotifier();
    CInterruptNotifier(const CInterruptNotifier&) = delete;
    CInterruptNotifier& operator=(const CInterruptNotifier&) = delete;

private:
    void OnReadable();

    std::function<void(int)> m_fnInterrupted;
    std::unique_ptr<QSocketNotifier> m_pNotifier;  // Owned.
};

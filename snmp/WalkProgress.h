#pragma once
// What the status bar says about a grid's walk: the variables received, the
// rate and the time so far while it runs; "N variables in T s" (or the error)
// at its end. Fed and read on the UI thread as the walk's messages arrive; the
// clock is passed in, so the texts depend on nothing else.
#include <chrono>
#include <cstdint>
#include <string>

class CWalkProgress
{
public:
    using Clock = std::chrono::steady_clock;

    // A new walk starts: no variables yet.
    void Start(Clock::time_point now);
    void OnRecord() { ++m_nRecords; }
    // The end message; an error already reported stays the text.
    void OnEnd(Clock::time_point now, bool bStopped);
    // An error text of the walk; it ends the walk's time.
    void OnError(const std::string& strText, Clock::time_point now);

    // The status text at now; empty before the first walk.
    std::string Text(Clock::time_point now) const;
    std::uint64_t Records() const { return m_nRecords; }

private:
    enum class State { Idle, Running, Done, Stopped, Failed };

    State m_eState = State::Idle;
    std::uint64_t m_nRecords = 0;
    Clock::time_point m_start, m_end;
    std::string m_strError;  // on one line
};

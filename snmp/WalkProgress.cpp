#include "snmp/WalkProgress.h"
#include <cstdio>

namespace {

double Seconds(CWalkProgress::Clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

std::string Variables(std::uint64_t nCount)
{
    return std::to_string(nCount) + (nCount == 1 ? " variable" : " variables");
}

// Error texts span lines; a status pane has one.
std::string OneLine(const std::string& strText)
{
    std::string strLine;
    for (const char c : strText) {
        const bool bBreak = c == '\n' || c == '\r';
        if (bBreak && !strLine.empty() && strLine.back() != ' ')
            strLine += ' ';
        else if (!bBreak)
            strLine += c;
    }
    while (!strLine.empty() && strLine.back() == ' ')
        strLine.pop_back();
    return strLine;
}

std::string Format(const char* pszFormat, double dValue)
{
    char szText[64];
    std::snprintf(szText, sizeof szText, pszFormat, dValue);
    return szText;
}

} // namespace

void CWalkProgress::Start(Clock::time_point now)
{
    m_eState = State::Running;
    m_nRecords = 0;
    m_start = m_end = now;
    m_strError.clear();
}

void CWalkProgress::OnEnd(Clock::time_point now, bool bStopped)
{
    if (m_eState != State::Running)
        return;
    m_eState = bStopped ? State::Stopped : State::Done;
    m_end = now;
}

void CWalkProgress::OnError(const std::string& strText, Clock::time_point now)
{
    if (m_eState == State::Running)
        m_end = now;
    m_eState = State::Failed;
    m_strError = OneLine(strText);
}

std::string CWalkProgress::Text(Clock::time_point now) const
{
    switch (m_eState) {
    case State::Idle:
        return {};
    case State::Running: {
        const double dSeconds = Seconds(now - m_start);
        const double dRate = dSeconds > 0 ? static_cast<double>(m_nRecords) / dSeconds : 0;
        return Variables(m_nRecords) + " received, " + Format("%.0f per second, ", dRate) +
               Format("%.1f s so far", dSeconds);
    }
    case State::Done:
    case State::Stopped:
        return Variables(m_nRecords) + Format(" in %.2f s", Seconds(m_end - m_start)) +
               (m_eState == State::Stopped ? " (stopped)" : "");
    case State::Failed:
        return m_strError;
    }
    return {};
}

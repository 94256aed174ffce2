#pragma once
// A walk's owner for tests: runs MibWalkThread and keeps what arrives.
#include "snmp/MibWalk.h"
#include "snmp/WalkMessages.h"
#include "snmp/WalkTarget.h"
#include "support/PumpUntil.h"
#include <QCoreApplication>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

using Strings = std::vector<std::string>;
using Messages = std::vector<UINT>;

// The smallest owner a walk can have: the target fields and a window that
// records what arrives, in arrival order. The profile is the settings'
// defaults when it is made.
class CWalkHarness : public CWalkTarget
{
public:
    explicit CWalkHarness(const std::string& strHost)
        : m_window(nullptr, [this](UINT message, WPARAM wParam, LPARAM lParam) {
              m_arrivals.push_back(message);
              if (message == WM_WALK_RECORD)
                  m_records.push_back(*TakeWalkRecord(wParam));
              else
                  m_signals.push_back(message);
              if (message == WM_WALK_ERROR)
                  m_texts.push_back(TakeWalkErrorText(lParam).get());
              if (m_onArrival)
                  m_onArrival(*this);
              return LRESULT{0};
          })
    {
        m_request = CWalkRequest{strHost, "public"};
        m_pWalk->m_bRun = 1;
        m_hWalkWnd = m_window.Handle();
    }

    // Runs one walk to its end on a thread of its own while handling messages.
    void Run()
    {
        std::atomic<bool> bEnded{false};
        std::thread walk([this, &bEnded] {
            MibWalkThread(m_pWalk, CWalkStart{m_request, m_hWalkWnd});
            bEnded = true;
        });
        // A guard against a walk that never ends, not a speed bound: a full
        // GET-NEXT walk over v3 under the sanitizer on a loaded machine takes
        // tens of seconds.
        ASSERT_TRUE(PumpUntil([&] { return bEnded.load(); }, 180000));
        walk.join();
        QCoreApplication::processEvents();
        EXPECT_EQ(m_pWalk->m_bWalking, 0);
    }

    Strings Oids() const
    {
        Strings oids;
        for (const CWalkRecord& r : m_records)
            oids.push_back(r.m_strOid);
        return oids;
    }

    std::vector<CWalkRecord> m_records;
    Strings m_texts;
    Messages m_signals;   // everything but records: texts and end messages
    Messages m_arrivals;  // every message, records too, in arrival order
    std::function<void(CWalkHarness&)> m_onArrival;
    CMsgWindow m_window;
};


#pragma once
// Walks one table again and again, off the UI thread, one walk at a time:
// Refresh while a walk runs does nothing, so neither a button nor an interval
// tick ever stacks walks on a slow agent. Each walk is the query's request
// (host, community, agent profile: GetBulk where the profile allows) with the
// table as its base; its records are gathered and handed over whole.
//
// UI thread only. The walk thread reaches it through its messages alone; the
// destructor stops the walk and waits for nothing (the walk ends on its own).
#include "snmp/WalkMessages.h"
#include "snmp/WalkTarget.h"
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CTableRefresher : public QObject, protected CWalkTarget
{
    Q_OBJECT
public:
    // The end of one walk: its records in walk order, and the walk's error
    // text (empty when it went to its end).
    using Done = std::function<void(std::vector<CWalkRecord> records, const std::string& strError)>;

    // request: the query's, copied; its base is set to strTableOid.
    CTableRefresher(const CWalkRequest& request, const std::string& strTableOid, Done done,
                    QObject* pParent = nullptr);
    ~CTableRefresher() override;

    // Starts a walk of the table unless one runs; true when one was started.
    bool Refresh();
    // True from a started walk until its thread has let go of everything.
    bool IsWalking() const { return m_pWalk->m_bWalking != 0; }
    // Refreshes every nMs milliseconds (0: no interval); a tick that meets a
    // running walk is skipped.
    void SetInterval(int nMs);
    int Interval() const { return m_nIntervalMs; }
    int WalksStarted() const { return m_nStarted; }
    int TicksSkipped() const { return m_nSkipped; }

private:
    LRESULT OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Finish(const std::string& strError);
    void OnTick();

    Done m_done;
    std::unique_ptr<CMsgWindow> m_pWindow;  // Owned; a fresh one per walk
    std::unique_ptr<CMsgWindow> m_pRetired; // Owned; the walk before's
    std::vector<CWalkRecord> m_records;     // of the running walk
    QTimer m_timer;
    int m_nIntervalMs = 0;
    int m_nStarted = 0;
    int m_nSkipped = 0;
};

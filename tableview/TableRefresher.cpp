#include "tableview/TableRefresher.h"
#include "snmp/MibWalk.h"

CTableRefresher::CTableRefresher(const CWalkRequest& request, const std::string& strTableOid, Done done,
                                 QObject* pParent)
    : QObject(pParent), m_done(std::move(done))
{
    m_request = request;
    m_request.m_strBase = strTableOid;
    m_pWalk->m_bRun = 0;  // no walk yet
    connect(&m_timer, &QTimer::timeout, this, &CTableRefresher::OnTick);
}

CTableRefresher::~CTableRefresher()
{
    m_pWalk->m_bRun = 0;
}

bool CTableRefresher::Refresh()
{
    if (IsWalking())
        return false;
    // Each walk has its own handle and state: what an ended walk still sends
    // finds its handle retired.
    // The old handle lives one walk longer: this may run inside its handler.
    m_pRetired = std::move(m_pWindow);
    m_pWindow = std::make_unique<CMsgWindow>(this, [this](UINT nMsg, WPARAM wParam, LPARAM lParam) {
        return OnMessage(nMsg, wParam, lParam);
    });
    m_pWalk = std::make_shared<CWalkState>();
    m_hWalkWnd = m_pWindow->Handle();
    m_records.clear();
    if (!StartMibWalkThread(*this)) {
        Finish("Error: no thread could be started for the walk.\n");
        return false;
    }
    ++m_nStarted;
    return true;
}

void CTableRefresher::SetInterval(int nMs)
{
    m_nIntervalMs = nMs > 0 ? nMs : 0;
    if (m_nIntervalMs > 0)
        m_timer.start(m_nIntervalMs);
    else
        m_timer.stop();
}

void CTableRefresher::OnTick()
{
    if (!Refresh())
        ++m_nSkipped;
}

LRESULT CTableRefresher::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_WALK_RECORD:
        if (std::unique_ptr<CWalkRecord> pRecord = TakeWalkRecord(wParam))
            m_records.push_back(std::move(*pRecord));
        break;
    case WM_WALK_ERROR: {
        // Every text of a walk is its last word; some walks send no end message after it.
        const std::unique_ptr<char[]> pszText = TakeWalkErrorText(lParam);
        Finish(pszText ? pszText.get() : "");
        break;
    }
    case WM_WALK_DONE:
    case WM_WALK_STOPPED: Finish(""); break;
    default: break;
    }
    return 0;
}

void CTableRefresher::Finish(const std::string& strError)
{
    if (m_pWindow)
        m_pWindow->Retire();
    std::vector<CWalkRecord> records = std::move(m_records);
    m_records.clear();
    if (m_done)
        m_done(std::move(records), strError);
}

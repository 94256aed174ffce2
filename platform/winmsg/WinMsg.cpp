#include "platform/winmsg/WinMsg.h"
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <cassert>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

// After the creating thread has emptied a window's queue it looks again this
// much later instead of being woken by every single post. A worker posting a
// stream of messages then costs a wake-up per pause, not one per message: each
// wake-up of the creating thread would otherwise preempt the worker on a busy
// machine. Sends always wake it at once.
constexpr int kPauseMs = 2;
// A stream of messages holds the creating thread for at most about this long
// (plus one handler) before the event loop turns once: paints and input get in
// between, however fast the workers post.
constexpr std::chrono::milliseconds kSlice{8};

// What a blocked sender waits for; guarded by the window's mutex.
struct CSendSlot
{
    bool bDone = false;
    LRESULT lResult = 0;
};

struct CWindowState;

// One queued message. Destroyed undelivered (window retired, program ending),
// it frees its payload and releases a waiting sender.
class CQueuedMsg
{
public:
    CQueuedMsg(CWindowState& window, UINT message, WPARAM wParam, LPARAM lParam, PayloadFree pfnFree,
               std::shared_ptr<CSendSlot> pSlot)
        : m_window(window), m_message(message), m_wParam(wParam), m_lParam(lParam), m_pfnFree(pfnFree),
          m_pSlot(std::move(pSlot))
    {
    }
    ~CQueuedMsg();
    CQueuedMsg(const CQueuedMsg&) = delete;
    CQueuedMsg& operator=(const CQueuedMsg&) = delete;

    // Runs the handler; the payload is the handler's from now on.
    void Deliver();
    // The payload stays with the caller (a refused post).
    void DisownPayload() { m_pfnFree = nullptr; }

private:
    void Complete(LRESULT lResult);

    CWindowState& m_window;  // Not owned; outlives its queue.
    const UINT m_message;
    const WPARAM m_wParam;
    const LPARAM m_lParam;
    PayloadFree m_pfnFree;
    std::shared_ptr<CSendSlot> m_pSlot;  // set for sent messages
};

// Shared by the CMsgWindow, the handle registry, wake-up events, the pause timer
// and waiting senders; whichever lets go last frees it. Owns no QObject, so it
// may be freed on any thread and from inside Qt's own event clean-up.
struct CWindowState : std::enable_shared_from_this<CWindowState>
{
    using Handler = CMsgWindow::Handler;

    CWindowState(std::uintptr_t nId, QObject* pOwner, Handler handler, QObject* pReceiver)
        : m_nId(nId), m_pOwner(pOwner), m_handler(std::move(handler)), m_pReceiver(pReceiver),
          m_pThread(QThread::currentThread())
    {
    }

    // Any thread: queues msg unless the window is retired (msg then stays with the caller).
    bool Enqueue(std::unique_ptr<CQueuedMsg>& pMsg, bool bSend);
    // Creating thread: hands queued messages to the handler, one at a time and
    // in order, until the queue is empty. Re-entrant: a handler running a nested
    // event loop lets the messages behind it through.
    void Drain();
    void OnWake();
    void OnPauseOver();
    // Guarded by m_mutex (held by the caller).
    void PostWake();
    void WakeForTheRest();
    // Marks the window retired and hands back what was still queued.
    std::deque<std::unique_ptr<CQueuedMsg>> Retire();
    bool IsRetired();

    const std::uintptr_t m_nId;
    const QPointer<QObject> m_pOwner;
    const Handler m_handler;
    QObject* const m_pReceiver;  // Not owned (CMsgWindow owns it); valid while not retired.
    QThread* const m_pThread;    // the creating thread, where handlers run
    int m_nDispatching = 0;      // handlers running now (creating thread only)

    std::mutex m_mutex;
    std::condition_variable m_cvSent;  // a sent message handled, or the window retired
    // Guarded by m_mutex:
    bool m_bRetired = false;
    std::deque<std::unique_ptr<CQueuedMsg>> m_queue;
    bool m_bWakePosted = false;  // a wake-up event is on its way
    bool m_bPausing = false;     // the pause timer will look at the queue

    std::shared_ptr<CWindowState> m_pSelf;  // the CMsgWindow's reference, dropped by its destructor
};

constexpr QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User);

class CWakeEvent : public QEvent
{
public:
    explicit CWakeEvent(std::shared_ptr<CWindowState> pWindow) : QEvent(kWakeEvent), m_pWindow(std::move(pWindow)) {}
    const std::shared_ptr<CWindowState> m_pWindow;
};

// Lives on the creating thread and drains its window's queue when woken.
class CMsgReceiver : public QObject
{
public:
    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() != kWakeEvent)
            return QObject::event(pEvent);
        // The event keeps the window state alive while its handlers run.
        static_cast<CWakeEvent*>(pEvent)->m_pWindow->OnWake();
        return true;
    }
};

CQueuedMsg::~CQueuedMsg()
{
    if (m_pfnFree)
        m_pfnFree(m_message, m_wParam, m_lParam);
    Complete(0);
}

void CQueuedMsg::Deliver()
{
    m_pfnFree = nullptr;
    ++m_window.m_nDispatching;
    const LRESULT lResult = m_window.m_handler(m_message, m_wParam, m_lParam);
    --m_window.m_nDispatching;
    Complete(lResult);
}

void CQueuedMsg::Complete(LRESULT lResult)
{
    if (!m_pSlot)
        return;
    {
        std::lock_guard<std::mutex> lock(m_window.m_mutex);
        m_pSlot->bDone = true;
        m_pSlot->lResult = lResult;
    }
    m_window.m_cvSent.notify_all();
    m_pSlot.reset();
}

bool CWindowState::Enqueue(std::unique_ptr<CQueuedMsg>& pMsg, bool bSend)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bRetired)
        return false;
    m_queue.push_back(std::move(pMsg));
    if (!m_bWakePosted && (bSend || !m_bPausing))
        PostWake();
    return true;
}

void CWindowState::PostWake()
{
    m_bWakePosted = true;
    QCoreApplication::postEvent(m_pReceiver, new CWakeEvent(shared_from_this()));
}

void CWindowState::WakeForTheRest()
{
    // Messages queued before this wake-up posted none of their own; should the
    // handler about to run open a nested loop, only a wake-up lets them through.
    if (!m_queue.empty() && !m_bWakePosted)
        PostWake();
}

void CWindowState::OnWake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bWakePosted = false;  // from now on a post (also from a nested loop) wakes us again
    }
    Drain();
}

void CWindowState::OnPauseOver()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bPausing = false;
    }
    Drain();
}

void CWindowState::Drain()
{
    const auto tSliceEnd = std::chrono::steady_clock::now() + kSlice;
    bool bDelivered = false;
    int nPauseMs = kPauseMs;
    for (;;) {
        std::unique_ptr<CQueuedMsg> pMsg;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bRetired)
                return;
            const bool bSliceOver = bDelivered && std::chrono::steady_clock::now() >= tSliceEnd;
            if (m_queue.empty() || bSliceOver) {
                // Only a window that just had work pauses; an idle one waits to be woken.
                if (!bDelivered || m_bPausing)
                    return;
                m_bPausing = true;
                // Work still queued goes on as soon as the loop has turned.
                if (!m_queue.empty())
                    nPauseMs = 0;
                break;
            }
            pMsg = std::move(m_queue.front());
            m_queue.pop_front();
            WakeForTheRest();
        }
        pMsg->Deliver();
        bDelivered = true;
    }
    QTimer::singleShot(nPauseMs, m_pReceiver, [pSelf = shared_from_this()] { pSelf->OnPauseOver(); });
}

std::deque<std::unique_ptr<CQueuedMsg>> CWindowState::Retire()
{
    std::deque<std::unique_ptr<CQueuedMsg>> queued;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bRetired = true;
        queued.swap(m_queue);
    }
    m_cvSent.notify_all();
    return queued;
}

bool CWindowState::IsRetired()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bRetired;
}

// Handles are ids counted up from 1 and never reused, so a stale handle can
// only ever find nothing.
class CHandleRegistry
{
public:
    std::uintptr_t NextId()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return ++m_nLastId;
    }
    void Add(const std::shared_ptr<CWindowState>& pWindow)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_windows.emplace(pWindow->m_nId, pWindow);
    }
    void Remove(std::uintptr_t nId)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_windows.erase(nId);
    }
    std::shared_ptr<CWindowState> Find(HWND hWnd)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_windows.find(reinterpret_cast<std::uintptr_t>(hWnd));
        return it == m_windows.end() ? nullptr : it->second;
    }

private:
    std::mutex m_mutex;
    std::uintptr_t m_nLastId = 0;
    std::unordered_map<std::uintptr_t, std::shared_ptr<CWindowState>> m_windows;
};

// Never destroyed: a worker thread that outlives its window, even the
// application, may still look its handle up on its way out.
CHandleRegistry& Registry()
{
    static CHandleRegistry* const pRegistry = new CHandleRegistry;
    return *pRegistry;
}

} // namespace

struct CMsgWindow::Impl : CWindowState
{
    using CWindowState::CWindowState;
};

CMsgWindow::CMsgWindow(QObject* owner, Handler handler)
{
    auto pImpl = std::make_shared<Impl>(Registry().NextId(), owner, std::move(handler), new CMsgReceiver);
    pImpl->m_pSelf = pImpl;
    m_pImpl = pImpl.get();
    Registry().Add(pImpl);
}

CMsgWindow::~CMsgWindow()
{
    Retire();
    // A handler that destroys its own window is still on the receiver's stack.
    if (m_pImpl->m_nDispatching > 0 || QThread::currentThread() != m_pImpl->m_pThread)
        m_pImpl->m_pReceiver->deleteLater();
    else
        delete m_pImpl->m_pReceiver;
    std::shared_ptr<CWindowState> pSelf = std::move(m_pImpl->m_pSelf);
}

HWND CMsgWindow::Handle() const
{
    return reinterpret_cast<HWND>(m_pImpl->m_nId);
}

void CMsgWindow::DeliverQueued()
{
    assert(QThread::currentThread() == m_pImpl->m_pThread);
    m_pImpl->Drain();
}

void CMsgWindow::Retire()
{
    if (m_pImpl->IsRetired())
        return;
    Registry().Remove(m_pImpl->m_nId);
    // Destroying the queued messages frees their payloads and releases senders.
    m_pImpl->Retire().clear();
    QCoreApplication::removePostedEvents(m_pImpl->m_pReceiver, kWakeEvent);
}

BOOL IsWindow(HWND hWnd)
{
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    return pWindow && !pWindow->IsRetired();
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, PayloadFree freePayload)
{
    assert(message > QEvent::User && message <= QEvent::MaxUser);
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    if (!pWindow)
        return FALSE;
    auto pMsg = std::make_unique<CQueuedMsg>(*pWindow, message, wParam, lParam, freePayload, nullptr);
    if (pWindow->Enqueue(pMsg, false))
        return TRUE;
    pMsg->DisownPayload();  // refused: the payload stays the caller's
    return FALSE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    assert(message > QEvent::User && message <= QEvent::MaxUser);
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    if (!pWindow || pWindow->IsRetired())
        return 0;
    if (QThread::currentThread() == pWindow->m_pThread) {
        ++pWindow->m_nDispatching;
        const LRESULT lResult = pWindow->m_handler(message, wParam, lParam);
        --pWindow->m_nDispatching;
        return lResult;
    }
    auto pSlot = std::make_shared<CSendSlot>();
    auto pMsg = std::make_unique<CQueuedMsg>(*pWindow, message, wParam, lParam, nullptr, pSlot);
    if (!pWindow->Enqueue(pMsg, true))
        return 0;
    std::unique_lock<std::mutex> lock(pWindow->m_mutex);
    pWindow->m_cvSent.wait(lock, [&] { return pSlot->bDone || pWindow->m_bRetired; });
    return pSlot->bDone ? pSlot->lResult : 0;
}

QObject* OwnerOf(HWND hWnd)
{
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    if (!pWindow || pWindow->IsRetired())
        return nullptr;
    return pWindow->m_pOwner.data();
}

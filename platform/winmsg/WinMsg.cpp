#include "platform/winmsg/WinMsg.h"
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <cassert>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

// What a blocked sender waits for; guarded by the window's mutex.
struct CSendSlot
{
    bool bDone = false;
    LRESULT lResult = 0;
};

class CMsgEvent;

// Shared by the CMsgWindow, the handle registry, queued events and waiting
// senders; whichever lets go last frees it. Owns no QObject, so it may be
// freed on any thread and from inside Qt's own event clean-up.
struct CWindowState
{
    using Handler = CMsgWindow::Handler;

    CWindowState(std::uintptr_t nId, QObject* pOwner, Handler handler, QObject* pReceiver)
        : m_nId(nId), m_pOwner(pOwner), m_handler(std::move(handler)), m_pReceiver(pReceiver),
          m_pThread(QThread::currentThread())
    {
    }

    // On the receiver's thread: runs the handler unless the window was retired.
    void Deliver(CMsgEvent& event);

    const std::uintptr_t m_nId;
    const QPointer<QObject> m_pOwner;
    const Handler m_handler;
    QObject* const m_pReceiver;  // Not owned (CMsgWindow owns it); valid while not retired.
    QThread* const m_pThread;    // the creating thread, where handlers run
    int m_nDispatching = 0;      // handlers running now (creating thread only)

    std::mutex m_mutex;
    std::condition_variable m_cvSent;  // a sent message handled, or the window retired
    bool m_bRetired = false;           // guarded by m_mutex

    std::shared_ptr<CWindowState> m_pSelf;  // the CMsgWindow's reference, dropped by its destructor
};

} // namespace

struct CMsgWindow::Impl : CWindowState
{
    using CWindowState::CWindowState;
};

namespace {

// One queued message. An event destroyed without delivery (window retired,
// application gone) frees its payload and releases a waiting sender.
class CMsgEvent : public QEvent
{
public:
    CMsgEvent(std::shared_ptr<CWindowState> pWindow, UINT message, WPARAM wParam, LPARAM lParam,
              PayloadFree pfnFree, std::shared_ptr<CSendSlot> pSlot)
        : QEvent(static_cast<QEvent::Type>(message)), m_pWindow(std::move(pWindow)), m_wParam(wParam),
          m_lParam(lParam), m_pfnFree(pfnFree), m_pSlot(std::move(pSlot))
    {
    }

    ~CMsgEvent() override
    {
        if (!m_bDelivered && m_pfnFree)
            m_pfnFree(static_cast<UINT>(type()), m_wParam, m_lParam);
        if (m_pSlot)
            Complete(0);
    }

    // The payload is no longer the event's to free: the handler or the sender has it.
    void DisownPayload() { m_bDelivered = true; }

    // Releases the sender, if any, with the result (only the first call counts).
    void Complete(LRESULT lResult)
    {
        if (!m_pSlot)
            return;
        {
            std::lock_guard<std::mutex> lock(m_pWindow->m_mutex);
            if (!m_pSlot->bDone) {
                m_pSlot->bDone = true;
                m_pSlot->lResult = lResult;
            }
        }
        m_pWindow->m_cvSent.notify_all();
        m_pSlot.reset();
    }

    CWindowState& Window() const { return *m_pWindow; }
    WPARAM WParam() const { return m_wParam; }
    LPARAM LParam() const { return m_lParam; }

private:
    std::shared_ptr<CWindowState> m_pWindow;
    WPARAM m_wParam;
    LPARAM m_lParam;
    PayloadFree m_pfnFree;
    std::shared_ptr<CSendSlot> m_pSlot;  // set for sent messages
    bool m_bDelivered = false;
};

// Lives on the creating thread and hands our events to their window.
class CMsgReceiver : public QObject
{
public:
    bool event(QEvent* pEvent) override
    {
        if (auto* pMsg = dynamic_cast<CMsgEvent*>(pEvent)) {
            pMsg->Window().Deliver(*pMsg);
            return true;
        }
        return QObject::event(pEvent);
    }
};

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

CHandleRegistry& Registry()
{
    static CHandleRegistry registry;
    return registry;
}

bool IsRetired(CWindowState& window)
{
    std::lock_guard<std::mutex> lock(window.m_mutex);
    return window.m_bRetired;
}

// Queues the event unless the window is retired; the check and the post are
// one step, so nothing reaches a receiver after Retire has swept its queue.
// A refused event stays with the caller, to be destroyed outside the lock.
bool Enqueue(const std::shared_ptr<CWindowState>& pWindow, std::unique_ptr<CMsgEvent>& pEvent)
{
    std::lock_guard<std::mutex> lock(pWindow->m_mutex);
    if (pWindow->m_bRetired)
        return false;
    QCoreApplication::postEvent(pWindow->m_pReceiver, pEvent.release());
    return true;
}

} // namespace

void CWindowState::Deliver(CMsgEvent& event)
{
    if (IsRetired(*this))
        return;  // the event's destructor frees the payload
    event.DisownPayload();
    ++m_nDispatching;
    const LRESULT lResult = m_handler(static_cast<UINT>(event.type()), event.WParam(), event.LParam());
    --m_nDispatching;
    event.Complete(lResult);
}

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

void CMsgWindow::Retire()
{
    {
        std::lock_guard<std::mutex> lock(m_pImpl->m_mutex);
        if (m_pImpl->m_bRetired)
            return;
        m_pImpl->m_bRetired = true;
    }
    m_pImpl->m_cvSent.notify_all();
    Registry().Remove(m_pImpl->m_nId);
    // Deletes the queued events, whose destructors free the payloads.
    QCoreApplication::removePostedEvents(m_pImpl->m_pReceiver);
}

BOOL IsWindow(HWND hWnd)
{
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    return pWindow && !IsRetired(*pWindow);
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, PayloadFree freePayload)
{
    assert(message > QEvent::User && message <= QEvent::MaxUser);
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    if (!pWindow)
        return FALSE;
    auto pEvent = std::make_unique<CMsgEvent>(pWindow, message, wParam, lParam, freePayload, nullptr);
    if (Enqueue(pWindow, pEvent))
        return TRUE;
    pEvent->DisownPayload();  // refused: the payload stays the caller's
    return FALSE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    assert(message > QEvent::User && message <= QEvent::MaxUser);
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    if (!pWindow || IsRetired(*pWindow))
        return 0;
    if (QThread::currentThread() == pWindow->m_pThread) {
        ++pWindow->m_nDispatching;
        const LRESULT lResult = pWindow->m_handler(message, wParam, lParam);
        --pWindow->m_nDispatching;
        return lResult;
    }
    auto pSlot = std::make_shared<CSendSlot>();
    auto pEvent = std::make_unique<CMsgEvent>(pWindow, message, wParam, lParam, nullptr, pSlot);
    if (!Enqueue(pWindow, pEvent))
        return 0;
    std::unique_lock<std::mutex> lock(pWindow->m_mutex);
    pWindow->m_cvSent.wait(lock, [&] { return pSlot->bDone || pWindow->m_bRetired; });
    return pSlot->bDone ? pSlot->lResult : 0;
}

QObject* OwnerOf(HWND hWnd)
{
    std::shared_ptr<CWindowState> pWindow = Registry().Find(hWnd);
    if (!pWindow || IsRetired(*pWindow))
        return nullptr;
    return pWindow->m_pOwner.data();
}

#pragma once
// Window messages between threads. A window that receives messages from worker
// threads owns a CMsgWindow, which gives it a handle. Workers post (queued) or
// send (blocking until handled) numbered messages with two parameters; the
// handler runs on the thread that created the CMsgWindow (the UI thread).
// Message numbers are the system's own (5101, 9989, ...), all above QEvent::User.
#include "platform/WinTypes.h"
#include <functional>

class QObject;
struct HWND__;
using HWND = HWND__*;

// Frees the payload of a posted message that was never delivered.
using PayloadFree = void (*)(UINT message, WPARAM wParam, LPARAM lParam);

class CMsgWindow
{
public:
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    // owner: the widget or object the handle stands for (Not owned; may be null);
    // used to find the owner window of message boxes. The handler is called on the
    // creating thread's event loop, in queue order.
    CMsgWindow(QObject* owner, Handler handler);
    // Retires the handle (see Retire).
    ~CMsgWindow();
    CMsgWindow(const CMsgWindow&) = delete;
    CMsgWindow& operator=(const CMsgWindow&) = delete;

    HWND Handle() const;
    // Creating thread only: hands every message queued now to the handler at once,
    // in order, rather than when the event loop comes to them (before a process
    // ends on a signal, say).
    void DeliverQueued();
    // From now on IsWindow(handle) is false, posts fail, senders waiting on this
    // window return at once, and payloads still queued are freed (their PayloadFree).
    void Retire();

private:
    struct Impl;
    Impl* m_pImpl;  // Owned; freed by the handle registry once nothing refers to it.
};

// TRUE while the window exists (not retired).
BOOL IsWindow(HWND hWnd);
// Queues the message. FALSE when the window is gone: the caller keeps the payload.
// freePayload (may be null) releases the payload if the window goes before delivery.
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, PayloadFree freePayload = nullptr);
// Calls the handler and returns its result. From another thread, blocks until the
// UI thread has handled the message (queue order: behind earlier posts); returns 0
// at once when the window is gone or goes away while waiting. From the window's own
// thread, calls the handler directly.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The owner object given at creation, or null (also for a retired window).
QObject* OwnerOf(HWND hWnd);

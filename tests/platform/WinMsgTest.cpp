#include "platform/winmsg/WinMsg.h"
#include "support/PumpUntil.h"
#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT WM_TEST_A = 5101;
constexpr UINT WM_TEST_B = 9991;

struct Arrival
{
    UINT message;
    WPARAM wParam;
};

// A window that records what reaches its handler.
class CRecorder
{
public:
    CRecorder()
        : m_window(&m_owner, [this](UINT message, WPARAM wParam, LPARAM lParam) {
              std::lock_guard<std::mutex> lock(m_mutex);
              m_arrivals.push_back({message, wParam});
              return static_cast<LRESULT>(wParam * 2 + lParam);
          })
    {
    }
    HWND Handle() const { return m_window.Handle(); }
    CMsgWindow& Window() { return m_window; }
    std::vector<Arrival> Arrivals()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_arrivals;
    }
    QObject m_owner;

private:
    std::mutex m_mutex;
    std::vector<Arrival> m_arrivals;
    CMsgWindow m_window;
};

// Payloads are counters; freeing one bumps the counter it points to.
void FreeCounter(UINT, WPARAM, LPARAM lParam)
{
    ++*reinterpret_cast<std::atomic<int>*>(lParam);
}

LPARAM AsParam(std::atomic<int>& counter)
{
    return reinterpret_cast<LPARAM>(&counter);
}

} // namespace

TEST(WinMsg, PostsAndSendsArriveInQueueOrderExceptOwnThreadSends)
{
    CRecorder recorder;
    const HWND hWnd = recorder.Handle();
    LRESULT lSent = -1;
    std::thread worker([&] {
        for (WPARAM i = 1; i <= 100; ++i)
            ASSERT_TRUE(PostMessage(hWnd, WM_TEST_A, i, 0));
        lSent = SendMessage(hWnd, WM_TEST_B, 500, 7);  // blocks until handled
        PostMessage(hWnd, WM_TEST_A, 101, 0);
    });
    ASSERT_TRUE(PumpUntil([&] { return recorder.Arrivals().size() == 102; }));
    worker.join();

    const std::vector<Arrival> arrivals = recorder.Arrivals();
    for (WPARAM i = 0; i < 100; ++i)
        EXPECT_EQ(arrivals[i].wParam, i + 1);
    EXPECT_EQ(arrivals[100].message, WM_TEST_B);  // behind the earlier posts
    EXPECT_EQ(arrivals[101].wParam, 101u);
    EXPECT_EQ(lSent, 1007);                      // the handler's result reaches the sender

    // A send on the window's own thread runs at once, ahead of queued posts.
    ASSERT_TRUE(PostMessage(hWnd, WM_TEST_A, 102, 0));
    EXPECT_EQ(SendMessage(hWnd, WM_TEST_B, 3, 1), 7);
    EXPECT_EQ(recorder.Arrivals().back().message, WM_TEST_B);
    ASSERT_TRUE(PumpUntil([&] { return recorder.Arrivals().size() == 104; }));
    EXPECT_EQ(recorder.Arrivals().back().wParam, 102u);
}

// Without the event loop, what a worker queued is handed over on demand, in order,
// and nothing twice once the loop runs again.
TEST(WinMsg, DeliverQueuedHandsOverWhatIsQueuedWithoutTheEventLoop)
{
    CRecorder recorder;
    std::thread worker([hWnd = recorder.Handle()] {
        for (WPARAM i = 1; i <= 3; ++i)
            PostMessage(hWnd, WM_TEST_A, i, 0);
    });
    worker.join();
    EXPECT_TRUE(recorder.Arrivals().empty());
    recorder.Window().DeliverQueued();
    std::vector<Arrival> arrivals = recorder.Arrivals();
    ASSERT_EQ(arrivals.size(), 3u);
    for (WPARAM i = 0; i < 3; ++i)
        EXPECT_EQ(arrivals[i].wParam, i + 1);

    ASSERT_TRUE(PostMessage(recorder.Handle(), WM_TEST_A, 4, 0));
    ASSERT_TRUE(PumpUntil([&] { return recorder.Arrivals().size() == 4; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.Arrivals().size(), 4u);
    EXPECT_EQ(recorder.Arrivals().back().wParam, 4u);
}

TEST(WinMsg, RetiredHandlesReleaseBlockedSendersAndAreNeverReused)
{
    auto pRecorder = std::make_unique<CRecorder>();
    const HWND hWnd = pRecorder->Handle();
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_EQ(OwnerOf(hWnd), &pRecorder->m_owner);
    std::atomic<bool> bReturned{false};
    LRESULT lResult = -1;
    std::thread worker([&] {
        lResult = SendMessage(hWnd, WM_TEST_B, 1, 1);
        bReturned = true;
    });
    // The UI thread never pumps here: like a closing window waiting for its
    // worker, it retires the handle and joins; the send must not hold it up.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(bReturned);
    pRecorder->Window().Retire();
    worker.join();
    EXPECT_EQ(lResult, 0);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(OwnerOf(hWnd), nullptr);

    std::thread late([&] { lResult = SendMessage(hWnd, WM_TEST_B, 1, 1); });
    late.join();
    EXPECT_EQ(lResult, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pRecorder->Arrivals().empty());  // the queued send was dropped, not handled
    pRecorder.reset();  // retiring twice (here in the destructor) is harmless

    CRecorder second;
    EXPECT_NE(second.Handle(), hWnd);
    EXPECT_FALSE(PostMessage(hWnd, WM_TEST_A, 0, 0));
    EXPECT_FALSE(IsWindow(nullptr));
}

TEST(WinMsg, PayloadsAreFreedExactlyWhenNeverDelivered)
{
    std::atomic<int> nFreed{0};
    {
        CRecorder recorder;
        const HWND hWnd = recorder.Handle();
        ASSERT_TRUE(PostMessage(hWnd, WM_TEST_A, 1, AsParam(nFreed), FreeCounter));
        ASSERT_TRUE(PumpUntil([&] { return recorder.Arrivals().size() == 1; }));
        EXPECT_EQ(nFreed, 0);  // delivered: the handler owns it

        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(PostMessage(hWnd, WM_TEST_A, 2, AsParam(nFreed), FreeCounter));
        recorder.Window().Retire();
        EXPECT_EQ(nFreed, 3);  // queued at retirement: freed by the queue

        // Refused post: the sender keeps its payload, nothing frees it behind its back.
        EXPECT_FALSE(PostMessage(hWnd, WM_TEST_A, 3, AsParam(nFreed), FreeCounter));
        QCoreApplication::processEvents();
        EXPECT_EQ(nFreed, 3);
        EXPECT_EQ(recorder.Arrivals().size(), 1u);
    }
    {
        CRecorder recorder;  // destroyed with two posts still queued
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(PostMessage(recorder.Handle(), WM_TEST_A, 4, AsParam(nFreed), FreeCounter));
    }
    EXPECT_EQ(nFreed, 5);
}

// Like a modal message box opened by a handler: its own event loop keeps
// handling the messages queued behind the one that opened it, whether they
// arrive while the loop runs or were already waiting when the handler began.
TEST(WinMsg, NestedLoopInAHandlerLetsLaterMessagesThrough)
{
    for (const bool bBothWaiting : {false, true}) {
        std::vector<std::string> order;
        CMsgWindow window(nullptr, [&](UINT, WPARAM wParam, LPARAM) {
            order.push_back("begin " + std::to_string(wParam));
            if (wParam == 1)
                PumpUntil([&] { return order.size() == 3; });
            order.push_back("end " + std::to_string(wParam));
            return LRESULT{0};
        });
        const HWND hWnd = window.Handle();
        std::thread worker([hWnd, bBothWaiting] {
            PostMessage(hWnd, WM_TEST_A, 1, 0);
            if (!bBothWaiting)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            PostMessage(hWnd, WM_TEST_A, 2, 0);
        });
        if (bBothWaiting)
            worker.join();
        ASSERT_TRUE(PumpUntil([&] { return order.size() == 4; }));
        if (!bBothWaiting)
            worker.join();
        EXPECT_EQ(order, (std::vector<std::string>{"begin 1", "begin 2", "end 2", "end 1"})) << bBothWaiting;
    }
}

TEST(WinMsg, HandlerMayDestroyItsOwnWindow)
{
    std::unique_ptr<CMsgWindow> pWindow;
    int nCalls = 0;
    pWindow = std::make_unique<CMsgWindow>(nullptr, [&](UINT, WPARAM, LPARAM) {
        ++nCalls;
        pWindow.reset();
        return LRESULT{0};
    });
    const HWND hWnd = pWindow->Handle();
    ASSERT_TRUE(PostMessage(hWnd, WM_TEST_A, 0, 0));
    ASSERT_TRUE(PostMessage(hWnd, WM_TEST_A, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return !pWindow; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(nCalls, 1);
    EXPECT_FALSE(IsWindow(hWnd));
}

// Many senders and posters race a retirement: every payload is either handled
// or freed, exactly once, and every sender comes back.
TEST(WinMsg, RetirementRacingManyWorkersLosesAndDoublesNothing)
{
    std::atomic<int> nHandled{0}, nFreed{0}, nRefused{0};
    auto pWindow = std::make_unique<CMsgWindow>(nullptr, [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_TEST_A)
            ++nHandled;
        return LRESULT{1};
    });
    const HWND hWnd = pWindow->Handle();
    // Each worker posts until the window turns it away; worker 0 also sends.
    constexpr int kThreads = 4;
    std::atomic<int> nPosted{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0;; ++i) {
                ++nPosted;
                if (!PostMessage(hWnd, WM_TEST_A, 0, AsParam(nFreed), FreeCounter)) {
                    ++nRefused;
                    break;
                }
                if (t == 0 && i % 50 == 0)
                    SendMessage(hWnd, WM_TEST_B, 0, 0);
            }
        });
    PumpUntil([&] { return nHandled > 200; });
    pWindow.reset();
    for (std::thread& worker : workers)
        worker.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(nRefused, kThreads);
    EXPECT_EQ(nHandled + nFreed + nRefused, nPosted);
}

// A worker that keeps the queue full must not keep the event loop from other
// events: a posted event queued behind the first messages runs long before
// the last message is handled.
TEST(WinMsg, AStreamOfMessagesLetsTheEventLoopTurn)
{
    constexpr int kMessages = 200;
    int nHandled = 0;
    CMsgWindow window(nullptr, [&](UINT, WPARAM, LPARAM) {
        const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
        while (std::chrono::steady_clock::now() < tEnd) {
        }
        ++nHandled;
        return LRESULT{0};
    });
    for (int i = 0; i < kMessages; ++i)
        ASSERT_TRUE(PostMessage(window.Handle(), WM_TEST_A, i, 0));
    QObject receiver;
    int nHandledWhenOtherRan = -1;
    QMetaObject::invokeMethod(&receiver, [&] { nHandledWhenOtherRan = nHandled; }, Qt::QueuedConnection);
    ASSERT_TRUE(PumpUntil([&] { return nHandled == kMessages; }, 20000));
    ASSERT_GE(nHandledWhenOtherRan, 0);
    EXPECT_LT(nHandledWhenOtherRan, kMessages / 2);
}

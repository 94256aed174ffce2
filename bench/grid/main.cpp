// Drives the grid through its real message path: a worker thread posts
// WM_WALK_RECORD for N records (--records, default 50,000) shaped like a real
// agent or like a core router's route table (--shape router), then ends the
// walk with a sent WM_WALK_DONE; the UI thread places and the cleaning threads
// fold. Then the user's commands on the whole tree (Expand All, a page scroll,
// Collapse All, a new Go, closing the window), and a real walk of a local
// snmpd, timed against snmpwalk -v1 (--no-real-walk leaves it out).
#include "grid/OidTreeGrid.h"
#include "snmp/AppSettings.h"
#include "snmp/WalkMessages.h"
#include "support/SnmpdFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMetaEnum>
#include <functional>
#include <QTimer>
#include <QScrollBar>
#include <QThread>
#include <cstring>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <ctime>
#include <malloc.h>
#include <unistd.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// CPU time of the calling thread: what a message costs, whatever else the machine runs.
double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The calling thread's time in the kernel (page faults above all).
double ThreadSystemMs()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_stime.tv_sec * 1000.0 + usage.ru_stime.tv_usec / 1000.0;
}

double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

long MaxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentRssKb()
{
    long nPages = 0, nResident = 0;
    if (FILE* pFile = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(pFile, "%ld %ld", &nPages, &nResident) != 2)
            nResident = 0;
        std::fclose(pFile);
    }
    return nResident * (sysconf(_SC_PAGESIZE) / 1024);
}

// How long the UI thread spends in each event it dispatches from its loop
// (messages of the walk and the cleaning, paints, timers): the longest and the
// 99th percentile, kept in 10 us buckets so that a million events cost nothing.
class CEventTimes
{
public:
    static CEventTimes& Of()
    {
        static CEventTimes times;
        return times;
    }
    void Reset()
    {
        std::fill(m_buckets.begin(), m_buckets.end(), 0);
        m_nCount = m_nMessages = 0;
        m_dMaxMs = m_dMaxDrainMs = m_dMaxCpuMs = m_dMaxDrainCpuMs = 0;
        m_strLongest.clear();
    }
    // The longest event (by CPU time) is named: its type and its receiver's class.
    void Add(double dMs, double dCpuMs, QEvent::Type eType = QEvent::None, const char* pszReceiver = nullptr)
    {
        if (dCpuMs > m_dMaxCpuMs)
            m_strLongest = Describe(eType, pszReceiver);
        m_dMaxCpuMs = std::max(m_dMaxCpuMs, dCpuMs);
        ++m_buckets[std::min(m_buckets.size() - 1, static_cast<std::size_t>(dMs * 100))];
        ++m_nCount;
        m_dMaxMs = std::max(m_dMaxMs, dMs);
    }
    // A grid message: one unit of the UI thread's work of its own.
    void AddMessage(double dMs, double dCpuMs)
    {
        ++m_nMessages;
        Add(dMs, dCpuMs);
    }
    // An event that handed queued grid messages over: how long the loop stood
    // still for them (each message counts on its own).
    void AddDrain(double dMs, double dCpuMs)
    {
        m_dMaxDrainMs = std::max(m_dMaxDrainMs, dMs);
        m_dMaxDrainCpuMs = std::max(m_dMaxDrainCpuMs, dCpuMs);
    }
    long long Messages() const { return m_nMessages; }
    void Print(const char* pszWhat) const
    {
        long long nSeen = 0;
        std::size_t i = 0;
        for (; i < m_buckets.size() && (nSeen += m_buckets[i]) * 100 < m_nCount * 99; ++i) {
        }
        std::printf("%s%lld, longest %.1f ms (CPU %.1f: %s), 99th percentile %.2f ms (target <= 16); the loop held "
                    "by queued messages at most %.1f ms (CPU %.1f)\n",
                    pszWhat, m_nCount, m_dMaxMs, m_dMaxCpuMs, m_strLongest.c_str(), (static_cast<double>(i) + 1) / 100,
                    m_dMaxDrainMs, m_dMaxDrainCpuMs);
    }

private:
    std::vector<long long> m_buckets = std::vector<long long>(100000);
    long long m_nCount = 0;
    long long m_nMessages = 0;
    double m_dMaxMs = 0;
    double m_dMaxDrainMs = 0;
    double m_dMaxCpuMs = 0;
    double m_dMaxDrainCpuMs = 0;
    std::string m_strLongest;

    static std::string Describe(QEvent::Type eType, const char* pszReceiver)
    {
        if (!pszReceiver)
            return "a grid message";
        const char* pszType = QMetaEnum::fromType<QEvent::Type>().valueToKey(eType);
        return std::string(pszType ? pszType : "an event") + " to " + pszReceiver;
    }
};

// The grid, timing how long the UI thread spends on each kind of message.
class CTimedGrid : public COidTreeGrid
{
public:
    double m_dPlaceMs = 0;
    double m_dPlaceCpuMs = 0;
    double m_dMaxHandleMs = 0;
    double m_dMaxHandleCpuMs = 0;
    std::atomic<int> m_nRecords{0};
    double m_dWalkDoneProcessCpuMs = 0;
    double m_dTailCpuMs = 0;  // every thread's CPU from the walk's end to the last cleaning's
    int m_nCleanDone = 0;
    Clock::time_point m_tWalkDone, m_tLastCleanDone;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        static const bool bVerbose = std::getenv("BENCH_VERBOSE") != nullptr;
        const double dSys0 = bVerbose ? ThreadSystemMs() : 0;
        const auto t0 = Clock::now();
        const double dCpu0 = ThreadCpuMs();
        const LRESULT lResult = COidTreeGrid::WindowProc(nMsg, wParam, lParam);
        const double dCpu = ThreadCpuMs() - dCpu0;
        const auto t1 = Clock::now();
        CEventTimes::Of().AddMessage(Ms(t1 - t0), dCpu);
        m_dMaxHandleMs = std::max(m_dMaxHandleMs, Ms(t1 - t0));
        m_dMaxHandleCpuMs = std::max(m_dMaxHandleCpuMs, dCpu);
        if (bVerbose && dCpu > 4)
            std::printf("    message %u took %.1f ms, CPU %.1f ms (%.1f of it in the kernel), after %d records, rows %d, "
                        "from %.6f s of the monotonic clock\n",
                        nMsg, Ms(t1 - t0), dCpu, ThreadSystemMs() - dSys0, m_nRecords.load(), GetItemCount(),
                        std::chrono::duration<double>(t0.time_since_epoch()).count());
        if (nMsg == WM_WALK_RECORD) {
            m_dPlaceMs += Ms(t1 - t0);
            m_dPlaceCpuMs += dCpu;
            ++m_nRecords;
        } else if (nMsg == WM_WALK_DONE) {
            m_tWalkDone = t1;
            m_dWalkDoneProcessCpuMs = ProcessCpuMs();
        } else if (nMsg == WM_CLEAN_DONE) {
            ++m_nCleanDone;
            m_tLastCleanDone = t1;
            m_dTailCpuMs = ProcessCpuMs() - m_dWalkDoneProcessCpuMs;
        }
        return lResult;
    }
};

// Times every event the UI thread dispatches; nested dispatches count in their outer one.
class CTimedApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject* pReceiver, QEvent* pEvent) override
    {
        if (m_nDepth > 0 || QThread::currentThread() != thread())
            return QApplication::notify(pReceiver, pEvent);
        CEventTimes& times = CEventTimes::Of();
        ++m_nDepth;
        const long long nMessages0 = times.Messages();
        // Read now: the event may delete its receiver.
        const QEvent::Type eType = pEvent->type();
        const char* pszReceiver = pReceiver->metaObject()->className();
        const auto t0 = Clock::now();
        const double dCpu0 = ThreadCpuMs();
        const bool bResult = QApplication::notify(pReceiver, pEvent);
        const double dCpu = ThreadCpuMs() - dCpu0;
        const double dMs = Ms(Clock::now() - t0);
        if (times.Messages() != nMessages0)
            times.AddDrain(dMs, dCpu);
        else
            times.Add(dMs, dCpu, eType, pszReceiver);
        --m_nDepth;
        return bResult;
    }

private:
    int m_nDepth = 0;
};

// Runs the application's event loop (timers included) until done() holds.
void RunUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    poll.start(2);
    loop.exec();
}

enum class EShape { agent, router };

// The producer's view of one variable, made as it is posted: the records are
// never all held at once, as a walk thread holds none of them.
using RecordSink = std::function<void(std::string strName, std::string strOid, const char* pszType, std::string strValue)>;

// A few scalar groups, two 20-column tables and a deep chain under enterprises
// with leaves along it, nTotal records in all, in walk order (at 50,000: two
// tables of 1,000 rows).
void AgentRecords(int nTotal, const RecordSink& add)
{
    const int nRows = std::max(1, nTotal / 50);
    int nMade = 0;
    auto put = [&](std::string strName, std::string strOid, const char* pszType, std::string strValue) {
        ++nMade;
        add(std::move(strName), std::move(strOid), pszType, std::move(strValue));
    };
    for (int i = 1; i <= 9; ++i)
        put("system.sysScalar" + std::to_string(i) + ".0", ".1.3.6.1.2.1.1." + std::to_string(i) + ".0",
            "OCTETSTRING", "value of system scalar " + std::to_string(i));
    put("interfaces.ifNumber.0", ".1.3.6.1.2.1.2.1.0", "INTEGER", std::to_string(nRows));
    for (int c = 1; c <= 20; ++c)
        for (int r = 1; r <= nRows; ++r)
            put("interfaces.ifTable.ifEntry.ifColumn" + std::to_string(c) + "." + std::to_string(r),
                ".1.3.6.1.2.1.2.2.1." + std::to_string(c) + "." + std::to_string(r), "COUNTER32",
                std::to_string(r * 1000 + c));
    for (int i = 1; i <= 40; ++i)
        put("ip.ipScalar" + std::to_string(i) + ".0", ".1.3.6.1.2.1.4." + std::to_string(i) + ".0", "INTEGER",
            std::to_string(i));
    for (int i = 1; i <= 30; ++i)
        put("snmp.snmpScalar" + std::to_string(i) + ".0", ".1.3.6.1.2.1.11." + std::to_string(i) + ".0",
            "COUNTER32", std::to_string(i * 7));
    for (int c = 1; c <= 20; ++c)
        for (int r = 1; r <= nRows; ++r)
            put("ifMIB.ifMIBObjects.ifXTable.ifXEntry.ifXColumn" + std::to_string(c) + "." + std::to_string(r),
                ".1.3.6.1.2.1.31.1.1.1." + std::to_string(c) + "." + std::to_string(r), "GAUGE32",
                std::to_string(r + c));
    // The rest: a chain 12 levels deep below enterprises, each level holding
    // a run of leaves and one deeper node.
    const int nChain = std::max(0, nTotal - nMade);
    std::string strName = "private.enterprises.8072", strOid = ".1.3.6.1.4.1.8072";
    const int nLevels = 12, nPerLevel = nChain / nLevels;
    for (int l = 0; l < nLevels; ++l) {
        const int nLeaves = l == nLevels - 1 ? nChain - nPerLevel * (nLevels - 1) : nPerLevel;
        for (int i = 1; i <= nLeaves; ++i)
            put(strName + ".1." + std::to_string(i) + ".0", strOid + ".1." + std::to_string(i) + ".0", "INTEGER",
                std::to_string(i));
        strName += ".2.9";
        strOid += ".2.9";
    }
}

// A core router's route table: nTotal / 10 routes x 10 columns, all under the
// one top node "ip", indexed by the route's destination address.
void RouterRecords(int nTotal, const RecordSink& add)
{
    static const char* const kColumns[10] = {"ipRouteDest",  "ipRouteIfIndex", "ipRouteMetric1", "ipRouteMetric2",
                                             "ipRouteMetric3", "ipRouteMetric4", "ipRouteNextHop", "ipRouteType",
                                             "ipRouteProto", "ipRouteAge"};
    static const char* const kTypes[10] = {"IPADDRESS", "INTEGER", "INTEGER", "INTEGER", "INTEGER",
                                           "INTEGER",   "IPADDRESS", "INTEGER", "INTEGER", "INTEGER"};
    const int nRoutes = std::max(1, nTotal / 10);
    auto address = [](int r) {
        const unsigned n = 0x0A000000u + static_cast<unsigned>(r) * 7u;  // spread over 10/8
        return std::to_string(n >> 24) + "." + std::to_string((n >> 16) & 255) + "." + std::to_string((n >> 8) & 255)
            + "." + std::to_string(n & 255);
    };
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < nRoutes; ++r) {
            const std::string strIndex = address(r);
            const std::string strValue = kTypes[c][0] == 'I' && kTypes[c][1] == 'P'
                ? (c == 0 ? strIndex : address(r % 64 + 1))
                : std::to_string((r + c) % 1000);
            add(std::string("ip.ipRouteTable.ipRouteEntry.") + kColumns[c] + "." + strIndex,
                ".1.3.6.1.2.1.4.21.1." + std::to_string(c + 1) + "." + strIndex, kTypes[c], strValue);
        }
}

void MakeRecords(EShape eShape, int nTotal, const RecordSink& add)
{
    if (eShape == EShape::router)
        RouterRecords(nTotal, add);
    else
        AgentRecords(nTotal, add);
}

int CountRecords(EShape eShape, int nTotal)
{
    int nCount = 0;
    MakeRecords(eShape, nTotal, [&](std::string, std::string, const char*, std::string) { ++nCount; });
    return nCount;
}

// Runs one UI-thread operation to its end (sliced ones included) and reports
// its time by the clock and the events the loop dispatched meanwhile.
void ReportStep(const char* pszWhat, const std::function<void()>& start, const std::function<bool()>& done)
{
    CEventTimes::Of().Reset();
    const auto t0 = Clock::now();
    const double dCpu0 = ThreadCpuMs();
    start();
    const double dCpu = ThreadCpuMs() - dCpu0;
    if (!done())
        RunUntil(done);
    std::printf("  %-31s %.1f ms (the call itself: CPU %.1f ms)\n", pszWhat, Ms(Clock::now() - t0), dCpu);
    CEventTimes::Of().Print("    its UI-thread events:        ");
}

// Scrolling one page down and painting it at once, from spread-out places:
// the longest such step in CPU time.
double WorstPagePaint(COidTreeGrid& grid)
{
    QScrollBar* pBar = grid.verticalScrollBar();
    const int nPage = std::max(1, grid.GetCountPerPage());
    double dWorst = 0;
    for (int i = 0; i < 50; ++i) {
        const int nTarget = static_cast<int>((static_cast<long long>(i) * 997 * nPage) % std::max(1, pBar->maximum()));
        pBar->setValue(nTarget);
        grid.viewport()->repaint();
        const double dCpu0 = ThreadCpuMs();
        pBar->setValue(nTarget + nPage);
        grid.viewport()->repaint();
        dWorst = std::max(dWorst, ThreadCpuMs() - dCpu0);
    }
    return dWorst;
}

// Feeds the grid one synthetic walk as a walk thread would and returns once
// the walk and every cleaning have ended.
void Walk(CTimedGrid& grid, EShape eShape, int nRequested, int kRecords)
{
    grid.m_nRecords = 0;
    grid.m_tWalkDone = Clock::time_point();
    const HWND hWnd = grid.WindowHandle();
    // A walk makes one request per variable (or per bulk of them), so it never
    // runs far ahead of the grid; the producer keeps at most kAhead records
    // queued, as a fast agent would.
    constexpr int kAhead = 2000;
    std::thread walker([&] {
        int nPosted = 0;
        MakeRecords(eShape, nRequested, [&](std::string strName, std::string strOid, const char* pszType, std::string strValue) {
            while (nPosted - grid.m_nRecords.load() > kAhead)
                std::this_thread::yield();
            ++nPosted;
            auto* pRecord = new CWalkRecord{std::move(strOid), std::move(strName), pszType, std::move(strValue), {}};
            if (!PostMessage(hWnd, WM_WALK_RECORD, reinterpret_cast<WPARAM>(pRecord), 0, FreeWalkPayload))
                delete pRecord;
        });
        SendMessage(hWnd, WM_WALK_DONE, 0, 0);
    });
    RunUntil([&] {
        return !grid.ThreadsRunning() && grid.m_nRecords.load() == kRecords
            && grid.m_tWalkDone != Clock::time_point();
    });
    walker.join();
    QApplication::processEvents();
}

void RunSynthetic(EShape eShape, int nRequested)
{
    const int kRecords = CountRecords(eShape, nRequested);
    auto pGrid = std::make_unique<CTimedGrid>();
    CTimedGrid& grid = *pGrid;
    grid.InitColumns();
    grid.resize(1000, 700);
    grid.show();
    grid.ResetForQuery();  // as a query starts: the walk's end is still to come
    // The window, its first paint and the fonts it loads are there before any variable.
    QApplication::processEvents();
    (void)grid.grab();
    const long nRssBeforeKb = CurrentRssKb();
    const std::size_t nHeapBefore = mallinfo2().uordblks;
    CEventTimes& events = CEventTimes::Of();
    events.Reset();

    const auto tStart = Clock::now();
    Walk(grid, eShape, nRequested, kRecords);
    const auto tEnd = Clock::now();

    const long nMaxRssKb = MaxRssKb();
    const long nCleanRssKb = CurrentRssKb();
    std::printf("synthetic %s: %d records, %d top nodes, %d cleanings\n", eShape == EShape::router ? "router" : "agent",
                grid.m_nRecords.load(), grid.RootCount(), grid.m_nCleanDone);
    std::printf("  placing on the UI thread:      %.0f records/s by the clock, %.0f by CPU time (target >= 200000)\n",
                grid.m_nRecords.load() / (grid.m_dPlaceMs / 1000.0), grid.m_nRecords.load() / (grid.m_dPlaceCpuMs / 1000.0));
    std::printf("  cleaning after the last end:   %.1f ms (target <= 500 at 1,000,000), CPU of the process %.1f ms\n",
                Ms(grid.m_tLastCleanDone - grid.m_tWalkDone), grid.m_dTailCpuMs);
    std::printf("  whole run, first post to last clean-up: %.1f ms\n", Ms(tEnd - tStart));
    // The UI thread is held by one message at a time; the clock includes time the
    // machine gave to other processes, the thread's CPU time does not.
    std::printf("  longest grid message:          %.1f ms by the clock, %.1f ms CPU\n", grid.m_dMaxHandleMs,
                grid.m_dMaxHandleCpuMs);
    events.Print("  UI-thread events, the walk:    ");
    std::printf("  memory after the cleaning:     %.0f bytes/variable in all, %.0f above the start (%.0f in use by "
                "the heap)\n",
                nCleanRssKb * 1024.0 / kRecords, (nCleanRssKb - nRssBeforeKb) * 1024.0 / kRecords,
                static_cast<double>(mallinfo2().uordblks - nHeapBefore) / kRecords);
    if (std::getenv("BENCH_VERBOSE")) {
        const struct mallinfo2 info = mallinfo2();
        std::printf("    heap: arena %zu kB, mmapped %zu kB, in use %zu kB, free %zu kB\n", info.arena / 1024,
                    info.hblkhd / 1024, info.uordblks / 1024, info.fordblks / 1024);
    }
    std::printf("  peak memory:                   %.0f bytes/variable by max RSS (%ld kB; target <= 800), %.0f above "
                "the start\n",
                nMaxRssKb * 1024.0 / kRecords, nMaxRssKb, (nMaxRssKb - nRssBeforeKb) * 1024.0 / kRecords);

    // What the user does next, each a command on the UI thread.
    const auto jobDone = [&] { return !grid.IsWholeTreeJobRunning(); };
    ReportStep("Expand All:", [&] { grid.ExpandCollapseAll(TRUE); }, jobDone);
    std::printf("  rows shown:                    %d\n", grid.GetItemCount());
    std::printf("  scroll a page and paint:       %.1f ms CPU at worst\n", WorstPagePaint(grid));
    ReportStep("Collapse All:", [&] { grid.ExpandCollapseAll(FALSE); }, jobDone);
    ReportStep("Expand All again:", [&] { grid.ExpandCollapseAll(TRUE); }, jobDone);
    ReportStep("a new Go (RemoveAllNodes):", [&] { grid.ResetForQuery(); }, [&] { return !grid.HasRoots(); });
    Walk(grid, eShape, nRequested, kRecords);
    std::printf("  the new Go's walk:             %d records, %d top nodes\n", grid.m_nRecords.load(), grid.RootCount());
    ReportStep("Expand All, then close the window:", [&] { grid.ExpandCollapseAll(TRUE); }, [&] {
        if (pGrid && !pGrid->IsWholeTreeJobRunning())
            pGrid.reset();
        return !pGrid;
    });
    QApplication::processEvents();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void RunRealWalk()
{
    CSnmpdFixture agent;
    if (!agent.IsRunning()) {
        std::printf("real walk: no snmpd (%s)\n", agent.Error().c_str());
        return;
    }
    // One untimed walk each warms the agent's caches; then the two alternate and
    // the medians are compared, as single walks of a busy machine vary by a fifth.
    constexpr int kRuns = 5;
    std::vector<double> toolMs, gridMs;
    int nVariables = 0;
    for (int i = 0; i <= kRuns; ++i) {
        std::string strOut;
        const auto t0 = Clock::now();
        agent.RunTool("snmpwalk", {"-v1", "-c", "public", "-On", agent.Address(), ".1.3"}, &strOut);
        const double dToolMs = Ms(Clock::now() - t0);
        CTimedGrid grid;
        grid.InitColumns();
        grid.resize(1000, 700);
        grid.show();
        grid.ResetForQuery();
        const auto tGo = Clock::now();
        grid.StartWalk(CWalkRequest{agent.Address(), "public"});
        RunUntil([&] {
            return !grid.ThreadsRunning() && grid.m_tWalkDone != Clock::time_point();
        });
        nVariables = grid.m_nRecords.load();
        if (i > 0) {
            toolMs.push_back(dToolMs);
            gridMs.push_back(Ms(grid.m_tLastCleanDone - tGo));
        }
    }
    const double dToolMs = Median(toolMs), dGridMs = Median(gridMs);
    std::printf("real walk of snmpd: %d variables\n", nVariables);
    std::printf("  snmpwalk -v1:                  %.0f ms (median of %d)\n", dToolMs, kRuns);
    std::printf("  grid, Go to last clean-up:     %.0f ms (%.2f x; target <= 1.10)\n", dGridMs, dGridMs / dToolMs);
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int nRecords = 50000;
    EShape eShape = EShape::agent;
    bool bRealWalk = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--records") && i + 1 < argc) {
            nRecords = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--shape") && i + 1 < argc) {
            eShape = !std::strcmp(argv[++i], "router") ? EShape::router : EShape::agent;
        } else if (!std::strcmp(argv[i], "--no-real-walk")) {
            bRealWalk = false;
        } else {
            std::fprintf(stderr, "usage: bench_grid [--records N] [--shape agent|router] [--no-real-walk]\n");
            return 2;
        }
    }
    CTimedApplication app(argc, argv);
    AppSettings.Reset();
    if (std::getenv("BENCH_NOCLEAN"))
        AppSettings.Cleaning = 0;
    RunSynthetic(eShape, nRecords);
    if (bRealWalk)
        RunRealWalk();
    return 0;
}

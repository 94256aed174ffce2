// Drives the grid through its real message path: a worker thread posts
// WM_WALK_RECORD for 50,000 records shaped like a real agent, then ends the
// walk with a sent WM_WALK_DONE; the UI thread places and the cleaning threads
// fold. Then a real walk of a local snmpd, timed against snmpwalk -v1.
#include "grid/OidTreeGrid.h"
#include "snmp/AppSettings.h"
#include "snmp/WalkMessages.h"
#include "support/SnmpdFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>
#include <QTimer>
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

// The grid, timing how long the UI thread spends on each kind of message.
class CTimedGrid : public COidTreeGrid
{
public:
    double m_dPlaceMs = 0;
    double m_dPlaceCpuMs = 0;
    double m_dMaxHandleMs = 0;
    double m_dMaxHandleCpuMs = 0;
    std::atomic<int> m_nRecords{0};
    int m_nCleanDone = 0;
    Clock::time_point m_tWalkDone, m_tLastCleanDone;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        const auto t0 = Clock::now();
        const double dCpu0 = ThreadCpuMs();
        const LRESULT lResult = COidTreeGrid::WindowProc(nMsg, wParam, lParam);
        const double dCpu = ThreadCpuMs() - dCpu0;
        const auto t1 = Clock::now();
        m_dMaxHandleMs = std::max(m_dMaxHandleMs, Ms(t1 - t0));
        m_dMaxHandleCpuMs = std::max(m_dMaxHandleCpuMs, dCpu);
        if (std::getenv("BENCH_VERBOSE") && Ms(t1 - t0) > 20)
            std::printf("    message %u took %.1f ms (lParam %ld)\n", nMsg, Ms(t1 - t0), static_cast<long>(lParam));
        if (nMsg == WM_WALK_RECORD) {
            m_dPlaceMs += Ms(t1 - t0);
            m_dPlaceCpuMs += dCpu;
            ++m_nRecords;
        } else if (nMsg == WM_WALK_DONE) {
            m_tWalkDone = t1;
        } else if (nMsg == WM_CLEAN_DONE) {
            ++m_nCleanDone;
            m_tLastCleanDone = t1;
        }
        return lResult;
    }
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

struct CGenRecord
{
    std::string strName, strOid, strType, strValue;
};

// A few scalar groups, two 20-column x 1,000-row tables, and a deep chain
// under enterprises with leaves along it, 50,000 records in all, in walk order.
std::vector<CGenRecord> MakeAgent(int nTotal)
{
    std::vector<CGenRecord> records;
    auto add = [&](std::string strName, std::string strOid, const char* pszType, std::string strValue) {
        records.push_back({std::move(strName), std::move(strOid), pszType, std::move(strValue)});
    };
    for (int i = 1; i <= 9; ++i)
        add("system.sysScalar" + std::to_string(i) + ".0", ".1.3.6.1.2.1.1." + std::to_string(i) + ".0",
            "OCTETSTRING", "value of system scalar " + std::to_string(i));
    add("interfaces.ifNumber.0", ".1.3.6.1.2.1.2.1.0", "INTEGER", "1000");
    for (int c = 1; c <= 20; ++c)
        for (int r = 1; r <= 1000; ++r)
            add("interfaces.ifTable.ifEntry.ifColumn" + std::to_string(c) + "." + std::to_string(r),
                ".1.3.6.1.2.1.2.2.1." + std::to_string(c) + "." + std::to_string(r), "COUNTER32",
                std::to_string(r * 1000 + c));
    for (int i = 1; i <= 40; ++i)
        add("ip.ipScalar" + std::to_string(i) + ".0", ".1.3.6.1.2.1.4." + std::to_string(i) + ".0", "INTEGER",
            std::to_string(i));
    for (int i = 1; i <= 30; ++i)
        add("snmp.snmpScalar" + std::to_string(i) + ".0", ".1.3.6.1.2.1.11." + std::to_string(i) + ".0",
            "COUNTER32", std::to_string(i * 7));
    for (int c = 1; c <= 20; ++c)
        for (int r = 1; r <= 1000; ++r)
            add("ifMIB.ifMIBObjects.ifXTable.ifXEntry.ifXColumn" + std::to_string(c) + "." + std::to_string(r),
                ".1.3.6.1.2.1.31.1.1.1." + std::to_string(c) + "." + std::to_string(r), "GAUGE32",
                std::to_string(r + c));
    // The rest: a chain 12 levels deep below enterprises, each level holding
    // a run of leaves and one deeper node.
    const int nChain = nTotal - static_cast<int>(records.size());
    std::string strName = "private.enterprises.8072", strOid = ".1.3.6.1.4.1.8072";
    const int nLevels = 12, nPerLevel = nChain / nLevels;
    for (int l = 0; l < nLevels; ++l) {
        const int nLeaves = l == nLevels - 1 ? nChain - nPerLevel * (nLevels - 1) : nPerLevel;
        for (int i = 1; i <= nLeaves; ++i)
            add(strName + ".1." + std::to_string(i) + ".0", strOid + ".1." + std::to_string(i) + ".0", "INTEGER",
                std::to_string(i));
        strName += ".2.9";
        strOid += ".2.9";
    }
    return records;
}

void RunSynthetic()
{
    const int kRecords = 50000;
    std::vector<CGenRecord> agent = MakeAgent(kRecords);

    CTimedGrid grid;
    grid.InitColumns();
    grid.resize(1000, 700);
    grid.show();
    grid.ResetForQuery();  // as a query starts: the walk's end is still to come
    // The window, its first paint and the fonts it loads are there before any variable.
    QApplication::processEvents();
    (void)grid.grab();
    const long nRssBeforeKb = CurrentRssKb();
    const std::size_t nHeapBefore = mallinfo2().uordblks;

    const HWND hWnd = grid.WindowHandle();
    const auto tStart = Clock::now();
    // A walk makes one request per variable, so it never runs far ahead of the
    // grid; the producer keeps at most kAhead records queued, as a fast agent would.
    constexpr int kAhead = 2000;
    std::thread walker([&] {
        int nPosted = 0;
        for (const CGenRecord& gen : agent) {
            while (nPosted - grid.m_nRecords.load() > kAhead)
                std::this_thread::yield();
            ++nPosted;
            auto* pRecord = new CWalkRecord{gen.strOid, gen.strName, gen.strType, gen.strValue};
            if (!PostMessage(hWnd, WM_WALK_RECORD, reinterpret_cast<WPARAM>(pRecord), 0, FreeWalkPayload))
                delete pRecord;
        }
        SendMessage(hWnd, WM_WALK_DONE, 0, 0);
    });
    RunUntil([&] {
        return !grid.ThreadsRunning() && grid.m_nRecords.load() == kRecords
            && grid.m_tWalkDone != Clock::time_point();
    });
    walker.join();
    QApplication::processEvents();
    const auto tEnd = Clock::now();

    const long nMaxRssKb = MaxRssKb();
    std::printf("synthetic agent: %d records, %d top nodes, %d cleanings\n", grid.m_nRecords.load(), grid.RootCount(),
                grid.m_nCleanDone);
    std::printf("  placing on the UI thread:      %.0f records/s by the clock, %.0f by CPU time (target >= 200000)\n",
                grid.m_nRecords.load() / (grid.m_dPlaceMs / 1000.0), grid.m_nRecords.load() / (grid.m_dPlaceCpuMs / 1000.0));
    std::printf("  cleaning after the last end:   %.1f ms (target <= 2000)\n",
                Ms(grid.m_tLastCleanDone - grid.m_tWalkDone));
    std::printf("  whole run, first post to last clean-up: %.1f ms\n", Ms(tEnd - tStart));
    // The UI thread is held by one message at a time; the clock includes time the
    // machine gave to other processes, the thread's CPU time does not. (A timer
    // cannot measure loop pauses here: while posts arrive faster than they are
    // handled, the loop never turns to its timers.)
    std::printf("  longest UI-thread message:     %.1f ms by the clock, %.1f ms CPU (target <= 50)\n",
                grid.m_dMaxHandleMs, grid.m_dMaxHandleCpuMs);
    std::printf("  memory after the cleaning:     %.0f bytes/variable above the start (%.0f in use by the heap)\n",
                (CurrentRssKb() - nRssBeforeKb) * 1024.0 / kRecords,
                static_cast<double>(mallinfo2().uordblks - nHeapBefore) / kRecords);
    if (std::getenv("BENCH_VERBOSE")) {
        const struct mallinfo2 info = mallinfo2();
        std::printf("    heap: arena %zu kB, mmapped %zu kB, in use %zu kB, free %zu kB\n", info.arena / 1024,
                    info.hblkhd / 1024, info.uordblks / 1024, info.fordblks / 1024);
    }
    std::printf("  peak memory:                   %.0f bytes/variable by max RSS (%ld kB), %.0f above the start\n",
                nMaxRssKb * 1024.0 / kRecords, nMaxRssKb, (nMaxRssKb - nRssBeforeKb) * 1024.0 / kRecords);
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
    QApplication app(argc, argv);
    AppSettings.Reset();
    if (std::getenv("BENCH_NOCLEAN"))
        AppSettings.Cleaning = 0;
    RunSynthetic();
    RunRealWalk();
    return 0;
}

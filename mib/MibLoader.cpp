#include "mib/MibLoader.h"
#include "mib/MibPath.h"
#include "platform/memory/FreedMemory.h"
#include <atomic>
#include <chrono>
#include <mutex>

namespace {

std::atomic<unsigned> g_nLatestLoad{0};
std::mutex g_mutexReport;
CMibLoadReport g_lastReport;  // guarded by g_mutexReport

} // namespace

CMibLoadReport LoadMibModules(const std::string& strPath, const std::string& strBaseFolder)
{
    const unsigned nLoad = ++g_nLatestLoad;
    const auto start = std::chrono::steady_clock::now();
    CMibParseResult result = CMibParser::Parse(MibPath::Files(strPath, strBaseFolder));
    CMibLoadReport report{strPath, std::move(result.loaded), std::move(result.problems),
                          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
    const std::lock_guard lock(g_mutexReport);
    if (nLoad == g_nLatestLoad.load()) {
        PublishMibTable(std::move(result.pTable));
        g_lastReport = report;
    }
    return report;
}

// A background job, so that the process's exit waits for a load still
// parsing: finished after the static objects had gone, it would publish into
// a destroyed report (seen as "free(): invalid size" at exit).
void StartMibLoad(const std::string& strPath, const std::string& strBaseFolder, HWND hWnd)
{
    RunInBackground([strPath, strBaseFolder, hWnd] {
        LoadMibModules(strPath, strBaseFolder);
        PostMessage(hWnd, WM_MIB_LOADED, 0, 0);
    });
}

void UnloadMibModules()
{
    ++g_nLatestLoad;
    const std::lock_guard lock(g_mutexReport);
    PublishMibTable(nullptr);
    g_lastReport = CMibLoadReport{};
}

CMibLoadReport LastMibLoadReport()
{
    const std::lock_guard lock(g_mutexReport);
    return g_lastReport;
}

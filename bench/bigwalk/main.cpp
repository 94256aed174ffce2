// Serves a route table of N variables (--variables, default 1,000,000: 100,000
// routes x 10 columns) from the fake agent on 127.0.0.1 and walks it with
// `orvex --walk` (settings from an empty temporary hive: no MIB modules, the
// default Cleaning) and with net-snmp's walker on the same agent: GetBulk
// (v2c, against snmpbulkwalk, both asking 25 variables a request), then
// GET-NEXT (v1, against snmpwalk). Prints each one's time, the lines it wrote
// and orvex's peak memory per variable. With --serve SECONDS it only serves the
// table that long, to be browsed with the window.
#include "support/FakeAgent.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<CFakeAgent::CVar> RouteTable(int nVariables)
{
    const int nRoutes = std::max(1, nVariables / 10);
    std::vector<CFakeAgent::CVar> table;
    table.reserve(static_cast<std::size_t>(nRoutes) * 10);
    for (std::uint32_t c = 1; c <= 10; ++c)
        for (int r = 0; r < nRoutes; ++r) {
            const std::uint32_t n = 0x0A000000u + static_cast<std::uint32_t>(r) * 7u;  // ascending in 10/8
            CFakeAgent::CVar var;
            var.name = {1, 3, 6, 1, 2, 1, 4, 21, 1, c, n >> 24, (n >> 16) & 255, (n >> 8) & 255, n & 255};
            if (c == 1 || c == 7) {
                var.type = 0x40;  // IpAddress
                const std::uint32_t a = c == 1 ? n : 0x0A000001u + static_cast<std::uint32_t>(r % 64);
                var.strBytes = {static_cast<char>(a >> 24), static_cast<char>((a >> 16) & 255),
                                static_cast<char>((a >> 8) & 255), static_cast<char>(a & 255)};
            } else {
                var.type = 0x02;  // INTEGER
                var.nNumber = (r + static_cast<int>(c)) % 1000;
            }
            table.push_back(std::move(var));
        }
    return table;
}

// GET-NEXT and GetBulk of one name by binary search (the table is in OID
// order): the fake agent's own lookup is linear.
CFakeAgent::CAnswer NextIn(const std::vector<CFakeAgent::CVar>& table, const CFakeAgent::CRequest& request)
{
    CFakeAgent::CAnswer answer;
    answer.vars = request.vars;
    const bool bBulk = request.nCommand == 0xA5 && request.nNonRepeaters == 0;
    if ((request.nCommand != 0xA1 && !bBulk) || request.vars.size() != 1) {
        answer.nErrorStatus = 2;  // noSuchName
        answer.nErrorIndex = 1;
        return answer;
    }
    auto it = std::upper_bound(table.begin(), table.end(), request.vars[0].name,
                               [](const CFakeAgent::Oid& asked, const CFakeAgent::CVar& var) {
                                   return std::lexicographical_compare(asked.begin(), asked.end(), var.name.begin(),
                                                                       var.name.end());
                               });
    if (bBulk) {
        answer.vars.clear();
        for (long i = 0; i < std::max(1L, request.nMaxRepetitions); ++i) {
            if (it == table.end()) {
                CFakeAgent::CVar end = answer.vars.empty() ? request.vars[0] : answer.vars.back();
                end.type = 0x82;  // endOfMibView
                answer.vars.push_back(std::move(end));
                break;
            }
            answer.vars.push_back(*it++);
        }
        return answer;
    }
    if (it != table.end()) {
        answer.vars = {*it};
    } else if (request.nVersion == 0) {
        answer.nErrorStatus = 2;
        answer.nErrorIndex = 1;
    } else {
        answer.vars[0].type = 0x82;  // endOfMibView
    }
    return answer;
}

struct CRun
{
    double dSeconds = 0;
    long nLines = 0;
    long nMaxRssKb = 0;
    int nStatus = -1;
};

// Runs the program with its output read (and counted) here, its errors kept.
CRun RunCounting(const std::vector<std::string>& args)
{
    CRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    char buffer[65536];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        run.nLines += std::count(buffer, buffer + n, '\n');
    close(fds[0]);
    int nStatus = 0;
    rusage usage{};
    wait4(pid, &nStatus, 0, &usage);
    run.dSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
    run.nMaxRssKb = usage.ru_maxrss;
    run.nStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    int nVariables = 1000000;
    int nServeSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--variables") && i + 1 < argc) {
            nVariables = std::max(10, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--serve") && i + 1 < argc) {
            nServeSeconds = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_bigwalk [--variables N] [--serve SECONDS]\n");
            return 2;
        }
    }
    const std::vector<CFakeAgent::CVar> table = RouteTable(nVariables);
    CFakeAgent agent([&](const CFakeAgent::CRequest& request, std::size_t) { return NextIn(table, request); });
    if (nServeSeconds > 0) {  // the table only, to browse it with the window
        std::printf("route table of %zu variables served on %s for %d s\n", table.size(), agent.Address().c_str(),
                    nServeSeconds);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::seconds(nServeSeconds));
        return 0;
    }

    // Settings from an empty hive of its own, MIB modules from an empty folder.
    char szHome[] = "/tmp/orvex-bigwalk-XXXXXX";
    if (!mkdtemp(szHome))
        return 1;
    const std::string strHome = szHome;
    setenv("XDG_CONFIG_HOME", (strHome + "/config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (strHome + "/etc").c_str(), 1);
    setenv("MIBDIRS", (strHome + "/mibs").c_str(), 1);
    setenv("MIBS", "", 1);
    setenv("SNMPCONFPATH", strHome.c_str(), 1);
    setenv("SNMP_PERSISTENT_DIR", strHome.c_str(), 1);

    std::printf("route table of %zu variables served on %s\n", table.size(), agent.Address().c_str());
    const std::string strBase = ".1.3.6.1.2.1.4.21";
    const double dVariables = static_cast<double>(table.size());
    for (const char* pszVersion : {"2c", "1"}) {
        const CRun orvex = RunCounting({ORVEX_BIN, "--walk", "-v", pszVersion, "--base", strBase, "--timeout", "5",
                                        agent.Address(), "public"});
        std::printf("  orvex --walk -v %-2s %6.1f s, %ld lines, exit %d, peak RSS %ld kB = %.0f bytes/variable "
                    "(target <= 800)\n",
                    pszVersion, orvex.dSeconds, orvex.nLines, orvex.nStatus, orvex.nMaxRssKb,
                    orvex.nMaxRssKb * 1024.0 / dVariables);
        const bool bBulk = pszVersion[0] == '2';
        std::vector<std::string> toolArgs{bBulk ? "snmpbulkwalk" : "snmpwalk", "-v", pszVersion, "-c", "public", "-On",
                                          "-t", "5", agent.Address(), strBase};
        if (bBulk)
            toolArgs.insert(toolArgs.begin() + 1, "-Cr25");  // orvex's MaxRepetitions
        const CRun tool = RunCounting(toolArgs);
        std::printf("  %-17s %6.1f s, %ld lines, exit %d (orvex / it = %.2f)\n",
                    bBulk ? "snmpbulkwalk -v2c" : "snmpwalk -v1", tool.dSeconds, tool.nLines, tool.nStatus,
                    orvex.dSeconds / tool.dSeconds);
    }
    std::string strRemove = "rm -rf '" + strHome + "'";
    return std::system(strRemove.c_str()) == 0 ? 0 : 1;
}

#include "platform/crash/CrashReporter.h"
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Everything the handler needs is prepared at Install: a signal handler may only
// use async-signal-safe calls, so no allocation, no stdio, no locale.
constexpr std::size_t kTextSize = 512;
char g_szFolder[kTextSize];
char g_szHeader[3 * kTextSize];  // version, recipient, subject lines
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
alignas(16) char g_altStack[64 * 1024];  // lets a stack overflow still be reported

void CopyText(char* pDest, std::size_t nSize, const std::string& str)
{
    std::strncpy(pDest, str.c_str(), nSize - 1);
    pDest[nSize - 1] = '\0';
}

bool MakeFolders(const std::string& strPath)
{
    for (std::size_t nPos = 1; nPos <= strPath.size(); ++nPos) {
        if (nPos != strPath.size() && strPath[nPos] != '/')
            continue;
        const std::string strPart = strPath.substr(0, nPos);
        if (mkdir(strPart.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

std::string ReportFolder()
{
    const char* pszData = std::getenv("XDG_DATA_HOME");
    if (pszData && *pszData == '/')
        return std::string(pszData) + "/orvex/crashes";
    const char* pszHome = std::getenv("HOME");
    return std::string(pszHome ? pszHome : "/tmp") + "/.local/share/orvex/crashes";
}

const char* SignalName(int nSignal)
{
    switch (nSignal) {
    case SIGSEGV: return "SIGSEGV (segmentation fault)";
    case SIGBUS: return "SIGBUS (bus error)";
    case SIGFPE: return "SIGFPE (arithmetic fault)";
    case SIGILL: return "SIGILL (illegal instruction)";
    case SIGABRT: return "SIGABRT (abort)";
    default: return "unknown signal";
    }
}

// Appends the decimal digits of nValue; signal-safe.
char* AppendNumber(char* p, unsigned long long nValue, int nMinDigits = 1)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + nValue % 10);
        nValue /= 10;
    } while (nValue != 0 || n < nMinDigits);
    while (n > 0)
        *p++ = digits[--n];
    return p;
}

char* AppendText(char* p, const char* pszText)
{
    while (*pszText)
        *p++ = *pszText++;
    return p;
}

void WriteAll(int fd, const char* p, std::size_t nLen)
{
    while (nLen > 0) {
        const ssize_t n = write(fd, p, nLen);
        if (n <= 0)
            return;
        p += n;
        nLen -= std::size_t(n);
    }
}

// UTC date and time from seconds since the epoch (gmtime is not signal-safe).
char* AppendUtc(char* p, long long nSeconds)
{
    long long nDays = nSeconds / 86400;
    const long long nRest = nSeconds % 86400;
    // Civil-from-days (proleptic Gregorian), valid for every date after 1970.
    nDays += 719468;
    const long long nEra = nDays / 146097;
    const long long nDoe = nDays - nEra * 146097;
    const long long nYoe = (nDoe - nDoe / 1460 + nDoe / 36524 - nDoe / 146096) / 365;
    const long long nDoy = nDoe - (365 * nYoe + nYoe / 4 - nYoe / 100);
    const long long nMp = (5 * nDoy + 2) / 153;
    const long long nDay = nDoy - (153 * nMp + 2) / 5 + 1;
    const long long nMonth = nMp < 10 ? nMp + 3 : nMp - 9;
    const long long nYear = nYoe + nEra * 400 + (nMonth <= 2 ? 1 : 0);
    p = AppendNumber(p, nYear, 4);
    *p++ = '-';
    p = AppendNumber(p, nMonth, 2);
    *p++ = '-';
    p = AppendNumber(p, nDay, 2);
    *p++ = ' ';
    p = AppendNumber(p, nRest / 3600, 2);
    *p++ = ':';
    p = AppendNumber(p, nRest / 60 % 60, 2);
    *p++ = ':';
    p = AppendNumber(p, nRest % 60, 2);
    return AppendText(p, " UTC");
}

void WriteReport(int nSignal)
{
    const long long nNow = time(nullptr);
    char szPath[kTextSize + 64];
    char* p = AppendText(szPath, g_szFolder);
    p = AppendText(p, "/crash-");
    p = AppendNumber(p, static_cast<unsigned long long>(nNow));
    *p++ = '-';
    p = AppendNumber(p, static_cast<unsigned long long>(getpid()));
    p = AppendText(p, ".txt");
    *p = '\0';
    const int fd = open(szPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return;
    char szLines[kTextSize];
    p = AppendText(szLines, "Signal: ");
    p = AppendText(p, SignalName(nSignal));
    p = AppendText(p, "\nTime: ");
    p = AppendUtc(p, nNow);
    p = AppendText(p, "\n");
    WriteAll(fd, szLines, std::size_t(p - szLines));
    WriteAll(fd, g_szHeader, std::strlen(g_szHeader));
    WriteAll(fd, "Backtrace:\n", 11);
    void* apFrames[64];
    const int nFrames = backtrace(apFrames, 64);
    backtrace_symbols_fd(apFrames, nFrames, fd);
    close(fd);
}

void OnFatalSignal(int nSignal)
{
    WriteReport(nSignal);
    // Default action again, so the process ends the way it would have without us.
    signal(nSignal, SIG_DFL);
    raise(nSignal);
}

} // namespace

void* Install(void* /*pCallback*/, const char* pszEmailTo, const char* pszEmailSubject, const char* pszVersion)
{
    const std::string strFolder = ReportFolder();
    if (strFolder.size() >= kTextSize || !MakeFolders(strFolder))
        return nullptr;
    CopyText(g_szFolder, sizeof g_szFolder, strFolder);
    const std::string strHeader = std::string("Version: ") + (pszVersion ? pszVersion : "unknown") +
                                  "\nReport to: " + (pszEmailTo ? pszEmailTo : "") +
                                  "\nSubject: " + (pszEmailSubject ? pszEmailSubject : "") + "\n";
    CopyText(g_szHeader, sizeof g_szHeader, strHeader);

    // The first backtrace() loads its unwinder; do that now, not inside a handler.
    void* apWarmUp[2];
    backtrace(apWarmUp, 2);

    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action{};
    action.sa_handler = OnFatalSignal;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int nSignal : kSignals)
        if (sigaction(nSignal, &action, nullptr) != 0)
            return nullptr;
    return g_szFolder;
}


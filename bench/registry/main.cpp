// Loads a user hive of many values (40,000 by default) through the registry
// layer and prints how long the open (read and parse), the look-up of every
// value, and one change written back (read again, merge, replace) take.
//   bench_registry [VALUES]
#include "platform/registry/Registry.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* kKey = "SOFTWARE\\Bench\\Settings";

std::string ValueName(int n)
{
    return "Cache(Host)" + std::to_string(n % 2) + "-" + std::to_string(n / 2);
}

void WriteHive(const std::string& strPath, int nValues)
{
    std::ofstream out(strPath);
    out << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" << kKey << "]\n";
    for (int n = 0; n < nValues; ++n)
        out << '"' << ValueName(n) << "\"=\"host" << n << ".example.invalid\"\n";
}

double MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

int main(int argc, char** argv)
{
    const int nValues = argc > 1 ? std::atoi(argv[1]) : 40000;
    char szDir[] = "/tmp/bench_registry.XXXXXX";
    if (!::mkdtemp(szDir))
        return 1;
    const std::string strDir = szDir;
    ::setenv("XDG_CONFIG_HOME", strDir.c_str(), 1);
    ::mkdir((strDir + "/orvex").c_str(), 0700);
    const std::string strFile = strDir + "/orvex/user.reg";
    WriteHive(strFile, nValues);

    auto start = std::chrono::steady_clock::now();
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return 1;
    const double msOpen = MsSince(start);

    start = std::chrono::steady_clock::now();
    int nFound = 0;
    for (int n = 0; n < nValues; ++n)
    {
        char buf[64];
        DWORD cb = sizeof buf;
        nFound += RegQueryValueEx(hKey, ValueName(n).c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(buf), &cb) == ERROR_SUCCESS;
    }
    const double msQuery = MsSince(start);

    start = std::chrono::steady_clock::now();
    const BYTE one = 1;
    RegSetValueEx(hKey, "Changed", 0, REG_BINARY, &one, 1);
    const LSTATUS rcClose = RegCloseKey(hKey);
    const double msClose = MsSince(start);

    std::printf("values: %d (found %d)\n", nValues, nFound);
    std::printf("open (read + parse): %.1f ms\n", msOpen);
    std::printf("look-up of every value: %.1f ms\n", msQuery);
    std::printf("one change written back: %.1f ms%s\n", msClose, rcClose == ERROR_SUCCESS ? "" : " (FAILED)");
    std::printf("load total (open + look-ups): %.1f ms\n", msOpen + msQuery);
    std::remove(strFile.c_str());
    std::remove((strFile + ".lock").c_str());
    ::rmdir((strDir + "/orvex").c_str());
    ::rmdir(strDir.c_str());
    return nFound == nValues && rcClose == ERROR_SUCCESS ? 0 : 1;
}

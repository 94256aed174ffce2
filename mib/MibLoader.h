#pragma once
// Loading a module set: the files of a MIB path parsed into a new name table,
// which then replaces the current one whole (CurrentMibTable). Windows and
// walks never wait for it: the application loads on a thread of its own and
// is told with a message when the table is in place.
#include "platform/mibparse/MibParser.h"
#include "platform/winmsg/WinMsg.h"
#include <string>
#include <vector>

// What one load found.
struct CMibLoadReport
{
    std::string strPath;                  // the MIB path as given
    std::vector<CMibModuleInfo> loaded;
    std::vector<CMibProblem> problems;
    double dSeconds = 0;
};

// Sent (posted) to the window given to StartMibLoad when its load has ended;
// wParam and lParam are 0: the report is LastMibLoadReport().
constexpr UINT WM_MIB_LOADED = 9890;

// Parses the path's files and the base folder's, publishes the table and
// keeps the report. Blocks for the whole parse (seconds for thousands of
// modules); any thread. A load that ends after a later-started one has
// published leaves the newer table in place.
CMibLoadReport LoadMibModules(const std::string& strPath, const std::string& strBaseFolder);

// Runs LoadMibModules on a thread of its own (here when none can be made) and
// posts WM_MIB_LOADED to hWnd (if still there) when it has ended; the
// process's exit waits for it.
void StartMibLoad(const std::string& strPath, const std::string& strBaseFolder, HWND hWnd);

// Removes every loaded module: names are the built-in MIB's alone.
void UnloadMibModules();

// The report of the last load that published its table; empty before any.
CMibLoadReport LastMibLoadReport();

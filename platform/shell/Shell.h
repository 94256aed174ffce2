#pragma once
// Opening documents through the desktop: the stand-in for the shell's execute call.
// The desktop's handler for the file type (xdg-open) shows the document.
#include "platform/WinTypes.h"
#include "platform/winmsg/WinMsg.h"
#include <QUrl>
#include <cstdint>
#include <functional>
#include <string>

constexpr int SW_SHOWNORMAL = 1;
// Failure values of ShellExecute (success is any value above 32).
constexpr std::intptr_t SE_ERR_FNF = 2;       // the file does not exist
constexpr std::intptr_t SE_ERR_NOASSOC = 31;  // no handler took the document

// Opens file (taken relative to directory unless absolute; a null or empty directory
// means the current folder) with the default verb. verb, parameters, hWnd and nShowCmd
// are accepted for the caller's sake; the desktop decides how the document is shown.
// Returns 42 when the desktop accepted the document, SE_ERR_FNF when the file is
// missing (nothing is started then), SE_ERR_NOASSOC when the desktop refused it.
// Returns at once; the viewer runs on its own.
std::intptr_t ShellExecute(HWND hWnd, const char* verb, const char* file, const char* parameters,
                           const char* directory, int nShowCmd);

// The desktop's default application for a MIME type as `xdg-mime query default`
// names it ("firefox-esr.desktop"); empty when none is registered or the desktop's
// tools are missing. A launch that "succeeds" says only that a launcher started,
// so callers that must show something ask this first. Blocks while the query runs
// (well under a second; given up after 5 s).
std::string DefaultApplication(const char* pszMimeType);

// Replaces the desktop hand-over (tests): receives the file URL and returns whether it
// was taken. An empty hook restores the desktop.
using ShellOpenHook = std::function<bool(const QUrl& url)>;
void SetShellOpenHook(ShellOpenHook hook);

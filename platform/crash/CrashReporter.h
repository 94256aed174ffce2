#pragma once
// Crash reporting: fatal signals (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) write a
// report (signal, time, version, backtrace) to $XDG_DATA_HOME/orvex/crashes/
// (default ~/.local/share/orvex/crashes/), then the signal takes its default action,
// so the process still dies as it would have and a core dump is still possible.

// Installs the handlers; call once, first thing at start-up. pCallback is accepted
// for the caller's sake and not used; pszEmailTo and pszEmailSubject are written
// into each report so it can be forwarded; pszVersion (may be null) likewise.
// Returns an opaque non-null handle on success, null when the report folder cannot
// be prepared or a handler cannot be set. Cost: a few system calls.
void* Install(void* pCallback, const char* pszEmailTo, const char* pszEmailSubject,
              const char* pszVersion = nullptr);

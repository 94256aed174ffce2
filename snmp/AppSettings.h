#pragma once
// The one process-wide settings record. Each field carries the name of the
// registry value that stores it. Loaded at start-up and saved at exit by the
// application (app/SettingsStore); read directly by the walk, the write and the
// grid. It lives here, at the bottom of the product libraries, because the walk
// thread reads it.
//
// Threads: fields are written on the UI thread only. Timeout, Retries, Version
// and MaxRepetitions are the defaults of an agent's profile (CAgentProfile), read
// on the UI thread when a query starts; the walk thread copies Base when it
// starts, so the numeric fields are atomics and Base is swapped under a lock.
#include "mib/MibPath.h"
#include "platform/WinTypes.h"
#include <atomic>
#include <mutex>
#include <string>

class CAppSettings
{
public:
    static constexpr std::size_t kPathSize = 260;  // HomePath and Base buffers
    static constexpr std::size_t kMibPathSize = 4096;  // the stored MibPath with its NUL
    // The built-in defaults: the record's start, Reset, a value missing from
    // the registry, the Settings dialog's Defaults button.
    static constexpr BYTE kDefaultCleaning = 1;
    static constexpr BYTE kDefaultInferance = 1;
    static constexpr COLORREF kDefaultInferColor = 0x00D0D0D0;
    static constexpr BYTE kDefaultWriteOn = 1;
    static constexpr std::int32_t kDefaultTimeout = 16;
    static constexpr std::int32_t kDefaultRetries = 3;
    static constexpr DWORD kDefaultVersion = 1;
    static constexpr DWORD kDefaultMaxRepetitions = 25;
    static constexpr const char* kDefaultBase = ".1.3";
    static constexpr const char* kDefaultMibPath = MibPath::kDefault;
    static constexpr BYTE kDefaultShowEnumLabels = 0;

    std::atomic<BYTE> Cleaning{kDefaultCleaning};
    std::atomic<BYTE> Inferance{kDefaultInferance};
    std::atomic<COLORREF> InferColor{kDefaultInferColor};
    std::atomic<BYTE> WriteOn{kDefaultWriteOn};
    std::atomic<std::int32_t> Timeout{kDefaultTimeout};  // seconds
    std::atomic<std::int32_t> Retries{kDefaultRetries};
    std::atomic<DWORD> Version{kDefaultVersion};          // 1 = SNMPv1, 2 = SNMPv2c
    std::atomic<DWORD> MaxRepetitions{kDefaultMaxRepetitions};  // GetBulk size; 0 = GET-NEXT
    // 1: an INTEGER's Value cell shows its enumeration label ("up(1)"); read by
    // the walk thread at each record.
    std::atomic<BYTE> ShowEnumLabels{kDefaultShowEnumLabels};
    char HomePath[kPathSize] = {};          // installation folder ending in "/"; fixed after start-up

    // A copy of the base OID text, safe on any thread.
    std::string Base() const;
    // Replaces the base OID text (UI thread).
    void SetBase(const std::string& strBase);

    // The MIB folders and files, ":"-separated (see mib/MibPath); any thread.
    std::string MibPath() const;
    void SetMibPath(const std::string& strPath);  // UI thread

    // Every field back to its built-in default (HomePath cleared).
    void Reset();

private:
    mutable std::mutex m_mutexBase;
    std::string m_strBase{kDefaultBase};
    std::string m_strMibPath{kDefaultMibPath};  // guarded by m_mutexBase
};

extern CAppSettings AppSettings;

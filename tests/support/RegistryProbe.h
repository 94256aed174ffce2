#pragma once
// Direct reads and writes of single registry values for tests, each through its
// own handle (so every call reads or writes the hive file).
#include "platform/registry/Registry.h"
#include <optional>
#include <string>
#include <vector>

struct CRegProbeValue
{
    DWORD dwType = 0;
    std::vector<BYTE> data;
    bool operator==(const CRegProbeValue&) const = default;
};

// Creates the key when missing; returns the result of RegCloseKey (or the failing call).
LSTATUS RegProbePut(HKEY hRoot, const std::string& strKey, const std::string& strName, DWORD dwType,
                    const std::vector<BYTE>& data);
LSTATUS RegProbePutDword(HKEY hRoot, const std::string& strKey, const std::string& strName, DWORD dw);
// The stored type and bytes, or nothing when the key or value is missing.
std::optional<CRegProbeValue> RegProbeGet(HKEY hRoot, const std::string& strKey, const std::string& strName);

// Bytes of a text, optionally with its terminating NUL.
std::vector<BYTE> RegProbeBytes(const std::string& text, bool bWithNul = false);
// Whole content of a file ("" when missing).
std::string RegProbeReadFile(const std::string& strPath);
void RegProbeWriteFile(const std::string& strPath, const std::string& text);

#include "app/SettingsStore.h"
#include "app/HistoryTable.h"
#include "app/RegistryKeys.h"
#include "platform/registry/Registry.h"
#include "snmp/AppSettings.h"
#include <algorithm>
#include <atomic>
#include <string>
#include <cstring>
#include <unistd.h>

namespace
{
constexpr std::size_t kPathSize = CAppSettings::kPathSize;

// Reads a value of exactly the field's size into the field; any failure (missing,
// longer than the field) gives the default. The stored type is not looked at.
// Like a read straight into the field, a shorter value leaves its upper bytes.
template <typename T>
void ReadField(HKEY hKey, const char* name, std::atomic<T>& field, T def)
{
    T value = field.load();
    DWORD cb = sizeof value;
    const bool bRead = RegQueryValueEx(hKey, name, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&value), &cb) == ERROR_SUCCESS;
    field = bRead ? value : def;
}

template <typename T>
void WriteField(HKEY hKey, const char* name, DWORD dwType, const std::atomic<T>& field)
{
    const T value = field.load();
    RegSetValueEx(hKey, name, 0, dwType, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

constexpr std::size_t kMibPathSize = 4096;

// Reads a text value into a zeroed buffer of nSize bytes; a failed read (missing,
// longer than the buffer) gives the default.
std::string ReadText(HKEY hKey, const char* name, std::size_t nSize, const char* pszDefault)
{
    std::string buf(nSize, '\0');
    DWORD cb = static_cast<DWORD>(nSize);
    if (RegQueryValueEx(hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf.data()), &cb) != ERROR_SUCCESS)
        return pszDefault;
    return std::string(buf.c_str(), strnlen(buf.c_str(), nSize));
}

// Stores at most nSize - 1 characters and the terminating NUL.
void WriteText(HKEY hKey, const char* name, std::size_t nSize, const std::string& strText)
{
    const std::string strStored = strText.substr(0, std::min(std::strlen(strText.c_str()), nSize - 1));
    RegSetValueEx(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(strStored.c_str()),
                  static_cast<DWORD>(strStored.size() + 1));
}

// A stored HomePath counts only when it is a non-empty, terminated text.
bool ReadHomePath(HKEY hKey)
{
    char buf[kPathSize] = {};
    DWORD cb = sizeof buf;
    if (RegQueryValueEx(hKey, "HomePath", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb) != ERROR_SUCCESS
        || buf[0] == '\0' || strnlen(buf, sizeof buf) == sizeof buf)
        return false;
    std::memcpy(AppSettings.HomePath, buf, sizeof buf);
    return true;
}

// The running executable's folder with its final "/"; false when the name
// cannot be had whole within the buffer.
bool HomePathFromExecutable()
{
    char buf[kPathSize] = {};
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf)
        return false;
    char* slash = std::strrchr(buf, '/');
    if (!slash)
        return false;
    slash[1] = '\0';
    std::memcpy(AppSettings.HomePath, buf, sizeof buf);
    return true;
}
}  // namespace

int LoadSettings()
{
    g_history.Init("Host", 2, 30);
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return 1;
    ReadField(hKey, "Cleaning", AppSettings.Cleaning, CAppSettings::kDefaultCleaning);
    ReadField(hKey, "Inferance", AppSettings.Inferance, CAppSettings::kDefaultInferance);
    ReadField(hKey, "InferColor", AppSettings.InferColor, CAppSettings::kDefaultInferColor);
    ReadField(hKey, "WriteOn", AppSettings.WriteOn, CAppSettings::kDefaultWriteOn);
    ReadField(hKey, "Timeout", AppSettings.Timeout, CAppSettings::kDefaultTimeout);
    ReadField(hKey, "Retries", AppSettings.Retries, CAppSettings::kDefaultRetries);
    AppSettings.SetBase(ReadText(hKey, "Base", kPathSize, CAppSettings::kDefaultBase));
    ReadField(hKey, "Version", AppSettings.Version, CAppSettings::kDefaultVersion);
    AppSettings.SetMibPath(ReadText(hKey, "MibPath", kMibPathSize, CAppSettings::kDefaultMibPath));
    RegCloseKey(hKey);
    return 0;
}

int LoadHomePath()
{
    HKEY hKey = nullptr;
    const bool bWritable = RegCreateKeyEx(HKEY_LOCAL_MACHINE, kAppKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, &hKey, nullptr) == ERROR_SUCCESS;
    // Without write access (an ordinary user and a system-wide hive) a stored
    // path can still be read, and the executable's folder still be used.
    if (!bWritable && RegOpenKeyEx(HKEY_LOCAL_MACHINE, kAppKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        hKey = nullptr;
    if (!(hKey && ReadHomePath(hKey)))
    {
        std::memset(AppSettings.HomePath, 0, kPathSize);
        if (HomePathFromExecutable() && bWritable)
            RegSetValueEx(hKey, "HomePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(AppSettings.HomePath),
                          kPathSize);
    }
    if (hKey)
        RegCloseKey(hKey);
    return bWritable ? 0 : 1;
}

int SaveSettings()
{
    g_history.Save();
    g_history.Release();
    HKEY hKey = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                       nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return 1;
    WriteField(hKey, "Cleaning", REG_BINARY, AppSettings.Cleaning);
    WriteField(hKey, "Inferance", REG_BINARY, AppSettings.Inferance);
    WriteField(hKey, "InferColor", REG_DWORD, AppSettings.InferColor);
    WriteField(hKey, "WriteOn", REG_BINARY, AppSettings.WriteOn);
    WriteField(hKey, "Timeout", REG_DWORD, AppSettings.Timeout);
    WriteField(hKey, "Retries", REG_DWORD, AppSettings.Retries);
    WriteText(hKey, "Base", kPathSize, AppSettings.Base());
    WriteField(hKey, "Version", REG_DWORD, AppSettings.Version);
    WriteText(hKey, "MibPath", kMibPathSize, AppSettings.MibPath());
    RegCloseKey(hKey);
    return 0;
}

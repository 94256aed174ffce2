#include "app/SettingsStore.h"
#include "app/HistoryTable.h"
#include "app/HostHistory.h"
#include "app/RegistryKeys.h"
#include "app/SettingsMigration.h"
#include "platform/registry/Registry.h"
#include "snmp/AppSettings.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

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

// One setting in the form it is stored in.
struct CStoredValue
{
    std::string_view name;
    DWORD dwType;
    std::vector<BYTE> data;
    bool operator==(const CStoredValue&) const = default;
};

template <typename T>
CStoredValue Stored(const char* name, DWORD dwType, const std::atomic<T>& field)
{
    const T value = field.load();
    const auto* p = reinterpret_cast<const BYTE*>(&value);
    return {name, dwType, std::vector<BYTE>(p, p + sizeof value)};
}

constexpr std::size_t kMibPathSize = CAppSettings::kMibPathSize;

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

// The text as staged in a buffer of nSize bytes: at most nSize - 1 characters, up
// to a NUL, and the NUL.
CStoredValue StoredText(std::string_view name, std::size_t nSize, const std::string& strText)
{
    const std::size_t nLength = strnlen(strText.c_str(), std::min(strText.size(), nSize - 1));
    std::vector<BYTE> data(strText.begin(), strText.begin() + static_cast<std::ptrdiff_t>(nLength));
    data.push_back(0);
    return {name, REG_SZ, std::move(data)};
}

// Every setting as it would be written now, in the order it is written.
std::vector<CStoredValue> CurrentValues()
{
    return {Stored("Cleaning", REG_BINARY, AppSettings.Cleaning),
            Stored("Inferance", REG_BINARY, AppSettings.Inferance),
            Stored("InferColor", REG_DWORD, AppSettings.InferColor),
            Stored("WriteOn", REG_BINARY, AppSettings.WriteOn),
            Stored("Timeout", REG_DWORD, AppSettings.Timeout),
            Stored("Retries", REG_DWORD, AppSettings.Retries),
            StoredText("Base", kPathSize, AppSettings.Base()),
            Stored("Version", REG_DWORD, AppSettings.Version),
            Stored("MaxRepetitions", REG_DWORD, AppSettings.MaxRepetitions),
            StoredText("MibPath", kMibPathSize, AppSettings.MibPath()),
            Stored("ShowEnumLabels", REG_BINARY, AppSettings.ShowEnumLabels)};
}

// The settings as this process last read or wrote them; only the ones that
// differ from these are written, so another instance's changes survive.
std::vector<CStoredValue> g_known;

std::vector<CStoredValue> ChangedValues()
{
    std::vector<CStoredValue> changed;
    for (CStoredValue& value : CurrentValues())
        if (std::find(g_known.begin(), g_known.end(), value) == g_known.end())
            changed.push_back(std::move(value));
    return changed;
}

void ReportNotSaved(LSTATUS rc)
{
    const char* pszWhy = rc == ERROR_ACCESS_DENIED ? "the settings folder cannot be written" : "the registry failed";
    std::fprintf(stderr, "orvex: settings not saved: %s (error %ld)\n", pszWhy, static_cast<long>(rc));
}

// Through one exclusive handle, so that the history is merged with the table
// on disk and everything lands in one replacement of the file.
int WriteChanges(const std::vector<CStoredValue>& changed)
{
    HKEY hKey = nullptr;
    const LSTATUS rc = RegCreateKeyEx(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_EXCLUSIVE,
                                      KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    if (rc != ERROR_SUCCESS)
    {
        ReportNotSaved(rc);
        return 1;
    }
    g_history.Save(hKey);
    for (const CStoredValue& value : changed)
        RegSetValueEx(hKey, std::string(value.name).c_str(), 0, value.dwType, value.data.data(),
                      static_cast<DWORD>(value.data.size()));
    // A failed write has been told on standard error by the registry.
    return RegCloseKey(hKey) == ERROR_SUCCESS ? 0 : 1;
}

bool HoldsHelp(const std::string& strFolder)
{
    std::error_code error;
    return std::filesystem::is_directory(strFolder + "Help", error);
}

// A stored HomePath counts only when it is a non-empty, terminated text naming
// a folder with the manual: a folder left behind by a moved or removed
// installation is not one.
bool ReadHomePath(HKEY hKey)
{
    char buf[kPathSize] = {};
    DWORD cb = sizeof buf;
    if (RegQueryValueEx(hKey, "HomePath", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb) != ERROR_SUCCESS
        || buf[0] == '\0' || strnlen(buf, sizeof buf) == sizeof buf || !HoldsHelp(buf))
        return false;
    std::memcpy(AppSettings.HomePath, buf, sizeof buf);
    return true;
}

bool ReadOldHomePath()
{
    const HKEY hKey = OpenOldKey(HKEY_LOCAL_MACHINE, kAppKey);
    if (!hKey)
        return false;
    const bool bRead = ReadHomePath(hKey);
    RegCloseKey(hKey);
    return bRead;
}

// The running executable's HomeFolderOf; false when the name cannot be had
// whole within the buffer.
bool HomePathFromExecutable()
{
    char buf[kPathSize] = {};
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf)
        return false;
    std::string strFolder(buf, static_cast<std::size_t>(n));
    strFolder.erase(strFolder.rfind('/') + 1);
    const std::string strHome = HomeFolderOf(strFolder);
    if (strHome.size() >= kPathSize)
        return false;
    std::memset(AppSettings.HomePath, 0, kPathSize);
    std::memcpy(AppSettings.HomePath, strHome.data(), strHome.size());
    return true;
}
}  // namespace

std::string HomeFolderOf(const std::string& strExecutableFolder)
{
    const std::string strShared =
        std::filesystem::path(strExecutableFolder + "../share/orvex/").lexically_normal().string();
    return !HoldsHelp(strExecutableFolder) && HoldsHelp(strShared) ? strShared : strExecutableFolder;
}

int LoadSettings()
{
    g_history.Init("Host", kHistoryColumns, 30);
    HKEY hKey = nullptr;
    const bool bOpened = OpenKeyForReading(HKEY_CURRENT_USER, kSettingsKey, &hKey);
    if (bOpened)
    {
        ReadField(hKey, "Cleaning", AppSettings.Cleaning, CAppSettings::kDefaultCleaning);
        ReadField(hKey, "Inferance", AppSettings.Inferance, CAppSettings::kDefaultInferance);
        ReadField(hKey, "InferColor", AppSettings.InferColor, CAppSettings::kDefaultInferColor);
        ReadField(hKey, "WriteOn", AppSettings.WriteOn, CAppSettings::kDefaultWriteOn);
        ReadField(hKey, "Timeout", AppSettings.Timeout, CAppSettings::kDefaultTimeout);
        ReadField(hKey, "Retries", AppSettings.Retries, CAppSettings::kDefaultRetries);
        AppSettings.SetBase(ReadText(hKey, "Base", kPathSize, CAppSettings::kDefaultBase));
        ReadField(hKey, "Version", AppSettings.Version, CAppSettings::kDefaultVersion);
        ReadField(hKey, "MaxRepetitions", AppSettings.MaxRepetitions, CAppSettings::kDefaultMaxRepetitions);
        AppSettings.SetMibPath(ReadText(hKey, "MibPath", kMibPathSize, CAppSettings::kDefaultMibPath));
        ReadField(hKey, "ShowEnumLabels", AppSettings.ShowEnumLabels, CAppSettings::kDefaultShowEnumLabels);
        RegCloseKey(hKey);
    }
    g_known = CurrentValues();
    return bOpened ? 0 : 1;
}

int LoadHomePath()
{
    HKEY hKey = nullptr;
    const bool bWritable = RegCreateKeyEx(HKEY_LOCAL_MACHINE, kAppKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, &hKey, nullptr) == ERROR_SUCCESS;
    // Without write access (an ordinary user and a system-wide hive) a stored
    // path can still be read, and the executable's folder still be used.
    if (!bWritable && !OpenKeyForReading(HKEY_LOCAL_MACHINE, kAppKey, &hKey))
        hKey = nullptr;
    if (!(hKey && ReadHomePath(hKey)))
    {
        std::memset(AppSettings.HomePath, 0, kPathSize);
        if ((ReadOldHomePath() || HomePathFromExecutable()) && bWritable)
            RegSetValueEx(hKey, "HomePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(AppSettings.HomePath),
                          kPathSize);
    }
    if (hKey)
        RegCloseKey(hKey);
    return bWritable ? 0 : 1;
}

int SaveSettings()
{
    std::vector<CStoredValue> changed = ChangedValues();
    const int nResult = changed.empty() && !g_history.HasAdditions() ? 0 : WriteChanges(changed);
    if (nResult == 0)
        g_known = CurrentValues();
    g_history.Release();
    return nResult;
}

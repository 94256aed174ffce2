#include "platform/registry/Registry.h"
#include "platform/registry/RegHiveFile.h"
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

// An open key: where it lives, what it may do, what it saw and what it changed.
struct HKEY__
{
    CRegHiveFile file;
    std::string strPath;
    REGSAM sam = 0;
    bool bCreated = false;  // the key did not exist when opened
    CRegKeyData view;       // the key as read at open, with this handle's changes
    CRegKeyData changes;    // values set through this handle
};

namespace
{
constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

std::mutex g_mutex;  // guards g_handles and every open key's state
std::unordered_map<HKEY, std::unique_ptr<HKEY__>> g_handles;

bool IsPredefined(HKEY hKey)
{
    return hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE;
}

// Caller holds g_mutex.
HKEY__* FindHandle(HKEY hKey)
{
    const auto it = g_handles.find(hKey);
    return it == g_handles.end() ? nullptr : it->second.get();
}

// "A\B\" → "A\B"; empty names inside the path are refused.
std::optional<std::string> NormalizeSubKey(const char* lpSubKey)
{
    std::string path = lpSubKey ? lpSubKey : "";
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    const bool bEmptyName = !path.empty()
        && (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos);
    if (bEmptyName)
        return std::nullopt;
    return path;
}

std::string JoinPath(const std::string& strBase, const std::string& strSub)
{
    if (strBase.empty() || strSub.empty())
        return strBase + strSub;
    return strBase + '\\' + strSub;
}

LSTATUS OpenKey(HKEY hKey, const char* lpSubKey, REGSAM sam, bool bCreate, HKEY* phkResult,
                DWORD* lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    const std::optional<std::string> sub = NormalizeSubKey(lpSubKey);
    if (!sub)
        return ERROR_BAD_PATHNAME;

    std::optional<CRegHiveFile> file;
    std::string strPath;
    if (IsPredefined(hKey))
    {
        file = hKey == HKEY_CURRENT_USER ? CRegHiveFile::CurrentUser() : CRegHiveFile::LocalMachine();
        strPath = *sub;
    }
    else
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        const HKEY__* parent = FindHandle(hKey);
        if (!parent)
            return ERROR_INVALID_HANDLE;
        file = parent->file;
        strPath = JoinPath(parent->strPath, *sub);
    }

    const CRegHive hive = file->Read();
    const bool bExists = hive.HasKey(strPath);
    if (!bExists && !bCreate)
        return ERROR_FILE_NOT_FOUND;
    if ((!bExists || (sam & kWriteAccess)) && !file->IsWritable())
        return ERROR_ACCESS_DENIED;

    auto key = std::make_unique<HKEY__>(HKEY__{*file, strPath, sam, !bExists, {strPath, {}}, {}});
    if (const CRegKeyData* stored = hive.FindKey(strPath))
        key->view.values = stored->values;
    if (lpdwDisposition)
        *lpdwDisposition = bExists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;

    const std::lock_guard<std::mutex> lock(g_mutex);
    *phkResult = key.get();
    g_handles.emplace(key.get(), std::move(key));
    return ERROR_SUCCESS;
}
}  // namespace

LSTATUS RegCreateKeyEx(HKEY hKey, const char* lpSubKey, DWORD /*Reserved*/, char* /*lpClass*/,
                       DWORD /*dwOptions*/, REGSAM samDesired, const void* /*lpSecurityAttributes*/,
                       HKEY* phkResult, DWORD* lpdwDisposition)
{
    return OpenKey(hKey, lpSubKey, samDesired, true, phkResult, lpdwDisposition);
}

LSTATUS RegOpenKeyEx(HKEY hKey, const char* lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                     HKEY* phkResult)
{
    return OpenKey(hKey, lpSubKey, samDesired, false, phkResult, nullptr);
}

LSTATUS RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD* /*lpReserved*/, DWORD* lpType,
                        BYTE* lpData, DWORD* lpcbData)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    const HKEY__* key = FindHandle(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (!(key->sam & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    const CRegValue* value = key->view.FindValue(lpValueName ? lpValueName : "");
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (lpType)
        *lpType = value->dwType;
    if (!lpcbData)
        return ERROR_SUCCESS;
    const DWORD cbNeeded = static_cast<DWORD>(value->data.size());
    if (lpData && *lpcbData < cbNeeded)
    {
        *lpcbData = cbNeeded;
        return ERROR_MORE_DATA;
    }
    if (lpData && cbNeeded)
        std::memcpy(lpData, value->data.data(), cbNeeded);
    *lpcbData = cbNeeded;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD /*Reserved*/, DWORD dwType,
                      const BYTE* lpData, DWORD cbData)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    HKEY__* key = FindHandle(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (!(key->sam & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!lpData && cbData)
        return ERROR_INVALID_PARAMETER;
    const CRegValue value{lpValueName ? lpValueName : "", dwType,
                          std::vector<BYTE>(lpData, lpData + cbData)};
    key->view.SetValue(value);
    key->changes.SetValue(value);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey)
{
    if (IsPredefined(hKey))
        return ERROR_SUCCESS;
    std::unique_ptr<HKEY__> key;
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        const auto it = g_handles.find(hKey);
        if (it == g_handles.end())
            return ERROR_INVALID_HANDLE;
        key = std::move(it->second);
        g_handles.erase(it);
    }
    if (!key->bCreated && key->changes.values.empty())
        return ERROR_SUCCESS;
    const bool bWritten = key->file.Update([&key](CRegHive& hive) {
        CRegKeyData& stored = hive.AddKey(key->strPath);
        for (const CRegValue& value : key->changes.values)
            stored.SetValue(value);
    });
    return bWritten ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

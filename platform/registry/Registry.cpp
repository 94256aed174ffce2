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
    std::vector<std::string> deleted;         // values deleted through this handle, none of them in changes
    std::unique_ptr<CRegHiveFile::CLock> lock;  // held from open to close for REG_OPTION_EXCLUSIVE
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

// The open handle, when it has the access asked for; caller holds g_mutex.
LSTATUS FindHandleWith(HKEY hKey, REGSAM access, HKEY__*& key)
{
    key = FindHandle(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    return (key->sam & access) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
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

LSTATUS CopyValue(const CRegValue& value, DWORD* lpType, BYTE* lpData, DWORD* lpcbData)
{
    if (lpType)
        *lpType = value.dwType;
    if (!lpcbData)
        return ERROR_SUCCESS;
    const DWORD cbNeeded = static_cast<DWORD>(value.data.size());
    if (lpData && *lpcbData < cbNeeded)
    {
        *lpcbData = cbNeeded;
        return ERROR_MORE_DATA;
    }
    if (lpData && cbNeeded)
        std::memcpy(lpData, value.data.data(), cbNeeded);
    *lpcbData = cbNeeded;
    return ERROR_SUCCESS;
}

std::string JoinPath(const std::string& strBase, const std::string& strSub)
{
    if (strBase.empty() || strSub.empty())
        return strBase + strSub;
    return strBase + '\\' + strSub;
}

// The hive file and the full path of hKey\lpSubKey.
LSTATUS Locate(HKEY hKey, const char* lpSubKey, std::optional<CRegHiveFile>& file, std::string& strPath)
{
    const std::optional<std::string> sub = NormalizeSubKey(lpSubKey);
    if (!sub)
        return ERROR_BAD_PATHNAME;
    if (IsPredefined(hKey))
    {
        file = hKey == HKEY_CURRENT_USER ? CRegHiveFile::CurrentUser() : CRegHiveFile::LocalMachine();
        strPath = *sub;
        return ERROR_SUCCESS;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    const HKEY__* parent = FindHandle(hKey);
    if (!parent)
        return ERROR_INVALID_HANDLE;
    file = parent->file;
    strPath = JoinPath(parent->strPath, *sub);
    return ERROR_SUCCESS;
}

LSTATUS OpenKey(HKEY hKey, const char* lpSubKey, DWORD dwOptions, REGSAM sam, bool bCreate, HKEY* phkResult,
                DWORD* lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::optional<CRegHiveFile> file;
    std::string strPath;
    if (const LSTATUS rc = Locate(hKey, lpSubKey, file, strPath); rc != ERROR_SUCCESS)
        return rc;

    std::unique_ptr<CRegHiveFile::CLock> fileLock;
    if (dwOptions & REG_OPTION_EXCLUSIVE)
    {
        if (!file->IsWritable())
            return ERROR_ACCESS_DENIED;
        fileLock = file->Lock();
        if (!fileLock)
            return ERROR_CANTWRITE;
    }
    CRegHive hive = file->Read(fileLock != nullptr);
    const bool bExists = hive.HasKey(strPath);
    if (!bExists && !bCreate)
        return ERROR_FILE_NOT_FOUND;
    if ((!bExists || (sam & kWriteAccess)) && !file->IsWritable())
        return ERROR_ACCESS_DENIED;

    auto key = std::make_unique<HKEY__>(HKEY__{*file, strPath, sam, !bExists, CRegKeyData(strPath),
                                               CRegKeyData(strPath), {}, std::move(fileLock)});
    if (CRegKeyData* stored = hive.FindKey(strPath))
        key->view = std::move(*stored);
    if (lpdwDisposition)
        *lpdwDisposition = bExists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;

    const std::lock_guard<std::mutex> lock(g_mutex);
    *phkResult = key.get();
    g_handles.emplace(key.get(), std::move(key));
    return ERROR_SUCCESS;
}
}  // namespace

LSTATUS RegCreateKeyEx(HKEY hKey, const char* lpSubKey, DWORD /*Reserved*/, char* /*lpClass*/,
                       DWORD dwOptions, REGSAM samDesired, const void* /*lpSecurityAttributes*/,
                       HKEY* phkResult, DWORD* lpdwDisposition)
{
    return OpenKey(hKey, lpSubKey, dwOptions, samDesired, true, phkResult, lpdwDisposition);
}

LSTATUS RegOpenKeyEx(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                     HKEY* phkResult)
{
    return OpenKey(hKey, lpSubKey, ulOptions, samDesired, false, phkResult, nullptr);
}

LSTATUS RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD* /*lpReserved*/, DWORD* lpType,
                        BYTE* lpData, DWORD* lpcbData)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    HKEY__* key = nullptr;
    if (const LSTATUS rc = FindHandleWith(hKey, KEY_QUERY_VALUE, key); rc != ERROR_SUCCESS)
        return rc;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    const CRegValue* value = key->view.FindValue(lpValueName ? lpValueName : "");
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    return CopyValue(*value, lpType, lpData, lpcbData);
}

LSTATUS RegEnumValue(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* /*lpReserved*/,
                     DWORD* lpType, BYTE* lpData, DWORD* lpcbData)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    HKEY__* key = nullptr;
    if (const LSTATUS rc = FindHandleWith(hKey, KEY_QUERY_VALUE, key); rc != ERROR_SUCCESS)
        return rc;
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    const std::vector<CRegValue>& values = key->view.Values();
    if (dwIndex >= values.size())
        return ERROR_NO_MORE_ITEMS;
    const CRegValue& value = values[dwIndex];
    if (*lpcchValueName <= value.strName.size())
        return ERROR_MORE_DATA;
    std::memcpy(lpValueName, value.strName.c_str(), value.strName.size() + 1);
    *lpcchValueName = static_cast<DWORD>(value.strName.size());
    return CopyValue(value, lpType, lpData, lpcbData);
}

LSTATUS RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD /*Reserved*/, DWORD dwType,
                      const BYTE* lpData, DWORD cbData)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    HKEY__* key = nullptr;
    if (const LSTATUS rc = FindHandleWith(hKey, KEY_SET_VALUE, key); rc != ERROR_SUCCESS)
        return rc;
    if (!lpData && cbData)
        return ERROR_INVALID_PARAMETER;
    const CRegValue value{lpValueName ? lpValueName : "", dwType,
                          std::vector<BYTE>(lpData, lpData + cbData)};
    key->view.SetValue(value);
    key->changes.SetValue(value);
    std::erase_if(key->deleted, [&value](const std::string& name) { return RegNameEqual(name, value.strName); });
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteValue(HKEY hKey, const char* lpValueName)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    HKEY__* key = nullptr;
    if (const LSTATUS rc = FindHandleWith(hKey, KEY_SET_VALUE, key); rc != ERROR_SUCCESS)
        return rc;
    const std::string strName = lpValueName ? lpValueName : "";
    if (!key->view.DeleteValue(strName))
        return ERROR_FILE_NOT_FOUND;
    key->changes.DeleteValue(strName);
    key->deleted.push_back(strName);
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteKey(HKEY hKey, const char* lpSubKey)
{
    if (!lpSubKey || !*lpSubKey)
        return ERROR_INVALID_PARAMETER;
    std::optional<CRegHiveFile> file;
    std::string strPath;
    if (const LSTATUS rc = Locate(hKey, lpSubKey, file, strPath); rc != ERROR_SUCCESS)
        return rc;
    if (!file->Read().HasKey(strPath))
        return ERROR_FILE_NOT_FOUND;
    if (!file->IsWritable())
        return ERROR_ACCESS_DENIED;
    // Checked again under the lock: the file may have changed since it was read.
    LSTATUS rc = ERROR_SUCCESS;
    const bool bWritten = file->Update([&](CRegHive& hive) {
        rc = hive.HasSubKeys(strPath) ? ERROR_ACCESS_DENIED
           : hive.DeleteKey(strPath)  ? ERROR_SUCCESS
                                      : ERROR_FILE_NOT_FOUND;
        return rc == ERROR_SUCCESS;
    });
    return bWritten ? rc : ERROR_CANTWRITE;
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
    if (!key->bCreated && key->changes.Values().empty() && key->deleted.empty())
        return ERROR_SUCCESS;
    const bool bWritten = key->file.Update(
        [&key](CRegHive& hive) {
            CRegKeyData& stored = hive.AddKey(key->strPath);
            for (const std::string& name : key->deleted)
                stored.DeleteValue(name);
            for (const CRegValue& value : key->changes.Values())
                stored.SetValue(value);
            return true;
        },
        key->lock != nullptr);
    return bWritten ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

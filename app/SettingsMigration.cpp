#include "app/SettingsMigration.h"
#include "app/RegistryKeys.h"
#include <cstring>
#include <string>
#include <vector>

namespace
{
// The only place the earlier key names remain.
constexpr const char* kOldVendorKey = "SOFTWARE\\ZudavO2";
constexpr const char* kOldSettingsKey = "SOFTWARE\\ZudavO2\\Settings\\";
constexpr const char* kOldAppKey = "SOFTWARE\\ZudavO2\\App\\";

const char* OldNameOf(const char* pszKey)
{
    return std::strcmp(pszKey, kAppKey) == 0 ? kOldAppKey : kOldSettingsKey;
}

// Closes the key when it goes.
class CKeyCloser
{
public:
    explicit CKeyCloser(HKEY hKey) : m_hKey(hKey) {}
    ~CKeyCloser()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
    }
    CKeyCloser(const CKeyCloser&) = delete;
    CKeyCloser& operator=(const CKeyCloser&) = delete;

private:
    HKEY m_hKey;
};

// Copies the values of hFrom that hTo lacks; false when one could not be read or set.
bool CopyMissingValues(HKEY hFrom, HKEY hTo)
{
    std::vector<char> name(16384);
    std::vector<BYTE> data;
    bool bOk = true;
    for (DWORD dwIndex = 0;; ++dwIndex)
    {
        DWORD cchName = static_cast<DWORD>(name.size()), dwType = 0, cbData = 0;
        LSTATUS rc = RegEnumValue(hFrom, dwIndex, name.data(), &cchName, nullptr, &dwType, nullptr, &cbData);
        if (rc == ERROR_NO_MORE_ITEMS)
            return bOk;
        if (rc == ERROR_SUCCESS && RegQueryValueEx(hTo, name.data(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            continue;  // the current key's own value is the newer one
        data.resize(cbData);
        cchName = static_cast<DWORD>(name.size());
        if (rc == ERROR_SUCCESS)
            rc = RegEnumValue(hFrom, dwIndex, name.data(), &cchName, nullptr, &dwType, data.data(), &cbData);
        if (rc == ERROR_SUCCESS)
            rc = RegSetValueEx(hTo, name.data(), 0, dwType, data.data(), cbData);
        bOk = bOk && rc == ERROR_SUCCESS;
    }
}
}  // namespace

HKEY OpenOldKey(HKEY hRoot, const char* pszKey)
{
    HKEY hKey = nullptr;
    return RegOpenKeyEx(hRoot, OldNameOf(pszKey), 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS ? hKey : nullptr;
}

bool OpenKeyForReading(HKEY hRoot, const char* pszKey, HKEY* phKey)
{
    const LSTATUS rc = RegOpenKeyEx(hRoot, pszKey, 0, KEY_QUERY_VALUE, phKey);
    if (rc != ERROR_FILE_NOT_FOUND)
        return rc == ERROR_SUCCESS;
    return RegOpenKeyEx(hRoot, OldNameOf(pszKey), 0, KEY_QUERY_VALUE, phKey) == ERROR_SUCCESS;
}

bool MoveOldSettings()
{
    const HKEY hOld = OpenOldKey(HKEY_CURRENT_USER, kSettingsKey);
    if (!hOld)
        return true;
    bool bCopied = false;
    {
        const CKeyCloser closeOld(hOld);
        HKEY hNew = nullptr;
        if (RegCreateKeyEx(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_EXCLUSIVE, KEY_ALL_ACCESS,
                           nullptr, &hNew, nullptr) != ERROR_SUCCESS)
            return false;
        bCopied = CopyMissingValues(hOld, hNew);
        bCopied = RegCloseKey(hNew) == ERROR_SUCCESS && bCopied;
    }
    // Deleted only once the copy is on disk: a failure in between leaves both,
    // and the next start copies again what is still missing.
    if (!bCopied || RegDeleteKey(HKEY_CURRENT_USER, kOldSettingsKey) != ERROR_SUCCESS)
        return false;
    RegDeleteKey(HKEY_CURRENT_USER, kOldVendorKey);  // fails, harmlessly, while it holds other keys
    return true;
}

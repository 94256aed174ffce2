#include "RegistryProbe.h"
#include <fstream>
#include <sstream>

LSTATUS RegProbePut(HKEY hRoot, const std::string& strKey, const std::string& strName, DWORD dwType,
                    const std::vector<BYTE>& data)
{
    HKEY hKey = nullptr;
    LSTATUS rc = RegCreateKeyEx(hRoot, strKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                nullptr, &hKey, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueEx(hKey, strName.c_str(), 0, dwType, data.data(), static_cast<DWORD>(data.size()));
    const LSTATUS rcClose = RegCloseKey(hKey);
    return rc != ERROR_SUCCESS ? rc : rcClose;
}

LSTATUS RegProbePutDword(HKEY hRoot, const std::string& strKey, const std::string& strName, DWORD dw)
{
    return RegProbePut(hRoot, strKey, strName, REG_DWORD,
                       {BYTE(dw), BYTE(dw >> 8), BYTE(dw >> 16), BYTE(dw >> 24)});
}

std::optional<CRegProbeValue> RegProbeGet(HKEY hRoot, const std::string& strKey, const std::string& strName)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(hRoot, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return std::nullopt;
    CRegProbeValue value;
    DWORD cb = 0;
    LSTATUS rc = RegQueryValueEx(hKey, strName.c_str(), nullptr, &value.dwType, nullptr, &cb);
    if (rc == ERROR_SUCCESS)
    {
        value.data.resize(cb);
        rc = RegQueryValueEx(hKey, strName.c_str(), nullptr, &value.dwType, value.data.data(), &cb);
    }
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::vector<BYTE> RegProbeBytes(const std::string& text, bool bWithNul)
{
    std::vector<BYTE> bytes(text.begin(), text.end());
    if (bWithNul)
        bytes.push_back(0);
    return bytes;
}

std::string RegProbeReadFile(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void RegProbeWriteFile(const std::string& strPath, const std::string& text)
{
    std::ofstream(strPath, std::ios::binary) << text;
}

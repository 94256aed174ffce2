#pragma once
// The content of one registry hive: its keys in file order, each with its
// values in the order they were first set. Key paths are relative to the
// hive's root, components joined by '\'. Paths and value names compare without
// regard to ASCII case; the spelling first used is kept. Keys and values are
// indexed by their folded names, so finding, setting and adding cost O(1) on
// average (O(length of the name)) and loading a hive is linear in its size.
#include "platform/WinTypes.h"
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct CRegValue
{
    std::string strName;
    DWORD dwType = 0;
    std::vector<BYTE> data;  // exact bytes, any length
};

class CRegKeyData
{
public:
    explicit CRegKeyData(std::string strPath = {}) : m_strPath(std::move(strPath)) {}

    const std::string& Path() const { return m_strPath; }
    // In the order they were first set.
    const std::vector<CRegValue>& Values() const { return m_values; }

    const CRegValue* FindValue(std::string_view name) const;
    // Replaces the value of that name, or appends it.
    void SetValue(CRegValue value);
    // False when there is no such value. Linear in the number of values.
    bool DeleteValue(std::string_view name);

private:
    std::string m_strPath;
    std::vector<CRegValue> m_values;
    std::unordered_map<std::string, std::size_t> m_index;  // folded name → position in m_values
};

class CRegHive
{
public:
    // The key with exactly this path, or null.
    const CRegKeyData* FindKey(std::string_view path) const;
    CRegKeyData* FindKey(std::string_view path);
    // True when the path is a key or an ancestor of one (the root always
    // exists). Linear in the number of keys.
    bool HasKey(std::string_view path) const;
    // The key with this path, appended empty when missing.
    CRegKeyData& AddKey(std::string_view path);
    // True when keys lie below the path. Linear in the number of keys.
    bool HasSubKeys(std::string_view path) const;
    // Removes the key with its values; false when there is no such key or it
    // has keys below it. Linear in the number of keys.
    bool DeleteKey(std::string_view path);

    const std::vector<CRegKeyData>& Keys() const { return m_keys; }

private:
    std::vector<CRegKeyData> m_keys;
    std::unordered_map<std::string, std::size_t> m_index;  // folded path → position in m_keys
};

// ASCII case-insensitive equality, the registry's rule for names.
bool RegNameEqual(std::string_view a, std::string_view b);

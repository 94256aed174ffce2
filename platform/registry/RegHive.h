#pragma once
// The content of one registry hive: its keys in file order, each with its
// values in the order they were first set. Key paths are relative to the
// hive's root, components joined by '\'. Paths and value names compare without
// regard to ASCII case; the spelling first used is kept.
#include "platform/WinTypes.h"
#include <string>
#include <string_view>
#include <vector>

struct CRegValue
{
    std::string strName;
    DWORD dwType = 0;
    std::vector<BYTE> data;  // exact bytes, any length
};

struct CRegKeyData
{
    std::string strPath;
    std::vector<CRegValue> values;

    const CRegValue* FindValue(std::string_view name) const;
    // Replaces the value of that name, or appends it.
    void SetValue(const CRegValue& value);
};

class CRegHive
{
public:
    // The key with exactly this path, or null. Linear in the number of keys.
    const CRegKeyData* FindKey(std::string_view path) const;
    // True when the path is a key or an ancestor of one (the root always exists).
    bool HasKey(std::string_view path) const;
    // The key with this path, appended empty when missing.
    CRegKeyData& AddKey(std::string_view path);

    const std::vector<CRegKeyData>& Keys() const { return m_keys; }

private:
    std::vector<CRegKeyData> m_keys;
};

// ASCII case-insensitive equality, the registry's rule for names.
bool RegNameEqual(std::string_view a, std::string_view b);

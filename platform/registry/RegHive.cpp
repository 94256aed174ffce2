#include "platform/registry/RegHive.h"
#include <algorithm>

namespace
{
char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool RegNameEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

const CRegValue* CRegKeyData::FindValue(std::string_view name) const
{
    for (const CRegValue& v : values)
        if (RegNameEqual(v.strName, name))
            return &v;
    return nullptr;
}

void CRegKeyData::SetValue(const CRegValue& value)
{
    for (CRegValue& v : values)
        if (RegNameEqual(v.strName, value.strName))
        {
            v.dwType = value.dwType;
            v.data = value.data;
            return;
        }
    values.push_back(value);
}

const CRegKeyData* CRegHive::FindKey(std::string_view path) const
{
    for (const CRegKeyData& k : m_keys)
        if (RegNameEqual(k.strPath, path))
            return &k;
    return nullptr;
}

bool CRegHive::HasKey(std::string_view path) const
{
    if (path.empty())
        return true;
    for (const CRegKeyData& k : m_keys)
    {
        const std::string_view keyPath = k.strPath;
        if (RegNameEqual(keyPath, path))
            return true;
        if (keyPath.size() > path.size() && keyPath[path.size()] == '\\'
            && RegNameEqual(keyPath.substr(0, path.size()), path))
            return true;
    }
    return false;
}

CRegKeyData& CRegHive::AddKey(std::string_view path)
{
    for (CRegKeyData& k : m_keys)
        if (RegNameEqual(k.strPath, path))
            return k;
    m_keys.push_back(CRegKeyData{std::string(path), {}});
    return m_keys.back();
}

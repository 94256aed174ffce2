#include "platform/registry/RegHive.h"
#include <algorithm>

namespace
{
char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii);
    return folded;
}

// Positions after an erased element move down by one.
void EraseFromIndex(std::unordered_map<std::string, std::size_t>& index, std::size_t nErased)
{
    for (auto it = index.begin(); it != index.end();)
    {
        if (it->second == nErased)
            it = index.erase(it);
        else
        {
            if (it->second > nErased)
                --it->second;
            ++it;
        }
    }
}

bool IsBelow(std::string_view path, std::string_view ancestor)
{
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\'
        && RegNameEqual(path.substr(0, ancestor.size()), ancestor);
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
    const auto it = m_index.find(Folded(name));
    return it == m_index.end() ? nullptr : &m_values[it->second];
}

void CRegKeyData::SetValue(CRegValue value)
{
    const auto [it, bAdded] = m_index.try_emplace(Folded(value.strName), m_values.size());
    if (bAdded)
    {
        m_values.push_back(std::move(value));
        return;
    }
    CRegValue& stored = m_values[it->second];
    stored.dwType = value.dwType;
    stored.data = std::move(value.data);
}

bool CRegKeyData::DeleteValue(std::string_view name)
{
    const auto it = m_index.find(Folded(name));
    if (it == m_index.end())
        return false;
    const std::size_t nPos = it->second;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(nPos));
    EraseFromIndex(m_index, nPos);
    return true;
}

const CRegKeyData* CRegHive::FindKey(std::string_view path) const
{
    const auto it = m_index.find(Folded(path));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

CRegKeyData* CRegHive::FindKey(std::string_view path)
{
    const auto it = m_index.find(Folded(path));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

bool CRegHive::HasKey(std::string_view path) const
{
    return path.empty() || FindKey(path) || HasSubKeys(path);
}

bool CRegHive::HasSubKeys(std::string_view path) const
{
    return std::any_of(m_keys.begin(), m_keys.end(),
                       [path](const CRegKeyData& k) { return IsBelow(k.Path(), path); });
}

CRegKeyData& CRegHive::AddKey(std::string_view path)
{
    const auto [it, bAdded] = m_index.try_emplace(Folded(path), m_keys.size());
    if (bAdded)
        m_keys.emplace_back(std::string(path));
    return m_keys[it->second];
}

bool CRegHive::DeleteKey(std::string_view path)
{
    const auto it = m_index.find(Folded(path));
    if (it == m_index.end() || HasSubKeys(path))
        return false;
    const std::size_t nPos = it->second;
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(nPos));
    EraseFromIndex(m_index, nPos);
    return true;
}

#include "app/HistoryTable.h"
#include "app/RegistryKeys.h"
#include "app/SettingsMigration.h"
#include <algorithm>
#include <cstdint>
#include <cstring>

CHistoryTable g_history;

namespace
{
bool EqualNoCase(const std::string& a, const std::string& b)
{
    const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [&fold](char x, char y) { return fold(x) == fold(y); });
}
}  // namespace

void CHistoryTable::Init(const std::string& strName, int nColumns, int nCapacity)
{
    m_strName = strName;
    m_nColumns = std::max(nColumns, 0);
    m_nCapacity = std::max(nCapacity, 0);
    Load();
}

std::string CHistoryTable::CountValueName() const
{
    return "CacheSize-" + m_strName;
}

std::string CHistoryTable::CellValueName(int nColumn, int nRow) const
{
    return "Cache(" + m_strName + ")" + std::to_string(nColumn) + "-" + std::to_string(nRow);
}

bool CHistoryTable::Load()
{
    m_rows.clear();
    m_additions.clear();
    HKEY hKey = nullptr;
    if (!OpenKeyForReading(HKEY_CURRENT_USER, kSettingsKey, &hKey))
        return false;
    ReadRows(hKey);
    RegCloseKey(hKey);
    return true;
}

void CHistoryTable::ReadRows(HKEY hKey)
{
    std::int32_t nStored = 0;
    DWORD cbCount = sizeof nStored;
    if (RegQueryValueEx(hKey, CountValueName().c_str(), nullptr, nullptr,
                        reinterpret_cast<BYTE*>(&nStored), &cbCount) != ERROR_SUCCESS)
        nStored = 0;
    // A count from a damaged or foreign hive must never reach past the table.
    m_rows.assign(std::clamp<std::int32_t>(nStored, 0, m_nCapacity), CHistoryRow{std::vector<std::string>(m_nColumns)});
    for (int nRow = 0; nRow < Count(); ++nRow)
        for (int nColumn = 0; nColumn < m_nColumns; ++nColumn)
        {
            char buf[kCellBytes] = {};
            DWORD cb = kCellBytes;
            if (RegQueryValueEx(hKey, CellValueName(nColumn, nRow).c_str(), nullptr, nullptr,
                                reinterpret_cast<BYTE*>(buf), &cb) == ERROR_SUCCESS)
                m_rows[nRow].texts[nColumn].assign(buf, strnlen(buf, kMaxCellText));
        }
}

bool CHistoryTable::WriteRows(HKEY hKey) const
{
    const std::int32_t nCount = Count();
    bool bOk = RegSetValueEx(hKey, CountValueName().c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&nCount), sizeof nCount) == ERROR_SUCCESS;
    for (int nRow = 0; nRow < nCount; ++nRow)
        for (int nColumn = 0; nColumn < m_nColumns; ++nColumn)
        {
            const std::string& text = m_rows[nRow].texts[nColumn];
            BYTE buf[kCellBytes] = {};
            std::memcpy(buf, text.data(), std::min<std::size_t>(text.size(), kMaxCellText));
            bOk = RegSetValueEx(hKey, CellValueName(nColumn, nRow).c_str(), 0, REG_DWORD, buf, kCellBytes)
                      == ERROR_SUCCESS
                && bOk;
        }
    return bOk;
}

bool CHistoryTable::Save(HKEY hKey)
{
    if (m_strName.empty() || m_additions.empty())
        return true;
    ReadRows(hKey);
    for (CHistoryRow& row : m_additions)
        PutOnTop(std::move(row));
    m_additions.clear();
    return WriteRows(hKey);
}

bool CHistoryTable::Save()
{
    if (m_strName.empty() || m_additions.empty())
        return true;
    HKEY hKey = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_EXCLUSIVE, KEY_ALL_ACCESS,
                       nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return false;
    const bool bWritten = Save(hKey);
    return RegCloseKey(hKey) == ERROR_SUCCESS && bWritten;
}

void CHistoryTable::Release()
{
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_additions.clear();
    m_nCapacity = 0;
    m_strName.clear();
}

void CHistoryTable::PutOnTop(CHistoryRow row)
{
    const auto same = std::find_if(m_rows.begin(), m_rows.end(), [&row](const CHistoryRow& r) {
        return EqualNoCase(r.texts[0], row.texts[0]);
    });
    if (same != m_rows.end())
        m_rows.erase(same);
    else if (Count() == m_nCapacity)
        m_rows.pop_back();
    m_rows.insert(m_rows.begin(), std::move(row));
}

void CHistoryTable::AddEntry(const std::vector<std::string>& texts)
{
    if (m_nCapacity == 0 || m_nColumns == 0)
        return;
    CHistoryRow row{std::vector<std::string>(m_nColumns)};
    for (std::size_t j = 0; j < row.texts.size() && j < texts.size(); ++j)
        row.texts[j] = texts[j].substr(0, kMaxCellText);
    m_additions.push_back(row);
    PutOnTop(std::move(row));
}

int CHistoryTable::FindRow(const std::string& strKey) const
{
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [&strKey](const CHistoryRow& r) {
        return EqualNoCase(r.texts[0], strKey);
    });
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

const std::string& CHistoryTable::Cell(int nColumn, int nRow) const
{
    static const std::string kEmpty;
    if (nColumn < 0 || nColumn >= m_nColumns || nRow < 0 || nRow >= Count())
        return kEmpty;
    return m_rows[static_cast<std::size_t>(nRow)].texts[static_cast<std::size_t>(nColumn)];
}

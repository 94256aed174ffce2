#include "app/HistoryTable.h"
#include "app/RegistryKeys.h"
#include "platform/registry/Registry.h"
#include <algorithm>
#include <cstdint>
#include <cstring>

HistoryTable g_history;

namespace
{
HKEY OpenSettingsKey()
{
    HKEY hKey = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [&fold](char x, char y) { return fold(x) == fold(y); });
}
}  // namespace

void HistoryTable::Init(const std::string& strName, int nColumns, int nCapacity)
{
    m_nCount = 0;
    m_strName = strName;
    m_nColumns = std::max(nColumns, 0);
    m_nCapacity = std::max(nCapacity, 0);
    Load();
}

std::string HistoryTable::CountValueName() const
{
    return "CacheSize-" + m_strName;
}

std::string HistoryTable::CellValueName(int nColumn, int nRow) const
{
    return "Cache(" + m_strName + ")" + std::to_string(nColumn) + "-" + std::to_string(nRow);
}

void HistoryTable::Load()
{
    m_nCount = 0;
    m_cells.assign(static_cast<std::size_t>(m_nCapacity) * m_nColumns, std::string());
    const HKEY hKey = OpenSettingsKey();
    if (!hKey)
        return;
    std::int32_t nStored = 0;
    DWORD cbCount = sizeof nStored;
    if (RegQueryValueEx(hKey, CountValueName().c_str(), nullptr, nullptr,
                        reinterpret_cast<BYTE*>(&nStored), &cbCount) != ERROR_SUCCESS)
        nStored = 0;
    // A count from a damaged or foreign hive must never reach past the cells.
    m_nCount = std::clamp<std::int32_t>(nStored, 0, m_nCapacity);
    for (int nRow = 0; nRow < m_nCount; ++nRow)
        for (int nColumn = 0; nColumn < m_nColumns; ++nColumn)
        {
            char buf[kCellBytes] = {};
            DWORD cb = kCellBytes;
            if (RegQueryValueEx(hKey, CellValueName(nColumn, nRow).c_str(), nullptr, nullptr,
                                reinterpret_cast<BYTE*>(buf), &cb) == ERROR_SUCCESS)
                At(nColumn, nRow).assign(buf, strnlen(buf, kMaxCellText));
        }
    RegCloseKey(hKey);
}

void HistoryTable::Save() const
{
    if (m_strName.empty())
        return;
    const HKEY hKey = OpenSettingsKey();
    if (!hKey)
        return;
    const std::int32_t nCount = m_nCount;
    RegSetValueEx(hKey, CountValueName().c_str(), 0, REG_DWORD,
                  reinterpret_cast<const BYTE*>(&nCount), sizeof nCount);
    for (int nRow = 0; nRow < m_nCount; ++nRow)
        for (int nColumn = 0; nColumn < m_nColumns; ++nColumn)
        {
            const std::string& text = Cell(nColumn, nRow);
            BYTE buf[kCellBytes] = {};
            std::memcpy(buf, text.data(), std::min<std::size_t>(text.size(), kMaxCellText));
            RegSetValueEx(hKey, CellValueName(nColumn, nRow).c_str(), 0, REG_DWORD, buf, kCellBytes);
        }
    RegCloseKey(hKey);
}

void HistoryTable::Release()
{
    m_cells.clear();
    m_cells.shrink_to_fit();
    m_nCount = 0;
    m_nCapacity = 0;
    m_strName.clear();
}

void HistoryTable::MoveRowsDown(int nFirstRow, int nLastRow)
{
    for (int nRow = nLastRow; nRow >= nFirstRow; --nRow)
        for (int nColumn = 0; nColumn < m_nColumns; ++nColumn)
            At(nColumn, nRow + 1) = std::move(At(nColumn, nRow));
}

void HistoryTable::AddEntry(const std::vector<std::string>& texts)
{
    if (m_cells.empty())
        return;
    std::vector<std::string> row(m_nColumns);
    for (std::size_t j = 0; j < row.size() && j < texts.size(); ++j)
        row[j] = texts[j].substr(0, kMaxCellText);

    const int nFound = FindRow(row[0]);
    if (nFound >= 0)
        MoveRowsDown(0, nFound - 1);
    else if (m_nCount < m_nCapacity)
        MoveRowsDown(0, m_nCount++ - 1);
    else
        MoveRowsDown(0, m_nCapacity - 2);
    for (int nColumn = 0; nColumn < m_nColumns; ++nColumn)
        At(nColumn, 0) = std::move(row[nColumn]);
}

int HistoryTable::FindRow(const std::string& strKey) const
{
    for (int nRow = 0; nRow < m_nCount; ++nRow)
        if (EqualNoCase(m_cells[nRow * m_nColumns], strKey))
            return nRow;
    return -1;
}

const std::string& HistoryTable::Cell(int nColumn, int nRow) const
{
    static const std::string kEmpty;
    if (nColumn < 0 || nColumn >= m_nColumns || nRow < 0 || nRow >= m_nCapacity || m_cells.empty())
        return kEmpty;
    return m_cells[static_cast<std::size_t>(nRow) * m_nColumns + nColumn];
}

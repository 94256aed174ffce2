#include "snmp/NamePathRows.h"

std::vector<std::string> CNamePathRows::Components(const std::string& strName)
{
    std::vector<std::string> components;
    std::size_t nStart = 0;
    for (std::size_t i = 1; i <= strName.size(); ++i) {
        if (i == strName.size() || strName[i] == '.') {
            components.push_back(strName.substr(nStart, i - nStart));
            nStart = i + 1;
        }
    }
    return components;
}

void CNamePathRows::Add(const CWalkRecord& record)
{
    std::vector<std::string> components = Components(record.m_strName);
    if (components.empty())
        return;
    std::size_t nFirst = 0;
    while (nFirst < components.size() && nFirst < m_prev.size() && components[nFirst] == m_prev[nFirst])
        ++nFirst;
    if (nFirst == components.size())
        --nFirst;
    for (std::size_t i = nFirst; i < components.size(); ++i)
        m_sink(static_cast<int>(i), components[i], i + 1 == components.size() ? &record : nullptr);
    m_prev = std::move(components);
}

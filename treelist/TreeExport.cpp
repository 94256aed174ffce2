#include "treelist/TreeExport.h"
#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t nMore = 0;
        unsigned nCode = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF)
            nMore = 1, nCode = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            nMore = 2, nCode = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            nMore = 3, nCode = c & 0x07;
        else
            return false;
        if (i + nMore >= s.size())
            return false;
        for (std::size_t k = 1; k <= nMore; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            nCode = (nCode << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and codes past U+10FFFF are not UTF-8.
        const unsigned nLeast[] = {0, 0x80, 0x800, 0x10000};
        if (nCode < nLeast[nMore] || (nCode >= 0xD800 && nCode <= 0xDFFF) || nCode > 0x10FFFF)
            return false;
        i += nMore + 1;
    }
    return true;
}

bool NeedsCsvQuotes(std::string_view s)
{
    return s.find_first_of(",\"\r\n") != std::string_view::npos;
}

void AppendJsonString(std::string& strOut, std::string_view s)
{
    strOut += '"';
    for (const char c : s) {
        switch (c) {
        case '"': strOut += "\\\""; break;
        case '\\': strOut += "\\\\"; break;
        case '\n': strOut += "\\n"; break;
        case '\r': strOut += "\\r"; break;
        case '\t': strOut += "\\t"; break;
        case '\b': strOut += "\\b"; break;
        case '\f': strOut += "\\f"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                strOut += buf;
            } else {
                strOut += c;
            }
        }
    }
    strOut += '"';
}

} // namespace

std::string CTreeExport::ToUtf8(std::string_view strText)
{
    if (IsValidUtf8(strText))
        return std::string(strText);
    std::string strOut;
    strOut.reserve(strText.size() * 2);
    for (const char c : strText) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            strOut += c;
        } else {
            strOut += static_cast<char>(0xC0 | (b >> 6));
            strOut += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return strOut;
}

bool CTreeExport::FormatOfFileName(const std::string& strFileName, EFormat& eFormat)
{
    const auto EndsWith = [&](std::string_view strExt) {
        if (strFileName.size() < strExt.size())
            return false;
        return std::equal(strExt.begin(), strExt.end(), strFileName.end() - strExt.size(),
                          [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    if (EndsWith(".csv"))
        eFormat = efCsv;
    else if (EndsWith(".json"))
        eFormat = efJson;
    else
        return false;
    return true;
}

CTreeExport::CTreeExport(EFormat eFormat, std::vector<std::string> titles, std::vector<std::string> keys, Sink sink)
    : m_eFormat(eFormat), m_titles(std::move(titles)), m_keys(std::move(keys)), m_sink(std::move(sink))
{
    if (m_eFormat == efCsv) {
        std::vector<std::string_view> header{"Depth"};
        header.insert(header.end(), m_titles.begin(), m_titles.end());
        CsvRow(header);
    } else {
        m_sink("[");
    }
}

void CTreeExport::Node(int nDepth, std::string_view strLabel, const std::vector<std::string>& cells)
{
    if (m_eFormat == efJson) {
        JsonOpen(nDepth, strLabel, cells);
        return;
    }
    const std::string strDepth = std::to_string(nDepth);
    std::vector<std::string> texts{ToUtf8(strLabel)};
    for (std::size_t i = 0; i + 1 < m_titles.size(); ++i)
        texts.push_back(i < cells.size() ? ToUtf8(cells[i]) : std::string());
    std::vector<std::string_view> fields{strDepth};
    fields.insert(fields.end(), texts.begin(), texts.end());
    CsvRow(fields);
}

void CTreeExport::CsvRow(const std::vector<std::string_view>& fields)
{
    std::string strRow;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            strRow += ',';
        if (!NeedsCsvQuotes(fields[i])) {
            strRow += fields[i];
            continue;
        }
        strRow += '"';
        for (const char c : fields[i]) {
            if (c == '"')
                strRow += '"';
            strRow += c;
        }
        strRow += '"';
    }
    strRow += "\r\n";
    m_sink(strRow);
}

void CTreeExport::JsonOpen(int nDepth, std::string_view strLabel, const std::vector<std::string>& cells)
{
    nDepth = std::clamp(nDepth, 0, m_nOpen);
    const bool bSibling = nDepth < m_nOpen;  // else the first child of the open node
    JsonCloseTo(nDepth);
    std::string strNode = bSibling ? ",\n" : "\n";
    strNode.append(static_cast<std::size_t>(nDepth) * 2, ' ');
    strNode += '{';
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        AppendJsonString(strNode, m_keys[i]);
        strNode += ':';
        const std::string_view strText = i == 0 ? strLabel : i - 1 < cells.size() ? std::string_view(cells[i - 1]) : "";
        AppendJsonString(strNode, ToUtf8(strText));
        strNode += ',';
    }
    strNode += "\"children\":[";
    m_sink(strNode);
    m_bFirst = false;
    ++m_nOpen;
}

void CTreeExport::JsonCloseTo(int nDepth)
{
    if (m_nOpen <= nDepth)
        return;
    std::string strClose;
    for (; m_nOpen > nDepth; --m_nOpen)
        strClose += "]}";
    m_sink(strClose);
}

void CTreeExport::Finish()
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    if (m_eFormat == efJson) {
        JsonCloseTo(0);
        m_sink(m_bFirst ? "]\n" : "\n]\n");
    }
}

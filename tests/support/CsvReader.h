#pragma once
// An RFC 4180 reader for tests: records of fields, quoted fields with doubled
// quotes and line ends inside, CRLF (or LF) between records. Independent of
// the code that writes CSV, so a test reads the text as any other reader would.
#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> ReadCsv(const std::string& strText)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    std::string field;
    bool bQuoted = false, bAny = false;
    for (std::size_t i = 0; i < strText.size(); ++i) {
        const char c = strText[i];
        if (bQuoted) {
            if (c == '"' && i + 1 < strText.size() && strText[i + 1] == '"')
                field += '"', ++i;
            else if (c == '"')
                bQuoted = false;
            else
                field += c;
            continue;
        }
        bAny = true;
        if (c == '"') {
            bQuoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < strText.size() && strText[i + 1] == '\n')
                ++i;
            fields.push_back(field);
            field.clear();
            records.push_back(fields);
            fields.clear();
            bAny = false;
        } else {
            field += c;
        }
    }
    if (bAny) {
        fields.push_back(field);
        records.push_back(fields);
    }
    return records;
}

#include "treelist/LineText.h"

void AppendLineField(std::string& strOut, std::string_view strField)
{
    std::size_t nRun = 0;
    for (std::size_t i = 0; i < strField.size(); ++i) {
        char cEscape;
        switch (strField[i]) {
        case '\\': cEscape = '\\'; break;
        case '\t': cEscape = 't'; break;
        case '\n': cEscape = 'n'; break;
        case '\r': cEscape = 'r'; break;
        default: continue;
        }
        strOut.append(strField.substr(nRun, i - nRun));
        strOut += '\\';
        strOut += cEscape;
        nRun = i + 1;
    }
    strOut.append(strField.substr(nRun));
}

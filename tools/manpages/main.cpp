// manpages: writes orvex.1 and orvex-walk.1 (roff, man macros) into a folder,
// from the same descriptions --help prints. Usage: manpages <folder>
#include "app/CommandLineHelp.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Text as roff reads it literally: backslashes escaped, dashes of options and
// numbers as minus signs, and no line taken for a request.
std::string Roff(const std::string& strText)
{
    std::string strOut;
    bool bWordStart = true, bDashWord = false;
    for (const char c : strText) {
        if (bWordStart)
            bDashWord = c == '-';
        bWordStart = c == ' ' || c == '\n';
        if (c == '\\')
            strOut += "\\e";
        else if (c == '-' && bDashWord)
            strOut += "\\-";
        else
            strOut += c;
        if (c == '\n')
            bDashWord = false;
    }
    return strOut;
}

// One line of running text, guarded against a leading "." or "'".
std::string TextLine(const std::string& strText)
{
    return "\\&" + Roff(strText) + "\n";
}

std::string Paragraphs(const std::string& strText)
{
    std::string strOut;
    for (std::size_t i = 0; i <= strText.size();) {
        const std::size_t nEnd = std::min(strText.find("\n\n", i), strText.size());
        strOut += (i == 0 ? "" : ".PP\n") + TextLine(strText.substr(i, nEnd - i));
        i = nEnd + 2;
    }
    return strOut;
}

std::string Upper(std::string str)
{
    for (char& c : str)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return str;
}

std::string OptionTag(const COptionHelp& option)
{
    std::string strTag;
    for (const std::string& strName : OptionNames(option))
        strTag += (strTag.empty() ? "" : ", ") + ("\\fB" + Roff(strName) + "\\fR");
    if (*option.pszValue)
        strTag += " \\fI" + Roff(option.pszValue) + "\\fR";
    return strTag;
}

std::string NamedList(const char* pszSection, const std::vector<CNamedHelp>& items)
{
    if (items.empty())
        return {};
    std::string strOut = std::string(".SH ") + pszSection + "\n";
    for (const CNamedHelp& item : items)
        strOut += ".TP\n\\fB" + Roff(item.pszName) + "\\fR\n" + TextLine(item.pszText);
    return strOut;
}

std::string ManPage(const CProgramHelp& help)
{
    const std::string strName = help.pszName;
    std::string strOut = ".TH " + Roff(Upper(strName)) + " 1 \"\" \"Orvex " ORVEX_VERSION "\" \"User Commands\"\n";
    strOut += ".nh\n.ad l\n.SH NAME\n" + Roff(strName) + " \\- " + Roff(help.pszSummary) + "\n";
    strOut += ".SH SYNOPSIS\n.nf\n";
    for (const char* pszLine : help.synopsis)
        strOut += "\\fB" + Roff(strName) + "\\fR " + Roff(pszLine) + "\n";
    strOut += ".fi\n.SH DESCRIPTION\n" + Paragraphs(help.pszDescription);
    strOut += ".SH OPTIONS\n";
    for (const COptionGroupHelp& group : help.groups) {
        strOut += std::string(".SS ") + Roff(group.pszHeading) + "\n";
        for (const COptionHelp& option : group.options)
            strOut += ".TP\n" + OptionTag(option) + "\n" + TextLine(option.pszText);
    }
    strOut += ".SH \"EXIT STATUS\"\n";
    for (const CExitCodeHelp& exit : help.exitCodes)
        strOut += ".TP\n.B " + std::to_string(exit.nCode) + "\n" + TextLine(exit.pszText);
    strOut += NamedList("ENVIRONMENT", help.environment);
    strOut += NamedList("FILES", help.files);
    strOut += ".SH \"SEE ALSO\"\n";
    for (std::size_t i = 0; i < help.seeAlso.size(); ++i) {
        const std::string strRef = help.seeAlso[i];
        const std::size_t nParen = strRef.find('(');
        strOut += ".BR " + Roff(strRef.substr(0, nParen)) + " " + strRef.substr(nParen) +
                  (i + 1 < help.seeAlso.size() ? "," : "") + "\n";
    }
    return strOut;
}

bool Write(const std::string& strFolder, const CProgramHelp& help)
{
    const std::string strFile = strFolder + "/" + help.pszName + ".1";
    std::ofstream out(strFile, std::ios::binary);
    out << ManPage(help);
    out.close();
    if (!out) {
        std::fprintf(stderr, "manpages: cannot write %s\n", strFile.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: manpages <folder>\n", stderr);
        return 2;
    }
    return Write(argv[1], OrvexHelp()) && Write(argv[1], OrvexWalkHelp()) ? 0 : 1;
}

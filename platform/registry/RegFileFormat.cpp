#include "platform/registry/RegFileFormat.h"
#include "platform/registry/Registry.h"
#include <cstdio>
#include <optional>

namespace
{
constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kLineWidth = 80;
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsPrintable(unsigned char c)
{
    return c >= 0x20 && c <= 0x7E;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte written as two hex digits at s[pos], or -1.
int HexPair(std::string_view s, std::size_t pos)
{
    if (pos + 1 >= s.size() || HexValue(s[pos]) < 0 || HexValue(s[pos + 1]) < 0)
        return -1;
    return HexValue(s[pos]) * 16 + HexValue(s[pos + 1]);
}

// 1 to 8 hex digits, nothing else.
std::optional<DWORD> ParseHexNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    DWORD n = 0;
    for (char c : digits)
    {
        if (HexValue(c) < 0)
            return std::nullopt;
        n = n * 16 + static_cast<DWORD>(HexValue(c));
    }
    return n;
}

void AppendHexByte(std::string& out, unsigned char b)
{
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0x0F];
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

// ---- writing ----

std::string EscapeKeyPath(const std::string& strPath)
{
    std::string out;
    for (unsigned char c : strPath)
    {
        if (c == '\\' || (IsPrintable(c) && c != '%'))
            out += static_cast<char>(c);
        else
        {
            out += '%';
            AppendHexByte(out, c);
        }
    }
    return out;
}

std::string QuoteText(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : text)
    {
        if (c == '\\' || c == '"')
        {
            out += '\\';
            out += static_cast<char>(c);
        }
        else if (IsPrintable(c))
            out += static_cast<char>(c);
        else
        {
            out += "\\x";
            AppendHexByte(out, c);
        }
    }
    return out + '"';
}

// A REG_SZ the plain quoted form holds exactly: printable ASCII and one final NUL.
bool IsQuotableString(const std::vector<BYTE>& data)
{
    if (data.empty() || data.back() != 0)
        return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i)
        if (!IsPrintable(data[i]))
            return false;
    return true;
}

// Comma-separated bytes, wrapped like the export format with "\" line ends.
void AppendHexList(std::string& out, const std::vector<BYTE>& data, std::size_t column)
{
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        AppendHexByte(out, data[i]);
        column += 2;
        if (i + 1 == data.size())
            break;
        out += ',';
        ++column;
        if (column + 4 > kLineWidth)
        {
            out += "\\\n  ";
            column = 2;
        }
    }
}

std::string FormatData(const CRegValue& value, std::size_t column)
{
    const std::vector<BYTE>& data = value.data;
    if (value.dwType == REG_DWORD && data.size() == 4)
    {
        const DWORD dw = data[0] | (data[1] << 8) | (data[2] << 16) | (DWORD{data[3]} << 24);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", dw);
        return buf;
    }
    if (value.dwType == REG_SZ && IsQuotableString(data))
        return QuoteText(std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1));
    std::string out = "hex:";
    if (value.dwType != REG_BINARY)
    {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", value.dwType);
        out = buf;
    }
    AppendHexList(out, data, column + out.size());
    return out;
}

// ---- reading ----

class CHiveParser
{
public:
    CHiveParser(const std::string& text, const std::string& strRoot);
    bool Parse(CRegHive& hive);
    const std::string& Error() const { return m_strError; }

private:
    bool Fail(const std::string& reason);
    bool ParseSection(std::string_view line, CRegHive& hive);
    bool ParseValue(CRegHive& hive);
    bool ParseQuoted(std::string_view s, std::size_t& pos, std::string& out);
    bool ParseData(std::string_view data, CRegValue& value);
    bool ParseHexList(std::string_view list, std::vector<BYTE>& out);

    std::vector<std::string_view> m_lines;
    std::size_t m_nLine = 0;  // index of the line being parsed
    std::string m_strRoot;
    std::string m_strKey;     // path of the current section
    bool m_bInSection = false;
    std::string m_strError;
};

CHiveParser::CHiveParser(const std::string& text, const std::string& strRoot) : m_strRoot(strRoot)
{
    std::string_view rest = text;
    if (rest.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        rest.remove_prefix(kByteOrderMark.size());
    while (!rest.empty())
    {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.push_back(line);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
}

bool CHiveParser::Fail(const std::string& reason)
{
    m_strError = "line " + std::to_string(m_nLine + 1) + ": " + reason;
    return false;
}

bool CHiveParser::Parse(CRegHive& hive)
{
    while (m_nLine < m_lines.size() && TrimRight(m_lines[m_nLine]).empty())
        ++m_nLine;
    if (m_nLine == m_lines.size())
        return true;
    if (TrimRight(m_lines[m_nLine]) != kHeader)
        return Fail("missing the header \"" + std::string(kHeader) + "\"");
    for (++m_nLine; m_nLine < m_lines.size(); ++m_nLine)
    {
        const std::string_view line = TrimRight(m_lines[m_nLine]);
        if (line.empty() || line.front() == ';')
            continue;
        const bool bOk = line.front() == '[' ? ParseSection(line, hive)
                       : (line.front() == '"' || line.front() == '@') ? ParseValue(hive)
                       : Fail("neither a key nor a value");
        if (!bOk)
            return false;
    }
    return true;
}

bool CHiveParser::ParseSection(std::string_view line, CRegHive& hive)
{
    if (line.back() != ']')
        return Fail("key line without a closing ']'");
    std::string_view inner = line.substr(1, line.size() - 2);
    const std::size_t rootEnd = inner.find('\\');
    if (!RegNameEqual(inner.substr(0, rootEnd), m_strRoot))
        return Fail("key outside " + m_strRoot);
    std::string path;
    if (rootEnd != std::string_view::npos)
    {
        const std::string_view escaped = inner.substr(rootEnd + 1);
        for (std::size_t i = 0; i < escaped.size(); ++i)
        {
            const char c = escaped[i];
            const bool bEmptyName = c == '\\' && (path.empty() || path.back() == '\\');
            if (bEmptyName)
                return Fail("empty key name");
            if (c != '%')
            {
                path += c;
                continue;
            }
            const int byte = HexPair(escaped, i + 1);
            if (byte < 0 || byte == '\\')
                return Fail("bad %-escape in a key name");
            path += static_cast<char>(byte);
            i += 2;
        }
        if (path.empty() || path.back() == '\\')
            return Fail("empty key name");
    }
    hive.AddKey(path);
    m_strKey = path;
    m_bInSection = true;
    return true;
}

bool CHiveParser::ParseValue(CRegHive& hive)
{
    if (!m_bInSection)
        return Fail("value before any key");
    const std::string_view line = TrimRight(m_lines[m_nLine]);
    CRegValue value;
    std::size_t pos = 1;
    if (line.front() == '"')
    {
        pos = 0;
        if (!ParseQuoted(line, pos, value.strName))
            return false;
    }
    if (pos >= line.size() || line[pos] != '=')
        return Fail("expected '=' after the value name");
    if (!ParseData(line.substr(pos + 1), value))
        return false;
    hive.AddKey(m_strKey).SetValue(std::move(value));
    return true;
}

bool CHiveParser::ParseQuoted(std::string_view s, std::size_t& pos, std::string& out)
{
    for (++pos; pos < s.size(); ++pos)
    {
        const char c = s[pos];
        if (c == '"')
        {
            ++pos;
            return true;
        }
        if (c != '\\')
        {
            out += c;
            continue;
        }
        const char e = pos + 1 < s.size() ? s[pos + 1] : '\0';
        if (e == '\\' || e == '"')
        {
            out += e;
            ++pos;
        }
        else if (e == 'x' && HexPair(s, pos + 2) >= 0)
        {
            out += static_cast<char>(HexPair(s, pos + 2));
            pos += 3;
        }
        else
            return Fail("bad escape in quoted text");
    }
    return Fail("quoted text without its closing '\"'");
}

bool CHiveParser::ParseData(std::string_view data, CRegValue& value)
{
    if (!data.empty() && data.front() == '"')
    {
        std::size_t pos = 0;
        std::string text;
        if (!ParseQuoted(data, pos, text))
            return false;
        if (pos != data.size())
            return Fail("text after the closing '\"'");
        value.dwType = REG_SZ;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return true;
    }
    if (data.substr(0, 6) == "dword:")
    {
        const std::optional<DWORD> dw = ParseHexNumber(data.substr(6));
        if (!dw)
            return Fail("a dword needs 1 to 8 hex digits");
        value.dwType = REG_DWORD;
        value.data = {BYTE(*dw), BYTE(*dw >> 8), BYTE(*dw >> 16), BYTE(*dw >> 24)};
        return true;
    }
    std::string_view list;
    if (data.substr(0, 4) == "hex:")
    {
        value.dwType = REG_BINARY;
        list = data.substr(4);
    }
    else if (data.substr(0, 4) == "hex(")
    {
        const std::size_t close = data.find("):");
        const std::optional<DWORD> dwType =
            close == std::string_view::npos ? std::nullopt : ParseHexNumber(data.substr(4, close - 4));
        if (!dwType)
            return Fail("bad hex(type)");
        value.dwType = *dwType;
        list = data.substr(close + 2);
    }
    else
        return Fail("unknown data form");
    std::string joined(list);
    while (!joined.empty() && joined.back() == '\\' && m_nLine + 1 < m_lines.size())
    {
        joined.pop_back();
        joined += TrimLeft(TrimRight(m_lines[++m_nLine]));
    }
    return ParseHexList(joined, value.data);
}

bool CHiveParser::ParseHexList(std::string_view list, std::vector<BYTE>& out)
{
    list = TrimRight(TrimLeft(list));
    while (!list.empty())
    {
        const std::size_t comma = list.find(',');
        const std::string_view item = TrimRight(TrimLeft(list.substr(0, comma)));
        const int byte = item.size() == 2 ? HexPair(item, 0) : -1;
        if (byte < 0)
            return Fail("bad byte in a hex list (two hex digits each)");
        out.push_back(static_cast<BYTE>(byte));
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
        if (TrimLeft(list).empty())
            return Fail("hex list ends with ','");
    }
    return true;
}
}  // namespace

std::string FormatRegHive(const CRegHive& hive, const std::string& strRoot)
{
    std::string out(kHeader);
    out += "\n\n";
    for (const CRegKeyData& key : hive.Keys())
    {
        out += '[' + strRoot;
        if (!key.Path().empty())
            out += '\\' + EscapeKeyPath(key.Path());
        out += "]\n";
        for (const CRegValue& value : key.Values())
        {
            const std::string name = value.strName.empty() ? "@" : QuoteText(value.strName);
            out += name + '=' + FormatData(value, name.size() + 1) + '\n';
        }
        out += '\n';
    }
    return out;
}

bool ParseRegHive(const std::string& text, const std::string& strRoot, CRegHive& hive,
                  std::string& strError)
{
    CHiveParser parser(text, strRoot);
    CRegHive parsed;
    if (!parser.Parse(parsed))
    {
        strError = parser.Error();
        return false;
    }
    hive = std::move(parsed);
    return true;
}

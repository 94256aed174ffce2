#pragma once
// Writes a tree, given node by node in pre-order, as CSV or JSON text that
// rebuilds it. CSV (RFC 4180: CRLF line ends, a field holding a comma, quote,
// CR or LF quoted with its quotes doubled): a header "Depth," + the titles,
// then one row per node: its depth (0 = a top node), label and cells. JSON: an
// array of the top nodes, each an object of the keys (label first, then the
// cells) and "children", the array of its child nodes.
//
// Texts go out as UTF-8: a text that is not valid UTF-8 is read as Latin-1,
// byte for byte. Line ends and every other character are kept (JSON escapes).
// Output goes to the sink in pieces, so a tree of any size streams.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CTreeExport
{
public:
    enum EFormat { efCsv, efJson };
    using Sink = std::function<void(std::string_view)>;

    // titles: the CSV header's names of label and cells; keys: the JSON keys
    // of label and cells. A node has as many cells as titles less one.
    CTreeExport(EFormat eFormat, std::vector<std::string> titles, std::vector<std::string> keys, Sink sink);

    // The next node in pre-order. nDepth is at most one deeper than the node
    // before it (deeper is taken as that). Missing cells are empty.
    void Node(int nDepth, std::string_view strLabel, const std::vector<std::string>& cells);
    // Ends the text (closes the JSON arrays). Nothing may follow.
    void Finish();

    // The format of a file name's extension, ".csv" or ".json" in any case;
    // false for any other.
    static bool FormatOfFileName(const std::string& strFileName, EFormat& eFormat);

    // The text as UTF-8: unchanged when it is valid UTF-8, else each byte as
    // the Latin-1 character of that code.
    static std::string ToUtf8(std::string_view strText);

private:
    void CsvRow(const std::vector<std::string_view>& fields);
    void JsonOpen(int nDepth, std::string_view strLabel, const std::vector<std::string>& cells);
    void JsonCloseTo(int nDepth);

    EFormat m_eFormat;
    std::vector<std::string> m_titles;
    std::vector<std::string> m_keys;
    Sink m_sink;
    int m_nOpen = 0;          // JSON objects open: the path to the last node
    bool m_bFirst = true;     // no node written yet
    bool m_bFinished = false;
};

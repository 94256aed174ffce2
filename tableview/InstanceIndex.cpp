#include "tableview/InstanceIndex.h"
#include <cstdio>

namespace {

// Reads the parts one by one from a cursor over the suffix; every read fails
// rather than run past the end.
class CSuffixReader
{
public:
    explicit CSuffixReader(const std::vector<UINT>& suffix) : m_suffix(suffix) {}

    bool AtEnd() const { return m_nPos == m_suffix.size(); }
    std::size_t Left() const { return m_suffix.size() - m_nPos; }

    std::optional<UINT> Take()
    {
        if (AtEnd())
            return std::nullopt;
        return m_suffix[m_nPos++];
    }

    std::optional<std::vector<UINT>> Take(std::size_t nCount)
    {
        if (nCount > Left())
            return std::nullopt;
        std::vector<UINT> ids(m_suffix.begin() + m_nPos, m_suffix.begin() + m_nPos + nCount);
        m_nPos += nCount;
        return ids;
    }

    std::optional<std::vector<UINT>> TakeCounted()
    {
        const std::optional<UINT> nCount = Take();
        return nCount ? Take(*nCount) : std::nullopt;
    }

private:
    const std::vector<UINT>& m_suffix;
    std::size_t m_nPos = 0;
};

std::optional<std::string> OctetText(const std::vector<UINT>& octets)
{
    bool bPrintable = true;
    for (UINT n : octets) {
        if (n > 255)
            return std::nullopt;
        bPrintable = bPrintable && n >= 0x20 && n < 0x7F;
    }
    std::string strText;
    if (bPrintable) {
        strText = "\"";
        for (UINT n : octets)
            strText += static_cast<char>(n);
        return strText + "\"";
    }
    char szOctet[4];
    for (std::size_t i = 0; i < octets.size(); ++i) {
        std::snprintf(szOctet, sizeof szOctet, "%02x", octets[i]);
        strText += (i ? ":" : "") + std::string(szOctet);
    }
    return strText;
}

std::string DottedText(const std::vector<UINT>& ids, bool bLeadingDot)
{
    std::string strText;
    for (std::size_t i = 0; i < ids.size(); ++i)
        strText += (i || bLeadingDot ? "." : "") + std::to_string(ids[i]);
    return strText;
}

std::optional<std::string> ReadPart(CSuffixReader& reader, const CIndexPart& part)
{
    std::optional<std::vector<UINT>> ids;
    switch (part.m_eKind) {
    case EIndexKind::Integer: {
        const std::optional<UINT> n = reader.Take();
        return n ? std::optional(std::to_string(*n)) : std::nullopt;
    }
    case EIndexKind::IpAddress:
        ids = reader.Take(4);
        if (!ids)
            return std::nullopt;
        for (UINT n : *ids)
            if (n > 255)
                return std::nullopt;
        return DottedText(*ids, false);
    case EIndexKind::String: ids = reader.TakeCounted(); break;
    case EIndexKind::ImpliedString: ids = reader.Take(reader.Left()); break;
    case EIndexKind::FixedString: ids = reader.Take(part.m_nFixedLength); break;
    case EIndexKind::Oid:
        ids = reader.TakeCounted();
        return ids ? std::optional(DottedText(*ids, true)) : std::nullopt;
    case EIndexKind::ImpliedOid: return DottedText(*reader.Take(reader.Left()), true);
    }
    return ids ? OctetText(*ids) : std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> DecodeInstance(const std::vector<UINT>& suffix,
                                                       const std::vector<CIndexPart>& parts)
{
    if (parts.empty())
        return std::nullopt;
    CSuffixReader reader(suffix);
    std::vector<std::string> texts;
    for (const CIndexPart& part : parts) {
        std::optional<std::string> strText = ReadPart(reader, part);
        if (!strText)
            return std::nullopt;
        texts.push_back(std::move(*strText));
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return texts;
}

std::string RawInstanceText(const std::vector<UINT>& suffix)
{
    return DottedText(suffix, false);
}

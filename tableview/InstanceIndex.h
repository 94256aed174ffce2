#pragma once
// The instance part of a table cell's OID read as the entry's INDEX objects:
// each index object takes sub-identifiers from the front of the suffix by its
// kind, the last one may take all that remain (IMPLIED, or a fixed-size one).
#include "platform/WinTypes.h"
#include <optional>
#include <string>
#include <vector>

enum class EIndexKind
{
    Integer,        // one sub-identifier, shown in decimal
    IpAddress,      // four sub-identifiers, dotted
    String,         // a length, then that many octets
    ImpliedString,  // every remaining sub-identifier is an octet
    FixedString,    // m_nFixedLength octets
    Oid,            // a length, then that many sub-identifiers
    ImpliedOid,     // every remaining sub-identifier
};

struct CIndexPart
{
    std::string m_strName;  // the index object's name, the column's header
    EIndexKind m_eKind = EIndexKind::Integer;
    UINT m_nFixedLength = 0;  // FixedString only
};

// The texts of the index parts, one per part; nullopt when the suffix does not
// fit them exactly (too short, an octet above 255, sub-identifiers left over),
// in which case the caller shows the raw suffix. Strings of printable ASCII
// come quoted, others as hex octets ("0a:ff"). O(length of the suffix).
std::optional<std::vector<std::string>> DecodeInstance(const std::vector<UINT>& suffix,
                                                       const std::vector<CIndexPart>& parts);

// The raw suffix as OID text without its leading dot: "1.4.10".
std::string RawInstanceText(const std::vector<UINT>& suffix);

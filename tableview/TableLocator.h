#pragma once
// Which table a node of the OID tree belongs to: the table node itself, its
// entry, a column object, or an instance under a column. Told from the names
// the manager interface gives the node's OID and its leading parts: the
// nearest "...Table" whose entry (sub-identifier 1) is on the path or just
// below it.
#include "tableview/InstanceIndex.h"
#include <optional>
#include <string>
#include <vector>

struct CTableRef
{
    std::string m_strOid;   // numeric OID text of the table
    std::string m_strName;  // its name ("ifTable"), or the OID text without one
    std::vector<CIndexPart> m_index;  // the entry's INDEX; empty when unknown
};

// strNameOrOid: a name text as the manager interface reads it
// ("interfaces.ifTable.ifEntry.ifDescr.1") or numeric OID text. nullopt when
// the text is no OID or no table is on its path. O(depth^2) name lookups.
std::optional<CTableRef> LocateTable(const std::string& strNameOrOid);

#include "tableview/TableLocator.h"
#include "platform/mibparse/MibTable.h"
#include "snmp/SnmpOid.h"
#include <QString>
#include <cstdio>
#include <memory>
#include <QStringList>

namespace {

std::string LastNameOf(const AsnObjectIdentifier& oid, UINT nLength)
{
    char* pszName = nullptr;
    const AsnObjectIdentifier prefix{nLength, oid.ids};
    if (!SnmpMgrOidToStr(&prefix, &pszName))
        return {};
    const QString strName = QString::fromLatin1(pszName);
    SnmpUtilMemFree(pszName);
    const QStringList parts = strName.split('.', Qt::SkipEmptyParts);
    return parts.isEmpty() ? std::string() : parts.last().toStdString();
}

std::string OidText(const AsnObjectIdentifier& oid, UINT nLength)
{
    std::string strText;
    for (UINT i = 0; i < nLength; ++i)
        strText += "." + std::to_string(oid.ids[i]);
    return strText;
}

bool IsTableName(const std::string& strName)
{
    return strName.size() > 5 && strName.compare(strName.size() - 5, 5, "Table") == 0;
}

const CMibObject* FindByName(const CMibObject* pObject, const std::string& strName)
{
    if (pObject->strName == strName)
        return pObject;
    for (const auto& [nId, pChild] : pObject->children)
        if (const CMibObject* pFound = FindByName(pChild, strName))
            return pFound;
    return nullptr;
}

// How an index object of this definition takes its sub-identifiers; nullopt
// for a type an instance cannot be read by.
std::optional<CIndexPart> IndexPartOf(const CMibObject& object, bool bImplied)
{
    CIndexPart part{object.strName};
    const std::string& strType = object.strBaseType;
    if (strType == "IpAddress" || strType == "NetworkAddress")
        part.m_eKind = EIndexKind::IpAddress;
    else if (strType == "OBJECT IDENTIFIER")
        part.m_eKind = bImplied ? EIndexKind::ImpliedOid : EIndexKind::Oid;
    else if (strType == "OCTET STRING") {
        unsigned nSize = 0;
        char cEnd = 0;
        if (std::sscanf(object.strRange.c_str(), "(SIZE (%u)%c", &nSize, &cEnd) == 2 && cEnd == ')') {
            part.m_eKind = EIndexKind::FixedString;
            part.m_nFixedLength = nSize;
        } else {
            part.m_eKind = bImplied ? EIndexKind::ImpliedString : EIndexKind::String;
        }
    } else if (strType == "INTEGER" || strType == "Integer32" || strType == "Unsigned32" || strType == "Gauge32" ||
               strType == "UInteger32" || strType == "TimeTicks" || strType == "Counter32")
        part.m_eKind = EIndexKind::Integer;
    else
        return std::nullopt;
    return part;
}

// The INDEX of the table's entry as the loaded modules define it; empty where
// no module describes the entry or an index object is of no readable type.
// O(objects loaded) when an index object lies outside the entry.
std::vector<CIndexPart> EntryIndex(const AsnObjectIdentifier& ids, UINT nTableLength)
{
    const std::shared_ptr<const CMibTable> pMibs = CurrentMibTable();
    if (!pMibs)
        return {};
    std::vector<UINT> entryPath(ids.ids, ids.ids + nTableLength);
    entryPath.push_back(1);
    UINT nDepth = 0;
    const CMibObject* pEntry = pMibs->Find(entryPath.data(), static_cast<UINT>(entryPath.size()), &nDepth);
    if (!pEntry || nDepth != entryPath.size())
        return {};
    std::vector<CIndexPart> parts;
    for (std::size_t i = 0; i < pEntry->indexes.size(); ++i) {
        const CMibObject* pObject = FindByName(pEntry, pEntry->indexes[i]);
        if (!pObject)
            pObject = FindByName(pMibs->Root(), pEntry->indexes[i]);
        const bool bLast = i + 1 == pEntry->indexes.size();
        const std::optional<CIndexPart> part =
            pObject ? IndexPartOf(*pObject, bLast && pEntry->bImpliedIndex) : std::nullopt;
        if (!part)
            return {};
        parts.push_back(*part);
    }
    return parts;
}

} // namespace

std::optional<CTableRef> LocateTable(const std::string& strNameOrOid)
{
    CSnmpOid oid;
    if (strNameOrOid.empty() || !SnmpMgrStrToOid(strNameOrOid.c_str(), oid.Out()))
        return std::nullopt;
    const AsnObjectIdentifier& ids = oid.Get();
    for (UINT nLength = ids.idLength; nLength > 0; --nLength) {
        const std::string strName = LastNameOf(ids, nLength);
        // An entry is the table's child 1; anything else below a "...Table" is no table of its.
        const bool bEntryOnPath = nLength == ids.idLength || ids.ids[nLength] == 1;
        if (IsTableName(strName) && bEntryOnPath)
            return CTableRef{OidText(ids, nLength), strName, EntryIndex(ids, nLength)};
    }
    return std::nullopt;
}

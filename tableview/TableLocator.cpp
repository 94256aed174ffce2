#include "tableview/TableLocator.h"
#include "snmp/SnmpOid.h"
#include <QString>
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
            return CTableRef{OidText(ids, nLength), strName, {}};
    }
    return std::nullopt;
}

#include "snmp/EnumValueText.h"
#include "mib/MibDetails.h"
#include "snmp/AppSettings.h"
#include "snmp/SnmpValue.h"
#include <memory>

std::string EnumLabelOf(const std::string& strOid, const std::string& strType, const std::string& strValue)
{
    if (strType != TypeName::Integer)
        return "";
    const std::shared_ptr<const CMibTable> pTable = CurrentMibTable();
    return pTable ? MibEnumLabel(*pTable, strOid, strValue) : "";
}

std::string ValueCellText(const std::string& strOid, const std::string& strType, const std::string& strValue)
{
    if (AppSettings.ShowEnumLabels.load() != 1)
        return strValue;
    std::string strLabel = EnumLabelOf(strOid, strType, strValue);
    return strLabel.empty() ? strValue : strLabel;
}

std::string ValueToWrite(const std::string& strOid, const std::string& strType, const std::string& strText)
{
    const std::shared_ptr<const CMibTable> pTable = CurrentMibTable();
    if (strType != TypeName::Integer || !pTable)
        return strText;
    std::string strNumber = MibEnumNumber(*pTable, strOid, strText);
    return strNumber.empty() ? strText : strNumber;
}

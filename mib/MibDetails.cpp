#include "mib/MibDetails.h"
#include <charconv>

namespace {

std::vector<UINT> ParseOid(const std::string& strOid)
{
    std::vector<UINT> ids;
    const char* p = strOid.data();
    const char* pEnd = p + strOid.size();
    while (p < pEnd && *p == '.') {
        UINT nId = 0;
        const auto [pNext, ec] = std::from_chars(p + 1, pEnd, nId);
        if (ec != std::errc() || pNext == p + 1)
            return {};
        ids.push_back(nId);
        p = pNext;
    }
    return p == pEnd ? ids : std::vector<UINT>{};
}

// The deepest named object on the OID's path and the sub-identifiers below it.
const CMibObject* ObjectOf(const CMibTable& table, const std::string& strOid, std::string* pstrInstance)
{
    const std::vector<UINT> ids = ParseOid(strOid);
    UINT nDepth = 0;
    const CMibObject* pObject = table.Find(ids.data(), static_cast<UINT>(ids.size()), &nDepth);
    while (pObject && pObject->strName.empty()) {
        pObject = pObject->pParent;
        --nDepth;
    }
    if (!pObject || !pObject->pParent)
        return nullptr;
    if (pstrInstance)
        for (size_t i = nDepth; i < ids.size(); ++i)
            *pstrInstance += "." + std::to_string(ids[i]);
    return pObject;
}

std::string Joined(const std::vector<std::string>& parts)
{
    std::string strText;
    for (const std::string& strPart : parts)
        strText += (strText.empty() ? "" : ", ") + strPart;
    return strText;
}

std::string SyntaxText(const CMibObject& object)
{
    std::string strText = object.strSyntax;
    if (!object.enums.empty()) {
        std::vector<std::string> labels;
        for (const auto& [nValue, strLabel] : object.enums)
            labels.push_back(strLabel + "(" + std::to_string(nValue) + ")");
        strText += " { " + Joined(labels) + " }";
    }
    if (!object.strRange.empty())
        strText += " " + object.strRange;
    return strText;
}

} // namespace

std::vector<std::pair<std::string, std::string>> MibDetailsLines(const CMibTable& table, const std::string& strOid)
{
    std::string strInstance;
    const CMibObject* pObject = ObjectOf(table, strOid, &strInstance);
    if (!pObject)
        return {};
    std::string strIndex = Joined(pObject->indexes);
    if (strIndex.empty() && !pObject->strAugments.empty())
        strIndex = "as " + pObject->strAugments;
    const std::vector<std::pair<std::string, std::string>> all = {
        {"Name", pObject->strName + strInstance},
        {"Module", pObject->strModule},
        {"OID", CMibTable::OidText(pObject) + strInstance},
        {"Syntax", SyntaxText(*pObject)},
        {"Display hint", pObject->strHint},
        {"Access", pObject->strAccess},
        {"Status", pObject->strStatus},
        {"Units", pObject->strUnits},
        {"Index", strIndex},
        {"Description", pObject->strDescription},
    };
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& line : all)
        if (!line.second.empty())
            lines.push_back(line);
    return lines;
}

std::string MibEnumLabel(const CMibTable& table, const std::string& strOid, const std::string& strValue)
{
    long nValue = 0;
    const auto [pEnd, ec] = std::from_chars(strValue.data(), strValue.data() + strValue.size(), nValue);
    if (strValue.empty() || ec != std::errc() || pEnd != strValue.data() + strValue.size())
        return "";
    const CMibObject* pObject = ObjectOf(table, strOid, nullptr);
    return pObject ? pObject->EnumLabel(nValue) : "";
}

std::string MibEnumNumber(const CMibTable& table, const std::string& strOid, const std::string& strLabel)
{
    const std::size_t nOpen = strLabel.rfind('(');
    if (nOpen == std::string::npos || strLabel.back() != ')')
        return "";
    std::string strNumber = strLabel.substr(nOpen + 1, strLabel.size() - nOpen - 2);
    return MibEnumLabel(table, strOid, strNumber) == strLabel ? strNumber : "";
}

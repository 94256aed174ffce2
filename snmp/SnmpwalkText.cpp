#include "platform/snmpmgr/NetSnmpHeaders.h"

#include "snmp/SnmpwalkText.h"
#include "snmp/SnmpValue.h"
#include "snmp/WalkMessages.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// Opaque contents that wrap a number: net-snmp decodes them into types of its
// own and prints them as "Opaque: Float: 1.5" and so on.
struct COpaqueNumber
{
    u_char nType;
    counter64 c64{};
    float fValue = 0;
    double dValue = 0;
};

std::optional<std::uint64_t> BigEndian(const BYTE* pBytes, UINT nLength, bool bSigned)
{
    if (nLength == 0 || nLength > 8)
        return std::nullopt;
    std::uint64_t nBits = bSigned && (pBytes[0] & 0x80) ? ~std::uint64_t{0} : 0;
    for (UINT i = 0; i < nLength; ++i)
        nBits = (nBits << 8) | pBytes[i];
    return nBits;
}

std::optional<COpaqueNumber> OpaqueNumber(const AsnOctetString& bytes)
{
    const BYTE* p = bytes.stream;
    if (!p || bytes.length < 4 || p[0] != 0x9F || p[2] != bytes.length - 3)
        return std::nullopt;
    const BYTE* pContent = p + 3;
    UINT nContent = bytes.length - 3;
    COpaqueNumber number{};
    switch (p[1]) {
    case 0x78:
        if (nContent != 4)
            return std::nullopt;
        number.nType = ASN_OPAQUE_FLOAT;
        number.fValue = std::bit_cast<float>(static_cast<std::uint32_t>(*BigEndian(pContent, 4, false)));
        return number;
    case 0x79:
        if (nContent != 8)
            return std::nullopt;
        number.nType = ASN_OPAQUE_DOUBLE;
        number.dValue = std::bit_cast<double>(*BigEndian(pContent, 8, false));
        return number;
    case 0x7A:
    case 0x7B:
    case 0x76: {
        const bool bSigned = p[1] == 0x7A;
        if (!bSigned && nContent == 9 && pContent[0] == 0)
            ++pContent, --nContent;
        const std::optional<std::uint64_t> nValue = BigEndian(pContent, nContent, bSigned);
        if (!nValue)
            return std::nullopt;
        number.nType = bSigned ? ASN_OPAQUE_I64 : p[1] == 0x7B ? ASN_OPAQUE_U64 : ASN_OPAQUE_COUNTER64;
        number.c64.high = static_cast<u_long>(*nValue >> 32);
        number.c64.low = static_cast<u_long>(*nValue & 0xFFFFFFFFu);
        return number;
    }
    default:
        return std::nullopt;
    }
}

// The value as a net-snmp variable: type and value set as a decoded answer
// carries them. False for what it has no form for.
bool ToVariable(const AsnAny& value, netsnmp_variable_list& var)
{
    long nNumber = 0;
    counter64 c64{};
    const void* pData = nullptr;
    std::size_t nLength = 0;
    u_char nType = value.asnType;
    switch (value.asnType) {
    case ASN_INTEGER:
        nNumber = value.wide.isSet ? (value.wide.negative ? -static_cast<long>(value.wide.magnitude)
                                                           : static_cast<long>(value.wide.magnitude))
                                   : value.asnValue.number;
        pData = &nNumber, nLength = sizeof nNumber;
        break;
    case ASN_COUNTER32:
    case ASN_GAUGE32:
    case ASN_TIMETICKS:
    case ASN_UNSIGNED32:
        nNumber = static_cast<long>(value.asnValue.unsigned32);
        pData = &nNumber, nLength = sizeof nNumber;
        break;
    case ASN_COUNTER64:
        c64.high = value.asnValue.counter64.HighPart;
        c64.low = value.asnValue.counter64.LowPart;
        pData = &c64, nLength = sizeof c64;
        break;
    case ASN_OPAQUE:
        if (const std::optional<COpaqueNumber> number = OpaqueNumber(value.asnValue.arbitrary)) {
            nType = number->nType;
            if (nType == ASN_OPAQUE_FLOAT)
                return snmp_set_var_typed_value(&var, nType, &number->fValue, sizeof(float)) == 0;
            if (nType == ASN_OPAQUE_DOUBLE)
                return snmp_set_var_typed_value(&var, nType, &number->dValue, sizeof(double)) == 0;
            return snmp_set_var_typed_value(&var, nType, &number->c64, sizeof(counter64)) == 0;
        }
        [[fallthrough]];
    case ASN_OCTETSTRING:
    case ASN_BITS:
    case ASN_IPADDRESS:
    case ASN_NSAPADDRESS:
    case ASN_SEQUENCE:
        pData = value.asnValue.string.stream;
        nLength = pData ? value.asnValue.string.length : 0;
        break;
    default:
        return false;
    }
    return snmp_set_var_typed_value(&var, nType, pData, nLength) == 0;
}

struct CVariableFree
{
    void operator()(netsnmp_variable_list* p) const { snmp_free_var(p); }
};

std::string LibraryText(const AsnAny& value)
{
    SnmpMgrStartup();  // the library's tables are set up once
    std::unique_ptr<netsnmp_variable_list, CVariableFree> pVar(
        static_cast<netsnmp_variable_list*>(calloc(1, sizeof(netsnmp_variable_list))));
    if (!pVar || !ToVariable(value, *pVar))
        return "Variable has bad type";
    u_char* pBuffer = nullptr;
    size_t nBufferLength = 0, nOutLength = 0;
    sprint_realloc_by_type(&pBuffer, &nBufferLength, &nOutLength, 1, pVar.get(), nullptr, nullptr, nullptr);
    std::string strText(pBuffer ? reinterpret_cast<const char*>(pBuffer) : "", nOutLength);
    free(pBuffer);
    return strText;
}

} // namespace

std::string SnmpwalkValueText(const AsnAny& value)
{
    // Without a MIB the library names an OID value by the default output form;
    // the tools' -On gives the numeric text, which is ours.
    switch (value.asnType) {
    case ASN_OBJECTIDENTIFIER: return "OID: " + FormatOidText(value.asnValue.object);
    case ASN_NULL: return "NULL";
    case SNMP_EXCEPTION_NOSUCHOBJECT: return "No Such Object available on this agent at this OID";
    case SNMP_EXCEPTION_NOSUCHINSTANCE: return "No Such Instance currently exists at this OID";
    case SNMP_EXCEPTION_ENDOFMIBVIEW:
        return "No more variables left in this MIB View (It is past the end of the MIB tree)";
    default: return LibraryText(value);
    }
}

std::string SnmpwalkLine(const CWalkRecord& record)
{
    return record.m_strOid + " = " + record.m_strSnmpwalkValue + "\n";
}

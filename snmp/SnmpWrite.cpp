#include "snmp/SnmpWrite.h"
#include "snmp/AgentSession.h"
#include "snmp/BindingList.h"
#include "snmp/ErrorText.h"
#include "snmp/SnmpOid.h"
#include "snmp/SnmpValue.h"
#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::array<const char*, 19> kStatusNames = {
    "",          "TOO BIG",        "NO SUCH NAME",       "BAD VALUE",          "READ ONLY",
    "GENERAL ERROR", "NO ACCESS",   "WRONG TYPE",         "WRONG LENGTH",       "WRONG ENCODING",
    "WRONG VALUE",   "NO CREATION", "INCONSISTENT VALUE", "RESOURCE UNAVAILABLE", "COMMIT FAILED",
    "UNDO FAILED",   "AUTHORIZATION ERROR", "NOT WRITABLE", "INCONSISTENT NAME",
};

CWriteResult NotWritten(const std::string& strError, const std::string& strOutput = std::string())
{
    return CWriteResult{1, strError, strOutput};
}

// The value of the binding, and the bytes it points to, which stay the write's.
class CWriteValue
{
public:
    enum class Result
    {
        Built,
        NotWritable,  // a type without a text form
        BadText,      // the text does not read as the type
    };

    // Builds the value for the type name; OID values go into the binding's
    // ownership only through TakeValue.
    Result Build(const std::string& strType, const std::string& strValue);
    // Moves the value into binding (whose NULL value it replaces).
    void TakeValue(SnmpVarBind& binding);

private:
    void SetBytes(BYTE asnType, const std::string& strBytes);

    AsnAny m_value{ASN_NULL, {}};
    std::string m_strBytes;  // octet-string and address bytes
    CSnmpOid m_object;       // an OBJECT IDENTIFIER value until taken
};

// atoi-like: blanks, an optional sign, digits up to the first non-digit; no digits give 0.
long long ReadSigned(const std::string& strText)
{
    return std::strtoll(strText.c_str(), nullptr, 10);
}

AsnInteger32 ReadInteger32(const std::string& strText)
{
    return static_cast<AsnInteger32>(std::clamp<long long>(ReadSigned(strText), INT32_MIN, INT32_MAX));
}

std::string Trimmed(const std::string& strText)
{
    const std::size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return std::string();
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

// Whole text of decimal digits no greater than nMax.
bool ReadUnsigned(const std::string& strText, std::uint64_t nMax, std::uint64_t& nValue)
{
    if (strText.empty() || strText.size() > 10 ||
        !std::all_of(strText.begin(), strText.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    nValue = std::strtoull(strText.c_str(), nullptr, 10);
    return nValue <= nMax;
}

bool ReadDottedQuad(const std::string& strText, std::string& strBytes)
{
    strBytes.clear();
    std::size_t nStart = 0;
    for (int nPart = 0; nPart < 4; ++nPart) {
        const std::size_t nDot = strText.find('.', nStart);
        const bool bLast = nPart == 3;
        if (bLast != (nDot == std::string::npos))
            return false;
        const std::string strPart = strText.substr(nStart, nDot - nStart);
        std::uint64_t nByte = 0;
        if (strPart.size() > 3 || !ReadUnsigned(strPart, 255, nByte))
            return false;
        strBytes += static_cast<char>(nByte);
        nStart = nDot + 1;
    }
    return true;
}

void CWriteValue::SetBytes(BYTE asnType, const std::string& strBytes)
{
    m_strBytes = strBytes;
    m_value.asnType = asnType;
    m_value.asnValue.string.stream = reinterpret_cast<BYTE*>(m_strBytes.data());
    m_value.asnValue.string.length = static_cast<UINT>(m_strBytes.size());
    m_value.asnValue.string.dynamic = FALSE;  // the bytes stay the write's
}

CWriteValue::Result CWriteValue::Build(const std::string& strType, const std::string& strValue)
{
    using namespace TypeName;
    std::uint64_t nUnsigned = 0;
    if (strType == Integer) {
        m_value.asnType = ASN_INTEGER;
        m_value.asnValue.number = ReadInteger32(strValue);
    } else if (strType == Unsigned32) {
        m_value.asnType = ASN_UNSIGNED32;
        m_value.asnValue.unsigned32 = static_cast<AsnUnsigned32>(ReadInteger32(strValue));
    } else if (strType == Counter64) {
        const auto nValue = static_cast<std::uint64_t>(ReadSigned(strValue));
        m_value.asnType = ASN_COUNTER64;
        m_value.asnValue.counter64 = {static_cast<DWORD>(nValue), static_cast<DWORD>(nValue >> 32)};
    } else if (strType == OctetString) {
        SetBytes(ASN_OCTETSTRING, strValue);
    } else if (strType == Counter32 || strType == Gauge32 || strType == TimeTicks) {
        if (!ReadUnsigned(Trimmed(strValue), UINT32_MAX, nUnsigned))
            return Result::BadText;
        m_value.asnType = strType == Counter32 ? ASN_COUNTER32 : strType == Gauge32 ? ASN_GAUGE32 : ASN_TIMETICKS;
        m_value.asnValue.unsigned32 = static_cast<AsnUnsigned32>(nUnsigned);
    } else if (strType == IpAddress) {
        std::string strBytes;
        if (!ReadDottedQuad(Trimmed(strValue), strBytes))
            return Result::BadText;
        SetBytes(ASN_IPADDRESS, strBytes);
    } else if (strType == ObjectIdentifier) {
        if (!SnmpMgrStrToOid(Trimmed(strValue).c_str(), m_object.Out()))
            return Result::BadText;
        m_value.asnType = ASN_OBJECTIDENTIFIER;
    } else if (strType == Bits || strType == Sequence || strType == Opaque || strType == NoSuchObject ||
               strType == NoSuchInstance || strType == EndOfMibView) {
        return Result::NotWritable;
    }
    return Result::Built;
}

void CWriteValue::TakeValue(SnmpVarBind& binding)
{
    binding.value = m_value;
    if (m_value.asnType == ASN_OBJECTIDENTIFIER)
        binding.value.asnValue.object = m_object.Release();
}

// Sends the SET; false, with strError set where there is a text, when the
// value was not written.
bool SendSet(CAgentSession& session, CBindingList& list, std::string& strError)
{
    AsnInteger32 nStatus = 0, nIndex = 0;
    switch (session.Request(SNMP_PDU_SET, list, nStatus, nIndex)) {
    case CAgentSession::Outcome::Exception:
        return false;
    case CAgentSession::Outcome::NoResponse:
        strError = "Error Attempting Request!\n";
        return false;
    case CAgentSession::Outcome::Answered:
        break;
    }
    if (nStatus > 0) {
        strError = FormatErrorText("Attempting to Write\n Status:%d\n Message:%s\n", nStatus, ErrorStatusName(nStatus));
        return false;
    }
    return true;
}

} // namespace

const char* ErrorStatusName(AsnInteger32 nStatus)
{
    if (nStatus < 1 || nStatus >= static_cast<AsnInteger32>(kStatusNames.size()))
        return "";
    return kStatusNames[static_cast<std::size_t>(nStatus)];
}

CWriteResult WriteValue(const std::string& strHost, const std::string& strCommunity, const std::string& strOid,
                        const std::string& strType, const std::string& strValue)
{
    CSnmpOid name;
    if (!SnmpMgrStrToOid(strOid.c_str(), name.Out()))
        return NotWritten(FormatErrorText("Error: Invalid oid, %s, specified.\n", strOid.c_str()));
    CWriteValue value;  // outlives the list, whose binding points into it
    CBindingList list;
    if (!list.Grow(name))
        return NotWritten(FormatErrorText("Error: Error allocating oid, %s.\n", strOid.c_str()));
    switch (value.Build(strType, strValue)) {
    case CWriteValue::Result::NotWritable:
        return NotWritten(FormatErrorText("Error: A value of type %s cannot be written.\n", strType.c_str()));
    case CWriteValue::Result::BadText:
        return NotWritten(FormatErrorText("Error: Invalid value, %s, for type %s.\n", strValue.c_str(), strType.c_str()));
    case CWriteValue::Result::Built:
        break;
    }
    value.TakeValue(list.Binding());

    CAgentSession session;
    if (!session.Open(strHost, strCommunity))
        return NotWritten(std::string(), FormatErrorText("error on SnmpMgrOpen %d\n", static_cast<int>(session.LastError())));
    std::string strError;
    if (!SendSet(session, list, strError))
        return NotWritten(strError);  // the session closes with it
    const std::string strAnswer = SnmpUtilAsnAnyText(&list.Binding().value);
    list.Clear();
    if (!session.Close())
        return NotWritten(FormatErrorText("error on SnmpMgrClose %d\n", static_cast<int>(session.LastError())), strAnswer);
    return CWriteResult{0, std::string(), strAnswer};
}

#include "snmp/SnmpWrite.h"
#include "platform/syserr/SysError.h"
#include "snmp/AgentSession.h"
#include "snmp/BindingList.h"
#include "snmp/ErrorText.h"
#include "snmp/SnmpOid.h"
#include "snmp/SnmpValue.h"
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <strings.h>
#include <type_traits>

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

// How the text of each type becomes its value.
enum class EReading
{
    Signed32,     // INTEGER: optional sign and digits, -2147483648..2147483647
    Unsigned32,   // digits, 0..4294967295
    Unsigned64,   // digits, 0..18446744073709551615
    Bytes,        // the text as it is
    Address,      // a dotted quad
    Object,       // an OID text that encodes as typed
    NotWritable,  // a type without a text form
};

struct CTypeRow
{
    const char* pszName;
    BYTE asnType;
    EReading eReading;
};

constexpr CTypeRow kTypes[] = {
    {TypeName::Integer, ASN_INTEGER, EReading::Signed32},
    {TypeName::Bits, ASN_BITS, EReading::NotWritable},
    {TypeName::OctetString, ASN_OCTETSTRING, EReading::Bytes},
    {TypeName::ObjectIdentifier, ASN_OBJECTIDENTIFIER, EReading::Object},
    {TypeName::Sequence, ASN_SEQUENCE, EReading::NotWritable},
    {TypeName::IpAddress, ASN_IPADDRESS, EReading::Address},
    {TypeName::Counter32, ASN_COUNTER32, EReading::Unsigned32},
    {TypeName::Gauge32, ASN_GAUGE32, EReading::Unsigned32},
    {TypeName::TimeTicks, ASN_TIMETICKS, EReading::Unsigned32},
    {TypeName::Opaque, ASN_OPAQUE, EReading::NotWritable},
    {TypeName::Counter64, ASN_COUNTER64, EReading::Unsigned64},
    {TypeName::Unsigned32, ASN_UNSIGNED32, EReading::Unsigned32},
    {TypeName::NoSuchObject, SNMP_EXCEPTION_NOSUCHOBJECT, EReading::NotWritable},
    {TypeName::NoSuchInstance, SNMP_EXCEPTION_NOSUCHINSTANCE, EReading::NotWritable},
    {TypeName::EndOfMibView, SNMP_EXCEPTION_ENDOFMIBVIEW, EReading::NotWritable},
};

// The row of a type name in any case; null for any other name ("Unknown").
const CTypeRow* FindType(const std::string& strType)
{
    for (const CTypeRow& row : kTypes)
        if (strcasecmp(row.pszName, strType.c_str()) == 0)
            return &row;
    return nullptr;
}

// What a text of the reading must look like, for the refusal.
const char* ExpectedText(EReading eReading)
{
    switch (eReading) {
    case EReading::Signed32: return "a whole number from -2147483648 to 2147483647";
    case EReading::Unsigned32: return "a whole number from 0 to 4294967295";
    case EReading::Unsigned64: return "a whole number from 0 to 18446744073709551615";
    case EReading::Address: return "four numbers from 0 to 255 joined by dots";
    case EReading::Object: return "an OID such as .1.3.6.1.2.1.1.2.0";
    default: return "";
    }
}

// The value of the binding, and the bytes it points to, which stay the write's.
class CWriteValue
{
public:
    enum class Result
    {
        Built,
        NotWritable,  // a type without a text form
        BadText,      // the text is not exactly a value of the type
    };

    // Builds the value of the type row (null: NULL) from the text.
    Result Build(const CTypeRow* pType, const std::string& strValue);
    // Moves the value into binding (whose NULL value it replaces).
    void TakeValue(SnmpVarBind& binding);

private:
    void SetBytes(BYTE asnType, const std::string& strBytes);

    AsnAny m_value{ASN_NULL, {}};
    std::string m_strBytes;  // octet-string and address bytes
    CSnmpOid m_object;       // an OBJECT IDENTIFIER value until taken
};

// Blanks around a value are allowed, nothing else.
std::string_view Trimmed(std::string_view strText)
{
    const std::size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string_view::npos)
        return {};
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

// The whole text is one number of type T (and of the sign T allows) no
// greater than nMax and no less than nMin.
template <class T> bool ReadWhole(std::string_view strText, T nMin, T nMax, T& nValue)
{
    const bool bPlus = std::is_signed_v<T> && !strText.empty() && strText.front() == '+';
    if (bPlus)
        strText.remove_prefix(1);
    if (strText.empty() || strText.front() == '+' || (strText.front() == '-' && (bPlus || !std::is_signed_v<T>)))
        return false;
    const char* pEnd = strText.data() + strText.size();
    const auto [pStop, ec] = std::from_chars(strText.data(), pEnd, nValue);
    return ec == std::errc() && pStop == pEnd && nValue >= nMin && nValue <= nMax;
}

bool ReadUnsigned(std::string_view strText, std::uint64_t nMax, std::uint64_t& nValue)
{
    return ReadWhole<std::uint64_t>(strText, 0, nMax, nValue);
}

bool ReadDottedQuad(std::string_view strText, std::string& strBytes)
{
    strBytes.clear();
    std::size_t nStart = 0;
    for (int nPart = 0; nPart < 4; ++nPart) {
        const std::size_t nDot = strText.find('.', nStart);
        const bool bLast = nPart == 3;
        if (bLast != (nDot == std::string_view::npos))
            return false;
        const std::string_view strPart = strText.substr(nStart, nDot - nStart);
        std::uint64_t nByte = 0;
        if (strPart.size() > 3 || !ReadUnsigned(strPart, 255, nByte))
            return false;
        strBytes += static_cast<char>(nByte);
        nStart = nDot + 1;
    }
    return true;
}

// The SNMP encoding joins the first two sub-identifiers into one (40 x first +
// second): an OID it cannot carry as typed (".1", ".1.40", ".3.1") would reach
// the agent as another one.
bool EncodesAsTyped(const AsnObjectIdentifier& oid)
{
    return oid.idLength >= 2 && oid.ids[0] <= 2 && (oid.ids[0] == 2 || oid.ids[1] < 40);
}

bool ReadOid(std::string_view strText, CSnmpOid& oid)
{
    return SnmpMgrStrToOid(std::string(strText).c_str(), oid.Out()) && EncodesAsTyped(oid.Get());
}

void CWriteValue::SetBytes(BYTE asnType, const std::string& strBytes)
{
    m_strBytes = strBytes;
    m_value.asnType = asnType;
    m_value.asnValue.string.stream = reinterpret_cast<BYTE*>(m_strBytes.data());
    m_value.asnValue.string.length = static_cast<UINT>(m_strBytes.size());
    m_value.asnValue.string.dynamic = FALSE;  // the bytes stay the write's
}

CWriteValue::Result CWriteValue::Build(const CTypeRow* pType, const std::string& strValue)
{
    if (!pType)
        return Result::Built;  // NULL
    const std::string_view strText = Trimmed(strValue);
    std::int64_t nSigned = 0;
    std::uint64_t nUnsigned = 0;
    std::string strBytes;
    switch (pType->eReading) {
    case EReading::Signed32:
        if (!ReadWhole<std::int64_t>(strText, INT32_MIN, INT32_MAX, nSigned))
            return Result::BadText;
        m_value.asnValue.number = static_cast<AsnInteger32>(nSigned);
        break;
    case EReading::Unsigned32:
        if (!ReadUnsigned(strText, UINT32_MAX, nUnsigned))
            return Result::BadText;
        m_value.asnValue.unsigned32 = static_cast<AsnUnsigned32>(nUnsigned);
        break;
    case EReading::Unsigned64:
        if (!ReadUnsigned(strText, UINT64_MAX, nUnsigned))
            return Result::BadText;
        m_value.asnValue.counter64 = {static_cast<DWORD>(nUnsigned), static_cast<DWORD>(nUnsigned >> 32)};
        break;
    case EReading::Bytes:
        SetBytes(pType->asnType, strValue);
        break;
    case EReading::Address:
        if (!ReadDottedQuad(strText, strBytes))
            return Result::BadText;
        SetBytes(pType->asnType, strBytes);
        break;
    case EReading::Object:
        if (!ReadOid(strText, m_object))
            return Result::BadText;
        break;
    case EReading::NotWritable:
        return Result::NotWritable;
    }
    m_value.asnType = pType->asnType;
    return Result::Built;
}

void CWriteValue::TakeValue(SnmpVarBind& binding)
{
    binding.value = m_value;
    if (m_value.asnType == ASN_OBJECTIDENTIFIER)
        binding.value.asnValue.object = m_object.Release();
}

// Why no session could be opened with the agent, for the user.
std::string OpenFailureText(const std::string& strHost, DWORD dwCode)
{
    std::string strReason;
    if (dwCode == 0)
        strReason = FormatErrorText("The host '%s' could not be resolved.\n", strHost.c_str());
    else if (dwCode == EINVAL)
        strReason = FormatErrorText("'%s' is not a host name or address with an optional port from 1 to 65535.\n",
                                    strHost.c_str());
    else if (!FormatSystemMessage(dwCode, &strReason))
        strReason = "No description of the error could be located\n";
    return FormatErrorText("error on SnmpMgrOpen %d\n%s", static_cast<int>(dwCode), strReason.c_str());
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
        // What an SNMPv3 agent reported is worth saying; other causes keep the plain text.
        if (const char* pszReason = UsmFailureReason(session.LastError()))
            strError = FormatErrorText("Error Attempting Request!\n%s\n", pszReason);
        else
            strError = "Error Attempting Request!\n";
        return false;
    case CAgentSession::Outcome::Answered:
        break;
    }
    // Any status but 0 is a refusal, shown as the agent sent it (nStatus is
    // bound to 32 bits).
    if (nStatus != 0) {
        std::int64_t nSentStatus = nStatus;
        SnmpMgrLastErrorStatus(&nSentStatus, nullptr);
        strError = FormatErrorText("Attempting to Write\n Status:%lld\n Message:%s\n",
                                   static_cast<long long>(nSentStatus), ErrorStatusName(nStatus));
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
                        const std::string& strType, const std::string& strValue, const CAgentProfile& profile)
{
    CSnmpOid name;
    if (!ReadOid(strOid, name))
        return NotWritten(FormatErrorText("Error: Invalid oid, %s, specified.\n", strOid.c_str()));
    CWriteValue value;  // outlives the list, whose binding points into it
    CBindingList list;
    if (!list.Grow(name))
        return NotWritten(FormatErrorText("Error: Error allocating oid, %s.\n", strOid.c_str()));
    const CTypeRow* pType = FindType(strType);
    switch (value.Build(pType, strValue)) {
    case CWriteValue::Result::NotWritable:
        return NotWritten(FormatErrorText("Error: A value of type %s cannot be written.\n", strType.c_str()));
    case CWriteValue::Result::BadText:
        return NotWritten(FormatErrorText("Error: Invalid value, %s, for type %s: %s is expected.\n", strValue.c_str(),
                                          strType.c_str(), ExpectedText(pType->eReading)));
    case CWriteValue::Result::Built:
        break;
    }
    value.TakeValue(list.Binding());

    CAgentSession session;
    if (!session.Open(strHost, strCommunity, profile))
        return NotWritten(OpenFailureText(strHost, session.LastError()),
                          FormatErrorText("error on SnmpMgrOpen %d\n", static_cast<int>(session.LastError())));
    std::string strError;
    if (!SendSet(session, list, strError))
        return NotWritten(strError);  // the session closes with it
    const std::string strAnswer = SnmpUtilAsnAnyText(&list.Binding().value);
    list.Clear();
    if (!session.Close())
        return NotWritten(FormatErrorText("error on SnmpMgrClose %d\n", static_cast<int>(session.LastError())), strAnswer);
    return CWriteResult{0, std::string(), strAnswer};
}

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include "platform/snmpmgr/RawResponse.h"

namespace
{
thread_local CPacketTap* t_pTap = nullptr;

constexpr unsigned char kTagInteger = 0x02;
constexpr unsigned char kTagSequence = 0x30;
constexpr unsigned char kTagResponse = 0xA2;

// One BER element: its tag and its content.
struct CElement
{
    unsigned char tag = 0;
    const unsigned char* pContent = nullptr;
    std::size_t nLength = 0;
};

// Reads the element at p (single-byte tags, definite lengths) and moves p past it.
bool ReadElement(const unsigned char*& p, const unsigned char* pEnd, CElement& element)
{
    if (pEnd - p < 2)
        return false;
    element.tag = *p++;
    std::size_t nLength = *p++;
    if (nLength & 0x80)
    {
        std::size_t nBytes = nLength & 0x7F;
        if (nBytes == 0 || nBytes > 4 || static_cast<std::size_t>(pEnd - p) < nBytes)
            return false;
        for (nLength = 0; nBytes; --nBytes)
            nLength = (nLength << 8) | *p++;
    }
    if ((element.tag & 0x1F) == 0x1F || nLength > static_cast<std::size_t>(pEnd - p))
        return false;
    element.pContent = p;
    element.nLength = nLength;
    p += nLength;
    return true;
}

// Two's complement content of 1 to 9 bytes.
std::optional<CRawNumber> ReadNumber(const CElement& element)
{
    if (element.nLength == 0 || element.nLength > 9)
        return std::nullopt;
    const bool bNegative = element.pContent[0] & 0x80;
    __int128 nValue = bNegative ? -1 : 0;
    for (std::size_t i = 0; i < element.nLength; ++i)
        nValue = nValue * 256 + element.pContent[i];
    const unsigned __int128 nMagnitude = bNegative ? -static_cast<unsigned __int128>(nValue) : nValue;
    if (nMagnitude >> 64)
        return std::nullopt;
    return CRawNumber{bNegative, static_cast<std::uint64_t>(nMagnitude)};
}

bool ReadSigned(const unsigned char*& p, const unsigned char* pEnd, std::int64_t& nValue)
{
    CElement element;
    if (!ReadElement(p, pEnd, element) || element.tag != kTagInteger)
        return false;
    const std::optional<CRawNumber> number = ReadNumber(element);
    if (!number || number->nMagnitude > (number->bNegative ? 1ull << 63 : (1ull << 63) - 1))
        return false;
    nValue = number->bNegative ? static_cast<std::int64_t>(0 - number->nMagnitude) : static_cast<std::int64_t>(number->nMagnitude);
    return true;
}

bool IsIntegerType(unsigned char tag)
{
    return tag == ASN_INTEGER || tag == ASN_COUNTER || tag == ASN_GAUGE || tag == ASN_TIMETICKS || tag == ASN_UINTEGER;
}

// The bindings: SEQUENCE OF SEQUENCE { name, value }.
bool ReadBindings(const CElement& list, CRawResponse& response)
{
    const unsigned char* p = list.pContent;
    const unsigned char* const pEnd = p + list.nLength;
    while (p < pEnd)
    {
        CElement binding, name, value;
        if (!ReadElement(p, pEnd, binding) || binding.tag != kTagSequence)
            return false;
        const unsigned char* q = binding.pContent;
        const unsigned char* const qEnd = q + binding.nLength;
        if (!ReadElement(q, qEnd, name) || !ReadElement(q, qEnd, value))
            return false;
        response.tags.push_back(value.tag);
        response.values.push_back(IsIntegerType(value.tag) ? ReadNumber(value) : std::nullopt);
    }
    return true;
}
}  // namespace

std::optional<CRawResponse> ReadRawResponse(const std::vector<unsigned char>& packet, long nRequestId)
{
    const unsigned char* p = packet.data();
    const unsigned char* pEnd = p + packet.size();
    CElement message, community, pdu, list;
    std::int64_t nVersion = -1, nId = 0;
    if (!ReadElement(p, pEnd, message) || message.tag != kTagSequence)
        return std::nullopt;
    p = message.pContent;
    pEnd = p + message.nLength;
    if (!ReadSigned(p, pEnd, nVersion) || (nVersion != SNMP_VERSION_1 && nVersion != SNMP_VERSION_2c) ||
        !ReadElement(p, pEnd, community) || !ReadElement(p, pEnd, pdu) || pdu.tag != kTagResponse)
        return std::nullopt;
    CRawResponse response;
    p = pdu.pContent;
    pEnd = p + pdu.nLength;
    if (!ReadSigned(p, pEnd, nId) || nId != nRequestId || !ReadSigned(p, pEnd, response.nErrorStatus) ||
        !ReadSigned(p, pEnd, response.nErrorIndex) || !ReadElement(p, pEnd, list) || list.tag != kTagSequence ||
        !ReadBindings(list, response))
        return std::nullopt;
    return response;
}

CPacketTap::CPacketTap(netsnmp_transport_s* pTransport) : m_pfnRecv(pTransport->f_recv)
{
    pTransport->f_recv = &CPacketTap::Recv;
}

CPacketTap::CScope::CScope(CPacketTap& tap)
{
    tap.m_packet.clear();
    t_pTap = &tap;
}

CPacketTap::CScope::~CScope()
{
    t_pTap = nullptr;
}

int CPacketTap::Recv(netsnmp_transport_s* pTransport, void* pBuffer, int nSize, void** ppOpaque, int* pnOpaque)
{
    CPacketTap* pTap = t_pTap;
    if (!pTap)
        return -1;  // only requests read from a tapped transport
    const int nRead = pTap->m_pfnRecv(pTransport, pBuffer, nSize, ppOpaque, pnOpaque);
    if (nRead > 0)
    {
        const auto* pBytes = static_cast<const unsigned char*>(pBuffer);
        pTap->m_packet.assign(pBytes, pBytes + nRead);
    }
    return nRead;
}

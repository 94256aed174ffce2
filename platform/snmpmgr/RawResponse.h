#pragma once
// net-snmp keeps only the low 32 bits of every INTEGER, unsigned 32-bit value
// and error status it decodes, so an agent's 4294967296 becomes 0 and its error
// status 4294967298 becomes noSuchName. The numbers as sent are read again from
// the response's packet, which a tap on the session's transport keeps.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct netsnmp_transport_s;

// A whole number as an agent encoded it (up to 9 content bytes).
struct CRawNumber
{
    bool bNegative = false;
    std::uint64_t nMagnitude = 0;
};

// The numbers of one response message.
struct CRawResponse
{
    std::int64_t nErrorStatus = 0;
    std::int64_t nErrorIndex = 0;
    std::vector<unsigned char> tags;               // each binding's value tag
    std::vector<std::optional<CRawNumber>> values;  // its number, for the integer types
};

// Reads a v1/v2c response message (a GetResponse PDU of request id nRequestId).
// Nothing for any other packet (an SNMPv3 message, a malformed one).
std::optional<CRawResponse> ReadRawResponse(const std::vector<unsigned char>& packet, long nRequestId);

// Keeps the last packet a transport received while a scope of the tap is open
// on the receiving thread. The tap must outlive the transport's use.
class CPacketTap
{
public:
    // Wraps the transport's receive function.
    explicit CPacketTap(netsnmp_transport_s* pTransport);
    CPacketTap(const CPacketTap&) = delete;
    CPacketTap& operator=(const CPacketTap&) = delete;

    // Open around one request on the thread that makes it; starts with no packet.
    class CScope
    {
    public:
        explicit CScope(CPacketTap& tap);
        ~CScope();
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;
    };

    const std::vector<unsigned char>& Packet() const { return m_packet; }

private:
    using RecvFunction = int (*)(netsnmp_transport_s*, void*, int, void**, int*);
    static int Recv(netsnmp_transport_s* pTransport, void* pBuffer, int nSize, void** ppOpaque, int* pnOpaque);

    RecvFunction m_pfnRecv;
    std::vector<unsigned char> m_packet;
};

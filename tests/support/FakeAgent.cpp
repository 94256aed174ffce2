#include "FakeAgent.h"
#include "platform/snmpmgr/SnmpMgr.h"
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/snmp_impl.h>
#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct PduFree
{
    void operator()(netsnmp_pdu* pPdu) const { snmp_free_pdu(pPdu); }
};
using PduPtr = std::unique_ptr<netsnmp_pdu, PduFree>;

CFakeAgent::CVar FromNetSnmp(const netsnmp_variable_list& var)
{
    CFakeAgent::CVar out;
    out.name.assign(var.name, var.name + var.name_length);
    out.type = var.type;
    switch (var.type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_UINTEGER:
        out.nNumber = var.val.integer ? *var.val.integer : 0;
        break;
    case ASN_COUNTER64:
        if (var.val.counter64)
            out.nNumber = static_cast<long long>((static_cast<unsigned long long>(var.val.counter64->high) << 32) |
                                                 var.val.counter64->low);
        break;
    case ASN_OBJECT_ID:
        if (var.val.objid)
            out.object.assign(var.val.objid, var.val.objid + var.val_len / sizeof(oid));
        break;
    default:
        if (var.val.string)
            out.strBytes.assign(reinterpret_cast<const char*>(var.val.string), var.val_len);
        break;
    }
    return out;
}

// Decodes a v1/v2c message; nVersion stays -1 when it does not decode.
CFakeAgent::CRequest Decode(const unsigned char* pPacket, std::size_t nLength, long* pnRequestId)
{
    CFakeAgent::CRequest request;
    std::vector<u_char> packet(pPacket, pPacket + nLength);
    u_char community[256];
    size_t nCommunity = sizeof community, nRest = nLength;
    long nVersion = -1;
    u_char* pPdu = snmp_comstr_parse(packet.data(), &nRest, community, &nCommunity, &nVersion);
    if (!pPdu)
        return request;
    PduPtr pdu(static_cast<netsnmp_pdu*>(calloc(1, sizeof(netsnmp_pdu))));
    if (snmp_pdu_parse(pdu.get(), pPdu, &nRest) != 0)
        return request;
    request.nVersion = nVersion;
    request.strCommunity.assign(reinterpret_cast<char*>(community), nCommunity);
    request.nCommand = pdu->command;
    if (pdu->command == SNMP_MSG_GETBULK) {
        request.nNonRepeaters = pdu->non_repeaters;
        request.nMaxRepetitions = pdu->max_repetitions;
    }
    *pnRequestId = pdu->reqid;
    for (netsnmp_variable_list* p = pdu->variables; p; p = p->next_variable)
        request.vars.push_back(FromNetSnmp(*p));
    return request;
}

// BER, written here rather than by net-snmp, whose encoder keeps only the low
// 32 bits of numbers: the agent sends exactly what a test tells it to.
using Bytes = std::vector<unsigned char>;

void AppendElement(Bytes& out, unsigned char tag, const Bytes& content)
{
    out.push_back(tag);
    const std::size_t nLength = content.size();
    if (nLength < 0x80) {
        out.push_back(static_cast<unsigned char>(nLength));
    } else {
        Bytes length;
        for (std::size_t n = nLength; n; n >>= 8)
            length.insert(length.begin(), static_cast<unsigned char>(n & 0xFF));
        out.push_back(static_cast<unsigned char>(0x80 | length.size()));
        out.insert(out.end(), length.begin(), length.end());
    }
    out.insert(out.end(), content.begin(), content.end());
}

// Shortest two's complement of a signed number.
Bytes SignedContent(long long nValue)
{
    Bytes content;
    for (int i = 7; i >= 0; --i)
        content.push_back(static_cast<unsigned char>(static_cast<unsigned long long>(nValue) >> (8 * i)));
    while (content.size() > 1 && ((content[0] == 0x00 && !(content[1] & 0x80)) ||
                                  (content[0] == 0xFF && (content[1] & 0x80))))
        content.erase(content.begin());
    return content;
}

// Shortest encoding of an unsigned 64-bit number (a leading zero byte where the top bit is set).
Bytes UnsignedContent(unsigned long long nValue)
{
    Bytes content{0};
    for (int i = 7; i >= 0; --i)
        content.push_back(static_cast<unsigned char>(nValue >> (8 * i)));
    while (content.size() > 1 && content[0] == 0x00 && !(content[1] & 0x80))
        content.erase(content.begin());
    return content;
}

Bytes OidContent(const CFakeAgent::Oid& ids)
{
    std::vector<unsigned long long> subids;
    if (ids.size() >= 2)
        subids.push_back(40ull * ids[0] + ids[1]);
    else
        subids.push_back(ids.empty() ? 0 : 40ull * ids[0]);
    for (std::size_t i = 2; i < ids.size(); ++i)
        subids.push_back(ids[i]);
    Bytes content;
    for (const unsigned long long nSubid : subids) {
        Bytes groups{static_cast<unsigned char>(nSubid & 0x7F)};
        for (unsigned long long n = nSubid >> 7; n; n >>= 7)
            groups.insert(groups.begin(), static_cast<unsigned char>(0x80 | (n & 0x7F)));
        content.insert(content.end(), groups.begin(), groups.end());
    }
    return content;
}

Bytes ValueContent(const CFakeAgent::CVar& var)
{
    switch (var.type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_UINTEGER:
        return SignedContent(var.nNumber);
    case ASN_COUNTER64:
        return UnsignedContent(static_cast<unsigned long long>(var.nNumber));
    case ASN_OBJECT_ID:
        return OidContent(var.object);
    default:
        return Bytes(var.strBytes.begin(), var.strBytes.end());  // NULL and exceptions: none
    }
}

std::vector<unsigned char> Encode(const CFakeAgent::CRequest& request, long nRequestId,
                                  const CFakeAgent::CAnswer& answer)
{
    Bytes bindings;
    for (const CFakeAgent::CVar& var : answer.vars) {
        Bytes binding;
        AppendElement(binding, ASN_OBJECT_ID, OidContent(var.name));
        AppendElement(binding, var.type, ValueContent(var));
        AppendElement(bindings, ASN_SEQUENCE | ASN_CONSTRUCTOR, binding);
    }
    Bytes pdu;
    AppendElement(pdu, ASN_INTEGER, SignedContent(nRequestId));
    AppendElement(pdu, ASN_INTEGER, SignedContent(answer.nErrorStatus));
    AppendElement(pdu, ASN_INTEGER, SignedContent(answer.nErrorIndex));
    AppendElement(pdu, ASN_SEQUENCE | ASN_CONSTRUCTOR, bindings);
    Bytes message;
    AppendElement(message, ASN_INTEGER, SignedContent(request.nVersion));
    AppendElement(message, ASN_OCTET_STR, Bytes(request.strCommunity.begin(), request.strCommunity.end()));
    AppendElement(message, SNMP_MSG_RESPONSE, pdu);
    Bytes packet;
    AppendElement(packet, ASN_SEQUENCE | ASN_CONSTRUCTOR, message);
    return packet;
}

bool Before(const CFakeAgent::Oid& a, const CFakeAgent::Oid& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

CFakeAgent::CFakeAgent(Script script) : m_script(std::move(script))
{
    SnmpMgrStartup();
    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nAddress = sizeof address;
    if (m_socket < 0 || bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &nAddress) != 0) {
        ADD_FAILURE() << "fake agent: no UDP socket on 127.0.0.1: " << std::strerror(errno);
        return;
    }
    m_nPort = ntohs(address.sin_port);
    m_thread = std::thread(&CFakeAgent::Serve, this);
}

CFakeAgent::~CFakeAgent()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_socket >= 0)
        close(m_socket);
}

std::string CFakeAgent::Address() const
{
    return "127.0.0.1:" + std::to_string(m_nPort);
}

std::vector<CFakeAgent::CRequest> CFakeAgent::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

std::size_t CFakeAgent::RequestCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.size();
}

bool CFakeAgent::WaitForRequests(std::size_t n, int nTimeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cvRequest.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), [&] { return m_requests.size() >= n; });
}

void CFakeAgent::Serve()
{
    std::vector<unsigned char> buffer(65536);
    while (!m_bStop) {
        pollfd fd{m_socket, POLLIN, 0};
        if (poll(&fd, 1, 20) <= 0)
            continue;
        sockaddr_in from{};
        socklen_t nFrom = sizeof from;
        const ssize_t nRead =
            recvfrom(m_socket, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &nFrom);
        if (nRead > 0)
            Answer(buffer.data(), static_cast<std::size_t>(nRead), &from, nFrom);
    }
}

void CFakeAgent::Answer(const unsigned char* pPacket, std::size_t nLength, const void* pFrom, unsigned nFromLength)
{
    long nRequestId = 0;
    const CRequest request = Decode(pPacket, nLength, &nRequestId);
    std::size_t nIndex;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        nIndex = m_requests.size();
        m_requests.push_back(request);
    }
    m_cvRequest.notify_all();
    if (request.nVersion < 0)
        return;
    const CAnswer answer = m_script(request, nIndex);
    if (answer.nDelayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(answer.nDelayMs));
    std::vector<unsigned char> packet;
    if (answer.eKind == CAnswer::Kind::Reply)
        packet = Encode(request, nRequestId, answer);
    else if (answer.eKind == CAnswer::Kind::Garbled)
        packet = {0x30, 0x82, 0xFF, 0x01, 0x02, 0x01, 0x00, 0x04, 0x40, 'x'};
    if (!packet.empty())
        sendto(m_socket, packet.data(), packet.size(), 0, static_cast<const sockaddr*>(pFrom), nFromLength);
}

CFakeAgent::Oid CFakeAgent::ParseOid(const std::string& strDotted)
{
    Oid ids;
    std::size_t nStart = strDotted.empty() || strDotted[0] != '.' ? 0 : 1;
    while (nStart < strDotted.size()) {
        const std::size_t nDot = strDotted.find('.', nStart);
        ids.push_back(static_cast<std::uint32_t>(std::stoul(strDotted.substr(nStart, nDot - nStart))));
        nStart = nDot == std::string::npos ? strDotted.size() : nDot + 1;
    }
    return ids;
}

CFakeAgent::CVar CFakeAgent::Number(const std::string& strOid, unsigned char type, long long nNumber)
{
    CVar var = Tag(strOid, type);
    var.nNumber = nNumber;
    return var;
}

CFakeAgent::CVar CFakeAgent::Bytes(const std::string& strOid, unsigned char type, const std::string& strBytes)
{
    CVar var = Tag(strOid, type);
    var.strBytes = strBytes;
    return var;
}

CFakeAgent::CVar CFakeAgent::Tag(const std::string& strOid, unsigned char type)
{
    CVar var;
    var.name = ParseOid(strOid);
    var.type = type;
    return var;
}

CFakeAgent::CAnswer CFakeAgent::NextFrom(const std::vector<CVar>& table, const CRequest& request)
{
    CAnswer answer;
    answer.vars = request.vars;
    const bool bBulk = request.nCommand == SNMP_MSG_GETBULK && request.nNonRepeaters == 0;
    if ((request.nCommand != SNMP_MSG_GETNEXT && !bBulk) || request.vars.size() != 1) {
        answer.nErrorStatus = SNMP_ERR_NOSUCHNAME;
        answer.nErrorIndex = 1;
        return answer;
    }
    const Oid& asked = request.vars[0].name;
    auto it = std::find_if(table.begin(), table.end(), [&](const CVar& var) { return Before(asked, var.name); });
    if (it == table.end() && request.nVersion == SNMP_VERSION_1) {
        answer.nErrorStatus = SNMP_ERR_NOSUCHNAME;
        answer.nErrorIndex = 1;
        return answer;
    }
    answer.vars.clear();
    const long nCount = bBulk ? std::max(request.nMaxRepetitions, 1L) : 1;
    for (long n = 0; n < nCount; ++n) {
        if (it != table.end()) {
            answer.vars.push_back(*it++);
        } else {
            CVar end = answer.vars.empty() ? request.vars[0] : answer.vars.back();
            end.type = SNMP_ENDOFMIBVIEW;
            answer.vars.push_back(end);
        }
    }
    return answer;
}

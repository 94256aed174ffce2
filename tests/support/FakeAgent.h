#pragma once
// A scriptable SNMP v1/v2c agent for tests: a UDP responder on 127.0.0.1 (free
// port) on a thread of its own. Each request is decoded, recorded and handed to
// the script, whose answer says what to send back: bindings, an error status,
// nothing at all, a garbled packet, after an optional delay. Requests are
// served one at a time, in arrival order.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CFakeAgent
{
public:
    using Oid = std::vector<std::uint32_t>;

    struct CVar
    {
        Oid name;
        unsigned char type = 0x05;  // any tag: 0x02 INTEGER ... 0x82 endOfMibView
        long long nNumber = 0;      // INTEGER, Counter32, Gauge32, TimeTicks, UInteger32, Counter64 (as unsigned);
                                    // sent as given, whatever the type's range
        std::string strBytes;       // OCTET STRING, IpAddress, Opaque, BITS, NsapAddress: the content
        Oid object;                 // OBJECT IDENTIFIER
    };

    struct CRequest
    {
        long nVersion = -1;  // 0 = v1, 1 = v2c; -1 when the packet did not decode
        std::string strCommunity;
        int nCommand = 0;    // 0xA0 GET, 0xA1 GET-NEXT, 0xA3 SET, 0xA5 GetBulk
        long nNonRepeaters = 0, nMaxRepetitions = 0;  // GetBulk only
        std::vector<CVar> vars;
    };

    struct CAnswer
    {
        enum class Kind
        {
            Reply,    // a response PDU with the fields below
            Silent,   // no answer at all
            Garbled,  // bytes that are no SNMP message
        };
        Kind eKind = Kind::Reply;
        long nErrorStatus = 0;  // sent as given: any number
        long nErrorIndex = 0;
        std::vector<CVar> vars;
        int nDelayMs = 0;  // wait this long before answering
    };

    // nIndex counts requests from 0.
    using Script = std::function<CAnswer(const CRequest& request, std::size_t nIndex)>;

    explicit CFakeAgent(Script script);
    ~CFakeAgent();
    CFakeAgent(const CFakeAgent&) = delete;
    CFakeAgent& operator=(const CFakeAgent&) = delete;

    int Port() const { return m_nPort; }
    std::string Address() const;  // "127.0.0.1:<port>"
    std::vector<CRequest> Requests() const;
    std::size_t RequestCount() const;
    // Waits until at least n requests have arrived (false after nTimeoutMs).
    bool WaitForRequests(std::size_t n, int nTimeoutMs = 5000) const;

    // ".1.3.6.1" or "1.3.6.1" to sub-identifiers.
    static Oid ParseOid(const std::string& strDotted);
    static CVar Number(const std::string& strOid, unsigned char type, long long nNumber);
    static CVar Bytes(const std::string& strOid, unsigned char type, const std::string& strBytes);
    static CVar Tag(const std::string& strOid, unsigned char type);  // no value: NULL, exceptions
    // GET-NEXT over a table of variables in ascending order: the first one beyond
    // the asked name; past the last, noSuchName (v1) or endOfMibView (v2c).
    // GetBulk of one name: up to max-repetitions successors, the rest of them
    // endOfMibView past the last. Other requests are answered noSuchName.
    static CAnswer NextFrom(const std::vector<CVar>& table, const CRequest& request);

private:
    void Serve();
    void Answer(const unsigned char* pPacket, std::size_t nLength, const void* pFrom, unsigned nFromLength);

    Script m_script;
    int m_socket = -1;
    int m_nPort = 0;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cvRequest;
    std::vector<CRequest> m_requests;  // guarded by m_mutex
    std::thread m_thread;
};

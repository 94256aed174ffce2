#pragma once
// Owns one manager-interface OID and releases it with SnmpUtilOidFree.
#include "platform/snmpmgr/SnmpMgr.h"

class CSnmpOid
{
public:
    CSnmpOid() = default;
    ~CSnmpOid() { Clear(); }
    CSnmpOid(const CSnmpOid&) = delete;
    CSnmpOid& operator=(const CSnmpOid&) = delete;

    // Replaces the held OID by a copy of source. False (and the OID empty) when
    // the copy fails.
    bool CopyFrom(const AsnObjectIdentifier& source)
    {
        SnmpUtilOidFree(&m_oid);
        return SnmpUtilOidCpy(&m_oid, &source) != 0;
    }
    void Clear() { SnmpUtilOidFree(&m_oid); }
    // For filling through the interface (SnmpMgrStrToOid); must be empty then.
    AsnObjectIdentifier* Out() { return &m_oid; }
    const AsnObjectIdentifier& Get() const { return m_oid; }
    // Hands the OID over to the caller, who must release it; leaves this empty.
    AsnObjectIdentifier Release()
    {
        const AsnObjectIdentifier oid = m_oid;
        m_oid = {};
        return oid;
    }

private:
    AsnObjectIdentifier m_oid{};
};

#pragma once
// The binding list of one request: empty, or one binding; after a GetBulk
// answer, the answer's bindings. Owns what it holds and releases it with
// SnmpUtilVarBindListFree.
#include "platform/snmpmgr/SnmpMgr.h"
#include "snmp/SnmpOid.h"

class CBindingList
{
public:
    CBindingList() = default;
    ~CBindingList() { Clear(); }
    CBindingList(const CBindingList&) = delete;
    CBindingList& operator=(const CBindingList&) = delete;

    // Grows the empty list to one binding that takes over name's OID (no copy),
    // with a NULL value. On failure the OID is released and the list stays empty.
    bool Grow(CSnmpOid& name);
    // Makes the list one binding named by a copy of oid (which may be a name
    // in the list) with a NULL value, releasing every old binding. False when
    // the copy fails (the list is then unchanged).
    bool Rename(const AsnObjectIdentifier& oid);

    // Releases the binding, if any; the list is empty again.
    void Clear() { SnmpUtilVarBindListFree(&m_list); }

    // The first binding; only while Count() > 0.
    SnmpVarBind& Binding() { return m_list.list[0]; }
    UINT Count() const { return m_list.len; }
    const SnmpVarBind& At(UINT nIndex) const { return m_list.list[nIndex]; }
    SnmpVarBindList* List() { return &m_list; }

private:
    SnmpVarBindList m_list{nullptr, 0};
};

#pragma once
// The binding list of one request: empty, or one binding. Owns what it holds
// and releases it with SnmpUtilVarBindListFree.
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
    // Replaces the binding's name by a copy of oid and its value by NULL,
    // releasing the old ones. False when the copy fails (the name is then empty).
    bool Rename(const AsnObjectIdentifier& oid);

    // Releases the binding, if any; the list is empty again.
    void Clear() { SnmpUtilVarBindListFree(&m_list); }

    // The one binding; only after a successful Grow.
    SnmpVarBind& Binding() { return m_list.list[0]; }
    SnmpVarBindList* List() { return &m_list; }

private:
    SnmpVarBindList m_list{nullptr, 0};
};

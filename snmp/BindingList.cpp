#include "snmp/BindingList.h"

bool CBindingList::Grow(CSnmpOid& name)
{
    m_list.len = 1;
    void* pGrown = SnmpUtilMemReAlloc(m_list.list, sizeof(SnmpVarBind));
    if (!pGrown) {
        SnmpUtilOidFree(name.Out());
        m_list.len = 0;
        return false;
    }
    m_list.list = static_cast<SnmpVarBind*>(pGrown);
    m_list.list[0].name = name.Release();
    m_list.list[0].value = {};
    m_list.list[0].value.asnType = ASN_NULL;
    return true;
}

bool CBindingList::Rename(const AsnObjectIdentifier& oid)
{
    CSnmpOid copy;
    if (!copy.CopyFrom(oid))
        return false;
    if (m_list.len == 0)
        return Grow(copy);
    for (UINT i = 0; i < m_list.len; ++i)
        SnmpUtilVarBindFree(&m_list.list[i]);
    m_list.len = 1;  // the array keeps its size
    Binding().name = copy.Release();
    Binding().value.asnType = ASN_NULL;
    return true;
}

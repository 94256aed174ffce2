#include "snmp/SnmpRead.h"
#include "snmp/AgentSession.h"
#include "snmp/BindingList.h"
#include "snmp/EnumValueText.h"
#include "snmp/ErrorText.h"
#include "snmp/SnmpOid.h"
#include "snmp/SnmpValue.h"
#include "snmp/SnmpwalkText.h"
#include <cstdint>

namespace {

CReadResult NotRead(const std::string& strError)
{
    CReadResult result;
    result.m_strError = strError;
    return result;
}

} // namespace

std::unique_ptr<CWalkRecord> RecordOf(const SnmpVarBind& binding, bool bSnmpwalkValue)
{
    char* pszName = nullptr;
    if (!SnmpMgrOidToStr(&binding.name, &pszName))
        return nullptr;
    auto pRecord = std::make_unique<CWalkRecord>();
    pRecord->m_strName = pszName;
    SnmpUtilMemFree(pszName);
    pRecord->m_strOid = FormatOidText(binding.name);
    RenderValue(binding.value, pRecord->m_strType, pRecord->m_strValue);
    pRecord->m_strValue = ValueCellText(pRecord->m_strOid, pRecord->m_strType, pRecord->m_strValue);
    if (bSnmpwalkValue)
        pRecord->m_strSnmpwalkValue = SnmpwalkValueText(binding.value);
    return pRecord;
}

CReadResult ReadValue(const CWalkRequest& request, const std::string& strOid)
{
    CSnmpOid name;
    if (strOid.empty() || !SnmpMgrStrToOid(strOid.c_str(), name.Out()))
        return NotRead(FormatErrorText("Error: Invalid oid, %s, specified.\n", strOid.c_str()));
    CBindingList list;
    if (!list.Grow(name))
        return NotRead(FormatErrorText("Error: Error allocating oid, %s.\n", strOid.c_str()));
    CAgentSession session;
    if (!session.Open(request.m_strHost, request.m_strCommunity, request.m_profile))
        return NotRead(FormatErrorText("Error attempting to connect to '%s' with community '%s'\nError ID:%d\n",
                                       request.m_strHost.c_str(), request.m_strCommunity.c_str(),
                                       static_cast<int>(session.LastError())));
    AsnInteger32 nStatus = 0, nIndex = 0;
    switch (session.Request(SNMP_PDU_GET, list, nStatus, nIndex)) {
    case CAgentSession::Outcome::Exception:
        return NotRead("An excpetion occured during SnmpMgrRequest");
    case CAgentSession::Outcome::NoResponse:
        return NotRead(DescribeRequestFailure(session.LastError(), request.m_profile.m_eLevel));
    case CAgentSession::Outcome::Answered:
        break;
    }
    if (nStatus != 0) {
        std::int64_t nSentStatus = nStatus, nSentIndex = nIndex;
        SnmpMgrLastErrorStatus(&nSentStatus, &nSentIndex);
        return NotRead(FormatErrorText("Error: errorStatus=%lld, errorIndex=%lld \n",
                                       static_cast<long long>(nSentStatus), static_cast<long long>(nSentIndex)));
    }
    const std::unique_ptr<CWalkRecord> pRecord = RecordOf(list.Binding(), request.m_bSnmpwalkValues);
    if (!pRecord)
        return NotRead(FormatErrorText("Error: Invalid oid, %s, specified.\n", strOid.c_str()));
    CReadResult result;
    result.m_bRead = true;
    result.m_record = *pRecord;
    return result;
}

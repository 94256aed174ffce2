#pragma once
// Reading one variable from an agent: one SNMP GET of one binding, with a
// session of its own (independent of any walk). Runs on the calling (UI)
// thread and blocks until the agent answers or the Timeout and Retries
// settings are used up.
#include "platform/snmpmgr/SnmpMgr.h"
#include "snmp/WalkMessages.h"
#include "snmp/WalkRequest.h"
#include <memory>
#include <string>

// What a read came to: the variable as the walk would have returned it, or
// the text of why there is none.
struct CReadResult
{
    bool m_bRead = false;
    std::string m_strError;  // set when m_bRead is false
    CWalkRecord m_record;    // set when m_bRead is true
};

// GETs the variable strOid (an OID text) from the request's agent with its
// community, the host used as typed. A refusal (error status), no answer, an
// OID that is not one or a session that cannot be opened give their texts;
// an answer that says the variable does not exist is a value (its exception).
CReadResult ReadValue(const CWalkRequest& request, const std::string& strOid);

// The record of one answered binding: OID text, the interface's name text,
// type, value text and, with bSnmpwalkValue, the value in net-snmp's tools'
// form. Null when the name has no text.
std::unique_ptr<CWalkRecord> RecordOf(const SnmpVarBind& binding, bool bSnmpwalkValue);

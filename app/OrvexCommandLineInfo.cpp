#include "app/OrvexCommandLineInfo.h"

void COrvexCommandLineInfo::ParseParam(const std::string& strParam, BOOL bFlag, BOOL bLast)
{
    if (m_pstrPending && !bFlag) {
        *m_pstrPending = strParam;
        m_pstrPending = nullptr;
        return;
    }
    m_pstrPending = nullptr;
    if (bFlag && strParam == "host")
        m_pstrPending = &m_strHost;
    else if (bFlag && strParam == "community")
        m_pstrPending = &m_strCommunity;
    else if (bFlag && strParam == "go")
        m_bGo = TRUE;
    else
        CCommandLineInfo::ParseParam(strParam, bFlag, bLast);
}

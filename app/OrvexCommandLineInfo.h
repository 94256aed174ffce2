#pragma once
// The application's own options on top of the standard document command line:
//   --host HOST --community COMMUNITY [--go]
// fill the first document window's query bar (and start the query).
#include "app/CommandLineInfo.h"

class COrvexCommandLineInfo : public CCommandLineInfo
{
public:
    // The value after --host or --community is taken as that option's, never
    // as a document name. Other arguments go to the standard command line.
    void ParseParam(const std::string& strParam, BOOL bFlag, BOOL bLast) override;

    std::string m_strHost;
    std::string m_strCommunity;
    BOOL m_bGo = FALSE;

private:
    std::string* m_pstrPending = nullptr;  // Not owned: the member the next value goes to.
};

#pragma once
// CTreeMatcher: which nodes a find or filter pattern matches. The texts looked
// at are those of the columns in a mask (column 0 is the label, column i + 1
// cell i). A plain pattern matches as a substring; a regular expression
// matches anywhere in a text. Case is ignored unless asked for, over the
// Latin-1 characters the rows show. An empty pattern matches nothing.
//
// UI thread only (Matches reuses a buffer). Matches costs O(length of the
// texts) for a plain pattern.
#include "platform/WinTypes.h"

#include <QRegularExpression>
#include <QString>
#include <array>
#include <string>

class CNodeInfo;

class CTreeMatcher
{
public:
    enum EFlags : UINT { fMatchCase = 1, fRegularExpression = 2 };
    static constexpr DWORD kAllColumns = ~DWORD{0};

    // FALSE when the pattern is not a valid regular expression; the matcher then
    // matches nothing and ErrorText() says why.
    BOOL Set(const std::string& strPattern, UINT nFlags, DWORD nColumnMask = kAllColumns);
    BOOL IsEmpty() const { return m_strPattern.empty() || !m_strError.empty(); }
    const std::string& ErrorText() const { return m_strError; }
    const std::string& Pattern() const { return m_strPattern; }
    UINT Flags() const { return m_nFlags; }

    BOOL Matches(const CNodeInfo& info) const;

private:
    bool MatchesText(const std::string& strText) const;
    bool ContainsFolded(const std::string& strText) const;

    std::string m_strPattern;
    std::string m_strFolded;                 // the pattern, case-folded unless fMatchCase
    UINT m_nFlags = 0;
    DWORD m_nColumnMask = kAllColumns;
    std::string m_strError;
    QRegularExpression m_regex;
    std::array<unsigned char, 256> m_fold{};  // byte -> its folded byte
    mutable QString m_strSubject;             // reused for each text a regex is tried on
};

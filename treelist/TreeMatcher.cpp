#include "treelist/TreeMatcher.h"
#include "treelist/NodeInfo.h"

#include <QChar>
#include <algorithm>

BOOL CTreeMatcher::Set(const std::string& strPattern, UINT nFlags, DWORD nColumnMask)
{
    m_strPattern = strPattern;
    m_nFlags = nFlags;
    m_nColumnMask = nColumnMask;
    m_strError.clear();
    const bool bMatchCase = (nFlags & fMatchCase) != 0;
    // The rows show each byte as the Latin-1 character of that code.
    for (int c = 0; c < 256; ++c)
        m_fold[static_cast<size_t>(c)] =
            bMatchCase ? static_cast<unsigned char>(c) : static_cast<unsigned char>(QChar(c).toLower().unicode());
    m_strFolded = strPattern;
    for (char& c : m_strFolded)
        c = static_cast<char>(m_fold[static_cast<unsigned char>(c)]);
    if (!(nFlags & fRegularExpression) || strPattern.empty())
        return TRUE;
    m_regex.setPattern(QString::fromLatin1(strPattern.data(), qsizetype(strPattern.size())));
    m_regex.setPatternOptions(bMatchCase ? QRegularExpression::NoPatternOption
                                         : QRegularExpression::CaseInsensitiveOption);
    if (!m_regex.isValid()) {
        m_strError = m_regex.errorString().toStdString() + " at offset "
            + std::to_string(m_regex.patternErrorOffset());
        return FALSE;
    }
    m_regex.optimize();
    return TRUE;
}

BOOL CTreeMatcher::Matches(const CNodeInfo& info) const
{
    if (IsEmpty())
        return FALSE;
    if ((m_nColumnMask & 1) && MatchesText(info.GetText()))
        return TRUE;
    for (int i = 0; i < info.GetSubTextCount() && i < 31; ++i)
        if ((m_nColumnMask & (DWORD{1} << (i + 1))) && MatchesText(info.GetSubText(i)))
            return TRUE;
    return FALSE;
}

bool CTreeMatcher::MatchesText(const std::string& strText) const
{
    if (!(m_nFlags & fRegularExpression))
        return ContainsFolded(strText);
    m_strSubject.resize(qsizetype(strText.size()));
    QChar* pOut = m_strSubject.data();
    for (unsigned char c : strText)
        *pOut++ = QChar(c);
    // Latin-1 codes are always valid UTF-16: the check of the subject is skipped.
    return m_regex.match(m_strSubject, 0, QRegularExpression::NormalMatch,
                         QRegularExpression::DontCheckSubjectStringMatchOption)
        .hasMatch();
}

bool CTreeMatcher::ContainsFolded(const std::string& strText) const
{
    if (strText.size() < m_strFolded.size())
        return false;
    const auto equal = [this](char a, char b) {
        return m_fold[static_cast<unsigned char>(a)] == static_cast<unsigned char>(b);
    };
    return std::search(strText.begin(), strText.end(), m_strFolded.begin(), m_strFolded.end(), equal)
        != strText.end();
}

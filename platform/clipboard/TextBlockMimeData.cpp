#include "platform/clipboard/TextBlockMimeData.h"

namespace {

const QString kPlainText = QStringLiteral("text/plain");

} // namespace

CTextBlockMimeData::CTextBlockMimeData(HGLOBAL hMem, std::size_t nLength)
    : m_hMem(std::move(hMem)), m_nLength(static_cast<qsizetype>(nLength))
{
}

QStringList CTextBlockMimeData::formats() const
{
    return {kPlainText};
}

bool CTextBlockMimeData::hasFormat(const QString& strMimeType) const
{
    return strMimeType == kPlainText;
}

QVariant CTextBlockMimeData::retrieveData(const QString& strMimeType, QMetaType /*type*/) const
{
    if (strMimeType != kPlainText)
        return {};
    return QString::fromLatin1(m_hMem->Lock(), m_nLength);
}

#pragma once
// Clipboard contents that keep the block of 8-bit text handed over and make the
// clipboard's text of it only when something reads or pastes it: a million
// nodes' text is tens of megabytes, and converting it at copy time held the
// UI thread longer than making it.
#include "platform/clipboard/GlobalMem.h"
#include <QMimeData>

class CTextBlockMimeData : public QMimeData
{
public:
    // The text is the block's first nLength bytes, read as Latin-1.
    CTextBlockMimeData(HGLOBAL hMem, std::size_t nLength);

    QStringList formats() const override;
    bool hasFormat(const QString& strMimeType) const override;

protected:
    // O(length) each time it is asked.
    QVariant retrieveData(const QString& strMimeType, QMetaType type) const override;

private:
    HGLOBAL m_hMem;  // Owned.
    qsizetype m_nLength;
};

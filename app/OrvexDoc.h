#pragma once
// The document of a document window. It carries no data: saving writes nothing
// and opening reads nothing. Its title is what its windows show; the query view
// sets it to the host of the running query.
#include "platform/WinTypes.h"
#include <QObject>
#include <string>

class COrvexDoc : public QObject
{
    Q_OBJECT
public:
    COrvexDoc() = default;

    // A new, untitled document: the title becomes "". TRUE on success.
    BOOL OnNewDocument();
    // A document opened from strPathName, which must be a readable file (its
    // contents are not read); the title becomes the file's name. FALSE, with a
    // message, when the file cannot be opened.
    BOOL OnOpenDocument(const std::string& strPathName);

    void SetTitle(const std::string& strTitle);
    const std::string& GetTitle() const { return m_strTitle; }
    const std::string& GetPathName() const { return m_strPathName; }

signals:
    void TitleChanged();

private:
    std::string m_strTitle;
    std::string m_strPathName;
};

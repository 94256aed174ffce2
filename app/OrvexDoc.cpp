#include "app/OrvexDoc.h"
#include "platform/msgbox/MessageBox.h"
#include <QFile>
#include <QFileInfo>

BOOL COrvexDoc::OnNewDocument()
{
    SetTitle("");
    m_strPathName.clear();
    return TRUE;
}

BOOL COrvexDoc::OnOpenDocument(const std::string& strPathName)
{
    const QString strPath = QString::fromLocal8Bit(strPathName.c_str());
    QFile file(strPath);
    if (QFileInfo(strPath).isDir() || !file.open(QIODevice::ReadOnly)) {
        AfxMessageBox("Failed to open document.", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    m_strPathName = strPathName;
    SetTitle(QFileInfo(strPath).fileName().toLocal8Bit().toStdString());
    return TRUE;
}

void COrvexDoc::SetTitle(const std::string& strTitle)
{
    m_strTitle = strTitle;
    emit TitleChanged();
}

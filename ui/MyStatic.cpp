#include "ui/MyStatic.h"

CMyStatic::CMyStatic(QWidget* pParent, int nID)
    : QLabel(pParent), m_nID(nID)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setTextFormat(Qt::PlainText);
}

void CMyStatic::SetWindowText(const std::string& strText)
{
    setText(QString::fromLatin1(strText.data(), qsizetype(strText.size())));
}

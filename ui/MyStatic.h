#pragma once
// A static text label with a transparent background: whatever its parent paints
// behind it (a gradient, a panel) shows through around the text.
#include <QLabel>
#include <string>

class CMyStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CMyStatic(QWidget* pParent = nullptr, int nID = 0);

    // 8-bit text, shown as Latin-1.
    void SetWindowText(const std::string& strText);
    int GetDlgCtrlID() const { return m_nID; }

private:
    int m_nID;
};

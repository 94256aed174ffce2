#pragma once
// A desktop whose `xdg-mime` answers "query default text/html" with a given
// program name (nothing when it is empty) and exit code: a script of that name
// first on PATH while the object lives.
#include <QTemporaryDir>
#include <string>

class CFakeDesktop
{
public:
    explicit CFakeDesktop(const std::string& strHtmlHandler, int nExit = 0);
    ~CFakeDesktop();
    CFakeDesktop(const CFakeDesktop&) = delete;
    CFakeDesktop& operator=(const CFakeDesktop&) = delete;

private:
    QTemporaryDir m_bin;
    std::string m_strOldPath;
};

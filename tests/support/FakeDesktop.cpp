#include "FakeDesktop.h"
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>

CFakeDesktop::CFakeDesktop(const std::string& strHtmlHandler, int nExit) : m_strOldPath(std::getenv("PATH"))
{
    QFile script(m_bin.path() + "/xdg-mime");
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    const std::string strAnswer = strHtmlHandler.empty() ? "" : "echo '" + strHtmlHandler + "'";
    script.write(("#!/bin/sh\n[ \"$1 $2 $3\" = \"query default text/html\" ] && " + strAnswer + "\nexit " +
                  std::to_string(nExit) + "\n").c_str());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("PATH", (m_bin.path().toStdString() + ":" + m_strOldPath).c_str(), 1);
}

CFakeDesktop::~CFakeDesktop()
{
    setenv("PATH", m_strOldPath.c_str(), 1);
}

#include "TempXdg.h"
#include <QDir>
#include <cstdlib>

CTempXdg::CTempXdg()
{
    if (const char* h = std::getenv("XDG_CONFIG_HOME")) { m_bHadHome = true; m_strOldHome = h; }
    if (const char* d = std::getenv("XDG_CONFIG_DIRS")) { m_bHadDirs = true; m_strOldDirs = d; }
    if (const char* s = std::getenv("XDG_DATA_HOME")) { m_bHadData = true; m_strOldData = s; }
    QDir(m_dir.path()).mkpath("home");
    QDir(m_dir.path()).mkpath("data");
    QDir(m_dir.path()).mkpath("etc");
    setenv("XDG_CONFIG_HOME", (m_dir.path() + "/home").toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_DIRS", (m_dir.path() + "/etc:/nonexistent").toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", DataDir().toLocal8Bit().constData(), 1);
}

CTempXdg::~CTempXdg()
{
    if (m_bHadHome) setenv("XDG_CONFIG_HOME", m_strOldHome.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
    if (m_bHadDirs) setenv("XDG_CONFIG_DIRS", m_strOldDirs.c_str(), 1); else unsetenv("XDG_CONFIG_DIRS");
    if (m_bHadData) setenv("XDG_DATA_HOME", m_strOldData.c_str(), 1); else unsetenv("XDG_DATA_HOME");
}

QString CTempXdg::UserHiveDir() const { return m_dir.path() + "/home/orvex"; }
QString CTempXdg::MachineHiveDir() const { return m_dir.path() + "/etc/orvex"; }
QString CTempXdg::DataDir() const { return m_dir.path() + "/data"; }

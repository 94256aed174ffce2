#pragma once
// Points XDG_CONFIG_HOME, XDG_CONFIG_DIRS and XDG_DATA_HOME at fresh temporary
// folders for the lifetime of the object, so tests never touch the real user's files.
#include <QTemporaryDir>
#include <QString>
#include <string>

class CTempXdg
{
public:
    CTempXdg();
    ~CTempXdg();
    CTempXdg(const CTempXdg&) = delete;
    CTempXdg& operator=(const CTempXdg&) = delete;

    QString UserHiveDir() const;     // $XDG_CONFIG_HOME/orvex
    QString MachineHiveDir() const;  // <first of $XDG_CONFIG_DIRS>/orvex
    QString DataDir() const;         // $XDG_DATA_HOME
    QString UserHiveFile() const { return UserHiveDir() + "/user.reg"; }
    QString MachineHiveFile() const { return MachineHiveDir() + "/machine.reg"; }

private:
    QTemporaryDir m_dir;
    std::string m_strOldHome, m_strOldDirs, m_strOldData;
    bool m_bHadHome = false, m_bHadDirs = false, m_bHadData = false;
};

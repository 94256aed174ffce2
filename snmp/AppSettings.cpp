#include "snmp/AppSettings.h"
#include <cstring>

CAppSettings AppSettings;

std::string CAppSettings::Base() const
{
    std::lock_guard<std::mutex> lock(m_mutexBase);
    return m_strBase;
}

void CAppSettings::SetBase(const std::string& strBase)
{
    std::lock_guard<std::mutex> lock(m_mutexBase);
    m_strBase = strBase;
}

void CAppSettings::Reset()
{
    Cleaning = 1;
    Inferance = 1;
    InferColor = 0x00D0D0D0;
    WriteOn = 1;
    Timeout = 16;
    Retries = 3;
    Version = 1;
    std::memset(HomePath, 0, sizeof HomePath);
    SetBase(kDefaultBase);
}

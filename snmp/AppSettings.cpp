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

std::string CAppSettings::MibPath() const
{
    std::lock_guard<std::mutex> lock(m_mutexBase);
    return m_strMibPath;
}

void CAppSettings::SetMibPath(const std::string& strPath)
{
    std::lock_guard<std::mutex> lock(m_mutexBase);
    m_strMibPath = strPath;
}

void CAppSettings::Reset()
{
    Cleaning = kDefaultCleaning;
    Inferance = kDefaultInferance;
    InferColor = kDefaultInferColor;
    WriteOn = kDefaultWriteOn;
    Timeout = kDefaultTimeout;
    Retries = kDefaultRetries;
    Version = kDefaultVersion;
    ShowEnumLabels = kDefaultShowEnumLabels;
    MaxRepetitions = kDefaultMaxRepetitions;
    std::memset(HomePath, 0, sizeof HomePath);
    SetBase(kDefaultBase);
    SetMibPath(kDefaultMibPath);
}

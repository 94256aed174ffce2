#pragma once
// MIB module files for tests: written into a temporary folder, plus the paths
// of Orvex's base modules and of Debian's net-snmp modules.
#include <QTemporaryDir>
#include <string>

class CMibFiles
{
public:
    // resources/mibs of the source tree.
    static std::string BaseFolder();
    // Debian's own modules (UCD-SNMP-MIB, NET-SNMP-*), shipped with snmpd.
    static constexpr const char* kSystemFolder = "/usr/share/snmp/mibs";
    // A vendor-like module: a table with an index, enumerations, a textual
    // convention with a display hint, units and a deprecated object, below
    // enterprises.99999 ("ACME-SWITCH-MIB", objects "acme...").
    static const char* const kVendorModule;

    CMibFiles();
    const std::string& Folder() const { return m_strFolder; }
    // Writes text to Folder()/relative (folders made as needed); its full path.
    std::string Write(const std::string& strRelative, const std::string& strText) const;

private:
    QTemporaryDir m_dir;
    std::string m_strFolder;
};

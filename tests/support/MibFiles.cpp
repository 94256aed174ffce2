#include "MibFiles.h"
#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <fstream>

const char* const CMibFiles::kVendorModule = R"(ACME-SWITCH-MIB DEFINITIONS ::= BEGIN

IMPORTS
    MODULE-IDENTITY, OBJECT-TYPE, Integer32, Counter32, enterprises FROM SNMPv2-SMI
    TEXTUAL-CONVENTION, DisplayString FROM SNMPv2-TC;

acmeSwitch MODULE-IDENTITY
    LAST-UPDATED "202601010000Z"
    ORGANIZATION "Acme"
    CONTACT-INFO "nobody"
    DESCRIPTION  "A switch for tests."
    ::= { enterprises 99999 }

AcmeTenths ::= TEXTUAL-CONVENTION
    DISPLAY-HINT "d-1"
    STATUS       current
    DESCRIPTION  "A number in tenths."
    SYNTAX       Integer32 (0..1000)

acmePorts OBJECT IDENTIFIER ::= { acmeSwitch 1 }

acmePortTable OBJECT-TYPE
    SYNTAX      SEQUENCE OF AcmePortEntry
    MAX-ACCESS  not-accessible
    STATUS      current
    DESCRIPTION "The ports."
    ::= { acmePorts 1 }

acmePortEntry OBJECT-TYPE
    SYNTAX      AcmePortEntry
    MAX-ACCESS  not-accessible
    STATUS      current
    DESCRIPTION "One port."
    INDEX       { acmePortIndex }
    ::= { acmePortTable 1 }

AcmePortEntry ::= SEQUENCE {
    acmePortIndex   Integer32,
    acmePortState   INTEGER,
    acmePortTemp    AcmeTenths,
    acmePortName    DisplayString,
    acmePortErrors  Counter32
}

acmePortIndex OBJECT-TYPE
    SYNTAX      Integer32 (1..4096)
    MAX-ACCESS  not-accessible
    STATUS      current
    DESCRIPTION "The port number."
    ::= { acmePortEntry 1 }

acmePortState OBJECT-TYPE
    SYNTAX      INTEGER { up(1), down(2), testing(3) }
    MAX-ACCESS  read-write
    STATUS      current
    DESCRIPTION "Whether the port passes traffic."
    ::= { acmePortEntry 2 }

acmePortTemp OBJECT-TYPE
    SYNTAX      AcmeTenths
    UNITS       "degrees Celsius"
    MAX-ACCESS  read-only
    STATUS      current
    DESCRIPTION "The port's temperature."
    ::= { acmePortEntry 3 }

acmePortName OBJECT-TYPE
    SYNTAX      DisplayString
    MAX-ACCESS  read-only
    STATUS      current
    DESCRIPTION "The port's name."
    ::= { acmePortEntry 4 }

acmePortErrors OBJECT-TYPE
    SYNTAX      Counter32
    MAX-ACCESS  read-only
    STATUS      deprecated
    DESCRIPTION "Errors; replaced by the error table."
    ::= { acmePortEntry 5 }

END
)";

std::string CMibFiles::BaseFolder()
{
    const char* pszSource = std::getenv("ORVEX_SOURCE_DIR");
    return std::string(pszSource ? pszSource : ".") + "/resources/mibs";
}

CMibFiles::CMibFiles() : m_strFolder(m_dir.path().toStdString()) {}

std::string CMibFiles::Write(const std::string& strRelative, const std::string& strText) const
{
    const std::string strPath = m_strFolder + "/" + strRelative;
    QDir().mkpath(QFileInfo(QString::fromStdString(strPath)).path());
    std::ofstream(strPath, std::ios::binary) << strText;
    return strPath;
}

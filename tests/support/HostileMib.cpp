#include "HostileMib.h"

namespace {

// 124 sub-identifiers: a name of about 1,300 characters (net-snmp takes 128 at most).
std::string LongOid(int nLast)
{
    std::string strOid = ".1.3.6.1.4.1.99.9";
    for (int i = 0; i < 115; ++i)
        strOid += ".4294967295";
    return strOid + "." + std::to_string(nLast);
}

} // namespace

const std::vector<CHostileVar>& HostileMib()
{
    using F = CFakeAgent;
    static const std::vector<CHostileVar> mib = {
        {F::Number(".1.3.5.1.0", 0x02, 4294967296LL), "INTEGER", "4294967296"},
        // A TAB would make it hex; line ends and a backslash keep it text.
        {F::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "Linux 6.1\r\nforged.0\n\\"), "OCTETSTRING", "Linux 6.1\r\nforged.0\n\\"},
        {F::Number(".1.3.6.1.4.1.99.1.0", 0x42, 4294967301LL), "GAUGE32", "4294967301"},
        {F::Number(".1.3.6.1.4.1.99.2.0", 0x02, -4294967297LL), "INTEGER", "-4294967297"},
        {F::Bytes(".1.3.6.1.4.1.99.3.0", 0x44, std::string("\x9F\x78\x04\x3F\xC0\x00\x00", 7)), "OPAQUE", "1.5"},
        {F::Bytes(".1.3.6.1.4.1.99.4.0", 0x44, std::string("\x04\x02xy", 4)), "OPAQUE", " 04 02 78 79"},
        {F::Bytes(".1.3.6.1.4.1.99.5.0", 0x03, std::string("\x80\x01", 2)), "BITS", " 80 01"},
        {F::Bytes(".1.3.6.1.4.1.99.6.0", 0x45, std::string("\x47\x00\x05", 3)), "Unknown", " 47 00 05"},
        {F::Number(".1.3.6.1.4.1.99.7.0", 0x41, 0), "COUNTER32", "0"},
        {F::Number(LongOid(1), 0x02, 1), "INTEGER", "1"},
        {F::Number(LongOid(2), 0x02, 2), "INTEGER", "2"},
        {F::Number(".1.3.7.1.0", 0x02, 7), "INTEGER", "7"},
    };
    return mib;
}

std::vector<CFakeAgent::CVar> HostileVars()
{
    std::vector<CFakeAgent::CVar> vars;
    for (const CHostileVar& v : HostileMib())
        vars.push_back(v.var);
    return vars;
}

std::string OidText(const CFakeAgent::Oid& name)
{
    std::string strText;
    for (const std::uint32_t nId : name)
        strText += "." + std::to_string(nId);
    return strText;
}

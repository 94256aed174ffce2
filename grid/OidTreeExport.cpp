#include "grid/OidTreeExport.h"

CTreeExport NewOidTreeExport(CTreeExport::EFormat eFormat, CTreeExport::Sink sink)
{
    return CTreeExport(eFormat, {"MIB", "Type", "Value", "OID"}, {"name", "type", "value", "oid"}, std::move(sink));
}

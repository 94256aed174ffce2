#pragma once
// The export of an OID tree: CSV with the header "Depth,MIB,Type,Value,OID",
// JSON nodes with "name", "type", "value", "oid" and "children". Shared by the
// grid's File > Export, "orvex --walk --format" and "orvex-walk --format".
#include "treelist/TreeExport.h"

CTreeExport NewOidTreeExport(CTreeExport::EFormat eFormat, CTreeExport::Sink sink);

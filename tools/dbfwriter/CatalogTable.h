#pragma once
// The layout of the host's print-file catalog ZOZTLS.DBF, for tests, benchmarks
// and fuzz seeds that need a catalog.

#include "tools/dbfwriter/DbfWriter.h"

namespace dbfwriter {

// Adds the catalog's seven fields: NAZOV C10, POPIS C45, DATUM D, CAS C8,
// FILNAME C12, SIRKA N5 and DLZKA N5.
DbfWriter& AddCatalogFields(DbfWriter& writer);

} // namespace dbfwriter

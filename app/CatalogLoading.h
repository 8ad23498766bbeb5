#pragma once
// Loading a source's catalog ZOZTLS.DBF into the memory table.

#include "dbf/Dbf.h"
#include "memtable/loxMemTable.h"

#include <filesystem>

// The catalog table object's settings: ZOZTLS.DBF, read-only, level 4,
// temporary open mode, kept in memory. Only its folder changes between loads.
void ConfigureCatalogTable(dbf::TDbf& Dbf1);

// Replaces PrnData's records by the catalog's entries in `catalogFolder` (an
// absolute folder). False when the catalog is missing or cannot be read; then
// PrnData keeps what it held, or the entries copied before the error. Nothing
// is reported: the caller shows the failure. The catalog is closed afterwards.
bool LoadCatalog(dbf::TDbf& Dbf1, memtable::TloxMemTable& PrnData,
                 const std::filesystem::path& catalogFolder);

#include "tools/dbfwriter/CatalogTable.h"

namespace dbfwriter {

DbfWriter& AddCatalogFields(DbfWriter& writer) {
    return writer.AddField("NAZOV", 'C', 10)
        .AddField("POPIS", 'C', 45)
        .AddField("DATUM", 'D', 8)
        .AddField("CAS", 'C', 8)
        .AddField("FILNAME", 'C', 12)
        .AddField("SIRKA", 'N', 5)
        .AddField("DLZKA", 'N', 5);
}

} // namespace dbfwriter

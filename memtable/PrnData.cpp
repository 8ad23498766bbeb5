#include "memtable/loxMemTable.h"

namespace memtable {

namespace {

std::unique_ptr<TloxMemTable> MakeCatalogTable(bool withOrders) {
    auto table = std::make_unique<TloxMemTable>("PrnData");
    table->AddField({"Nazov", ftString, 10, "Názov", 10});
    table->AddField({"Popis", ftString, 45, "Popis súboru", 45});
    table->AddField({"Datum", ftDate, 0, "Dátum", 10});
    table->AddField({"Cas", ftString, 20, "Čas", 5});
    table->AddField({"FilName", ftString, 12, "Meno súboru", 14});
    table->AddField({"Sirka", ftInteger, 0, "Šírka", 8});
    table->AddField({"Dlzka", ftInteger, 0, "Dĺžka", 8});
    if (withOrders) {
        table->AddIndexDef({"RPrintN", "Nazov"});
        table->AddIndexDef({"RPrintD", "Datum;Cas"});
        table->SetIndexFieldNames("Nazov");
        table->SetIndexName("RPrintN");
    }
    table->SetLocaleID(1024);
    table->Open();
    return table;
}

} // namespace

std::unique_ptr<TloxMemTable> MakePrnData() {
    return MakeCatalogTable(true);
}

std::unique_ptr<TloxMemTable> MakePrnDataInCatalogOrder() {
    return MakeCatalogTable(false);
}

} // namespace memtable

#include "app/CatalogLoading.h"

#include "platform/Files.h"

#include <array>

namespace {

constexpr char kCatalogName[] = "ZOZTLS.DBF";

// Closes the catalog whatever way a load ends.
class CloseWhenDone {
  public:
    explicit CloseWhenDone(dbf::TDbf& table) : table_(table) {}
    ~CloseWhenDone() {
        try {
            if (table_.Active()) table_.Close();
        } catch (...) {
            // A read-only table writes nothing on close; there is nothing to report.
        }
    }
    CloseWhenDone(const CloseWhenDone&) = delete;
    CloseWhenDone& operator=(const CloseWhenDone&) = delete;

  private:
    dbf::TDbf& table_;
};

// The list hears of the whole load as one change, not of every record.
class ControlsDisabled {
  public:
    explicit ControlsDisabled(memtable::TloxMemTable& table) : table_(table) {
        table_.DisableControls();
    }
    ~ControlsDisabled() { table_.EnableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

  private:
    memtable::TloxMemTable& table_;
};

void EmptyTable(memtable::TloxMemTable& PrnData) {
    if (PrnData.Active()) PrnData.DeleteAll();
}

void CopyEntries(dbf::TDbf& Dbf1, memtable::TloxMemTable& PrnData) {
    Dbf1.First();
    if (Dbf1.Eof()) return;
    // Looked up at the first entry, in field order, so a missing field stops
    // before anything of the catalog is stored; the fields stay while it is open.
    dbf::TField* const Nazov = Dbf1.FieldByName("Nazov");
    dbf::TField* const Popis = Dbf1.FieldByName("Popis");
    dbf::TField* const Datum = Dbf1.FieldByName("Datum");
    dbf::TField* const Cas = Dbf1.FieldByName("Cas");
    dbf::TField* const FilName = Dbf1.FieldByName("FilName");
    dbf::TField* const Sirka = Dbf1.FieldByName("Sirka");
    dbf::TField* const Dlzka = Dbf1.FieldByName("Dlzka");
    while (!Dbf1.Eof()) {
        std::array<memtable::FieldValue, 7> values{
            Nazov->AsString(),
            Popis->AsString(),
            memtable::TDateTime{Datum->AsDateTime()},
            Cas->AsString(),
            FilName->AsString(),
            static_cast<std::int32_t>(Sirka->AsInteger()),
            static_cast<std::int32_t>(Dlzka->AsInteger()),
        };
        PrnData.InsertValues(values);
        Dbf1.Next();
    }
}

} // namespace

void ConfigureCatalogTable(dbf::TDbf& Dbf1) {
    Dbf1.SetTableName(kCatalogName);
    Dbf1.SetReadOnly(true);
    Dbf1.SetTableLevel(4);
    Dbf1.SetOpenMode(dbf::omTemporary);
    Dbf1.SetStorage(dbf::stoMemory);
}

bool LoadCatalog(dbf::TDbf& Dbf1, memtable::TloxMemTable& PrnData,
                 const std::filesystem::path& catalogFolder) {
    try {
        Dbf1.SetFilePath(catalogFolder.string());
    } catch (const std::exception&) {
        return false;
    }
    if (!platform::FileExists(kCatalogName, catalogFolder)) return false;
    CloseWhenDone closer(Dbf1);
    try {
        Dbf1.Open();
        ControlsDisabled batch(PrnData);
        EmptyTable(PrnData);
        CopyEntries(Dbf1, PrnData);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

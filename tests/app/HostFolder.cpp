#include "HostFolder.h"

#include "platform/CodePages.h"
#include "tools/dbfwriter/DbfWriter.h"

#include <QString>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string Oem852(const std::string& utf8) {
    const std::u16string text = QString::fromUtf8(utf8).toStdU16String();
    return platform::Utf16ToCodePage(852, text).value();
}

HostFolder::HostFolder() {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("tlacsub-host-" + std::to_string(random()));
    fs::create_directories(root_);
}

HostFolder::~HostFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string HostFolder::AppFolder() const {
    return root_.string() + "/";
}

fs::path HostFolder::Path(const std::string& relative) const {
    return root_ / relative;
}

namespace {

dbfwriter::DbfWriter CatalogWriter(int popisWidth, int filNameWidth, bool withDlzka) {
    // dBase IV with the language driver of code page 852, as the host writes it.
    dbfwriter::DbfWriter writer(0x03, 0x64);
    writer.AddField("NAZOV", 'C', 10)
        .AddField("POPIS", 'C', popisWidth)
        .AddField("DATUM", 'D', 8)
        .AddField("CAS", 'C', 8)
        .AddField("FILNAME", 'C', filNameWidth)
        .AddField("SIRKA", 'N', 3);
    if (withDlzka) writer.AddField("DLZKA", 'N', 3);
    return writer;
}

void AddEntries(dbfwriter::DbfWriter& writer, const std::vector<CatalogEntry>& entries,
                bool withDlzka) {
    for (const CatalogEntry& entry : entries) {
        dbfwriter::RecordRef record = writer.AddRecord();
        record.Text("NAZOV", Oem852(entry.Nazov))
            .Text("POPIS", Oem852(entry.Popis))
            .Text("CAS", entry.Cas)
            .Text("FILNAME", entry.FilName)
            .Integer("SIRKA", entry.Sirka);
        if (entry.Datum != CatalogDate{})
            record.Date("DATUM", entry.Datum.year, entry.Datum.month, entry.Datum.day);
        if (withDlzka) record.Integer("DLZKA", entry.Dlzka);
    }
}

} // namespace

void HostFolder::WriteCatalog(const std::string& folder, const std::vector<CatalogEntry>& entries,
                              int popisWidth, int filNameWidth) {
    dbfwriter::DbfWriter writer = CatalogWriter(popisWidth, filNameWidth, true);
    AddEntries(writer, entries, true);
    fs::create_directories(root_ / folder);
    writer.WriteTo(root_ / folder / "ZOZTLS.DBF");
}

void HostFolder::WriteCatalogWithoutDlzka(const std::string& folder,
                                          const std::vector<CatalogEntry>& entries) {
    dbfwriter::DbfWriter writer = CatalogWriter(45, 12, false);
    AddEntries(writer, entries, false);
    fs::create_directories(root_ / folder);
    writer.WriteTo(root_ / folder / "ZOZTLS.DBF");
}

void HostFolder::WriteFile(const std::string& relative, const std::string& bytes) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void HostFolder::WriteSettings(const std::optional<std::string>& cestakal, SettingsRecords records,
                               std::optional<std::uint32_t> headerCount) {
    dbfwriter::DbfWriter writer(0x03, 0x64);
    writer.AddField("FIRMA", 'C', 20);
    if (cestakal) writer.AddField("CESTAKAL", 'C', 254);
    writer.AddField("ROK", 'N', 4);
    if (records == SettingsRecords::DeletedThenOne) {
        dbfwriter::RecordRef gone = writer.AddRecord(true);
        if (cestakal) gone.Text("CESTAKAL", "/nowhere/");
    }
    if (records != SettingsRecords::None) {
        dbfwriter::RecordRef record = writer.AddRecord();
        record.Text("FIRMA", Oem852("Jedáleň")).Integer("ROK", 2007);
        if (cestakal) record.Text("CESTAKAL", Oem852(*cestakal));
    }
    if (headerCount) writer.OverrideRecordCount(*headerCount);
    writer.WriteTo(root_ / "oposcis.dbf");
}

std::string HostFolder::ReadFile(const std::string& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + relative);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<CatalogEntry> CurrentMonth() {
    return {{"C-MZDY", "Mzdy za december", {2007, 12, 5}, "10:15", "MZDY.TXT", 80, 60},
            {"A-DPH", "Daň z pridanej hodnoty", {2007, 12, 20}, "08:05", "DPH.TXT", 80, 60},
            {"B-KNIHA", "Kniha jázd", {2007, 12, 1}, "12:00", "KNIHA.TXT", 136, 60}};
}

void PrintTo(const CatalogEntry& entry, std::ostream* out) {
    *out << "{" << entry.Nazov << " | " << entry.Popis << " | " << entry.Datum.year << "-"
         << entry.Datum.month << "-" << entry.Datum.day << " | " << entry.Cas << " | "
         << entry.FilName << " | " << entry.Sirka << " x " << entry.Dlzka << "}";
}

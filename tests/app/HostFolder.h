#pragma once
// A host system's program folder in a temporary folder, built for one test:
// catalogs, print files, archived periods and the settings table.

#include "app/CatalogEntry.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class HostFolder {
  public:
    HostFolder();
    ~HostFolder();
    HostFolder(const HostFolder&) = delete;
    HostFolder& operator=(const HostFolder&) = delete;

    // The application folder, ending in the separator.
    std::string AppFolder() const;
    std::filesystem::path Path(const std::string& relative) const;

    // ZOZTLS.DBF in a folder relative to the application folder, such as "Cis"
    // or "Zal/Obd712/Tla", its texts in code page 852 and the date of
    // 30 December 1899 left empty, as the host writes a missing date.
    // popisWidth and filNameWidth size those fields.
    void WriteCatalog(const std::string& folder, const std::vector<CatalogEntry>& entries,
                      int popisWidth = 45, int filNameWidth = 12);
    // A catalog that lacks the field Dlzka: unreadable from its first entry on.
    void WriteCatalogWithoutDlzka(const std::string& folder,
                                  const std::vector<CatalogEntry>& entries);
    void WriteFile(const std::string& relative, const std::string& bytes);

    // oposcis.dbf; CESTAKAL (UTF-8 text, no such field when nullopt) in its
    // one record, which may come after a deleted one, or no record at all.
    enum class SettingsRecords { One, DeletedThenOne, None };
    void WriteSettings(const std::optional<std::string>& cestakal,
                       SettingsRecords records = SettingsRecords::One,
                       std::optional<std::uint32_t> headerCount = std::nullopt);
    std::string ReadFile(const std::string& relative) const;

  private:
    std::filesystem::path root_;
};

// Three entries of the current month whose order by date (B-KNIHA, C-MZDY,
// A-DPH) differs from their order by name.
std::vector<CatalogEntry> CurrentMonth();

// An entry as a test failure shows it.
void PrintTo(const CatalogEntry& entry, std::ostream* out);

// UTF-8 text in code page 852, the way the host system writes it.
std::string Oem852(const std::string& utf8);

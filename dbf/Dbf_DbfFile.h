#pragma once
// One open table file: its header, level, field list and code page, and the
// memo and production-index files that belong to it.

#include "dbf/Dbf_Fields.h"
#include "dbf/Dbf_Lang.h"
#include "dbf/Dbf_PgFile.h"

#include <functional>
#include <memory>
#include <string>

namespace dbf {

// A field definition the table object creates a new table from.
struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftString;
    int Size = 0;      // width for strings and numbers; 0 takes a default
    int Precision = 0; // decimals for floats
};

class TDbfFile : public TPagedFile {
  public:
    // Reads header, level, layout, record count, code page and field list.
    // Raises EDbfError for a malformed file and EAbort when a length is 0, each
    // with its reason; the file is released on any failure.
    void Open(const std::filesystem::path& path, PagedFileMode mode, bool useFloatFields);
    void Close();

    int TableLevel() const { return level_; }
    const TDbfFieldDefs& FieldDefs() const { return fieldDefs_; }
    std::uint8_t LanguageId() const { return languageId_; }
    const std::string& LanguageName() const { return languageName_; }
    // The code page the header names (0 for none) and the one the text is read in.
    int FileCodePage() const { return fileCodePage_; }
    int UseCodePage() const { return useCodePage_; }
    // The count stored in the header differed from the one the file size gives.
    bool CountCorrected() const { return countCorrected_; }
    bool ProductionIndexFlag() const;

    // Opens the memo file when a memo, binary or OLE field needs it; EDbfError
    // "Open: file not found" naming it when missing. Sets or clears the memo bit.
    void OpenMemoFile();
    // Opens the production index when the header names one; when it is missing,
    // `dropLink` decides: true clears the flag, false aborts the open (EAbort).
    void OpenIndexFile(const std::function<bool()>& dropLink);
    bool HasMemoFile() const { return memo_ != nullptr; }
    bool HasIndexFile() const { return index_ != nullptr; }

    // Writes the in-memory header with today's date, then the end-of-file byte
    // after the last whole record.
    void WriteHeader();

    // Writes an empty table of `level` with these fields (and its memo file when
    // needed); removes what it wrote when it fails.
    static void CreateTable(const std::filesystem::path& path, int level,
                            const std::vector<TFieldDef>& fields);

  private:
    void ReadFieldDefs(bool useFloatFields);
    void PutHeaderByte(std::size_t at, std::uint8_t value);
    std::filesystem::path SiblingFile(const char* extension) const;

    int level_ = 0;
    TDbfFieldDefs fieldDefs_;
    std::uint8_t languageId_ = 0;
    std::string languageName_;
    int fileCodePage_ = 0;
    int useCodePage_ = 0;
    bool countCorrected_ = false;
    std::unique_ptr<TPagedFile> memo_;
    std::unique_ptr<TPagedFile> index_;
};

// Level from the version byte and the language-driver byte; 0 when the version is refused.
int TableLevelFromVersion(std::uint8_t version, std::uint8_t languageDriver);

} // namespace dbf

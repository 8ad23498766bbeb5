#pragma once
// The table object: names a dBase table by folder and file name, opens it,
// walks its records in file order and hands out field values by name.
//
//   dbf::TDbf table("Dbf1");
//   table.SetFilePath(folder);
//   table.SetTableName("ZOZTLS.DBF");
//   table.SetReadOnly(true);
//   table.Open();
//   for (table.First(); !table.Eof(); table.Next())
//       use(table.FieldByName("Nazov")->AsString());
//   table.Close();
//
// Every failure is an exception: EDbfError, EFileError or EDatabaseError
// (all EDatabaseError), or EAbort for an open that was given up.

#include "dbf/Dbf_Common.h"
#include "dbf/Dbf_Cursor.h"
#include "dbf/Dbf_DbfFile.h"
#include "dbf/Dbf_Fields.h"
#include "dbf/Dbf_Lang.h"
#include "dbf/Field.h"
#include "dbf/FieldValues.h"
#include "dbf/HeaderLayout.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

enum TDbfOpenMode { omNormal, omAutoCreate, omTemporary };
enum TDbfStorage { stoMemory, stoAuto, stoFile };

class TDbf {
  public:
    explicit TDbf(std::string name = {});
    TDbf(const TDbf&) = delete;
    TDbf& operator=(const TDbf&) = delete;
    ~TDbf();

    // The component name that prefixes field-lookup errors ("Dbf1: Field 'X' not found").
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Folder of the table; relative folders are taken from the executable's folder.
    const std::string& FilePath() const { return filePath_; }
    void SetFilePath(std::string_view path);
    // The absolute folder used for opening, ending in a separator.
    const std::string& FilePathFull() const { return filePathFull_; }
    // File name used as given; a folder part moves into FilePath.
    const std::string& TableName() const { return tableName_; }
    void SetTableName(std::string_view name);
    // FilePathFull + TableName, with each part matched ignoring letter case.
    std::filesystem::path TablePath() const;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool Exclusive() const { return exclusive_; }
    void SetExclusive(bool value);
    TDbfOpenMode OpenMode() const { return openMode_; }
    void SetOpenMode(TDbfOpenMode mode);
    TDbfStorage Storage() const { return storage_; }
    void SetStorage(TDbfStorage storage) { storage_ = storage; }
    // 3, 4, 7 or 25; the file's level once open. Other values are ignored.
    int TableLevel() const { return tableLevel_; }
    void SetTableLevel(int level);
    bool ShowDeleted() const { return showDeleted_; }
    void SetShowDeleted(bool value);
    bool UseFloatFields() const { return useFloatFields_; }
    void SetUseFloatFields(bool value);
    // Kept as settings; records always come in file order, unfiltered.
    std::string IndexName;
    std::string Filter;
    bool Filtered = false;

    // Fields a missing table is created with under omAutoCreate and omTemporary.
    std::vector<TFieldDef>& FieldDefs() { return fieldDefs_; }

    // (table, source, destination, toOem) -> length of the destination text, -1 for all of it.
    std::function<int(TDbf&, const std::string&, std::string&, bool)> OnTranslate;
    // Asked what to do when the table's code page cannot be converted here.
    std::function<void(TDbf&, TDbfLanguageAction&)> OnLanguageWarning;
    // Asked whether to drop the link to a missing production index (starts true).
    std::function<void(TDbf&, bool&)> OnIndexMissing;
    // Asked before a missing table is created; setting false vetoes it.
    std::function<void(TDbf&, bool&)> BeforeAutoCreate;

    void Open();
    void Close();
    bool Active() const { return active_; }
    void SetActive(bool active);

    void First();
    void Next();
    bool Eof() const { return eof_; }

    // Field named `name` ignoring letter case; raises "Field '%s' not found".
    TField* FieldByName(std::string_view name);
    TField* FindField(std::string_view name);
    std::size_t FieldCount() const { return fields_.size(); }
    TField* Fields(std::size_t index) { return fields_.at(index).get(); }

    // The current record's bytes (deletion flag first), nullptr when there is none.
    const std::uint8_t* CurrentRecord() const { return hasRecord_ ? record_.data() : nullptr; }
    std::size_t RecordSize() const { return record_.size(); }
    bool IsDeleted() const { return hasRecord_ && record_[0] == kDeletedFlag; }
    std::uint64_t PhysicalRecNo() const { return cursor_.PhysicalRecNo(); }
    // Whole records in the file now, whatever their deletion flag.
    std::uint64_t PhysicalRecordCount() const;

    const TDbfFile& DbfFile() const { return file_; }
    TextTranslation TranslationMode() const { return translationMode_; }
    // Table text as AsString hands it out.
    std::string TranslateToAnsi(std::string_view text);
    // The same, on a text in place.
    void TranslateInPlace(std::string& text);
    // The user's decimal separator, taken when the table opened.
    char DecimalSeparator() const { return decimalSeparator_; }

  private:
    void CheckInactive() const;
    void CreateIfMissing(const std::filesystem::path& path);
    void BuildFields();
    bool FetchNextVisible();
    void ReleaseOpenState();
    void PrepareTranslation();

    std::string name_;
    std::string filePath_;
    std::string filePathFull_;
    std::string tableName_;
    bool readOnly_ = false;
    bool exclusive_ = false;
    TDbfOpenMode openMode_ = omNormal;
    TDbfStorage storage_ = stoFile;
    int tableLevel_ = 4;
    bool showDeleted_ = false;
    bool useFloatFields_ = true;
    std::vector<TFieldDef> fieldDefs_;

    bool active_ = false;
    bool eof_ = true;
    bool hasRecord_ = false;
    TDbfFile file_;
    TDbfCursor cursor_;
    TextTranslation translationMode_ = TextTranslation::Identity;
    // Where the translation goes byte by byte (OEM to ANSI, or none), its table,
    // made once at open so a value is translated in one pass.
    bool byteTranslation_ = false;
    std::array<char, 256> toAnsi_{};
    char decimalSeparator_ = '.';
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<std::uint8_t> record_;
    std::vector<std::uint8_t> fetch_;
};

} // namespace dbf

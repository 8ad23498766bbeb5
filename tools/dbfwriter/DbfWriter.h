#pragma once
// Builds dBase table files byte by byte, for tests, fuzz seeds and the demo
// host folder. Plain C++ with no Qt.
//
// Usage:
//   dbfwriter::DbfWriter w(0x03, 0x64);          // dBase IV, driver byte 0x64 (cp852)
//   w.AddField("NAZOV", 'C', 10).AddField("SIRKA", 'N', 5).AddField("DATUM", 'D', 8);
//   w.AddRecord().Text("NAZOV", "ABC").Number("SIRKA", 80).Date("DATUM", 2024, 1, 5);
//   w.AddRecord(true);                            // a deleted, blank record
//   w.WriteTo("ZOZTLS.DBF");
//
// Character values are bytes in the table's code page: convert them before
// handing them over. Version bytes whose low three bits are 4 (0x04, 0x8C)
// make a level-7 file: a 32-byte driver name follows the fixed header and
// field descriptors are 48 bytes long.
//
// Malformed files: the Override* setters make header fields lie, Bytes()
// gives the whole file to be cut or patched, and WriteFile() writes any bytes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbfwriter {

struct FieldDescriptor {
    std::string name; // up to 11 bytes (32 at level 7); longer names are cut
    char type = 'C';  // the descriptor's type letter, written as given
    int width = 0;    // bytes in the record; a 'C' width above 255 spills into the decimals byte
    int decimals = 0;
};

class DbfWriter;

// One record's bytes; setters place a value into a field by name (any case).
class RecordRef {
  public:
    RecordRef(DbfWriter& writer, std::size_t index) : writer_(writer), index_(index) {}

    // Field bytes as given, blank-padded or cut to the field's width.
    RecordRef& Raw(std::string_view field, std::string_view bytes);
    // Left-justified text, blank-padded.
    RecordRef& Text(std::string_view field, std::string_view bytes);
    // Right-justified decimal text with the field's decimal count; '*' when too wide.
    RecordRef& Number(std::string_view field, double value);
    RecordRef& Integer(std::string_view field, std::int64_t value);
    // YYYYMMDD.
    RecordRef& Date(std::string_view field, int year, int month, int day);
    // YYYYMMDDhhmmss for 'T' fields.
    RecordRef& DateTimeText(std::string_view field, int year, int month, int day, int hour,
                            int minute, int second);
    // 'T' or 'F'.
    RecordRef& Logical(std::string_view field, bool value);
    // 'I' and '+' fields: big-endian with the sign bit flipped.
    RecordRef& Binary32(std::string_view field, std::int32_t value);
    // 'O' fields: big-endian, ordered so that byte order sorts as numbers do.
    RecordRef& BinaryDouble(std::string_view field, double value);
    // '@' fields: milliseconds on the timestamp scale where 1 Jan 0001 00:00 is 86 400 000.
    RecordRef& Timestamp(std::string_view field, double milliseconds);
    RecordRef& Deleted(bool deleted = true);

    // The record's bytes, deletion flag first.
    std::string& Bytes();

  private:
    DbfWriter& writer_;
    std::size_t index_;
};

class DbfWriter {
  public:
    explicit DbfWriter(std::uint8_t version = 0x03, std::uint8_t languageDriver = 0x00);

    DbfWriter& SetVersion(std::uint8_t version);
    DbfWriter& SetLanguageDriver(std::uint8_t driver);
    // Level 7 only: the language-driver name at offset 32 (e.g. "DBWINUS0").
    DbfWriter& SetLanguageDriverName(std::string_view name);
    DbfWriter& SetProductionIndexFlag(bool set);
    DbfWriter& SetLastUpdate(int year, int month, int day);
    // Bytes placed between the descriptor terminator and the first record.
    DbfWriter& SetHeaderPadding(std::size_t bytes);
    // Whether the file ends with 0x1A (default yes).
    DbfWriter& SetEndOfFileMark(bool mark);
    // Whether the descriptor array ends with 0x0D (default yes).
    DbfWriter& SetTerminator(bool terminator);

    DbfWriter& AddField(std::string_view name, char type, int width, int decimals = 0);

    // Header fields that lie: written instead of the true values.
    DbfWriter& OverrideRecordCount(std::uint32_t count);
    DbfWriter& OverrideHeaderLength(std::uint16_t length);
    DbfWriter& OverrideRecordLength(std::uint16_t length);

    // A new blank record (live unless `deleted`).
    RecordRef AddRecord(bool deleted = false);
    RecordRef Record(std::size_t index) { return RecordRef(*this, index); }
    std::size_t RecordCount() const { return records_.size(); }

    bool IsLevel7() const { return (version_ & 7) == 4; }
    // True layout values (before any override).
    std::size_t HeaderLength() const;
    std::size_t RecordLength() const;
    const std::vector<FieldDescriptor>& Fields() const { return fields_; }
    // Offset of a field in the record (1 for the first); throws when there is no such field.
    std::size_t FieldOffset(std::string_view name) const;
    const FieldDescriptor& Field(std::string_view name) const;

    // The whole file.
    std::string Bytes() const;
    void WriteTo(const std::filesystem::path& path) const;

  private:
    friend class RecordRef;
    std::size_t FieldIndex(std::string_view name) const;

    std::uint8_t version_;
    std::uint8_t driver_;
    std::string driverName_;
    bool productionIndex_ = false;
    int year_ = 2024, month_ = 1, day_ = 1;
    std::size_t padding_ = 0;
    bool eofMark_ = true;
    bool terminator_ = true;
    std::vector<FieldDescriptor> fields_;
    std::vector<std::string> records_;
    std::optional<std::uint32_t> countOverride_;
    std::optional<std::uint16_t> headerLengthOverride_;
    std::optional<std::uint16_t> recordLengthOverride_;
};

// Writes bytes to a file as they are (for patched or truncated tables).
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace dbfwriter

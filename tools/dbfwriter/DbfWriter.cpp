#include "tools/dbfwriter/DbfWriter.h"

#include "platform/TextCase.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace dbfwriter {
namespace {

void PutLittle(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutBig64(std::string& out, std::size_t at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out[at + i] = static_cast<char>((value >> (56 - 8 * i)) & 0xFF);
}

} // namespace

DbfWriter::DbfWriter(std::uint8_t version, std::uint8_t languageDriver)
    : version_(version), driver_(languageDriver) {}

DbfWriter& DbfWriter::SetVersion(std::uint8_t version) {
    version_ = version;
    return *this;
}

DbfWriter& DbfWriter::SetLanguageDriver(std::uint8_t driver) {
    driver_ = driver;
    return *this;
}

DbfWriter& DbfWriter::SetLanguageDriverName(std::string_view name) {
    driverName_ = std::string(name.substr(0, 32));
    return *this;
}

DbfWriter& DbfWriter::SetProductionIndexFlag(bool set) {
    productionIndex_ = set;
    return *this;
}

DbfWriter& DbfWriter::SetLastUpdate(int year, int month, int day) {
    year_ = year;
    month_ = month;
    day_ = day;
    return *this;
}

DbfWriter& DbfWriter::SetHeaderPadding(std::size_t bytes) {
    padding_ = bytes;
    return *this;
}

DbfWriter& DbfWriter::SetEndOfFileMark(bool mark) {
    eofMark_ = mark;
    return *this;
}

DbfWriter& DbfWriter::SetTerminator(bool terminator) {
    terminator_ = terminator;
    return *this;
}

DbfWriter& DbfWriter::AddField(std::string_view name, char type, int width, int decimals) {
    fields_.push_back(FieldDescriptor{std::string(name), type, width, decimals});
    for (std::string& record : records_)
        record.append(static_cast<std::size_t>(width), ' ');
    return *this;
}

DbfWriter& DbfWriter::OverrideRecordCount(std::uint32_t count) {
    countOverride_ = count;
    return *this;
}

DbfWriter& DbfWriter::OverrideHeaderLength(std::uint16_t length) {
    headerLengthOverride_ = length;
    return *this;
}

DbfWriter& DbfWriter::OverrideRecordLength(std::uint16_t length) {
    recordLengthOverride_ = length;
    return *this;
}

RecordRef DbfWriter::AddRecord(bool deleted) {
    records_.emplace_back(RecordLength(), ' ');
    if (deleted) records_.back()[0] = '*';
    return RecordRef(*this, records_.size() - 1);
}

std::size_t DbfWriter::HeaderLength() const {
    std::size_t descriptor = IsLevel7() ? 48 : 32;
    std::size_t fixed = IsLevel7() ? 68 : 32;
    return fixed + descriptor * fields_.size() + (terminator_ ? 1 : 0) + padding_;
}

std::size_t DbfWriter::RecordLength() const {
    std::size_t length = 1;
    for (const FieldDescriptor& f : fields_)
        length += static_cast<std::size_t>(f.width);
    return length;
}

std::size_t DbfWriter::FieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (platform::SameIgnoringAsciiCase(fields_[i].name, name)) return i;
    throw std::invalid_argument("DbfWriter: no field " + std::string(name));
}

std::size_t DbfWriter::FieldOffset(std::string_view name) const {
    std::size_t index = FieldIndex(name);
    std::size_t offset = 1;
    for (std::size_t i = 0; i < index; ++i)
        offset += static_cast<std::size_t>(fields_[i].width);
    return offset;
}

const FieldDescriptor& DbfWriter::Field(std::string_view name) const {
    return fields_[FieldIndex(name)];
}

std::string DbfWriter::Bytes() const {
    const bool level7 = IsLevel7();
    const std::size_t headerLength = HeaderLength();
    const std::size_t recordLength = RecordLength();
    std::string out(headerLength, '\0');
    out[0] = static_cast<char>(version_);
    out[1] = static_cast<char>(year_ - 1900);
    out[2] = static_cast<char>(month_);
    out[3] = static_cast<char>(day_);
    PutLittle(out, 4, countOverride_.value_or(static_cast<std::uint32_t>(records_.size())), 4);
    PutLittle(out, 8, headerLengthOverride_.value_or(static_cast<std::uint16_t>(headerLength)), 2);
    PutLittle(out, 10, recordLengthOverride_.value_or(static_cast<std::uint16_t>(recordLength)), 2);
    out[28] = productionIndex_ ? 1 : 0;
    out[29] = static_cast<char>(driver_);
    if (level7) std::memcpy(out.data() + 32, driverName_.data(), driverName_.size());

    std::size_t at = level7 ? 68 : 32;
    for (const FieldDescriptor& f : fields_) {
        const std::size_t nameMax = level7 ? 32 : 11;
        std::memcpy(out.data() + at, f.name.data(), std::min(f.name.size(), nameMax));
        int width = f.width;
        int decimals = f.decimals;
        if ((f.type == 'C' || f.type == 'c') && width > 255) {
            decimals = width >> 8;
            width &= 0xFF;
        }
        const std::size_t typeAt = level7 ? 32 : 11;
        const std::size_t widthAt = level7 ? 33 : 16;
        out[at + typeAt] = f.type;
        out[at + widthAt] = static_cast<char>(width & 0xFF);
        out[at + widthAt + 1] = static_cast<char>(decimals & 0xFF);
        at += level7 ? 48 : 32;
    }
    if (terminator_) out[at] = '\x0D';

    out.reserve(headerLength + recordLength * records_.size() + 1);
    for (const std::string& record : records_)
        out += record;
    if (eofMark_) out += '\x1A';
    return out;
}

void DbfWriter::WriteTo(const std::filesystem::path& path) const {
    WriteFile(path, Bytes());
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("DbfWriter: cannot write " + path.string());
}

std::string& RecordRef::Bytes() {
    return writer_.records_.at(index_);
}

RecordRef& RecordRef::Raw(std::string_view field, std::string_view bytes) {
    const FieldDescriptor& f = writer_.Field(field);
    std::string value(bytes.substr(0, static_cast<std::size_t>(f.width)));
    value.resize(static_cast<std::size_t>(f.width), ' ');
    Bytes().replace(writer_.FieldOffset(field), value.size(), value);
    return *this;
}

RecordRef& RecordRef::Text(std::string_view field, std::string_view bytes) {
    return Raw(field, bytes);
}

RecordRef& RecordRef::Number(std::string_view field, double value) {
    const FieldDescriptor& f = writer_.Field(field);
    char text[400];
    std::snprintf(text, sizeof text, "%*.*f", f.width, f.decimals, value);
    std::string s(text);
    if (static_cast<int>(s.size()) > f.width) s.assign(static_cast<std::size_t>(f.width), '*');
    return Raw(field, s);
}

RecordRef& RecordRef::Integer(std::string_view field, std::int64_t value) {
    const FieldDescriptor& f = writer_.Field(field);
    char text[400];
    std::snprintf(text, sizeof text, "%*lld", f.width, static_cast<long long>(value));
    std::string s(text);
    if (static_cast<int>(s.size()) > f.width) s.assign(static_cast<std::size_t>(f.width), '*');
    return Raw(field, s);
}

RecordRef& RecordRef::Date(std::string_view field, int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    return Raw(field, text);
}

RecordRef& RecordRef::DateTimeText(std::string_view field, int year, int month, int day, int hour,
                                   int minute, int second) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute,
                  second);
    return Raw(field, text);
}

RecordRef& RecordRef::Logical(std::string_view field, bool value) {
    return Raw(field, value ? "T" : "F");
}

RecordRef& RecordRef::Binary32(std::string_view field, std::int32_t value) {
    std::uint32_t stored = static_cast<std::uint32_t>(value) ^ 0x80000000u;
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((stored >> (24 - 8 * i)) & 0xFF);
    return Raw(field, bytes);
}

RecordRef& RecordRef::BinaryDouble(std::string_view field, double value) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    bits = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
    std::string bytes(8, '\0');
    PutBig64(bytes, 0, bits);
    return Raw(field, bytes);
}

RecordRef& RecordRef::Timestamp(std::string_view field, double milliseconds) {
    std::string bytes(8, '\0');
    PutBig64(bytes, 0, std::bit_cast<std::uint64_t>(milliseconds));
    return Raw(field, bytes);
}

RecordRef& RecordRef::Deleted(bool deleted) {
    Bytes()[0] = deleted ? '*' : ' ';
    return *this;
}

} // namespace dbfwriter

#include "dbf/Dbf_DbfFile.h"

#include "dbf/Dbf_Common.h"
#include "dbf/Dbf_Str.h"
#include "dbf/HeaderLayout.h"
#include "dbf/RefusalReasons.h"
#include "platform/CodePages.h"
#include "platform/Files.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <system_error>

namespace dbf {
namespace {

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

void PutLittle(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::tm Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

int TableLevelFromVersion(std::uint8_t version, std::uint8_t languageDriver) {
    switch (version & 7) {
    case 3:
        return languageDriver == 0 ? 3 : 4;
    case 4:
        return 7;
    case 2:
    case 5:
        return 25;
    default:
        return (version & 0x70) == 0x30 ? 25 : 0;
    }
}

void TDbfFile::Open(const std::filesystem::path& path, PagedFileMode mode, bool useFloatFields) {
    Close();
    OpenFile(path, mode);
    try {
        const std::vector<std::uint8_t> fixed = ReadZeroFilled(0, kFixedHeaderSize);
        level_ = TableLevelFromVersion(fixed[kVersionAt], fixed[kLanguageDriverAt]);
        if (level_ == 0)
            throw EDbfError(STRING_INVALID_DBF_FILE, VersionReason(fixed[kVersionAt], FileSize()));
        const std::size_t headerLength = Little(fixed, kHeaderLengthAt, 2);
        const std::size_t recordLength = Little(fixed, kRecordLengthAt, 2);
        if (headerLength == 0) throw EAbort(ZeroLengthReason(kHeaderLengthAt, FileSize()));
        if (recordLength == 0) throw EAbort(ZeroLengthReason(kRecordLengthAt, FileSize()));

        Header() = ReadZeroFilled(0, headerLength);
        SetLayout(headerLength, recordLength);
        const std::uint64_t count = RecordCount();
        countCorrected_ = Little(fixed, kRecordCountAt, 4) != count;
        if (countCorrected_) {
            const auto stored =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(count, 0xFFFFFFFFu));
            for (int i = 0; i < 4; ++i)
                PutHeaderByte(kRecordCountAt + static_cast<std::size_t>(i),
                              static_cast<std::uint8_t>(stored >> (8 * i)));
        }

        languageId_ = fixed[kLanguageDriverAt];
        if (level_ == 7) {
            std::vector<std::uint8_t> name = ReadZeroFilled(kDriverNameAt, kDriverNameLength);
            languageName_.assign(name.begin(), name.end());
            languageName_.resize(std::min(languageName_.find('\0'), kDriverNameLength));
            fileCodePage_ = LangNameToCodePage(languageName_);
        } else {
            fileCodePage_ = LangIdToCodePage(languageId_);
        }
        useCodePage_ = fileCodePage_ != 0 ? fileCodePage_ : DbfGlobals().defaultOpenCodePage;

        ReadFieldDefs(useFloatFields);
    } catch (...) {
        Close();
        throw;
    }
}

void TDbfFile::ReadFieldDefs(bool useFloatFields) {
    const DescriptorLayout& layout = DescriptorLayoutOf(level_);
    const long long bound =
        (static_cast<long long>(HeaderSize()) - static_cast<long long>(layout.first)) /
        static_cast<long long>(layout.size);
    const std::size_t readable =
        static_cast<std::size_t>(std::clamp<long long>(bound, 1, kMaxFields + 1));
    // One read for the whole descriptor array and the byte after it.
    const std::vector<std::uint8_t> area = ReadZeroFilled(layout.first, readable * layout.size + 1);

    std::size_t offset = 1;
    for (std::size_t i = 1;; ++i) {
        const std::uint8_t* d = area.data() + (i - 1) * layout.size;
        const std::size_t at = layout.first + (i - 1) * layout.size;
        TDbfFieldDef def;
        std::string name(reinterpret_cast<const char*>(d), layout.nameLength);
        name.resize(std::min(name.find('\0'), layout.nameLength));
        if (name.empty())
            throw EDbfError(STRING_INVALID_DBF_FILE, EmptyNameReason(i, at, FileSize()));
        def.FieldName = platform::AnsiUpperCase(name);
        char type = static_cast<char>(d[layout.typeAt]);
        if (type >= 'a' && type <= 'z') type = static_cast<char>(type - 'a' + 'A');
        def.NativeFieldType = type;
        int width = d[layout.widthAt];
        int decimals = d[layout.decimalsAt];
        if (type == 'C') {
            width += 256 * decimals;
            decimals = 0;
        }
        def.StoredWidth = static_cast<std::size_t>(width);
        def.Offset = offset;
        offset += def.StoredWidth;
        if (!def.Normalise(decimals, useFloatFields)) {
            throw EDbfError(
                STRING_INVALID_DBF_FILE,
                FieldTypeReason(i, at, def.FieldName, d[layout.typeAt], layout.typeAt, FileSize()));
        }
        def.IsLockField = def.FieldName == "_DBASELOCK";
        fieldDefs_.Add(std::move(def));

        if (static_cast<long long>(i) >= bound || i > kMaxFields) break;
        if (area[i * layout.size] == kDescriptorTerminator) break;
    }
    if (fieldDefs_.Count() > kMaxFields) {
        throw EDbfError(
            FormatInt(STRING_INVALID_FIELD_COUNT, static_cast<long long>(fieldDefs_.Count())),
            FieldCountReason(fieldDefs_.Count(), layout.first));
    }
}

void TDbfFile::PutHeaderByte(std::size_t at, std::uint8_t value) {
    if (at < Header().size()) Header()[at] = value;
}

bool TDbfFile::ProductionIndexFlag() const {
    return Header().size() > kProductionIndexAt && Header()[kProductionIndexAt] != 0;
}

std::filesystem::path TDbfFile::SiblingFile(const char* extension) const {
    std::filesystem::path sibling = FileName();
    sibling.replace_extension(extension);
    return platform::ResolveHostPath(sibling.string());
}

void TDbfFile::OpenMemoFile() {
    const bool memo = fieldDefs_.HasMemoFields();
    if (!Header().empty()) {
        std::uint8_t& version = Header()[kVersionAt];
        version = memo ? static_cast<std::uint8_t>(version | kMemoBit)
                       : static_cast<std::uint8_t>(version & ~kMemoBit);
    }
    if (!memo) return;
    const std::filesystem::path path = SiblingFile(level_ == 25 ? ".fpt" : ".dbt");
    if (!platform::FileExists(path.string())) {
        std::string reason;
        for (std::size_t i = 0; i < fieldDefs_.Count() && reason.empty(); ++i) {
            const TDbfFieldDef& def = fieldDefs_.Items(i);
            if (def.IsMemo()) reason = MemoFieldReason(i + 1, def.FieldName, def.NativeFieldType);
        }
        throw EDbfError(Format(STRING_FILE_NOT_FOUND, path.string()), reason);
    }
    memo_ = std::make_unique<TPagedFile>();
    memo_->OpenFile(path, Mode());
}

void TDbfFile::OpenIndexFile(const std::function<bool()>& dropLink) {
    if (!ProductionIndexFlag()) return;
    const std::filesystem::path path = SiblingFile(".mdx");
    if (platform::FileExists(path.string())) {
        index_ = std::make_unique<TPagedFile>();
        index_->OpenFile(path, Mode());
        return;
    }
    if (!dropLink()) throw EAbort(MissingIndexReason(Header()[kProductionIndexAt], path.string()));
    PutHeaderByte(kProductionIndexAt, 0);
}

void TDbfFile::WriteHeader() {
    std::vector<std::uint8_t>& header = Header();
    if (header.empty()) return;
    const std::tm today = Today();
    PutHeaderByte(kLastUpdateAt, static_cast<std::uint8_t>(today.tm_year));
    PutHeaderByte(kLastUpdateAt + 1, static_cast<std::uint8_t>(today.tm_mon + 1));
    PutHeaderByte(kLastUpdateAt + 2, static_cast<std::uint8_t>(today.tm_mday));
    WriteAt(0, header.data(), header.size());
    const std::uint8_t eof = kEndOfFileMark;
    WriteAt(HeaderSize() + RecordCount() * RecordSize(), &eof, 1);
}

void TDbfFile::Close() {
    memo_.reset();
    index_.reset();
    fieldDefs_.Clear();
    level_ = 0;
    languageId_ = 0;
    languageName_.clear();
    fileCodePage_ = 0;
    useCodePage_ = 0;
    countCorrected_ = false;
    CloseFile();
}

namespace {

struct NativeField {
    char type;
    int width;
    int decimals;
};

// The descriptor a field definition becomes; `number` counts from 1.
NativeField NativeFor(const TFieldDef& def, int level, std::size_t number) {
    const auto orDefault = [&](int fallback) { return def.Size > 0 ? def.Size : fallback; };
    switch (def.DataType) {
    case ftString:
        return {'C', std::clamp(orDefault(1), 1, 65535), 0};
    case ftSmallint:
        return {'N', std::clamp(orDefault(4), 1, 4), 0};
    case ftInteger:
        return level == 7 ? NativeField{'I', 4, 0}
                          : NativeField{'N', std::clamp(orDefault(11), 5, 20), 0};
    case ftLargeint:
        return {'N', std::clamp(orDefault(20), 10, 20), 0};
    case ftFloat: {
        int width = std::clamp(orDefault(18), 1, 20);
        return {'N', width, std::clamp(def.Precision, 0, std::max(0, width - 2))};
    }
    case ftBoolean:
        return {'L', 1, 0};
    case ftDate:
        return {'D', 8, 0};
    case ftDateTime:
        return level == 7 ? NativeField{'@', 8, 0} : NativeField{'T', 14, 0};
    case ftAutoInc:
        return level == 7 ? NativeField{'+', 4, 0} : NativeField{'N', 11, 0};
    case ftMemo:
        return {'M', 10, 0};
    case ftBlob:
        return {'B', 10, 0};
    case ftDBaseOle:
        return {'G', 10, 0};
    case ftUnknown:
        break;
    }
    throw EDbfError(STRING_INVALID_DBF_FILE,
                    FieldDefinitionReason(number, def.Name, "has a type no dBase field has"));
}

// A driver byte that names the machine's ANSI code page, 0 when none does.
std::uint8_t DriverForAnsi() {
    const int ansi = DbfGlobals().defaultOpenCodePage;
    for (int b = 1; b < 256; ++b)
        if (LangIdToCodePage(static_cast<std::uint8_t>(b)) == ansi)
            return static_cast<std::uint8_t>(b);
    return 0;
}

std::string DriverNameForAnsi() {
    const int ansi = DbfGlobals().defaultOpenCodePage;
    if (ansi == 1252) return "DBWINUS0";
    const std::string digits = std::to_string(ansi);
    if (digits.size() == 3) return "DB" + digits + "US0";
    if (digits.size() == 4) return "DB" + digits.substr(0, 3) + digits.substr(3) + "US0";
    return "DBWINUS0";
}

void WriteAll(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EFileError(Format(STRING_CANNOT_OPEN_FILE, path.string(), "Cannot create file."));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw EFileError(Format(STRING_CANNOT_WRITE_FILE, path.string(), "Write failed."));
}

} // namespace

void TDbfFile::CreateTable(const std::filesystem::path& path, int level,
                           const std::vector<TFieldDef>& fields) {
    if (fields.empty() || fields.size() > kMaxFields) {
        throw EDbfError(
            FormatInt(STRING_INVALID_FIELD_COUNT, static_cast<long long>(fields.size())),
            fields.empty() ? "the table object has no field definitions" : "");
    }
    const bool level7 = level == 7;
    const DescriptorLayout& layout = DescriptorLayoutOf(level);
    const std::size_t headerLength = layout.first + layout.size * fields.size() + 1;
    std::vector<std::uint8_t> header(headerLength, 0);
    std::size_t recordLength = 1;
    bool memo = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const NativeField native = NativeFor(fields[i], level, i + 1);
        memo = memo || native.type == 'M' || native.type == 'B' || native.type == 'G';
        std::uint8_t* d = header.data() + layout.first + i * layout.size;
        const std::string& name = fields[i].Name;
        if (name.empty()) {
            throw EDbfError(STRING_INVALID_DBF_FILE,
                            FieldDefinitionReason(i + 1, name, "has an empty name"));
        }
        // The name keeps room for its terminating NUL.
        std::copy_n(name.begin(), std::min(name.size(), layout.nameLength - 1), d);
        d[layout.typeAt] = static_cast<std::uint8_t>(native.type);
        d[layout.widthAt] = static_cast<std::uint8_t>(native.width & 0xFF);
        d[layout.decimalsAt] =
            static_cast<std::uint8_t>(native.type == 'C' ? native.width >> 8 : native.decimals);
        recordLength += static_cast<std::size_t>(native.width);
    }
    if (recordLength > kMaxLength) {
        throw EDbfError(STRING_INVALID_DBF_FILE,
                        TooLongReason("a record", recordLength, kMaxLength));
    }
    if (headerLength > kMaxLength) {
        throw EDbfError(STRING_INVALID_DBF_FILE,
                        TooLongReason("a header", headerLength, kMaxLength));
    }
    header[layout.first + layout.size * fields.size()] = kDescriptorTerminator;

    std::uint8_t version = level7 ? 0x04 : level == 25 ? 0x30 : 0x03;
    if (memo) version |= kMemoBit;
    header[kVersionAt] = version;
    const std::tm today = Today();
    header[kLastUpdateAt] = static_cast<std::uint8_t>(today.tm_year);
    header[kLastUpdateAt + 1] = static_cast<std::uint8_t>(today.tm_mon + 1);
    header[kLastUpdateAt + 2] = static_cast<std::uint8_t>(today.tm_mday);
    PutLittle(header, kHeaderLengthAt, static_cast<std::uint32_t>(headerLength), 2);
    PutLittle(header, kRecordLengthAt, static_cast<std::uint32_t>(recordLength), 2);
    if (level7) {
        const std::string name = DriverNameForAnsi();
        std::copy_n(name.begin(), std::min(name.size(), kDriverNameLength),
                    header.begin() + kDriverNameAt);
    } else if (level != 3) {
        header[kLanguageDriverAt] = DriverForAnsi();
    }
    header.push_back(kEndOfFileMark);

    std::filesystem::path memoPath = path;
    memoPath.replace_extension(level == 25 ? ".fpt" : ".dbt");
    try {
        WriteAll(path, header);
        if (memo) {
            std::vector<std::uint8_t> memoHeader(512, 0);
            if (level == 25) {
                memoHeader[3] = 8; // next free block, big-endian, in 64-byte blocks
                memoHeader[7] = 64;
            } else {
                memoHeader[0] = 1; // next free block, little-endian, in 512-byte blocks
                memoHeader[21] = 2;
            }
            WriteAll(memoPath, memoHeader);
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        if (memo) std::filesystem::remove(memoPath, ignored);
        throw;
    }
}

} // namespace dbf

#include "dbf/Dbf.h"

#include "dbf/Dbf_Str.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/Locale.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace dbf {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// A drive ("C:..."), a share ("\\server...") or a path from this system's root.
bool IsAbsoluteFolder(std::string_view text) {
    if (!text.empty() && text[0] == '/') return true;
    if (text.size() < 2) return false;
    const char c = text[0];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return (letter && text[1] == ':') || (text[0] == '\\' && text[1] == '\\');
}

std::string WithNativeSeparators(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string WithTrailingSeparator(std::string text) {
    if (text.empty() || !IsSeparator(text.back())) text += '/';
    return text;
}

int ClampToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0) return std::numeric_limits<int>::max();
    if (rounded <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

std::int64_t ClampToInt64(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
    if (rounded <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

std::string FloatText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    std::string out(text);
    for (char& c : out)
        if (c == '.') c = platform::DecimalSeparator();
    return out;
}

std::string DateTimeText(TDateTime value, bool withTime) {
    DateTimeParts p{};
    if (!DecodeDateTime(value, p)) return {};
    std::string out = platform::ShortDateText(p.year, p.month, p.day);
    if (withTime && (p.hour || p.minute || p.second)) {
        char time[16];
        std::snprintf(time, sizeof time, " %d:%02d:%02d", p.hour, p.minute, p.second);
        out += time;
    }
    return out;
}

} // namespace

// ---- TField ----

TField::TField(TDbf& dataset, const TDbfFieldDef& def, std::string name)
    : dataset_(dataset), def_(def), name_(std::move(name)) {}

bool TField::GetData(TFieldValue& value) const {
    // Cleared field by field, so the text keeps its buffer.
    value.text.clear();
    value.integer = 0;
    value.number = 0;
    value.boolean = false;
    return GetFieldData(def_, dataset_.CurrentRecord(), dataset_.RecordSize(), value,
                        dataset_.DecimalSeparator());
}

bool TField::IsNull() const {
    TFieldValue value;
    return !GetData(value);
}

void TField::AccessError(const char* typeName) const {
    throw EDatabaseError(Format(STRING_FIELD_ACCESS, name_, typeName));
}

bool TField::ReadText(std::string& out) const {
    if (def_.FieldType != ftString) {
        out = AsString();
        return !IsNull();
    }
    if (!GetData(scratch_)) {
        out.clear();
        return false;
    }
    out.assign(scratch_.text);
    if (!out.empty() && Transliterate) dataset_.TranslateInPlace(out);
    return true;
}

std::string TField::AsString() const {
    TFieldValue& v = scratch_;
    if (!GetData(v)) return {};
    switch (def_.FieldType) {
    case ftString:
        if (!v.text.empty() && Transliterate) dataset_.TranslateInPlace(v.text);
        return v.text;
    case ftSmallint:
    case ftInteger:
    case ftLargeint:
    case ftAutoInc:
        return std::to_string(v.integer);
    case ftFloat:
        return FloatText(v.number);
    case ftBoolean:
        return v.boolean ? "True" : "False";
    case ftDate:
        return DateTimeText(v.number, false);
    case ftDateTime:
        return DateTimeText(v.number, true);
    default:
        return {};
    }
}

int TField::AsInteger() const {
    TFieldValue v;
    const bool present = GetData(v);
    switch (def_.FieldType) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
        return present ? ClampToInt(static_cast<double>(v.integer)) : 0;
    case ftFloat:
        return present ? ClampToInt(v.number) : 0;
    case ftString: {
        if (!present) return 0;
        std::string text = AsString();
        std::string_view trimmed(text);
        while (!trimmed.empty() && trimmed.front() == ' ')
            trimmed.remove_prefix(1);
        while (!trimmed.empty() && trimmed.back() == ' ')
            trimmed.remove_suffix(1);
        std::int64_t parsed = 0;
        if (!ParseInteger(trimmed, 32, parsed))
            throw EDatabaseError(Format(STRING_INVALID_INTEGER, text));
        return static_cast<int>(parsed);
    }
    default:
        AccessError("Integer");
    }
}

std::int64_t TField::AsLargeInt() const {
    TFieldValue v;
    const bool present = GetData(v);
    switch (def_.FieldType) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
        return present ? v.integer : 0;
    case ftFloat:
        return present ? ClampToInt64(v.number) : 0;
    default:
        AccessError("Largeint");
    }
}

double TField::AsFloat() const {
    TFieldValue v;
    const bool present = GetData(v);
    switch (def_.FieldType) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
        return present ? static_cast<double>(v.integer) : 0.0;
    case ftFloat:
    case ftDate:
    case ftDateTime:
        return present ? v.number : 0.0;
    default:
        AccessError("Float");
    }
}

bool TField::AsBoolean() const {
    TFieldValue v;
    const bool present = GetData(v);
    if (def_.FieldType != ftBoolean) AccessError("Boolean");
    return present && v.boolean;
}

TDateTime TField::AsDateTime() const {
    TFieldValue v;
    const bool present = GetData(v);
    if (def_.FieldType != ftDate && def_.FieldType != ftDateTime) AccessError("DateTime");
    return present ? v.number : 0.0;
}

// ---- TDbf ----

TDbf::TDbf(std::string name) : name_(std::move(name)) {
    DbfGlobals(); // the engine's code-page settings come from the first table object
    SetFilePath("");
}

TDbf::~TDbf() {
    try {
        Close();
    } catch (...) {
        // A header that cannot be written back when the object goes away has
        // nowhere to be reported; Close() reports it to callers who ask.
    }
}

void TDbf::CheckInactive() const {
    if (active_) throw EDatabaseError(STRING_DATASET_OPEN);
}

void TDbf::SetFilePath(std::string_view path) {
    CheckInactive();
    filePath_ = path.empty() ? std::string() : WithTrailingSeparator(std::string(path));
    std::string native = WithNativeSeparators(filePath_);
    if (IsAbsoluteFolder(filePath_)) {
        filePathFull_ = WithTrailingSeparator(native);
        return;
    }
    while (!native.empty() && native.front() == '/')
        native.erase(0, 1);
    std::filesystem::path base = platform::ExecutableFile().parent_path();
    std::filesystem::path full = native.empty() ? base : (base / native).lexically_normal();
    filePathFull_ = WithTrailingSeparator(full.string());
}

void TDbf::SetTableName(std::string_view name) {
    CheckInactive();
    const std::size_t split = name.find_last_of("/\\");
    if (split == std::string_view::npos) {
        tableName_ = std::string(name);
        return;
    }
    SetFilePath(name.substr(0, split + 1));
    tableName_ = std::string(name.substr(split + 1));
}

std::filesystem::path TDbf::TablePath() const {
    return platform::ResolveHostPath(filePathFull_ + tableName_);
}

void TDbf::SetReadOnly(bool value) {
    CheckInactive();
    readOnly_ = value;
}

void TDbf::SetExclusive(bool value) {
    CheckInactive();
    exclusive_ = value;
}

void TDbf::SetOpenMode(TDbfOpenMode mode) {
    CheckInactive();
    openMode_ = mode;
}

void TDbf::SetTableLevel(int level) {
    CheckInactive();
    if (level == 3 || level == 4 || level == 7 || level == 25) tableLevel_ = level;
}

void TDbf::SetShowDeleted(bool value) {
    showDeleted_ = value;
}

void TDbf::SetUseFloatFields(bool value) {
    CheckInactive();
    useFloatFields_ = value;
}

void TDbf::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TDbf::CreateIfMissing(const std::filesystem::path& path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    // Only a file known to be missing is created; an unreadable folder is left alone.
    if (openMode_ == omNormal || exists || error) return;
    bool create = true;
    if (BeforeAutoCreate) BeforeAutoCreate(*this, create);
    if (create) TDbfFile::CreateTable(path, tableLevel_, fieldDefs_);
}

void TDbf::Open() {
    if (active_) return;
    ReleaseOpenState();
    const std::filesystem::path path = TablePath();
    CreateIfMissing(path);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw EDbfError(Format(STRING_FILE_NOT_FOUND, path.string()));
    }
    const TPagedFileMode mode = readOnly_    ? TPagedFileMode::ReadShared
                                : exclusive_ ? TPagedFileMode::ReadWriteExclusive
                                             : TPagedFileMode::ReadWriteShared;
    file_.Open(path, mode, useFloatFields_);
    try {
        file_.OpenMemoFile();
        file_.OpenIndexFile([this] {
            bool dropLink = true;
            if (OnIndexMissing) OnIndexMissing(*this, dropLink);
            return dropLink;
        });
        tableLevel_ = file_.TableLevel();
        BuildFields();
        TDbfLanguageAction action = laEditOnly;
        if (NeedsLanguageAction(file_.UseCodePage()) && OnLanguageWarning)
            OnLanguageWarning(*this, action);
        translationMode_ = ChooseTranslationMode(file_.UseCodePage(), action);
        PrepareTranslation();
        // The corrected count goes back only once the whole table proved readable.
        if (file_.CountCorrected() && mode != TPagedFileMode::ReadShared) file_.WriteHeader();
        record_.assign(file_.RecordSize(), 0);
        fetch_.assign(file_.RecordSize(), 0);
        active_ = true;
        First();
    } catch (...) {
        ReleaseOpenState();
        throw;
    }
}

void TDbf::BuildFields() {
    fields_.clear();
    std::vector<std::string> names;
    for (const TDbfFieldDef& def : file_.FieldDefs()) {
        if (def.IsLockField) continue;
        std::string name = def.FieldName;
        const auto taken = [&](const std::string& n) {
            for (const std::string& other : names)
                if (other == n) return true;
            return false;
        };
        for (int suffix = 2; taken(name); ++suffix)
            name = def.FieldName + std::to_string(suffix);
        names.push_back(name);
        fields_.push_back(std::make_unique<TField>(*this, def, name));
    }
}

void TDbf::ReleaseOpenState() {
    fields_.clear();
    record_.clear();
    fetch_.clear();
    hasRecord_ = false;
    eof_ = true;
    active_ = false;
    cursor_.First();
    file_.Close();
}

void TDbf::Close() {
    if (!active_) return;
    fields_.clear();
    std::exception_ptr failure;
    if (!readOnly_) {
        try {
            file_.WriteHeader();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    ReleaseOpenState();
    if (failure) std::rethrow_exception(failure);
}

bool TDbf::FetchNextVisible() {
    for (;;) {
        const std::uint64_t count = file_.RecordCount();
        if (count == 0) return false;
        if (!cursor_.Next(count)) return false;
        // A file cut short since the count was taken ends the walk.
        if (!file_.ReadRecord(cursor_.PhysicalRecNo(), fetch_.data())) return false;
        if (fetch_[0] == '*' && !showDeleted_) continue;
        record_.swap(fetch_);
        return true;
    }
}

void TDbf::First() {
    if (!active_) throw EDatabaseError(STRING_DATASET_CLOSED);
    cursor_.First();
    hasRecord_ = FetchNextVisible();
    eof_ = !hasRecord_;
}

void TDbf::Next() {
    if (!active_) throw EDatabaseError(STRING_DATASET_CLOSED);
    if (eof_) return;
    if (FetchNextVisible())
        hasRecord_ = true;
    else
        eof_ = true;
}

TField* TDbf::FindField(std::string_view name) {
    const std::string wanted = platform::AnsiUpperCase(name);
    for (const auto& field : fields_)
        if (field->FieldName() == wanted) return field.get();
    return nullptr;
}

TField* TDbf::FieldByName(std::string_view name) {
    if (TField* field = FindField(name)) return field;
    std::string message = Format(STRING_FIELD_NOT_FOUND, name);
    if (!name_.empty()) message = name_ + ": " + message;
    throw EDatabaseError(message);
}

std::uint64_t TDbf::PhysicalRecordCount() const {
    return active_ ? file_.RecordCount() : 0;
}

void TDbf::PrepareTranslation() {
    decimalSeparator_ = platform::DecimalSeparator();
    byteTranslation_ = false;
    if (translationMode_ == TDbfTranslationMode::Identity) {
        for (int b = 0; b < 256; ++b)
            toAnsi_[static_cast<std::size_t>(b)] = static_cast<char>(b);
        byteTranslation_ = true;
    } else if (translationMode_ == TDbfTranslationMode::OemAnsi) {
        // The OEM to ANSI conversion goes byte for byte: its answer for every byte.
        std::string every(256, '\0');
        for (int b = 0; b < 256; ++b)
            every[static_cast<std::size_t>(b)] = static_cast<char>(b);
        const std::string ansi = platform::OemToAnsi(every);
        if (ansi.size() == every.size()) {
            std::copy(ansi.begin(), ansi.end(), toAnsi_.begin());
            byteTranslation_ = true;
        }
    }
}

void TDbf::TranslateInPlace(std::string& text) {
    if (byteTranslation_ && !OnTranslate) {
        for (char& c : text)
            c = toAnsi_[static_cast<unsigned char>(c)];
        return;
    }
    text = TranslateToAnsi(text);
}

std::string TDbf::TranslateToAnsi(std::string_view text) {
    if (OnTranslate) {
        const std::string source(text);
        std::string destination = source;
        int length = OnTranslate(*this, source, destination, false);
        if (length < 0)
            length = static_cast<int>(destination.find('\0') == std::string::npos
                                          ? destination.size()
                                          : destination.find('\0'));
        if (static_cast<std::size_t>(length) < destination.size())
            destination.resize(static_cast<std::size_t>(length));
        return destination;
    }
    return dbf::TranslateToAnsi(text, translationMode_, file_.UseCodePage());
}

} // namespace dbf

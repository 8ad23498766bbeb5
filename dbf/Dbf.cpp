#include "dbf/Dbf.h"

#include "dbf/Dbf_Str.h"
#include "dbf/HeaderLayout.h"
#include "dbf/TablePath.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/Locale.h"

#include <algorithm>
#include <exception>
#include <filesystem>

namespace dbf {

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
    filePath_ = FolderWithSeparator(path);
    filePathFull_ = AbsoluteFolder(filePath_);
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
    const PagedFileMode mode = readOnly_    ? PagedFileMode::ReadShared
                               : exclusive_ ? PagedFileMode::ReadWriteExclusive
                                            : PagedFileMode::ReadWriteShared;
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
        if (file_.CountCorrected() && mode != PagedFileMode::ReadShared) file_.WriteHeader();
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
        if (fetch_[0] == kDeletedFlag && !showDeleted_) continue;
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
    if (translationMode_ == TextTranslation::Identity) {
        for (int b = 0; b < 256; ++b)
            toAnsi_[static_cast<std::size_t>(b)] = static_cast<char>(b);
        byteTranslation_ = true;
    } else if (translationMode_ == TextTranslation::OemAnsi) {
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

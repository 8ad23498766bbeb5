#include "memtable/loxMemTable.h"

#include "platform/Assert.h"
#include "platform/Locale.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace memtable {
namespace {

// Unique record numbers from here on no longer fit the bookmarks the table hands out.
constexpr std::int64_t kUniqueNumberLimit = 0x7FFFFFCF;

std::string_view StoredText(const TField& field, const std::byte* block) {
    const char* text = reinterpret_cast<const char*>(block + field.Offset() + 1);
    return {text, strnlen(text, static_cast<size_t>(field.Size()))};
}

} // namespace

TloxCustomMemTable::TloxCustomMemTable(std::string name)
    : name_(std::move(name)), store_(std::make_unique<TloxCommon>(1)) {}

TloxCustomMemTable::~TloxCustomMemTable() = default;

std::string TloxCustomMemTable::Prefixed(std::string_view message) const {
    return name_ + ": " + std::string(message);
}

void TloxCustomMemTable::CheckActive() const {
    if (!Active())
        throw EDatabaseError(Prefixed("Cannot perform this operation on a closed dataset"));
}

void TloxCustomMemTable::CheckInactive() const {
    if (Active())
        throw EDatabaseError(Prefixed("Cannot perform this operation on an open dataset"));
}

TField& TloxCustomMemTable::AddField(FieldSpec definition) {
    CheckInactive();
    fields_.push_back(std::make_unique<TField>(*this, std::move(definition), FieldCount() + 1));
    return *fields_.back();
}

void TloxCustomMemTable::AddIndexDef(TloxIndexDef def) {
    CheckInactive();
    indexDefs_.push_back(std::move(def));
}

// ---- opening and closing -------------------------------------------------------------

void TloxCustomMemTable::Open() {
    if (Active()) return;
    if (fields_.empty()) throw EMemTableError("Musí byť najmenej jedno pole !");
    int offset = 0;
    for (const auto& field : fields_) {
        if (field->StoredWidth() <= 0)
            throw EMemTableError("Pole " + field->FieldName() + " má nepodporovaný typ !");
        field->SetOffset(offset);
        offset += 1 + field->StoredWidth();
    }
    recordSize_ = offset;
    Notify(true, {TableChangeKind::Open});
    std::lock_guard guard(store_->Lock());
    store_->Clear();
    indexes_.Clear();
    active_ = &indexes_.Add(std::make_unique<TloxIndex>(kRowOrderName, std::string(),
                                                        TloxFieldList{}, 0, true, localeId_));
    position_ = -1;
    atStart_ = atEnd_ = true;
    state_ = dsBrowse;
    try {
        BuildIndexes();
    } catch (...) {
        indexes_.Clear();
        active_ = nullptr;
        state_ = dsInactive;
        Notify(false, {TableChangeKind::Open});
        throw;
    }
    Notify(false, {TableChangeKind::Open});
}

void TloxCustomMemTable::BuildIndexes() {
    indexes_.DropNamed();
    for (const TloxIndexDef& def : indexDefs_) {
        TloxFieldList fields = ParseIndexFields(
            def, [this](std::string_view name) -> const TField& { return FieldNamed(name); });
        TloxIndex& index = indexes_.Add(std::make_unique<TloxIndex>(
            def.Name, def.Fields, std::move(fields), def.Options, false, localeId_));
        const TloxIndex& rowOrder = indexes_[0];
        std::vector<StoredRecord*> records;
        for (int i = 0; i < rowOrder.Count(); ++i)
            records.push_back(rowOrder.At(i));
        index.Build(std::move(records));
    }
    TloxIndex* chosen = nullptr;
    if (!indexFieldNames_.empty())
        chosen = indexes_.FindByFields(indexFieldNames_);
    else if (!indexName_.empty())
        chosen = indexes_.FindByName(indexName_);
    if (chosen) SwitchOrder(chosen, false);
}

void TloxCustomMemTable::Close() {
    if (!Active()) return;
    Notify(true, {TableChangeKind::Open});
    {
        std::lock_guard guard(store_->Lock());
        indexes_.Clear();
        store_->Clear();
        active_ = nullptr;
        insertBlock_.clear();
        state_ = dsInactive;
        position_ = -1;
        atStart_ = atEnd_ = true;
    }
    Notify(false, {TableChangeKind::Open});
}

// ---- cursor ------------------------------------------------------------------------------

bool TloxCustomMemTable::MoveForward() {
    if (position_ >= active_->Count() - 1) {
        atEnd_ = true;
        return false;
    }
    ++position_;
    return true;
}

bool TloxCustomMemTable::MoveBack() {
    if (position_ < 1) {
        atStart_ = true;
        return false;
    }
    --position_;
    return true;
}

// After a change the cursor keeps its position number; the record now standing
// there is current, or the nearest one after or before it.
void TloxCustomMemTable::ReReadCurrent() {
    atStart_ = atEnd_ = false;
    if (position_ >= 0 && position_ < active_->Count()) return;
    if (MoveForward()) return;
    if (MoveBack()) return;
    atStart_ = atEnd_ = true;
}

void TloxCustomMemTable::GoFirst() {
    CheckActive();
    std::lock_guard guard(store_->Lock());
    int before = CursorPosition();
    position_ = -1;
    atEnd_ = false;
    MoveForward();
    atStart_ = true;
    CheckCursor();
    Notify(false, {TableChangeKind::Move, before});
}

int TloxCustomMemTable::Step(int count) {
    CheckActive();
    if (count == 0) return 0;
    std::lock_guard guard(store_->Lock());
    int before = CursorPosition();
    // An empty table keeps both flags whichever way the move goes.
    atStart_ = atEnd_ = active_->Count() == 0;
    int moved = 0;
    if (count > 0) {
        while (moved < count && MoveForward())
            ++moved;
    } else {
        while (moved > count && MoveBack())
            --moved;
    }
    CheckCursor();
    Notify(false, {TableChangeKind::Move, before});
    return moved;
}

int TloxCustomMemTable::RecordTotal() const {
    CheckActive();
    std::lock_guard guard(store_->Lock());
    return active_->Count();
}

int TloxCustomMemTable::CursorPosition() const {
    if (state_ != dsBrowse) return -1;
    std::lock_guard guard(store_->Lock());
    return position_ >= 0 && position_ < active_->Count() ? position_ + 1 : -1;
}

void TloxCustomMemTable::MoveToPosition(int position) {
    if (position < 1 || position > RecordTotal() || position == CursorPosition()) return;
    std::lock_guard guard(store_->Lock());
    int before = CursorPosition();
    position_ = position - 1;
    atStart_ = atEnd_ = false;
    CheckCursor();
    Notify(false, {TableChangeKind::Move, before});
}

// ---- records -----------------------------------------------------------------------------

const StoredRecord* TloxCustomMemTable::RecordAt(int position) const {
    if (!Active() || position < 1 || position > active_->Count()) return nullptr;
    return active_->At(position - 1);
}

const std::byte* TloxCustomMemTable::CurrentBlock() const {
    if (state_ != dsBrowse) return nullptr;
    const StoredRecord* record = RecordAt(position_ + 1);
    return record ? record->block.data() : nullptr;
}

int TloxCustomMemTable::CurrentIdentity() const {
    std::lock_guard guard(store_->Lock());
    const StoredRecord* record = state_ == dsBrowse ? RecordAt(position_ + 1) : nullptr;
    return record ? record->identity : -1;
}

std::int64_t TloxCustomMemTable::CurrentUniqueNumber() const {
    std::lock_guard guard(store_->Lock());
    const StoredRecord* record = state_ == dsBrowse ? RecordAt(position_ + 1) : nullptr;
    return record ? record->uniqueNumber : -1;
}

bool TloxCustomMemTable::HasRecordAt(int position) const {
    std::lock_guard guard(store_->Lock());
    return RecordAt(position) != nullptr;
}

std::string TloxCustomMemTable::ValueTextAt(int position, const TField& field) const {
    std::lock_guard guard(store_->Lock());
    // A field of another table would read past this table's blocks.
    const StoredRecord* record = &field.Table() == this ? RecordAt(position) : nullptr;
    return record ? field.TextIn(record->block.data()) : std::string();
}

std::int32_t TloxCustomMemTable::ValueIntegerAt(int position, const TField& field) const {
    std::lock_guard guard(store_->Lock());
    const StoredRecord* record = &field.Table() == this ? RecordAt(position) : nullptr;
    return record && field.DataType() == ftInteger ? field.IntegerIn(record->block.data()) : 0;
}

std::int32_t TloxCustomMemTable::ValueDayNumberAt(int position, const TField& field) const {
    std::lock_guard guard(store_->Lock());
    const StoredRecord* record = &field.Table() == this ? RecordAt(position) : nullptr;
    return record ? field.DayNumberIn(record->block.data()) : 0;
}

void TloxCustomMemTable::InsertValues(std::initializer_list<FieldValue> values) {
    InsertValues(std::span<const FieldValue>(values.begin(), values.size()));
}

void TloxCustomMemTable::InsertValues(std::span<const FieldValue> values) {
    CheckActive();
    if (values.size() > fields_.size())
        throw EDatabaseError(
            Prefixed("List index out of bounds (" + std::to_string(fields_.size()) + ")"));
    std::lock_guard guard(store_->Lock());
    StoredRecord& prepared = prepared_;
    std::vector<int> places;
    try {
        insertBlock_.assign(static_cast<size_t>(recordSize_), std::byte{0});
        state_ = dsInsert;
        for (size_t i = 0; i < values.size(); ++i)
            fields_[i]->AssignValue(values[i]);
        std::swap(prepared.block, insertBlock_);
        insertBlock_.clear();
        state_ = dsBrowse;
        MakeCollationKeys(prepared);
        // Every place is found before any order changes, so a failed comparison
        // leaves all orders as they were.
        for (int i = 0; i < indexes_.Count(); ++i)
            places.push_back(indexes_[i].InsertPlace(prepared));
    } catch (...) {
        insertBlock_.clear();
        state_ = dsBrowse;
        throw;
    }
    int activePlace = 0;
    for (int i = 0; i < indexes_.Count(); ++i)
        if (&indexes_[i] == active_) activePlace = places[i];
    Notify(true, {TableChangeKind::Insert, activePlace + 1});

    TloxCommon::AddedRecord added = store_->Add(prepared);
    for (int i = 0; i < indexes_.Count(); ++i) {
        indexes_[i].InsertAt(places[i], added.record);
        if (&indexes_[i] == active_) added.record->position = places[i];
    }
    ReReadCurrent();
    CheckCursor();
    Notify(false, {TableChangeKind::Insert, activePlace + 1});

    // The record stays; only the caller learns that the counter ran out.
    if (added.newIdentity && added.record->uniqueNumber >= kUniqueNumberLimit)
        throw EMemTableError("Počítadlo záložiek ja mimo rozsah. Prosím, zatvorte a znova "
                             "otvorte tabuľku.");
}

void TloxCustomMemTable::DeleteCurrent() {
    CheckActive();
    std::lock_guard guard(store_->Lock());
    if (active_->Count() == 0)
        throw EDatabaseError(Prefixed("Cannot perform this operation on an empty dataset"));
    if (!RecordAt(position_ + 1)) ReReadCurrent();
    StoredRecord* record = active_->At(position_);
    // The cursor already stands on the record in the active order; the other
    // orders search for it by key and identity.
    std::vector<int> positions;
    for (int i = 0; i < indexes_.Count(); ++i)
        positions.push_back(&indexes_[i] == active_ ? position_ : indexes_[i].Find(*record));
    Notify(true, {TableChangeKind::Delete, position_ + 1});
    for (int i = 0; i < indexes_.Count(); ++i)
        if (positions[i] >= 0) indexes_[i].RemoveAt(positions[i]);
    int deletedAt = position_ + 1;
    store_->Remove(record);
    ReReadCurrent();
    CheckCursor();
    Notify(false, {TableChangeKind::Delete, deletedAt});
}

void TloxCustomMemTable::DeleteAll() {
    CheckActive();
    std::lock_guard guard(store_->Lock());
    // A view told of each delete reads the table in between, so it sees them one by one.
    if (disableCount_ == 0 && !observers_.empty()) {
        GoFirst();
        while (!AtEnd())
            DeleteCurrent();
        return;
    }
    GoFirst();
    if (active_->Count() == 0) return;
    // Deleting from the first record on frees the identities in the active order.
    for (int i = 0; i < active_->Count(); ++i)
        store_->Remove(active_->At(i));
    for (int i = 0; i < indexes_.Count(); ++i)
        indexes_[i].RemoveAll();
    // Where the last single delete leaves the cursor: on the first place, with no record.
    position_ = 0;
    atStart_ = atEnd_ = true;
    CheckCursor();
}

void TloxCustomMemTable::MakeCollationKeys(StoredRecord& record) const {
    // Only where a comparison could be made at all: otherwise the search raises
    // its locale error as it always has.
    // Buffers of an earlier record are reused; only their content goes.
    record.keys.resize(fields_.size());
    for (std::string& key : record.keys)
        key.clear();
    if (localeId_ != 0x0400 && localeId_ != 0x0800) return;
    if (!platform::CollationAvailable()) return;
    for (int i = 0; i < indexes_.Count(); ++i) {
        for (const KeyField& item : indexes_[i].Fields()) {
            const TField& field = *item.field;
            if (field.DataType() != ftString || (item.options & mtcoIgnoreCase) ||
                field.IsNullIn(record.block.data()))
                continue;
            std::string& key = record.keys[static_cast<std::size_t>(field.FieldNo() - 1)];
            if (!key.empty()) continue;
            key.assign(1, '\1');
            platform::AppendCollationKey(key, StoredText(field, record.block.data()));
        }
    }
}

// ---- fields ------------------------------------------------------------------------------

TField* TloxCustomMemTable::FindField(std::string_view name) const {
    for (const auto& field : fields_)
        if (platform::SameIgnoringAsciiCase(field->FieldName(), name)) return field.get();
    if (!platform::CollationAvailable()) return nullptr;
    for (const auto& field : fields_)
        if (platform::CompareTextIgnoreCase(field->FieldName(), name) == 0) return field.get();
    return nullptr;
}

TField& TloxCustomMemTable::FieldNamed(std::string_view name) const {
    TField* field = FindField(name);
    if (!field) throw EDatabaseError(Prefixed("Field '" + std::string(name) + "' not found"));
    return *field;
}

// ---- orders ------------------------------------------------------------------------------

void TloxCustomMemTable::SwitchOrder(TloxIndex* index, bool notify) {
    if (index == active_) return;
    if (notify) Notify(true, {TableChangeKind::Order});
    const StoredRecord* current = RecordAt(position_ + 1);
    int identity = current ? current->identity : -1;
    active_ = index;
    indexName_ = index->IsRowOrder() ? std::string() : index->Name();
    indexFieldNames_ = index->FieldString();
    if (position_ >= active_->Count()) position_ = active_->Count() - 1;
    if (position_ >= 0) {
        int found = -1;
        for (int i = 0; i < active_->Count() && found < 0; ++i)
            if (active_->At(i)->identity == identity) found = i;
        if (found >= 0) {
            position_ = found;
        } else {
            position_ = -1;
            atEnd_ = false;
            MoveForward();
            atStart_ = true;
        }
    }
    ReReadCurrent();
    CheckCursor();
    if (notify) Notify(false, {TableChangeKind::Order});
}

void TloxCustomMemTable::SetIndexName(std::string_view name) {
    if (!Active()) {
        indexName_ = name;
        return;
    }
    std::lock_guard guard(store_->Lock());
    TloxIndex* index = name.empty() ? &indexes_[0] : indexes_.FindByName(name);
    if (index) SwitchOrder(index, true);
}

void TloxCustomMemTable::SetIndexFieldNames(std::string_view fieldString) {
    if (!Active()) {
        indexFieldNames_ = fieldString;
        return;
    }
    std::lock_guard guard(store_->Lock());
    TloxIndex* index = indexes_.FindByFields(fieldString);
    if (index) SwitchOrder(index, true);
}

void TloxCustomMemTable::SetLocaleID(int localeId) {
    localeId_ = localeId;
    languageId_ = localeId & 0xFF;
    subLanguageId_ = (localeId >> 10) & 0x3F;
    sortId_ = (localeId >> 16) & 0xF;
}

void TloxCustomMemTable::RecomputeLocaleId() {
    localeId_ = subLanguageId_ * 1024 + languageId_ + sortId_ * 65536;
}

void TloxCustomMemTable::SetLanguageID(int id) {
    languageId_ = id;
    RecomputeLocaleId();
}

void TloxCustomMemTable::SetSubLanguageID(int id) {
    subLanguageId_ = id;
    RecomputeLocaleId();
}

void TloxCustomMemTable::SetSortID(int id) {
    sortId_ = id;
    RecomputeLocaleId();
}

// ---- invariants --------------------------------------------------------------------------

void TloxCustomMemTable::CheckCursor() const {
    TLACSUB_ASSERT(active_ != nullptr);
    TLACSUB_ASSERT(position_ >= -1 && position_ <= active_->Count());
    // An order with records always has one current once a change has settled.
    TLACSUB_ASSERT(active_->Count() == 0 || (position_ >= 0 && position_ < active_->Count()));
}

void TloxCustomMemTable::CheckInvariants() const {
    std::lock_guard guard(store_->Lock());
    if (!Active()) {
        TLACSUB_ASSERT(active_ == nullptr && indexes_.Count() == 0);
        return;
    }
    TLACSUB_ASSERT(indexes_.Count() > 0 && indexes_[0].IsRowOrder());
    bool activeFound = false;
    for (int i = 0; i < indexes_.Count(); ++i) {
        const TloxIndex& index = indexes_[i];
        TLACSUB_ASSERT(index.Count() == store_->RecordCount());
        index.CheckInvariants();
        activeFound = activeFound || &index == active_;
    }
    TLACSUB_ASSERT(activeFound);
    CheckCursor();
}

// ---- views -------------------------------------------------------------------------------

void TloxCustomMemTable::AddObserver(TableObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TloxCustomMemTable::RemoveObserver(TableObserver* observer) {
    std::erase(observers_, observer);
}

void TloxCustomMemTable::DisableControls() {
    if (disableCount_++ == 0) Notify(true, {TableChangeKind::Batch});
}

void TloxCustomMemTable::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0) Notify(false, {TableChangeKind::Batch});
}

void TloxCustomMemTable::Notify(bool before, const TableChange& change) {
    if (disableCount_ > 0 && change.kind != TableChangeKind::Batch) return;
    // A copy, so a view may unbind itself while it is told.
    std::vector<TableObserver*> observers = observers_;
    for (TableObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) continue;
        if (before)
            observer->MemTableChanging(change);
        else
            observer->MemTableChanged(change);
    }
}

} // namespace memtable

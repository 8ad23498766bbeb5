#include "memtable/loxMemTable.h"

#include "platform/Locale.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace memtable {
namespace {

// Unique record numbers from here on no longer fit the bookmarks the table hands out.
constexpr std::int64_t kUniqueNumberLimit = 0x7FFFFFCF;

bool SameInCapitals(std::string_view a, std::string_view b) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return upper(x) == upper(y); });
}

std::string_view StoredText(const TField& field, const std::byte* block) {
    const char* text = reinterpret_cast<const char*>(block + field.Offset() + 1);
    return {text, strnlen(text, static_cast<size_t>(field.Size()))};
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

TloxCustomMemTable::TloxCustomMemTable(std::string name)
    : FName(std::move(name)), FStore(std::make_unique<TloxCommon>(1)) {}

TloxCustomMemTable::~TloxCustomMemTable() = default;

std::string TloxCustomMemTable::Prefixed(std::string_view message) const {
    return FName + ": " + std::string(message);
}

void TloxCustomMemTable::CheckActive() const {
    if (!Active())
        throw EDatabaseError(Prefixed("Cannot perform this operation on a closed dataset"));
}

void TloxCustomMemTable::CheckInactive() const {
    if (Active())
        throw EDatabaseError(Prefixed("Cannot perform this operation on an open dataset"));
}

TField& TloxCustomMemTable::AddField(TloxFieldSpec definition) {
    CheckInactive();
    FFields.push_back(std::make_unique<TField>(*this, std::move(definition), FieldCount() + 1));
    return *FFields.back();
}

void TloxCustomMemTable::AddIndexDef(TloxIndexDef def) {
    CheckInactive();
    FIndexDefs.push_back(std::move(def));
}

// ---- opening and closing -------------------------------------------------------------

void TloxCustomMemTable::Open() {
    if (Active()) return;
    if (FFields.empty()) throw EMemTableError("Musí byť najmenej jedno pole !");
    int offset = 0;
    for (const auto& field : FFields) {
        if (field->StoredWidth() <= 0)
            throw EMemTableError("Pole " + field->FieldName() + " má nepodporovaný typ !");
        field->SetOffset(offset);
        offset += 1 + field->StoredWidth();
    }
    FRecordSize = offset;
    Notify(true, {ckOpen});
    std::lock_guard guard(FStore->Lock());
    FStore->Clear();
    FIndexes.Clear();
    FActive = &FIndexes.Add(std::make_unique<TloxIndex>(kRowOrderName, std::string(),
                                                        TloxFieldList{}, 0, true, FLocaleId));
    FPosition = -1;
    FAtStart = FAtEnd = true;
    FState = dsBrowse;
    try {
        BuildIndexes();
    } catch (...) {
        FIndexes.Clear();
        FActive = nullptr;
        FState = dsInactive;
        Notify(false, {ckOpen});
        throw;
    }
    Notify(false, {ckOpen});
}

void TloxCustomMemTable::BuildIndexes() {
    FIndexes.DropNamed();
    for (const TloxIndexDef& def : FIndexDefs) {
        if (TrimBlanks(def.Name).empty() || TrimBlanks(def.Fields).empty())
            throw EMemTableError("V definícii indexov [IndexDef] chýba hodnota položky [Name] "
                                 "alebo [FieldNames] !");
        TloxFieldList fields;
        std::string_view rest = def.Fields;
        while (!rest.empty()) {
            size_t end = rest.find(';');
            std::string_view name = TrimBlanks(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (name.empty()) continue;
            const TField& field = FieldNamed(name);
            if (!field.CanBeKey())
                throw EDatabaseError("Nedá sa indexovať pole " + field.DisplayLabel() + " !");
            fields.push_back({&field, def.Options});
        }
        TloxIndex& index = FIndexes.Add(std::make_unique<TloxIndex>(
            def.Name, def.Fields, std::move(fields), def.Options, false, FLocaleId));
        const TloxIndex& rowOrder = FIndexes[0];
        std::vector<TloxRecord*> records;
        for (int i = 0; i < rowOrder.Count(); ++i)
            records.push_back(rowOrder.At(i));
        index.Build(std::move(records));
    }
    TloxIndex* chosen = nullptr;
    if (!FIndexFieldNames.empty())
        chosen = FIndexes.FindByFields(FIndexFieldNames);
    else if (!FIndexName.empty())
        chosen = FIndexes.FindByName(FIndexName);
    if (chosen) SwitchOrder(chosen, false);
}

void TloxCustomMemTable::Close() {
    if (!Active()) return;
    Notify(true, {ckOpen});
    {
        std::lock_guard guard(FStore->Lock());
        FIndexes.Clear();
        FStore->Clear();
        FActive = nullptr;
        FInsertBlock.clear();
        FState = dsInactive;
        FPosition = -1;
        FAtStart = FAtEnd = true;
    }
    Notify(false, {ckOpen});
}

// ---- cursor ------------------------------------------------------------------------------

bool TloxCustomMemTable::MoveForward() {
    if (FPosition >= FActive->Count() - 1) {
        FAtEnd = true;
        return false;
    }
    ++FPosition;
    return true;
}

bool TloxCustomMemTable::MoveBack() {
    if (FPosition < 1) {
        FAtStart = true;
        return false;
    }
    --FPosition;
    return true;
}

// After a change the cursor keeps its position number; the record now standing
// there is current, or the nearest one after or before it.
void TloxCustomMemTable::ReReadCurrent() {
    FAtStart = FAtEnd = false;
    if (FPosition >= 0 && FPosition < FActive->Count()) return;
    if (MoveForward()) return;
    if (MoveBack()) return;
    FAtStart = FAtEnd = true;
}

void TloxCustomMemTable::GoFirst() {
    CheckActive();
    std::lock_guard guard(FStore->Lock());
    int before = CursorPosition();
    FPosition = -1;
    FAtEnd = false;
    MoveForward();
    FAtStart = true;
    Notify(false, {ckMove, before});
}

int TloxCustomMemTable::Step(int count) {
    CheckActive();
    if (count == 0) return 0;
    std::lock_guard guard(FStore->Lock());
    int before = CursorPosition();
    // An empty table keeps both flags whichever way the move goes.
    FAtStart = FAtEnd = FActive->Count() == 0;
    int moved = 0;
    if (count > 0) {
        while (moved < count && MoveForward())
            ++moved;
    } else {
        while (moved > count && MoveBack())
            --moved;
    }
    Notify(false, {ckMove, before});
    return moved;
}

int TloxCustomMemTable::RecordTotal() const {
    CheckActive();
    std::lock_guard guard(FStore->Lock());
    return FActive->Count();
}

int TloxCustomMemTable::CursorPosition() const {
    if (FState != dsBrowse) return -1;
    std::lock_guard guard(FStore->Lock());
    return FPosition >= 0 && FPosition < FActive->Count() ? FPosition + 1 : -1;
}

void TloxCustomMemTable::MoveToPosition(int position) {
    if (position < 1 || position > RecordTotal() || position == CursorPosition()) return;
    std::lock_guard guard(FStore->Lock());
    int before = CursorPosition();
    FPosition = position - 1;
    FAtStart = FAtEnd = false;
    Notify(false, {ckMove, before});
}

// ---- records -----------------------------------------------------------------------------

const TloxRecord* TloxCustomMemTable::RecordAt(int position) const {
    if (!Active() || position < 1 || position > FActive->Count()) return nullptr;
    return FActive->At(position - 1);
}

const std::byte* TloxCustomMemTable::CurrentBlock() const {
    if (FState != dsBrowse) return nullptr;
    const TloxRecord* record = RecordAt(FPosition + 1);
    return record ? record->Block.data() : nullptr;
}

int TloxCustomMemTable::CurrentIdentity() const {
    std::lock_guard guard(FStore->Lock());
    const TloxRecord* record = FState == dsBrowse ? RecordAt(FPosition + 1) : nullptr;
    return record ? record->Identity : -1;
}

std::int64_t TloxCustomMemTable::CurrentUniqueNumber() const {
    std::lock_guard guard(FStore->Lock());
    const TloxRecord* record = FState == dsBrowse ? RecordAt(FPosition + 1) : nullptr;
    return record ? record->UniqueNumber : -1;
}

bool TloxCustomMemTable::HasRecordAt(int position) const {
    std::lock_guard guard(FStore->Lock());
    return RecordAt(position) != nullptr;
}

std::string TloxCustomMemTable::ValueTextAt(int position, const TField& field) const {
    std::lock_guard guard(FStore->Lock());
    // A field of another table would read past this table's blocks.
    const TloxRecord* record = &field.Table() == this ? RecordAt(position) : nullptr;
    return record ? field.TextIn(record->Block.data()) : std::string();
}

std::int32_t TloxCustomMemTable::ValueIntegerAt(int position, const TField& field) const {
    std::lock_guard guard(FStore->Lock());
    const TloxRecord* record = &field.Table() == this ? RecordAt(position) : nullptr;
    return record && field.DataType() == ftInteger ? field.IntegerIn(record->Block.data()) : 0;
}

std::int32_t TloxCustomMemTable::ValueDayNumberAt(int position, const TField& field) const {
    std::lock_guard guard(FStore->Lock());
    const TloxRecord* record = &field.Table() == this ? RecordAt(position) : nullptr;
    return record ? field.DayNumberIn(record->Block.data()) : 0;
}

void TloxCustomMemTable::InsertValues(std::initializer_list<TloxValue> values) {
    InsertValues(std::span<const TloxValue>(values.begin(), values.size()));
}

void TloxCustomMemTable::InsertValues(std::span<const TloxValue> values) {
    CheckActive();
    if (values.size() > FFields.size())
        throw EDatabaseError(
            Prefixed("List index out of bounds (" + std::to_string(FFields.size()) + ")"));
    std::lock_guard guard(FStore->Lock());
    TloxRecord& prepared = FPrepared;
    std::vector<int> places;
    try {
        FInsertBlock.assign(static_cast<size_t>(FRecordSize), std::byte{0});
        FState = dsInsert;
        for (size_t i = 0; i < values.size(); ++i)
            FFields[i]->AssignValue(values[i]);
        std::swap(prepared.Block, FInsertBlock);
        FInsertBlock.clear();
        FState = dsBrowse;
        MakeCollationKeys(prepared);
        // Every place is found before any order changes, so a failed comparison
        // leaves all orders as they were.
        for (int i = 0; i < FIndexes.Count(); ++i)
            places.push_back(FIndexes[i].InsertPlace(prepared));
    } catch (...) {
        FInsertBlock.clear();
        FState = dsBrowse;
        throw;
    }
    int activePlace = 0;
    for (int i = 0; i < FIndexes.Count(); ++i)
        if (&FIndexes[i] == FActive) activePlace = places[i];
    Notify(true, {ckInsert, activePlace + 1});

    TloxCommon::TAdded added = FStore->Add(prepared);
    for (int i = 0; i < FIndexes.Count(); ++i) {
        FIndexes[i].InsertAt(places[i], added.Record);
        if (&FIndexes[i] == FActive) added.Record->Position = places[i];
    }
    ReReadCurrent();
    Notify(false, {ckInsert, activePlace + 1});

    // The record stays; only the caller learns that the counter ran out.
    if (added.NewIdentity && added.Record->UniqueNumber >= kUniqueNumberLimit)
        throw EMemTableError("Počítadlo záložiek ja mimo rozsah. Prosím, zatvorte a znova "
                             "otvorte tabuľku.");
}

void TloxCustomMemTable::DeleteCurrent() {
    CheckActive();
    std::lock_guard guard(FStore->Lock());
    if (FActive->Count() == 0)
        throw EDatabaseError(Prefixed("Cannot perform this operation on an empty dataset"));
    if (!RecordAt(FPosition + 1)) ReReadCurrent();
    TloxRecord* record = FActive->At(FPosition);
    // The cursor already stands on the record in the active order; the other
    // orders search for it by key and identity.
    std::vector<int> positions;
    for (int i = 0; i < FIndexes.Count(); ++i)
        positions.push_back(&FIndexes[i] == FActive ? FPosition : FIndexes[i].Find(*record));
    Notify(true, {ckDelete, FPosition + 1});
    for (int i = 0; i < FIndexes.Count(); ++i)
        if (positions[i] >= 0) FIndexes[i].RemoveAt(positions[i]);
    int deletedAt = FPosition + 1;
    FStore->Remove(record);
    ReReadCurrent();
    Notify(false, {ckDelete, deletedAt});
}

void TloxCustomMemTable::DeleteAll() {
    CheckActive();
    std::lock_guard guard(FStore->Lock());
    // A view told of each delete reads the table in between, so it sees them one by one.
    if (FDisableCount == 0 && !FObservers.empty()) {
        GoFirst();
        while (!AtEnd())
            DeleteCurrent();
        return;
    }
    GoFirst();
    if (FActive->Count() == 0) return;
    // Deleting from the first record on frees the identities in the active order.
    for (int i = 0; i < FActive->Count(); ++i)
        FStore->Remove(FActive->At(i));
    for (int i = 0; i < FIndexes.Count(); ++i)
        FIndexes[i].RemoveAll();
    // Where the last single delete leaves the cursor: on the first place, with no record.
    FPosition = 0;
    FAtStart = FAtEnd = true;
}

void TloxCustomMemTable::MakeCollationKeys(TloxRecord& record) const {
    // Only where a comparison could be made at all: otherwise the search raises
    // its locale error as it always has.
    // Buffers of an earlier record are reused; only their content goes.
    record.Keys.resize(FFields.size());
    for (std::string& key : record.Keys)
        key.clear();
    if (FLocaleId != 0x0400 && FLocaleId != 0x0800) return;
    if (!platform::CollationAvailable()) return;
    for (int i = 0; i < FIndexes.Count(); ++i) {
        for (const TloxFieldListItem& item : FIndexes[i].Fields()) {
            const TField& field = *item.Field;
            if (field.DataType() != ftString || (item.Options & mtcoIgnoreCase) ||
                field.IsNullIn(record.Block.data()))
                continue;
            std::string& key = record.Keys[static_cast<std::size_t>(field.FieldNo() - 1)];
            if (!key.empty()) continue;
            key.assign(1, '\1');
            platform::AppendCollationKey(key, StoredText(field, record.Block.data()));
        }
    }
}

// ---- fields ------------------------------------------------------------------------------

TField* TloxCustomMemTable::FindField(std::string_view name) const {
    for (const auto& field : FFields)
        if (SameInCapitals(field->FieldName(), name)) return field.get();
    if (!platform::CollationAvailable()) return nullptr;
    for (const auto& field : FFields)
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
    if (index == FActive) return;
    if (notify) Notify(true, {ckOrder});
    const TloxRecord* current = RecordAt(FPosition + 1);
    int identity = current ? current->Identity : -1;
    FActive = index;
    FIndexName = index->IsRowOrder() ? std::string() : index->Name();
    FIndexFieldNames = index->FieldString();
    if (FPosition >= FActive->Count()) FPosition = FActive->Count() - 1;
    if (FPosition >= 0) {
        int found = -1;
        for (int i = 0; i < FActive->Count() && found < 0; ++i)
            if (FActive->At(i)->Identity == identity) found = i;
        if (found >= 0) {
            FPosition = found;
        } else {
            FPosition = -1;
            FAtEnd = false;
            MoveForward();
            FAtStart = true;
        }
    }
    ReReadCurrent();
    if (notify) Notify(false, {ckOrder});
}

void TloxCustomMemTable::SetIndexName(std::string_view name) {
    if (!Active()) {
        FIndexName = name;
        return;
    }
    std::lock_guard guard(FStore->Lock());
    TloxIndex* index = name.empty() ? &FIndexes[0] : FIndexes.FindByName(name);
    if (index) SwitchOrder(index, true);
}

void TloxCustomMemTable::SetIndexFieldNames(std::string_view fieldString) {
    if (!Active()) {
        FIndexFieldNames = fieldString;
        return;
    }
    std::lock_guard guard(FStore->Lock());
    TloxIndex* index = FIndexes.FindByFields(fieldString);
    if (index) SwitchOrder(index, true);
}

void TloxCustomMemTable::SetLocaleID(int localeId) {
    FLocaleId = localeId;
    FLanguageId = localeId & 0xFF;
    FSubLanguageId = (localeId >> 10) & 0x3F;
    FSortId = (localeId >> 16) & 0xF;
}

void TloxCustomMemTable::RecomputeLocaleId() {
    FLocaleId = FSubLanguageId * 1024 + FLanguageId + FSortId * 65536;
}

void TloxCustomMemTable::SetLanguageID(int id) {
    FLanguageId = id;
    RecomputeLocaleId();
}

void TloxCustomMemTable::SetSubLanguageID(int id) {
    FSubLanguageId = id;
    RecomputeLocaleId();
}

void TloxCustomMemTable::SetSortID(int id) {
    FSortId = id;
    RecomputeLocaleId();
}

// ---- views -------------------------------------------------------------------------------

void TloxCustomMemTable::AddObserver(TloxMemTableObserver* observer) {
    if (observer && std::find(FObservers.begin(), FObservers.end(), observer) == FObservers.end())
        FObservers.push_back(observer);
}

void TloxCustomMemTable::RemoveObserver(TloxMemTableObserver* observer) {
    std::erase(FObservers, observer);
}

void TloxCustomMemTable::DisableControls() {
    if (FDisableCount++ == 0) Notify(true, {ckBatch});
}

void TloxCustomMemTable::EnableControls() {
    if (FDisableCount == 0) return;
    if (--FDisableCount == 0) Notify(false, {ckBatch});
}

void TloxCustomMemTable::Notify(bool before, const TloxChange& change) {
    if (FDisableCount > 0 && change.Kind != ckBatch) return;
    // A copy, so a view may unbind itself while it is told.
    std::vector<TloxMemTableObserver*> observers = FObservers;
    for (TloxMemTableObserver* observer : observers) {
        if (std::find(FObservers.begin(), FObservers.end(), observer) == FObservers.end()) continue;
        if (before)
            observer->MemTableChanging(change);
        else
            observer->MemTableChanged(change);
    }
}

} // namespace memtable

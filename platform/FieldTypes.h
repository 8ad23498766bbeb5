#pragma once
// Value types of the record layer, shared by the dBase reader and the memory table.

namespace record {

enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftLargeint,
    ftFloat,
    ftBoolean,
    ftDate,
    ftDateTime,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftDBaseOle,
};

} // namespace record

#include "dbf/Dbf_Fields.h"

#include <algorithm>

namespace dbf {

bool TDbfFieldDef::Normalise(int storedDecimals, bool useFloatFields) {
    const int width = static_cast<int>(StoredWidth);
    Precision = 0;
    switch (NativeFieldType) {
    case 'C':
        FieldType = ftString;
        Size = width > 65533 ? 65534 : width;
        return true;
    case 'N':
    case 'F':
        if (storedDecimals > 0)
            FieldType = ftFloat;
        else if (width <= 4)
            FieldType = ftSmallint;
        else if (useFloatFields)
            FieldType = ftFloat;
        else
            FieldType = width <= 9 ? ftInteger : ftLargeint;
        Size = std::clamp(width, 0, 20);
        Precision = std::max(0, std::min(storedDecimals, Size - 2));
        return true;
    case 'D':
        FieldType = ftDate;
        Size = 8;
        return true;
    case 'L':
        FieldType = ftBoolean;
        Size = 1;
        return true;
    case 'I':
        FieldType = ftInteger;
        Size = 4;
        return true;
    case '+':
        FieldType = ftAutoInc;
        Size = 4;
        return true;
    case '@':
        FieldType = ftDateTime;
        Size = 8;
        return true;
    case 'T':
        FieldType = ftDateTime;
        Size = width;
        Precision = storedDecimals;
        return true;
    case 'O':
        FieldType = ftFloat;
        Size = 8;
        return true;
    case 'M':
        FieldType = ftMemo;
        Size = 10;
        return true;
    case 'B':
        FieldType = ftBlob;
        Size = 10;
        return true;
    case 'G':
        FieldType = ftDBaseOle;
        Size = 10;
        return true;
    default:
        FieldType = ftUnknown;
        return false;
    }
}

bool TDbfFieldDefs::HasMemoFields() const {
    return std::any_of(items_.begin(), items_.end(),
                       [](const TDbfFieldDef& d) { return d.IsMemo(); });
}

} // namespace dbf

// Opens arbitrary bytes as a dBase table, walks every record with and without
// the deleted ones, reads every field in every way, and does it once more with
// a writable table so that the header write-back runs too.

#include "dbf/Dbf.h"
#include "dbf/Dbf_Str.h"
#include "fuzz/support/FuzzFiles.h"
#include "platform/CodePages.h"
#include "tools/dbfdump/JsonLines.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

std::filesystem::path& Folder() {
    static std::filesystem::path folder;
    return folder;
}

template <typename Read> void Try(Read read) {
    try {
        (void)read();
    } catch (const dbf::EDatabaseError&) {
    }
}

// Every accessor of every field; the ones a field's type refuses only when
// `everyWay` is set, since raising is slow and takes the same path each time.
void ReadEveryField(dbf::TDbf& table, bool everyWay) {
    for (std::size_t i = 0; i < table.FieldCount(); ++i) {
        dbf::TField& field = *table.Fields(i);
        const dbf::TFieldType type = field.DataType();
        const bool number = type == dbf::ftSmallint || type == dbf::ftInteger ||
                            type == dbf::ftLargeint || type == dbf::ftAutoInc ||
                            type == dbf::ftFloat;
        const bool date = type == dbf::ftDate || type == dbf::ftDateTime;
        (void)field.IsNull();
        (void)field.AsString();
        if (everyWay || number) Try([&] { return field.AsInteger(); });
        if (everyWay || number) Try([&] { return field.AsLargeInt(); });
        if (everyWay || number || date) Try([&] { return field.AsFloat(); });
        if (everyWay || type == dbf::ftBoolean) Try([&] { return field.AsBoolean(); });
        if (everyWay || date) Try([&] { return field.AsDateTime(); });
    }
}

void Walk(bool readOnly) {
    dbf::TDbf table("Fuzz");
    table.SetReadOnly(readOnly);
    table.SetFilePath(Folder().string());
    table.SetTableName("T.DBF");
    try {
        table.Open();
    } catch (const dbf::EDbfError& error) {
        // A malformed file is never refused without saying what in it is wrong.
        if (error.what() == std::string_view(dbf::STRING_INVALID_DBF_FILE) &&
            error.Reason().empty())
            std::abort();
        return;
    } catch (const dbf::EDatabaseError&) {
        return;
    } catch (const dbf::EAbort& error) {
        if (error.Reason().empty()) std::abort();
        return;
    }
    (void)dbfdump::DescribeTable(table);
    // A writable table takes the same reading paths; what it adds is the header
    // written back at open and close.
    const std::initializer_list<bool> passes =
        readOnly ? std::initializer_list<bool>{false, true} : std::initializer_list<bool>{};
    for (bool showDeleted : passes) {
        table.SetShowDeleted(showDeleted);
        bool first = true;
        for (table.First(); !table.Eof(); table.Next()) {
            ReadEveryField(table, first);
            (void)dbfdump::DescribeRecord(table, showDeleted);
            first = false;
        }
        ReadEveryField(table, true); // at the end the last record stays current
    }
    ReadEveryField(table, true);
    Try([&] { return table.FieldByName("NAZOV"); });
    Try([&] {
        table.Close();
        return 0;
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::SetMachineCodePages(1250, 852);
    Folder() = fuzzing::MakeScratchFolder("dbf-fuzz");
    // Memo and index files exist, so tables naming them open and read on.
    const std::uint8_t blank[512] = {};
    for (const char* name : {"T.dbt", "T.fpt", "T.mdx"})
        fuzzing::WriteBytes(Folder() / name, blank, sizeof blank);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::WriteBytes(Folder() / "T.DBF", data, size);
    Walk(true);
    Walk(false);
    return 0;
}

// Opens arbitrary bytes as a dBase table, walks every record with and without
// the deleted ones, reads every field in every way, and does it once more with
// a writable table so that the header write-back runs too.

#include "dbf/Dbf.h"
#include "platform/CodePages.h"
#include "tools/dbfdump/JsonLines.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path& Folder() {
    static std::filesystem::path folder;
    return folder;
}

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
}

void Write(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void ReadEveryField(dbf::TDbf& table) {
    for (std::size_t i = 0; i < table.FieldCount(); ++i) {
        dbf::TField& field = *table.Fields(i);
        (void)field.IsNull();
        (void)field.AsString();
        try {
            (void)field.AsInteger();
        } catch (const dbf::EDatabaseError&) {
        }
        try {
            (void)field.AsLargeInt();
        } catch (const dbf::EDatabaseError&) {
        }
        try {
            (void)field.AsFloat();
        } catch (const dbf::EDatabaseError&) {
        }
        try {
            (void)field.AsBoolean();
        } catch (const dbf::EDatabaseError&) {
        }
        try {
            (void)field.AsDateTime();
        } catch (const dbf::EDatabaseError&) {
        }
    }
}

void Walk(bool readOnly) {
    dbf::TDbf table("Fuzz");
    table.SetReadOnly(readOnly);
    table.SetFilePath(Folder().string());
    table.SetTableName("T.DBF");
    try {
        table.Open();
    } catch (const dbf::EDatabaseError&) {
        return;
    } catch (const dbf::EAbort&) {
        return;
    }
    (void)dbfdump::DescribeTable(table);
    for (bool showDeleted : {false, true}) {
        table.SetShowDeleted(showDeleted);
        for (table.First(); !table.Eof(); table.Next()) {
            ReadEveryField(table);
            (void)dbfdump::DescribeRecord(table, showDeleted);
        }
        ReadEveryField(table); // at the end the last record stays current
    }
    try {
        (void)table.FieldByName("NAZOV");
    } catch (const dbf::EDatabaseError&) {
    }
    table.Close();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::SetMachineCodePages(1250, 852);
    Folder() = std::filesystem::temp_directory_path() / ("dbf-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(Folder());
    // Memo and index files exist, so tables naming them open and read on.
    const std::uint8_t blank[512] = {};
    for (const char* name : {"T.dbt", "T.fpt", "T.mdx"})
        Write(Folder() / name, blank, sizeof blank);
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Write(Folder() / "T.DBF", data, size);
    Walk(true);
    Walk(false);
    return 0;
}

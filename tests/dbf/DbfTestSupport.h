#pragma once
// Shared helpers of the table reader's tests: a scratch folder and a table
// object opened on a file written by the test.

#include "dbf/Dbf.h"
#include "tools/dbfwriter/DbfWriter.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

namespace dbftest {

class TempDir {
  public:
    TempDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("dbf-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A read-only table object on `path`, opened.
inline std::unique_ptr<dbf::TDbf> OpenReadOnly(const std::filesystem::path& path,
                                               bool showDeleted = false) {
    auto table = std::make_unique<dbf::TDbf>("Dbf1");
    table->SetReadOnly(true);
    table->SetShowDeleted(showDeleted);
    table->SetTableName(path.string());
    table->Open();
    return table;
}

// Writes the table and opens it read-only.
inline std::unique_ptr<dbf::TDbf> WriteAndOpen(const TempDir& dir, const dbfwriter::DbfWriter& w,
                                               const std::string& name = "T.DBF") {
    w.WriteTo(dir / name);
    return OpenReadOnly(dir / name);
}

} // namespace dbftest

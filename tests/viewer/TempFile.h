#pragma once
// A print file made by a test: bytes written to a fresh temporary folder that
// is removed again with the object.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

class TempFile {
  public:
    explicit TempFile(std::string_view bytes, const std::string& name = "print.txt") {
        std::random_device rd;
        folder_ = std::filesystem::temp_directory_path() /
                  ("viewer-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / name;
        Write(bytes);
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void Write(std::string_view bytes) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Path() const { return path_.string(); }
    std::filesystem::path Folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

#pragma once
// A small file system of its own (tmpfs) for a test that needs a full disk:
// mounted in a temporary folder, filled until only a little room is left, and
// unmounted with the folder removed when the test ends. Mounting needs root.

#include <cstdint>
#include <filesystem>

namespace testing_cups {

class SmallFileSystem {
  public:
    // Whether this process may mount one; tests skip without it.
    static bool CanMount();

    // Throws std::runtime_error when it cannot be mounted or filled.
    explicit SmallFileSystem(std::uintmax_t freeBytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    // Room left for files, as the file system tells it.
    std::uintmax_t FreeBytes() const;
    // Makes room of at least freeBytes again, the files written so far kept.
    void LeaveFree(std::uintmax_t freeBytes);

  private:
    std::filesystem::path folder_;
    std::filesystem::path filler_;
    bool mounted_ = false;
};

} // namespace testing_cups

#pragma once
// A folder held open, so that the files in it are opened by their names alone:
// the system then walks the folder's path once rather than once per file,
// which is most of what opening thousands of small print files costs. No Qt here.

#include "viewer/FileHandle.h"

#include <filesystem>
#include <string>

class OpenFolder {
  public:
    // A folder that cannot be opened (missing, no folder, no permission) is
    // still usable: its files are then opened by their whole paths, and fail
    // as they would have.
    explicit OpenFolder(std::filesystem::path folder);

    const std::filesystem::path& Path() const { return path_; }

    // Opens `name` in the folder as ::open would open `Path() / name` (an
    // absolute name stands alone): a descriptor, or -1 with errno set.
    int OpenFile(const std::string& name, int flags) const;

  private:
    std::filesystem::path path_;
    FileHandle fd_;
};

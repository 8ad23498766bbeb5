#pragma once
// The user's cache folder and folders in it that only the user may enter, for
// files the tool hands to other programs (a PDF for the mail program), and
// the removal of such files once they are old.

#include <chrono>
#include <filesystem>
#include <stdexcept>

namespace platform {

// Raised when a private folder cannot be made or is not safe to use; what()
// names the folder and the reason, in Slovak.
class EPrivateFolder : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// $XDG_CACHE_HOME when it is an absolute path, else $HOME/.cache; empty when
// neither is known.
std::filesystem::path UserCacheFolder();

// Makes sure the folder exists, belongs to the user and is open to nobody
// else (mode 0700), creating it and its parents as needed. A folder the user
// owns with a wider mode is narrowed. Throws EPrivateFolder when the name is a
// symbolic link or no folder, belongs to someone else, or cannot be made.
void EnsurePrivateFolder(const std::filesystem::path& folder);

// Removes the plain files directly in the folder that were last modified
// longer ago than maxAge, and returns how many. Folders, symbolic links and
// anything else are left alone, and so is the whole folder when it is a link
// or someone else's. A folder that is not there removes nothing; errors are
// not raised.
int RemoveFilesOlderThan(const std::filesystem::path& folder, std::chrono::seconds maxAge);

} // namespace platform

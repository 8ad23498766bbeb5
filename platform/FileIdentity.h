#pragma once
// Which file or folder a path names right now. A host that saves by renaming a
// new file over the old one, or swaps a whole folder for another, leaves every
// name as it was; only the identity the file system gives the file tells the
// old one from the new.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of what the path names, links followed; none when nothing is
// there or it cannot be examined.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

} // namespace platform

#pragma once
// Files as the host system lays them out. The host names its folders and files
// without regard to letter case and writes '\' between folders; every lookup
// here resolves such names on a file system that respects case.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Full file name of the running executable.
std::filesystem::path ExecutableFile();

// The platform's path separator as text ("/" here).
std::string PathSeparator();

// Finds the file or folder a host path names: '\' and '/' both separate, each
// component matches ignoring letter case when the exact name is not there. A
// relative path is taken from `base` (normally the application folder).
// Components that match nothing are kept as written.
std::filesystem::path ResolveHostPath(std::string_view hostPath,
                                      const std::filesystem::path& base = {});

// True when the host path names an existing plain file (not a folder).
bool FileExists(std::string_view hostPath, const std::filesystem::path& base = {});
bool FolderExists(std::string_view hostPath, const std::filesystem::path& base = {});

// Names of the folder's entries (files and folders alike) matching a wildcard
// pattern with '?' and '*', letter case ignored; hidden entries are skipped.
std::vector<std::string> EnumerateFolder(std::string_view hostFolder, std::string_view pattern);

} // namespace platform

#include "viewer/OpenFolder.h"

#include <fcntl.h>

#include <utility>

namespace {

// Only for naming files in it: the folder need not be readable, only searchable.
#if defined(O_PATH)
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

} // namespace

OpenFolder::OpenFolder(std::filesystem::path folder)
    : path_(std::move(folder)), fd_(path_.empty() ? -1 : ::open(path_.c_str(), kFolderFlags)) {}

int OpenFolder::OpenFile(const std::string& name, int flags) const {
    // An empty name is the folder itself, as `Path() / ""` names it.
    const char* relative = name.empty() ? "." : name.c_str();
    if (fd_.Get() < 0) return ::open((path_ / relative).c_str(), flags);
    return ::openat(fd_.Get(), relative, flags);
}

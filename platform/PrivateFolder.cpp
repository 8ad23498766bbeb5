#include "platform/PrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

EPrivateFolder Refused(const fs::path& folder, const std::string& reason) {
    return EPrivateFolder("Priečinok „" + folder.string() + "“ sa nedá použiť: " + reason + ".");
}

// The folder's own entry, not what a link in its place points to.
bool StatNoFollow(const fs::path& path, struct stat& info) {
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

fs::path UserCacheFolder() {
    // A relative XDG_CACHE_HOME is invalid and must be ignored.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return fs::path(cache);
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return fs::path(home) / ".cache";
    return {};
}

void EnsurePrivateFolder(const fs::path& folder) {
    if (folder.empty()) throw Refused(folder, "nie je známy domovský priečinok");
    std::error_code ec;
    if (folder.has_parent_path()) fs::create_directories(folder.parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw Refused(folder, std::strerror(errno));
    struct stat info {};
    if (!StatNoFollow(folder, info)) throw Refused(folder, std::strerror(errno));
    // A link or another user's folder could hand the files to someone else.
    if (S_ISLNK(info.st_mode)) throw Refused(folder, "je to symbolický odkaz");
    if (!S_ISDIR(info.st_mode)) throw Refused(folder, "nie je to priečinok");
    if (info.st_uid != ::getuid()) throw Refused(folder, "patrí inému používateľovi");
    if ((info.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0)
        throw Refused(folder, std::strerror(errno));
}

int RemoveFilesOlderThan(const fs::path& folder, std::chrono::seconds maxAge) {
    struct stat info {};
    if (!StatNoFollow(folder, info) || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return 0;
    const std::time_t cutoff = std::time(nullptr) - static_cast<std::time_t>(maxAge.count());
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        struct stat entry {};
        if (!StatNoFollow(it->path(), entry) || !S_ISREG(entry.st_mode)) continue;
        if (entry.st_mtime >= cutoff) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

} // namespace platform

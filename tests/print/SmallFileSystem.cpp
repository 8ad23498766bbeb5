#include "tests/print/SmallFileSystem.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace testing_cups {
namespace {

// Big enough for a few PDF files of the tests, small enough to fill at once.
constexpr std::uintmax_t kSize = 1 << 20;

} // namespace

bool SmallFileSystem::CanMount() {
    return geteuid() == 0;
}

SmallFileSystem::SmallFileSystem(std::uintmax_t freeBytes) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tlacsub-small-fs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder to mount on");
    folder_ = pattern;
    const std::string options = "size=" + std::to_string(kSize) + ",mode=0755";
    if (mount("tlacsub-small-fs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
              options.c_str()) != 0) {
        std::filesystem::remove(folder_);
        throw std::runtime_error("cannot mount a tmpfs on " + folder_.string());
    }
    mounted_ = true;
    filler_ = folder_ / ".filler";
    LeaveFree(freeBytes);
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
    std::error_code ignored;
    std::filesystem::remove(folder_, ignored);
}

std::uintmax_t SmallFileSystem::FreeBytes() const {
    struct statvfs stats {};
    if (statvfs(folder_.c_str(), &stats) != 0) throw std::runtime_error("cannot ask the tmpfs");
    return static_cast<std::uintmax_t>(stats.f_bavail) * stats.f_frsize;
}

void SmallFileSystem::LeaveFree(std::uintmax_t freeBytes) {
    std::filesystem::remove(filler_);
    const std::uintmax_t room = FreeBytes();
    if (room < freeBytes) throw std::runtime_error("the tmpfs has too little room left");
    // The file system counts whole pages, so the filler is measured in them too.
    const std::uintmax_t fill = room - freeBytes;
    std::ofstream(filler_, std::ios::binary) << std::string(fill, 'x');
    const std::uintmax_t left = FreeBytes();
    if (left + 4096 <= freeBytes || left > freeBytes + 4096)
        throw std::runtime_error("the tmpfs did not fill as asked");
}

} // namespace testing_cups

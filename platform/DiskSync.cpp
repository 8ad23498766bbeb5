#include "platform/DiskSync.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace platform {

std::string SyncToDisk(int fileDescriptor) {
    int result = 0;
    do {
        result = fsync(fileDescriptor);
    } while (result != 0 && errno == EINTR);
    if (result == 0 || errno == EINVAL || errno == EROFS) return {};
    return std::strerror(errno);
}

} // namespace platform

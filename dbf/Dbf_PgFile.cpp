#include "dbf/Dbf_PgFile.h"

#include "dbf/Dbf_Common.h"
#include "dbf/Dbf_Str.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace dbf {
namespace {

bool IsLockConflict(int error) {
    return error == EAGAIN || error == EACCES || error == EDEADLK || error == EINTR;
}

} // namespace

long ReadRetryingLocks(const std::function<long()>& read, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        long got = read();
        if (got >= 0 || !IsLockConflict(errno)) return got;
        if (errno != EINTR) {
            if (std::chrono::steady_clock::now() >= deadline) return got;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

TPagedFile::~TPagedFile() {
    CloseFile();
}

void TPagedFile::OpenFile(const std::filesystem::path& path, PagedFileMode mode) {
    CloseFile();
    // Non-blocking only for the open itself: a pipe or device under the table's
    // name would otherwise wait for a writer forever.
    const int flags =
        (mode == PagedFileMode::ReadShared ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        throw EFileError(Format(STRING_CANNOT_OPEN_FILE, path.string(), std::strerror(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        throw EFileError(Format(STRING_CANNOT_OPEN_FILE, path.string(), std::strerror(error)));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Sharing: an exclusive opener keeps other writers out, and waits for none.
    // A read-only opener takes no lock, so it never stands in anyone's way.
    if (mode != PagedFileMode::ReadShared) {
        int lock = mode == PagedFileMode::ReadWriteExclusive ? LOCK_EX : LOCK_SH;
        // Only a conflict refuses the file; a file system without locks (some
        // network shares) is opened unlocked, as the host system's own files are.
        if (::flock(fd, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            int error = errno;
            ::close(fd);
            throw EFileError(Format(STRING_CANNOT_OPEN_FILE, path.string(), std::strerror(error)));
        }
    }
    fd_ = fd;
    path_ = path;
    mode_ = mode;
}

void TPagedFile::CloseFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    header_.clear();
    headerSize_ = 0;
    recordSize_ = 0;
    exclusiveCount_ = 0;
}

std::uint64_t TPagedFile::FileSize() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || info.st_size < 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t TPagedFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        long got = ReadRetryingLocks([&] {
            return static_cast<long>(
                ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done)));
        });
        if (got < 0) {
            throw EFileError(Format(STRING_CANNOT_READ_FILE, path_.string(), std::strerror(errno)));
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::vector<std::uint8_t> TPagedFile::ReadZeroFilled(std::uint64_t offset, std::size_t size) const {
    std::vector<std::uint8_t> bytes(size, 0);
    ReadAt(offset, bytes.data(), size);
    return bytes;
}

void TPagedFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t put = ::pwrite(fd_, in + done, size - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            throw EFileError(
                Format(STRING_CANNOT_WRITE_FILE, path_.string(), std::strerror(errno)));
        }
        done += static_cast<std::size_t>(put);
    }
}

void TPagedFile::SetLayout(std::size_t headerSize, std::size_t recordSize) {
    headerSize_ = headerSize;
    recordSize_ = recordSize;
    exclusiveCount_ = CountFromSize();
}

std::uint64_t TPagedFile::CountFromSize() const {
    if (recordSize_ == 0) return 0;
    std::uint64_t size = FileSize();
    if (size <= headerSize_) return 0;
    return (size - headerSize_) / recordSize_;
}

std::uint64_t TPagedFile::RecordCount() const {
    return IsSharedMode() ? CountFromSize() : exclusiveCount_;
}

bool TPagedFile::ReadRecord(std::uint64_t n, std::uint8_t* buffer) const {
    if (n == 0 || recordSize_ == 0) return false;
    std::uint64_t offset = headerSize_ + (n - 1) * recordSize_;
    return ReadAt(offset, buffer, recordSize_) == recordSize_;
}

} // namespace dbf

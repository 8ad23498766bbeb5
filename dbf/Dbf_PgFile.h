#pragma once
// A file of fixed-size pages (records) behind a header, opened with the
// sharing the table's access mode asks for.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace dbf {

enum class PagedFileMode { ReadShared, ReadWriteShared, ReadWriteExclusive };

// How long a read that another program's lock refuses is retried before it fails.
inline constexpr std::chrono::milliseconds kLockedReadTimeout{3000};

// Runs `read` (returning bytes read, or -1 with errno set) and retries every
// millisecond while it reports a lock conflict, for at most `timeout`.
// Returns the last result; errno tells why it failed.
long ReadRetryingLocks(const std::function<long()>& read,
                       std::chrono::milliseconds timeout = kLockedReadTimeout);

class TPagedFile {
  public:
    TPagedFile() = default;
    TPagedFile(const TPagedFile&) = delete;
    TPagedFile& operator=(const TPagedFile&) = delete;
    virtual ~TPagedFile();

    // Opens an existing file; a refusal raises EFileError "Cannot open file ...".
    void OpenFile(const std::filesystem::path& path, PagedFileMode mode);
    void CloseFile();
    bool IsOpen() const { return fd_ >= 0; }
    const std::filesystem::path& FileName() const { return path_; }
    PagedFileMode Mode() const { return mode_; }
    // Other programs may write the file while it is open.
    bool IsSharedMode() const { return mode_ != PagedFileMode::ReadWriteExclusive; }

    std::uint64_t FileSize() const;
    // Reads up to `size` bytes at `offset`; fewer only at the end of the file.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;
    // Reads exactly `size` bytes, zero-filled past the end of the file.
    std::vector<std::uint8_t> ReadZeroFilled(std::uint64_t offset, std::size_t size) const;
    void WriteAt(std::uint64_t offset, const void* data, std::size_t size);

    // The header as kept in memory, and the page layout it gives.
    std::vector<std::uint8_t>& Header() { return header_; }
    const std::vector<std::uint8_t>& Header() const { return header_; }
    std::size_t HeaderSize() const { return headerSize_; }
    std::size_t RecordSize() const { return recordSize_; }
    void SetLayout(std::size_t headerSize, std::size_t recordSize);

    // Whole records between the header and the end of the file; followed
    // afresh in the shared modes so that appended records show.
    std::uint64_t RecordCount() const;
    // Reads record n (1-based); false when the file ends before the whole record.
    bool ReadRecord(std::uint64_t n, std::uint8_t* buffer) const;

  private:
    std::uint64_t CountFromSize() const;

    int fd_ = -1;
    std::filesystem::path path_;
    PagedFileMode mode_ = PagedFileMode::ReadShared;
    std::vector<std::uint8_t> header_;
    std::size_t headerSize_ = 0;
    std::size_t recordSize_ = 0;
    std::uint64_t exclusiveCount_ = 0;
};

} // namespace dbf

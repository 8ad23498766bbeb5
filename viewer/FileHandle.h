#pragma once
// A file descriptor closed on every way out of the code that opened it. No Qt here.

#include <unistd.h>

class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

#pragma once

#include <unistd.h>

namespace kvt {

// A POSIX file descriptor closed when it goes out of scope; -1 holds none.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : mFd(fd) {}
    ~FileDescriptor() {
        if (mFd >= 0)
            ::close(mFd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return mFd; }

private:
    int mFd;
};

} // namespace kvt

#pragma once

#include <filesystem>

namespace kvt::test {

// A fresh directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return mPath; }
    std::filesystem::path file(const char *name) const { return mPath / name; }

private:
    std::filesystem::path mPath;
};

} // namespace kvt::test

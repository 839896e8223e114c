#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace kvt::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "talvio-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    mPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

} // namespace kvt::test

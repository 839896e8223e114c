#pragma once

#include "model/Registry.h"
#include "model/SqliteSettingsBackend.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace kvt::bench {

// A settings database in a fresh temporary folder, removed afterwards.
class BenchStore {
public:
    BenchStore() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "talvio-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        mDir = pattern;
        mRegistry = std::make_shared<Registry>(
            std::make_shared<SqliteSettingsBackend>(mDir / "settings.db"));
        mRegistry->setProjectName("Talvio");
    }
    ~BenchStore() {
        mRegistry.reset();
        std::error_code ignored;
        std::filesystem::remove_all(mDir, ignored);
    }
    BenchStore(const BenchStore &) = delete;
    BenchStore &operator=(const BenchStore &) = delete;

    Registry &registry() { return *mRegistry; }
    const std::shared_ptr<Registry> &shared() const { return mRegistry; }

private:
    std::filesystem::path mDir;
    std::shared_ptr<Registry> mRegistry;
};

} // namespace kvt::bench

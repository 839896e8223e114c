#include "ui/HelpFile.h"

#include <dlfcn.h>
#include <filesystem>

namespace kvt {

namespace {

// Its address locates the module that holds this code.
const char kModuleMarker = 0;

std::string &helpFileSlot() {
    static std::string path;
    return path;
}

} // namespace

std::string libraryFolder() {
    Dl_info info{};
    if (dladdr(&kModuleMarker, &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::error_code ignored;
    const std::filesystem::path file =
        std::filesystem::weakly_canonical(std::filesystem::path(info.dli_fname), ignored);
    return file.parent_path().string();
}

const std::string &helpFile() {
    return helpFileSlot();
}

void setHelpFile(std::string path) {
    helpFileSlot() = std::move(path);
}

} // namespace kvt

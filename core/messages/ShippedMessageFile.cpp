#include "messages/ShippedMessageFile.h"

#include "ShippedMessagePaths.h"
#include "model/Error.h"

#include <filesystem>
#include <system_error>

namespace kvt {

std::vector<std::string> shippedMessageFileLocations() {
    return {shipped::kInstalledMessageFile, shipped::kBuildTreeMessageFile};
}

std::string findMessageFile(const std::string &explicitPath,
                            const std::vector<std::string> &locations) {
    if (!explicitPath.empty())
        return explicitPath;
    for (const std::string &location : locations) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(location, ignored))
            return location;
    }
    std::string searched;
    for (const std::string &location : locations)
        searched += (searched.empty() ? "" : ", ") + ("\"" + location + "\"");
    throw Error(err::FileAccess, "No message file found; looked for " + searched);
}

std::string shippedMessageFile(const std::string &explicitPath) {
    return findMessageFile(explicitPath, shippedMessageFileLocations());
}

} // namespace kvt

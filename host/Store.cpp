#include "Store.h"

#include "model/SqliteSettingsBackend.h"

namespace talvio {

std::shared_ptr<kvt::Registry> openSettings(const std::string &explicitPath) {
    auto backend = explicitPath.empty()
                       ? std::make_shared<kvt::SqliteSettingsBackend>()
                       : std::make_shared<kvt::SqliteSettingsBackend>(explicitPath);
    auto registry = std::make_shared<kvt::Registry>(std::move(backend));
    registry->setProjectName(kApplication);
    kvt::setSharedRegistry(registry);
    return registry;
}

} // namespace talvio

#include "Store.h"

namespace talvio {

Store openSettings(const std::string &explicitPath) {
    Store store;
    store.database = explicitPath.empty()
                         ? std::make_shared<kvt::SqliteSettingsBackend>()
                         : std::make_shared<kvt::SqliteSettingsBackend>(explicitPath);
    store.registry = std::make_shared<kvt::Registry>(store.database);
    store.registry->setProjectName(kApplication);
    kvt::setSharedRegistry(store.registry);
    return store;
}

} // namespace talvio

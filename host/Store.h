#pragma once

#include "model/Registry.h"
#include "model/SqliteSettingsBackend.h"

#include <memory>
#include <string>

namespace talvio {

// The application name every setting of Talvio lives under.
inline constexpr const char *kApplication = "Talvio";

// The store a command works on: the registry the library shares, and the database under it.
struct Store {
    std::shared_ptr<kvt::Registry> registry;
    std::shared_ptr<kvt::SqliteSettingsBackend> database;
};

// Opens the settings database at explicitPath, or the default one ($TALVIO_SETTINGS, else the
// per-user file) when it is empty, and makes it the library's shared store named Talvio.
Store openSettings(const std::string &explicitPath);

} // namespace talvio

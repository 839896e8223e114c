#pragma once

#include "model/Registry.h"

#include <memory>
#include <string>

namespace talvio {

// The application name every setting of Talvio lives under.
inline constexpr const char *kApplication = "Talvio";

// Opens the settings database at explicitPath, or the default one ($TALVIO_SETTINGS, else the
// per-user file) when it is empty, and makes it the library's shared store named Talvio.
std::shared_ptr<kvt::Registry> openSettings(const std::string &explicitPath);

} // namespace talvio

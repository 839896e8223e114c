#pragma once

#include "kvt_export.h"

#include <string>
#include <vector>

namespace kvt {

// Finding the message file that ships with Talvio. The rule, in order:
//   1. an explicit path given by the caller (the host's own choice), taken as is;
//   2. the install location, <prefix>/share/talvio/talvio.msg, fixed when the library is built;
//   3. the build tree's share/talvio/talvio.msg, so programs and tests run before installation.
// A location counts when a regular file exists there.

// The install location and the build-tree location, in that order.
KVT_EXPORT std::vector<std::string> shippedMessageFileLocations();

// The rule above over the given locations: explicitPath when it is not empty, even if it does
// not exist yet (the reader then creates it empty, as an explicitly named file should be);
// otherwise the first location holding a regular file. Throws Error (file access) naming
// every location searched when none does: creating an empty catalogue in a guessed place
// would only hide a broken installation behind blank texts.
std::string findMessageFile(const std::string &explicitPath,
                            const std::vector<std::string> &locations);

// findMessageFile over shippedMessageFileLocations().
KVT_EXPORT std::string shippedMessageFile(const std::string &explicitPath = "");

} // namespace kvt

#pragma once

#include "kvt_export.h"

#include <string>

namespace kvt {

// The folder holding the library file itself (the shared library when the code runs from it,
// else the program), without a trailing "/". Empty when it cannot be found.
KVT_EXPORT std::string libraryFolder();

// The help file that every window of the library opens for context help; the library's
// default help file until a driver names the one of the user's language.
KVT_EXPORT const std::string &helpFile();
KVT_EXPORT void setHelpFile(std::string path);

} // namespace kvt

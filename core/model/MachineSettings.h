#pragma once

#include "kvt_export.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// The machine-wide settings: a database of the per-user store's format that Talvio only reads
// and never creates. A registry hive takes the place of the application name, a key path (with
// its "\" separators) that of the section, and a value name that of the key; names compare
// without regard to case. A value stored as text is a string; a value stored as a blob of four
// bytes, lowest byte first, is a 32-bit number.
inline constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

// The value of valueName under hive\keyPath in the store at `store`, or nullopt when the store,
// the key or the value is missing (a value of any other kind counts as missing). A string comes
// back up to its first NUL; a number as the hexadecimal digits of its bytes from the last to the
// first, each byte without a leading zero, so 0x0A0B0C0D reads "ABCD" and 1 reads "0001".
// A file that is there but cannot be read as a Talvio settings database is a kvt::Error naming
// it.
KVT_EXPORT std::optional<std::string> GetKeyValue(const std::filesystem::path &store,
                                                  std::string_view hive, std::string_view keyPath,
                                                  std::string_view valueName);

// The same, in the store at defaultMachineSettingsPath().
KVT_EXPORT std::optional<std::string> GetKeyValue(std::string_view hive, std::string_view keyPath,
                                                  std::string_view valueName);

} // namespace kvt

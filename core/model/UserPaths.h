#pragma once

#include <filesystem>

namespace kvt {

// The per-user settings database: $TALVIO_SETTINGS when set, else
// $XDG_CONFIG_HOME/talvio/settings.db, else ~/.config/talvio/settings.db.
std::filesystem::path defaultSettingsPath();

// The machine-wide settings, read only: $TALVIO_MACHINE_SETTINGS when set, else
// /etc/talvio/machine.db.
std::filesystem::path defaultMachineSettingsPath();

// The text log file: $TALVIO_LOG_FILE when set, else $XDG_STATE_HOME/talvio/LogFile.Log, else
// ~/.local/state/talvio/LogFile.Log.
std::filesystem::path defaultLogFilePath();

// Creates the missing folders of `dir`, each new one accessible to its owner only (0700); folders
// that exist already are left as they are. Throws kvt::Error (err::FileAccess) naming the folder.
void createPrivateDirectories(const std::filesystem::path &dir);

} // namespace kvt

#include "model/UserPaths.h"

#include "model/Error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kvt {

namespace {

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path homeFolder() {
    if (std::string home = environment("HOME"); !home.empty())
        return home;
    if (const passwd *entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    throw Error(err::FileAccess, "Cannot find the home folder of the current user for the "
                                 "settings; set HOME or the TALVIO_ variables.");
}

// An XDG base folder from the environment; relative or empty values are ignored, as the XDG
// rules ask.
std::filesystem::path xdgFolder(const char *variable, const char *fallbackBelowHome) {
    const std::filesystem::path value = environment(variable);
    if (value.is_absolute())
        return value;
    return homeFolder() / fallbackBelowHome;
}

std::filesystem::path overrideOr(const char *variable, const char *xdgVariable,
                                 const char *fallbackBelowHome, const char *fileName) {
    if (std::string path = environment(variable); !path.empty())
        return path;
    return xdgFolder(xdgVariable, fallbackBelowHome) / "talvio" / fileName;
}

} // namespace

std::filesystem::path defaultSettingsPath() {
    return overrideOr("TALVIO_SETTINGS", "XDG_CONFIG_HOME", ".config", "settings.db");
}

std::filesystem::path defaultMachineSettingsPath() {
    if (std::string path = environment("TALVIO_MACHINE_SETTINGS"); !path.empty())
        return path;
    return "/etc/talvio/machine.db";
}

std::filesystem::path defaultLogFilePath() {
    return overrideOr("TALVIO_LOG_FILE", "XDG_STATE_HOME", ".local/state", "LogFile.Log");
}

void createPrivateDirectories(const std::filesystem::path &dir) {
    std::filesystem::path prefix;
    for (const std::filesystem::path &part : dir) {
        prefix /= part;
        if (::mkdir(prefix.c_str(), 0700) == 0) {
            // The umask may have taken the owner's own rights away.
            ::chmod(prefix.c_str(), 0700);
            continue;
        }
        const int error = errno;
        std::error_code ignored;
        if (error == EEXIST && std::filesystem::is_directory(prefix, ignored))
            continue;
        throw Error(err::FileAccess, "Cannot create the folder \"" + prefix.string() + "\": "
                                         + std::strerror(error == EEXIST ? ENOTDIR : error) + ".");
    }
}

} // namespace kvt

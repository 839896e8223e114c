# Shared by the scripts: the Debian packages the build needs, and their installation.
# shellcheck shell=bash

packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format libsqlite3-dev locales-all
          libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev dbus-daemon
          xvfb xauth fonts-dejavu-core)

# Installs the packages that are missing, with sudo when not run as root.
install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

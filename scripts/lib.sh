# Shared by the scripts: the Debian packages the build needs, and their installation.
# shellcheck shell=bash

packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format libsqlite3-dev locales-all
          libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev dbus-daemon
          xvfb xauth fonts-dejavu-core help2man dpkg-dev)

# The Calc extension's SDK, and the headless Calc and Python-UNO its tests drive. A full Calc
# serves the tests as well as the one without a GUI.
calc_packages=(libreoffice-dev python3-uno)
if ! dpkg-query -W -f='${Status}' libreoffice-calc 2>/dev/null | grep -q "install ok installed"; then
    calc_packages+=(libreoffice-calc-nogui)
fi

# Installs the packages that are missing (the build's, and any named), with sudo when not run
# as root.
install_missing() {
    local missing=()
    for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

#!/usr/bin/env bash
# Builds Talvio's Calc extension (build/release/talvio.oxt) and installs it with unopkg for the
# current user; an older Talvio extension is replaced. LibreOffice refuses to install an
# extension into root's own profile, so as root it installs for every user of the machine.
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/lib.sh
source scripts/lib.sh

install_missing "${calc_packages[@]}" >&2
{
    cmake --preset release
    cmake --build --preset release --target talvio_oxt -j "$(nproc)"
} >&2

scope=()
if [ "$(id -u)" -eq 0 ]; then
    scope=(--shared)
    echo "== running as root: installing for every user of this machine" >&2
fi
unopkg remove "${scope[@]}" org.talvio.calc >/dev/null 2>&1 || true
unopkg add "${scope[@]}" --suppress-license build/release/talvio.oxt
echo "Talvio is installed in LibreOffice. Start Calc and type =TALVIO.CONVERT(1000;\"BEF\";\"FRF\")"
echo "in a cell; the Talvio menu converts selections and opens the control panel."

#!/usr/bin/env bash
# Takes docs/images/calc.png: Talvio's functions, a converted selection and the Talvio menu in a
# real Calc window under Xvfb. Needs Calc with its X11 interface (libreoffice-calc), xdotool and
# ImageMagick, which it installs when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/lib.sh
source scripts/lib.sh

install_missing libreoffice-calc libreoffice-dev python3-uno xdotool imagemagick >&2
cmake --preset release >&2
cmake --build --preset release --target talvio_oxt TlvAddInMgr >&2
TALVIO_OXT=$PWD/build/release/talvio.oxt TALVIO_BINARY=$PWD/build/release/host/talvio \
    xvfb-run -a -s "-screen 0 1100x560x24" dbus-run-session --config-file="$PWD/build/release/share/dbus-1/talvio-test-session.conf" -- \
    /usr/bin/python3 scripts/calc_screenshot.py "$PWD/docs/images/calc.png"
echo "docs/images/calc.png"

#!/usr/bin/env bash
# Renders every window of the library offscreen, with the shipped messages, in English and in
# French, into docs/images/ (WINDOW-LANGUAGE.png), using the release build.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release --target talvio-screenshots >/dev/null
mkdir -p docs/images
QT_QPA_PLATFORM=offscreen ./build/release/tools/talvio-screenshots docs/images \
    build/release/share/talvio/talvio.msg 1 3

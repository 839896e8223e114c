#!/usr/bin/env bash
# Installs what the build needs (Debian packages, only when missing), builds the command-line
# host talvio with the release preset and runs it with the given arguments; without arguments
# it converts 1000 Belgian francs to French francs. It uses your settings database
# ($TALVIO_SETTINGS, else ~/.config/talvio/settings.db, created on first use) and the shipped
# message file. Build output goes to stderr, so stdout holds talvio's answer only.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh

install_missing >&2
{
    cmake --preset release
    cmake --build --preset release --target talvio -j "$(nproc)"
} >&2

[ $# -gt 0 ] || set -- convert 1000 BEF FRF
exec ./build/release/host/talvio "$@"

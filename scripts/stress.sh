#!/usr/bin/env bash
# Runs the tests labelled `stress` at their full size with the release build: eight processes
# entering 300 rates each on one store, and the add-in manager and trace viewer under floods of
# calls, oversized data and stopped subscribers. Each prints the figures it measured.
# Arguments go to ctest (for example --repeat until-fail:3).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh

install_missing
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" >/dev/null
# -V shows the figures each test prints.
TALVIO_STRESS_FULL=1 exec ctest --preset release -L stress -V "$@"

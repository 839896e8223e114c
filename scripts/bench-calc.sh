#!/usr/bin/env bash
# Times Talvio's Calc extension in a headless Calc (release build): TALVIO.CONVERT against
# Calc's own EUROCONVERT per recalculated cell, and converting a selection of 100,000 cells.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset release --target talvio_oxt >&2
TALVIO_OXT=$PWD/build/release/talvio.oxt TALVIO_BINARY=$PWD/build/release/host/talvio \
    exec /usr/bin/python3 bench/calc/bench_calc.py

#!/usr/bin/env bash
# Installs what the build needs (Debian packages, only when missing), checks formatting,
# builds with warnings as errors and runs every test under AddressSanitizer and
# UndefinedBehaviorSanitizer, then builds the release benchmarks, the Calc extension (tested in a
# headless Calc), the Debian package (installed in a clean Debian 12 root, or from DESTDIR where
# no such root can be made) and the fuzz targets, and gives each a short run.
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/lib.sh
source scripts/lib.sh

check_format() {
    echo "== checking formatting"
    local files
    files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
    # shellcheck disable=SC2086
    clang-format --dry-run -Werror $files
}

jobs=$(nproc)

install_missing "${calc_packages[@]}"
check_format

echo "== sanitizer build and tests"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

echo "== release build and benchmark smoke run"
cmake --preset release
cmake --build --preset release -j "$jobs"
./build/release/bench/talvio-bench --benchmark_min_time=0.01 >/dev/null
./build/release/bench/talvio-bench-facade --benchmark_min_time=0.01 >/dev/null
./build/release/bench/talvio-bench-windows --benchmark_min_time=0.01 >/dev/null 2>&1
./scripts/bench-addinmgr.sh --benchmark_min_time=0.01 >/dev/null

echo "== the Calc extension in a headless Calc"
ctest --preset release -L calc

echo "== the Debian package, installed in a clean Debian 12 root"
./scripts/test-deb.sh

echo "== fuzz targets: short smoke run"
cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
for target in build/fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    corpus=$(mktemp -d)
    "$target" -max_total_time="${TALVIO_FUZZ_SECONDS:-15}" -print_final_stats=0 "$corpus" 2>&1 | tail -n 1
    rm -rf "$corpus"
done

echo "== all checks passed"

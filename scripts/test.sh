#!/usr/bin/env bash
# Installs what the build needs (Debian packages, only when missing), checks formatting,
# builds with warnings as errors and runs every test under AddressSanitizer and
# UndefinedBehaviorSanitizer, then builds the release benchmarks and the fuzz targets and
# gives each a short run.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format libsqlite3-dev locales-all
          libgtest-dev libgmock-dev libbenchmark-dev)

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

check_format() {
    echo "== checking formatting"
    local files
    files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
    # shellcheck disable=SC2086
    clang-format --dry-run -Werror $files
}

jobs=$(nproc)

install_missing
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

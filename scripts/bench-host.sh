#!/usr/bin/env bash
# Measures the command-line host as a whole process, with the release build, on a settings
# database of its own (made by a first run, so the timed runs find an existing one):
#   - the median wall time of `talvio convert 1000 BEF FRF` over many runs (goal: <= 20 ms);
#   - the wall time of `talvio convert BEF FRF --raw` over 1,000,000 lines (goal: <= 1.0 s).
# Uses hyperfine when installed, else a shell loop.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${TALVIO_BENCH_RUNS:-200}
lines=${TALVIO_BENCH_LINES:-1000000}

cmake --preset release >/dev/null
cmake --build --preset release --target talvio >/dev/null
talvio=$PWD/build/release/host/talvio

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TALVIO_SETTINGS=$work/settings.db
"$talvio" convert 1000 BEF FRF >/dev/null

now_ns() { date +%s%N; }

echo "== talvio convert 1000 BEF FRF, $runs runs"
if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 10 --runs "$runs" "$talvio convert 1000 BEF FRF"
else
    for ((i = 0; i < runs; i++)); do
        start=$(now_ns)
        "$talvio" convert 1000 BEF FRF >/dev/null
        echo $(( $(now_ns) - start ))
    done | sort -n | awk '{ t[NR] = $1 } END {
        printf "median %.2f ms, min %.2f ms, max %.2f ms\n",
               t[int((NR + 1) / 2)] / 1e6, t[1] / 1e6, t[NR] / 1e6 }'
fi

echo "== talvio convert BEF FRF --raw, $lines lines"
awk -v n="$lines" 'BEGIN { srand(1); for (i = 0; i < n; i++) printf "%.3f\n", (rand() - 0.5) * 2e6 }' \
    >"$work/amounts.txt"
start=$(now_ns)
"$talvio" convert BEF FRF --raw <"$work/amounts.txt" >"$work/results.txt"
elapsed=$(( $(now_ns) - start ))
awk -v n="$(wc -l <"$work/results.txt")" -v ns="$elapsed" 'BEGIN { printf "%d lines in %.3f s\n", n, ns / 1e9 }'

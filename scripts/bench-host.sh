#!/usr/bin/env bash
# Measures the command-line host as a whole process, with the release build, on a settings
# database of its own (made by a first run, so the timed runs find an existing one):
#   - the median wall time of `talvio convert 1000 BEF FRF` over many runs (goal: <= 1.8 ms),
#     and its peak memory (goal: <= 5 MB) when GNU time is installed;
#   - the median wall time of `talvio convert BEF FRF --raw` over 1,000,000 lines, written to
#     /dev/null (goal: <= 0.15 s) and to a regular file (goal: <= 0.20 s), with the peak memory
#     when GNU time is installed (package time).
# Uses hyperfine when installed, else a shell loop.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${TALVIO_BENCH_RUNS:-200}
lines=${TALVIO_BENCH_LINES:-1000000}
stream_runs=${TALVIO_BENCH_STREAM_RUNS:-5}

cmake --preset release >/dev/null
cmake --build --preset release --target talvio >/dev/null
talvio=$PWD/build/release/host/talvio

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TALVIO_SETTINGS=$work/settings.db
"$talvio" convert 1000 BEF FRF >/dev/null

# Bash's own clock, in microseconds, read without starting a process or a subshell (as date or
# $(...) would, adding their own start to each run).
now_us() { now=$((10#${EPOCHREALTIME/./})); }

echo "== talvio convert 1000 BEF FRF, $runs runs"
if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 10 --runs "$runs" "$talvio convert 1000 BEF FRF"
else
    for ((i = 0; i < runs; i++)); do
        now_us
        start=$now
        "$talvio" convert 1000 BEF FRF >/dev/null
        now_us
        echo $((now - start))
    done | sort -n | awk '{ t[NR] = $1 } END {
        printf "median %.2f ms, min %.2f ms, max %.2f ms\n",
               t[int((NR + 1) / 2)] / 1e3, t[1] / 1e3, t[NR] / 1e3 }'
fi

gnu_time=$(command -v /usr/bin/time || true)
if [ -n "$gnu_time" ]; then
    "$gnu_time" -f %M -o "$work/peak" "$talvio" convert 1000 BEF FRF >/dev/null
    echo "peak memory $(tail -n 1 "$work/peak") KiB"
fi

awk -v n="$lines" 'BEGIN { srand(1); for (i = 0; i < n; i++) printf "%.3f\n", (rand() - 0.5) * 2e6 }' \
    >"$work/amounts.txt"

# One stream conversion into $1: its wall time in µs, and its peak resident size in KiB ("?"
# without GNU time).
convert_stream() {
    local start elapsed peak="?"
    now_us
    start=$now
    if [ -n "$gnu_time" ]; then
        "$gnu_time" -f %M -o "$work/peak" \
            "$talvio" convert BEF FRF --raw <"$work/amounts.txt" >"$1"
        peak=$(tail -n 1 "$work/peak")
    else
        "$talvio" convert BEF FRF --raw <"$work/amounts.txt" >"$1"
    fi
    now_us
    elapsed=$((now - start))
    echo "$elapsed $peak"
}

for target in /dev/null "$work/results.txt"; do
    [ "$target" = /dev/null ] && name=/dev/null || name="a regular file"
    echo "== talvio convert BEF FRF --raw, $lines lines to $name, $stream_runs runs"
    for ((i = 0; i < stream_runs; i++)); do
        [ "$target" = /dev/null ] || rm -f "$target"
        convert_stream "$target"
    done | sort -n | awk '{ t[NR] = $1; if ($2 == "?" || $2 > peak) peak = $2 } END {
        printf "median %.3f s, min %.3f s, max %.3f s, peak memory %s KiB\n",
               t[int((NR + 1) / 2)] / 1e6, t[1] / 1e6, t[NR] / 1e6, peak }'
done
echo "$(wc -l <"$work/results.txt") lines written"

#!/usr/bin/env bash
# Benchmarks the add-in manager TlvAddInMgr with the release build, on a private bus whose only
# programs are the build tree's: the round trip of NewAddInName (goal: <= 1 ms) beside the bus's
# own Peer.Ping to the manager, the floor of any round trip, and a raise delivered to 10
# subscribers, each on a connection and thread of its own (goal: <= 20 ms).
# Arguments go to Google Benchmark (for example --benchmark_repetitions=5).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release --target talvio-bench-addinmgr >/dev/null
exec dbus-run-session --config-file=build/release/share/dbus-1/talvio-test-session.conf -- \
    build/release/bench/talvio-bench-addinmgr "$@"

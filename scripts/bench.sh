#!/usr/bin/env bash
# Builds the benchmarks in Release (in build-bench/, without the tests) and
# runs each one side by side with its bare baseline: medians, minimum and
# maximum, and the ratio. The machine's load falls on both sides of a
# comparison alike; absolute figures mean little on a busy machine.
#   scripts/bench.sh [benchmark...]   (default: all of them)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MARLEK_BENCH_BUILD_DIR:-$root/build-bench}"
all=(request_roundtrip_bench live_events_bench binary_decode_bench download_memory_bench)
if [[ $# -gt 0 ]]; then
  benches=("$@")
else
  benches=("${all[@]}")
fi

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMARLEK_BUILD_TESTS=OFF -DMARLEK_BUILD_BENCHMARKS=ON
cmake --build "$build" --parallel "${MARLEK_JOBS:-$(nproc)}" --target "${benches[@]}"

for bench in "${benches[@]}"; do
  echo
  timeout 600 "$build/bench/$bench"
done

#!/usr/bin/env bash
# Builds the benchmarks in Release (in build-bench/, without the tests) and
# runs each one side by side with its bare baseline: medians, minimum and
# maximum, and the ratio. The machine's load falls on both sides of a
# comparison alike; absolute figures mean little on a busy machine.
#   scripts/bench.sh [benchmark...]   (default: all of them)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MARLEK_BENCH_BUILD_DIR:-$root/build-bench}"
all=(request_roundtrip_bench live_events_bench binary_decode_bench download_memory_bench live_rows_python_bench)
if [[ $# -gt 0 ]]; then
  benches=("$@")
else
  benches=("${all[@]}")
fi
# The Python ones run the module as pip installs it, in Release.
python_benches=()
cpp_benches=()
for bench in "${benches[@]}"; do
  if [[ -f "$root/bench/$bench.py" ]]; then python_benches+=("$bench"); else cpp_benches+=("$bench"); fi
done

"$root/scripts/setup.sh"
if [[ ${#cpp_benches[@]} -gt 0 ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DMARLEK_BUILD_TESTS=OFF -DMARLEK_BUILD_BENCHMARKS=ON
  cmake --build "$build" --parallel "${MARLEK_JOBS:-$(nproc)}" --target "${cpp_benches[@]}"
fi

for bench in "${cpp_benches[@]}"; do
  echo
  timeout 600 "$build/bench/$bench"
done

if [[ ${#python_benches[@]} -gt 0 ]]; then
  python="$root/.venv/bin/python"
  CMAKE_BUILD_PARALLEL_LEVEL="${MARLEK_JOBS:-$(nproc)}" "$python" -m pip install --no-build-isolation -q \
    -C cmake.build-type=Release "$root"
  # The third client of the comparison; left out where it cannot be installed.
  "$python" -m pip install -q websockets || true
  for bench in "${python_benches[@]}"; do
    echo
    timeout 600 "$python" "$root/bench/$bench.py"
  done
fi

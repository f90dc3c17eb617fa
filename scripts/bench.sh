#!/usr/bin/env bash
# Builds the benchmarks in Release (the preset bench: build-bench/, without
# the tests) and runs each one side by side with its bare baseline: medians,
# minimum and maximum, and the ratio. The machine's load falls on both sides
# of a comparison alike; absolute figures mean little on a busy machine.
#   scripts/bench.sh [benchmark...]   (default: all of them)
# The benchmarks are the files of bench/: NAME_bench.cpp is a program,
# NAME_bench.py a script that the venv's interpreter runs against the Python
# module, installed here linked with the Release core of build-bench/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
build="${MARLEK_BENCH_BUILD_DIR:-$root/build-bench}"

all=()
for file in "$root"/bench/*_bench.cpp "$root"/bench/*_bench.py; do
  [[ -e "$file" ]] && all+=("$(basename "${file%.*}")")
done
if [[ $# -gt 0 ]]; then
  benches=("$@")
else
  benches=("${all[@]}")
fi
programs=()
scripts=()
for bench in "${benches[@]}"; do
  if [[ -f "$root/bench/$bench.cpp" ]]; then
    programs+=("$bench")
  elif [[ -f "$root/bench/$bench.py" ]]; then
    scripts+=("$bench")
  else
    echo "bench: no benchmark $bench in bench/" >&2
    exit 2
  fi
done

run_setup
configure_preset bench "$build"
if [[ ${#programs[@]} -gt 0 ]]; then
  cmake --build "$build" --parallel "$jobs" --target "${programs[@]}"
fi
if [[ ${#scripts[@]} -gt 0 ]]; then
  cmake --build "$build" --parallel "$jobs" --target marlek_link_core
  CMAKE_BUILD_PARALLEL_LEVEL="$jobs" \
    "$root/.venv/bin/python" -m pip install --quiet --disable-pip-version-check --no-build-isolation \
    --config-settings=cmake.define.MARLEK_CORE_FROM="$build" "$root"
  # The third client of the comparison; left out where it cannot be installed.
  "$root/.venv/bin/python" -m pip install -q websockets || true
fi

for bench in "${benches[@]}"; do
  echo
  if [[ -f "$root/bench/$bench.cpp" ]]; then
    timeout 600 "$build/bench/$bench"
  else
    timeout 600 "$root/.venv/bin/python" "$root/bench/$bench.py"
  fi
done

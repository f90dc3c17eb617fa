#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 (installing it when missing) and
# runs each of them in turn for a bounded time. Optional: the normal build and
# the tests never need clang.
#   scripts/fuzz.sh [seconds per target, default 180] [extra libFuzzer flags...]
#   MARLEK_FUZZ_TARGETS="jobinfo_json" scripts/fuzz.sh   runs only the named ones
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
seconds="${1:-180}"
shift || true

run_setup
install_debian_packages clang-14 libclang-rt-14-dev

cd "$root"
configure_preset fuzz ""
cmake --build --preset fuzz --parallel "$jobs"

# The corpora grow across runs; findings land in build-fuzz/findings.
# Every fuzzer of fuzz/ by default.
all_targets="$(cd "$root/fuzz" && ls *_fuzzer.cpp | sed 's/_fuzzer\.cpp$//' | tr '\n' ' ')"
targets="${MARLEK_FUZZ_TARGETS:-$all_targets}"
findings="$root/build-fuzz/findings"
mkdir -p "$findings"
for target in $targets; do
  corpus="$root/build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  seeds=()
  if [[ -d "$root/fuzz/seeds/$target" ]]; then seeds=("$root/fuzz/seeds/$target"); fi
  echo "fuzz: $target for ${seconds} s"
  "$root/build-fuzz/fuzz/${target}_fuzzer" "$corpus" "${seeds[@]}" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 \
    -artifact_prefix="$findings/${target}-" -print_final_stats=1 "$@"
done

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 (installing it when missing) and
# runs each fuzzer (impedance binary table, device tree) for a bounded time.
# Optional: the normal build and the tests never need clang.
#   scripts/fuzz.sh [seconds, default 180] [extra libFuzzer flags...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-180}"
shift || true

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in clang-14 libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "fuzz: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

cd "$root"
cmake --preset fuzz
cmake --build --preset fuzz

# The corpus grows across runs; findings land in build-fuzz/findings. Each
# fuzzer runs for the given time.
findings="$root/build-fuzz/findings"
mkdir -p "$findings"
for fuzzer in eis_binary hardware_info; do
  corpus="$root/build-fuzz/corpus/$fuzzer"
  mkdir -p "$corpus"
  "$root/build-fuzz/fuzz/${fuzzer}_fuzzer" "$corpus" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$@"
done

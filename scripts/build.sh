#!/usr/bin/env bash
# Sets up the machine (idempotent) and builds the library and its tests.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MARLEK_BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja ${MARLEK_CMAKE_ARGS:-}
cmake --build "$build" --parallel "${MARLEK_JOBS:-$(nproc)}"

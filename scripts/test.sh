#!/usr/bin/env bash
# Builds everything and installs the Python module into the venv, then runs
# every test: the C++ suites under CTest and the Python suites under pytest,
# against the installed module. Exits non-zero when any test fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MARLEK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure --parallel "${MARLEK_JOBS:-$(nproc)}" --timeout 180
# From tests/python, so that the source tree can never shadow the installed package.
cd "$root/tests/python"
MARLEK_BUILD_DIR="$build" "$root/.venv/bin/python" -m pytest -q "$root/tests/python"

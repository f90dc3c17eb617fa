#!/usr/bin/env bash
# Builds everything and installs the Python module into the venv, then runs
# every test: the C++ suites under CTest (with a program built against the
# installed C++ package), the type check of the Python examples against the
# module's stubs, and the Python suites under pytest, against the installed
# module. Exits non-zero when any test fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
build="${MARLEK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure --parallel "$jobs" --timeout 180
# From tests/python, so that the source tree can never shadow the installed package.
cd "$root/tests/python"
"$root/.venv/bin/python" -m mypy --check-untyped-defs --cache-dir "$build/mypy-cache" "$root"/examples/*.py
MARLEK_BUILD_DIR="$build" "$root/.venv/bin/python" -m pytest -q "$root/tests/python"

#!/usr/bin/env bash
# Sets up the machine (idempotent), builds the library, its tests and the
# example programs, installs the Python module into the venv, then runs the
# examples once against the fake workstation,
# started here as a process of its own, so that a fresh clone shows the
# library at work without a workstation. MARLEK_SKIP_EXAMPLE=1 skips the run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
build="${MARLEK_BUILD_DIR:-$root/build}"

run_setup
configure_preset default "$build" ${MARLEK_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$jobs"

# The Python module: scikit-build-core builds it in build-py/, which stays
# between runs, so a re-install without changes rebuilds nothing. It links
# the core library compiled above rather than compiling it again, unless
# that one is built for a sanitizer.
core_from=()
if [[ -f "$build/marlek_link-config.cmake" ]] && grep -q '^MARLEK_SANITIZE:STRING=$' "$build/CMakeCache.txt"; then
  core_from=(--config-settings=cmake.define.MARLEK_CORE_FROM="$build")
fi
CMAKE_BUILD_PARALLEL_LEVEL="$jobs" \
  "$root/.venv/bin/python" -m pip install --quiet --disable-pip-version-check --no-build-isolation \
  "${core_from[@]}" "$root"

if [[ "${MARLEK_SKIP_EXAMPLE:-0}" == 1 ]]; then
  exit 0
fi
server="$build/tests/fake_workstation/server/marlek_fake_workstation_server"
example="$build/examples/cv_example"
file_example="$build/examples/xml_file_example"
if [[ ! -x "$server" || ! -x "$example" || ! -x "$file_example" ]]; then
  echo "example run skipped: the fake workstation is built only with MARLEK_BUILD_TESTS=ON" >&2
  exit 0
fi

# Every exit path stops the server; it also ends by itself after its lifetime,
# should this script be killed outright.
workdir="$(mktemp -d)"
server_pid=""
stop_server() {
  if [[ -n "$server_pid" ]]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=""
  fi
}
cleanup() {
  stop_server
  rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Each example gets a fresh fake workstation: its scripted run keeps the
# result of the first job only.
run_example() {
  local program="$1"
  shift
  rm -f "$workdir/port"
  "$server" --port-file "$workdir/port" --lifetime 120 &
  server_pid=$!
  for _ in $(seq 100); do
    [[ -s "$workdir/port" ]] && break
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ ! -s "$workdir/port" ]]; then
    echo "the fake workstation did not start" >&2
    exit 1
  fi
  local port
  port="$(cat "$workdir/port")"
  echo "running $(basename "$program") against the fake workstation on 127.0.0.1:$port"
  timeout 60 "$program" 127.0.0.1 "$port" "$@"
  stop_server
}

run_example "$example"
run_example "$file_example" "$workdir/cv_measurement.xml"

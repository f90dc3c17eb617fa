#!/usr/bin/env bash
# Sets up the machine (idempotent), builds the library, its tests and the
# example programs, installs the Python module into the venv, then runs the
# examples once against the fake workstation,
# started here as a process of its own, so that a fresh clone shows the
# library at work without a workstation. MARLEK_SKIP_EXAMPLE=1 skips the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MARLEK_BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja ${MARLEK_CMAKE_ARGS:-}
cmake --build "$build" --parallel "${MARLEK_JOBS:-$(nproc)}"

# The Python module: scikit-build-core builds it in build-py/, which stays
# between runs, and ccache shares the core library's objects with the build
# above, so a second install costs little.
CMAKE_BUILD_PARALLEL_LEVEL="${MARLEK_JOBS:-$(nproc)}" \
  "$root/.venv/bin/python" -m pip install --quiet --disable-pip-version-check --no-build-isolation "$root"

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

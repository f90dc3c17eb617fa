#!/usr/bin/env bash
# Installs everything the build and the tests need, on a fresh Debian 12 or 13
# machine or on one that already has it all (then it only checks, quickly).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
venv="$root/.venv"

# Versions the whole team builds against: one pybind11 3.0 release and one Boost.
pybind11_pin="pybind11==3.0.4"
boost_pin="cmeel-boost==1.90.0"
python_tools=(pytest scikit-build-core)

debian_packages=(build-essential cmake ninja-build ccache pkg-config
                 libssl-dev libtinyxml2-dev libfmt-dev libgtest-dev openssl)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_debian_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

# A pyenv shim named python3.13 may exist without working, so each candidate
# must actually run and report 3.13.
works_as_313() {
  [ -n "$1" ] && "$1" -c 'import sys; assert sys.version_info[:2] == (3, 13)' 2>/dev/null
}

find_python313() {
  local candidate
  candidate="$(command -v python3.13 || true)"
  if works_as_313 "$candidate"; then echo "$candidate"; return; fi
  for candidate in "${PYENV_ROOT:-$HOME/.pyenv}"/versions/3.13.*/bin/python3.13; do
    if works_as_313 "$candidate"; then echo "$candidate"; return; fi
  done
  if works_as_313 /usr/bin/python3.13; then echo /usr/bin/python3.13; return; fi
}

install_debian_packages "${debian_packages[@]}"

# A locale with a decimal comma, so the tests can check that numbers on the
# wire do not follow the caller's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  install_debian_packages locales
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

python313="$(find_python313)"
if [ -z "$python313" ]; then
  # Debian 13 packages CPython 3.13 with its headers.
  install_debian_packages python3.13 python3.13-dev python3.13-venv
  python313="$(find_python313)"
fi
if [ -z "$python313" ]; then
  echo "setup: no CPython 3.13 found (PATH, pyenv or Debian's python3.13-dev)" >&2
  exit 1
fi

if ! works_as_313 "$venv/bin/python"; then
  rm -rf "$venv"
  "$python313" -m venv "$venv"
fi

wanted=("$pybind11_pin" "$boost_pin" "${python_tools[@]}")
if ! "$venv/bin/python" - "${wanted[@]}" <<'PY' 2>/dev/null
import sys
from importlib.metadata import version, PackageNotFoundError
for req in sys.argv[1:]:
    name, _, pinned = req.partition("==")
    try:
        have = version(name)
    except PackageNotFoundError:
        sys.exit(1)
    if pinned and have != pinned:
        sys.exit(1)
PY
then
  echo "setup: installing Python packages into $venv"
  "$venv/bin/python" -m pip install -q --disable-pip-version-check "${wanted[@]}"
fi
echo "setup: ready ($("$venv/bin/python" --version), $pybind11_pin, $boost_pin)"

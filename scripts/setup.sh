#!/usr/bin/env bash
# Installs everything the build and the tests need, on a fresh Debian 12 or 13
# machine or on one that already has it all (then it only checks, quickly).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

venv="$root/.venv"

# The build requirements of pyproject.toml (pinned pybind11, Boost headers,
# stub generator) are the versions the whole team builds against; the venv
# gets the same, and the test tools.
python_tools=(pytest mypy)

debian_packages=(build-essential cmake ninja-build ccache pkg-config
                 libssl-dev libtinyxml2-dev libfmt-dev libgtest-dev openssl)

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

mapfile -t build_requirements < <("$venv/bin/python" -c '
import sys, tomllib
with open(sys.argv[1], "rb") as f:
    print(*tomllib.load(f)["build-system"]["requires"], sep="\n")' "$root/pyproject.toml")
wanted=("${build_requirements[@]}" "${python_tools[@]}")
# Present, and at the pinned version where there is a pin.
if ! "$venv/bin/python" - "${wanted[@]}" <<'PY' 2>/dev/null
import re
import sys
from importlib.metadata import version, PackageNotFoundError
for req in sys.argv[1:]:
    name, pinned = re.match(r"([A-Za-z0-9_.-]+)\s*(?:==\s*(\S+))?", req).groups()
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
echo "setup: ready ($("$venv/bin/python" --version), ${build_requirements[*]})"

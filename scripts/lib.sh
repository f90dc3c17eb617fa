# Shared by the scripts of this folder: source it, don't run it.
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# Sets root (the checkout) and jobs (MARLEK_JOBS, or every core).

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${MARLEK_JOBS:-$(nproc)}"

# Runs a command as root: directly when already root, else through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the named Debian packages that are missing.
install_debian_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "$(basename "$0"): installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

# Sets the machine up (idempotent, quick when nothing is missing).
run_setup() {
  "$root/scripts/setup.sh"
}

# Configures a build folder from a preset of CMakePresets.json, in the given
# folder (empty: the preset's own), with further CMake arguments:
#   configure_preset PRESET FOLDER [ARGUMENT...]
configure_preset() {
  local preset="$1" folder="$2"
  shift 2
  if [ -n "$folder" ]; then
    cmake -S "$root" --preset "$preset" -B "$folder" "$@"
  else
    cmake -S "$root" --preset "$preset" "$@"
  fi
}

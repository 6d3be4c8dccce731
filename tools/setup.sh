#!/usr/bin/env bash
# Installs the Debian packages Pelk needs to build, test and run, when any
# is missing. Sourced by run.sh and test.sh.
set -euo pipefail

PELK_PACKAGES=(
  cmake make g++ pkg-config
  libwxgtk3.2-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-utils libx11-dev imagemagick fonts-dejavu-core
  clang libclang-rt-14-dev
)

pelk_missing_packages() {
  local missing=()
  for p in "${PELK_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

pelk_setup() {
  local missing
  missing=$(pelk_missing_packages)
  if [ -n "$missing" ]; then
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
      if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
        echo "These Debian packages are missing and you are not root: $missing" >&2
        exit 1
      fi
    fi
    echo "Installing Debian packages: $missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
  fi
}

# Configures (once) and builds into the given folder with extra cmake options.
pelk_build() {
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "$@"
  fi
  cmake --build "$dir" -j"$(nproc)"
}

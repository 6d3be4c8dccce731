#!/usr/bin/env bash
# Sets up what is missing, builds into build/ and starts Pelk.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
pelk_setup
pelk_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Pelk needs a graphical display, and none is set (DISPLAY is empty)." >&2
  echo "Start it from a desktop session, or under a virtual one: xvfb-run ./run.sh" >&2
  exit 1
fi
exec ./build/pelk "$@"

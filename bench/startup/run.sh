#!/usr/bin/env bash
# Time from starting Pelk (a configured observer, a small validation table,
# 10,000 observations) to its main window being mapped, beside the same for
# a minimal toolkit program showing one frame: ten runs each under Xvfb,
# medians and their ratio. Run from the repository: bench/startup/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/setup.sh
pelk_setup
pelk_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo

runs=${RUNS:-10}
work=$(mktemp -d /tmp/pelk-startup-XXXXXX)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/prog" "$work/data"
cp build/pelk build/*.lng "$work/prog/"
build/bench/make_startup_data "$work/home" "$work/prog" "$work/data"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display

measure() {  # title command...
  local title=$1; shift
  for _ in $(seq "$runs"); do
    HOME="$work/home" build/bench/time_to_window "$title" "$@"
  done
}
median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# One untimed start of each warms the file cache and the font cache.
measure "Pelk - Variable Star Observations" "$work/prog/pelk" >/dev/null 2>&1 || true
pelk_times=$(measure "Pelk - Variable Star Observations" "$work/prog/pelk")
measure "Minimal frame" build/bench/minimal_frame >/dev/null 2>&1 || true
minimal_times=$(measure "Minimal frame" build/bench/minimal_frame)

pelk_median=$(echo "$pelk_times" | median)
minimal_median=$(echo "$minimal_times" | median)
echo "Pelk start-up to main window (ms):    $(echo $pelk_times) -> median $pelk_median"
echo "Minimal frame start-up to window (ms): $(echo $minimal_times) -> median $minimal_median"
awk -v p="$pelk_median" -v m="$minimal_median" 'BEGIN {printf "ratio: %.2f (target 1.5 or less)\n", p / m}'

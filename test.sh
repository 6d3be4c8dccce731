#!/usr/bin/env bash
# Sets up what is missing, builds, runs every test, then builds again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
pelk_setup

echo "== build and test =="
pelk_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build && ctest --output-on-failure -j"$(nproc)")

echo "== build and test with sanitizers =="
pelk_build build-asan -DCMAKE_BUILD_TYPE=Debug -DPELK_SANITIZE=ON -DPELK_BENCH=OFF
# GTK and fontconfig keep caches for the life of the process; only our own
# code's leaks matter here, and those are caught by the record tests.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
echo "All tests passed."

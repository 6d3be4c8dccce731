#!/usr/bin/env bash
# Builds the fuzzing harnesses with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each in turn.
#
#   ./fuzz.sh [-j JOBS] [SECONDS] [HARNESS...]
#
# SECONDS (default 60) is the time of each harness; -j 2 runs two at once.
# Prints each harness's number of runs and findings, and exits non-zero on
# any finding. The input of a finding goes into fuzz/corpus/<harness>/crashes/,
# which every later run (and every test run) replays: commit it with the fix.
set -euo pipefail
# Everything is in one function, read whole before it runs: editing this
# file while it fuzzes cannot change what it does next.
main() {
  cd "$(dirname "$0")"
  source tools/setup.sh
  pelk_setup

  jobs=1
  if [ "${1:-}" = "-j" ]; then
    jobs=$2
    shift 2
  fi
  seconds=${1:-60}
  [ $# -gt 0 ] && shift
  harnesses=("$@")
  if [ ${#harnesses[@]} -eq 0 ]; then
    for f in fuzz/fuzz_*.cpp; do
      h=${f#fuzz/fuzz_}
      harnesses+=("${h%.cpp}")
    done
  fi

  build=build-fuzz
  # Configured every time, so that a harness added since is known.
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DPELK_FUZZ=ON -DPELK_TESTS=OFF -DPELK_BENCH=OFF >/dev/null
  else
    cmake "$build" >/dev/null
  fi
  targets=()
  for h in "${harnesses[@]}"; do targets+=(--target "fuzz_$h"); done
  cmake --build "$build" -j"$(nproc)" "${targets[@]}"

  # One harness: its own working corpus under build-fuzz/ (what it learns),
  # the seeds and past crashes from the repository (read only).
  run_one() {
    local h=$1
    local seeds=fuzz/corpus/$h crashes=fuzz/corpus/$h/crashes work=$build/corpus/$h log=$build/fuzz-$h.log
    mkdir -p "$crashes" "$work"
    local before
    before=$(find "$crashes" -type f | wc -l)
    # A report line or header gains nothing from settings longer than a
    # template can be (1023 bytes): shorter inputs make more runs.
    local max_len=8192
    [ "$h" = report ] && max_len=2048
    local dict=()
    [ -f "fuzz/dict/$h.dict" ] && dict=(-dict="fuzz/dict/$h.dict")
    local rc=0
    "$build/fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
      -print_final_stats=1 -artifact_prefix="$crashes/" "${dict[@]}" "$work" "$seeds" >"$log" 2>&1 || rc=$?
    local runs findings
    runs=$(awk '/stat::number_of_executed_units:/ {n = $2} END {print n + 0}' "$log")
    findings=$(( $(find "$crashes" -type f | wc -l) - before ))
    # A harness that stopped without leaving an input is a finding too.
    if [ "$rc" -ne 0 ] && [ "$findings" -eq 0 ]; then findings=1; fi
    echo "$h $runs $findings" >"$build/fuzz-$h.result"
  }

  # A smaller quarantine than the default 256 MB: freed memory is reused
  # sooner, so the runs do not spend half their time faulting in fresh pages.
  # A use after free is still caught for the last 32 MB freed.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}

  rm -f "$build"/fuzz-*.result
  running=0
  for h in "${harnesses[@]}"; do
    echo "fuzzing $h for $seconds s"
    run_one "$h" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n || true
      running=$((running - 1))
    fi
  done
  wait

  status=0
  echo
  printf '%-12s %12s %9s\n' harness runs findings
  for h in "${harnesses[@]}"; do
    read -r name runs findings <"$build/fuzz-$h.result"
    printf '%-12s %12s %9s\n' "$name" "$runs" "$findings"
    if [ "$findings" -ne 0 ]; then
      status=1
      echo "  see $build/fuzz-$h.log; the input is in fuzz/corpus/$h/crashes/" >&2
    fi
  done
  return $status
}

main "$@"
exit $?

#!/usr/bin/env bash
# Builds the platform-neutral core natively with clang, AddressSanitizer and UndefinedBehavior-
# Sanitizer into build-native/ (or $NATIVE_BUILD_DIR), replays every input of tests/fuzz/corpus,
# then runs each fuzz target for the given seconds (default 60), two at a time. A finding stops
# the run with its input saved under the build folder's findings/; add it to the target's corpus
# folder with the fix. Ends with "fuzz: N passed, N failed".
#   scripts/fuzz.sh [SECONDS]      0 only replays the corpus
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${NATIVE_BUILD_DIR:-$root/build-native}
targets=(script writer format version)

mkdir -p "$build"
if ! { [ -f "$build/CMakeCache.txt" ] || cmake -S "$root/src/native" -B "$build" -DCMAKE_CXX_COMPILER=clang++; } \
    > "$build/build.log" 2>&1 || ! cmake --build "$build" -j "$(nproc)" >> "$build/build.log" 2>&1; then
  cat "$build/build.log"
  echo "fuzz: the native build failed"
  exit 1
fi

# One target: the corpus replayed, then fuzzing from a scratch copy of it, so that the inputs
# found along the way stay out of the checkout.
fuzz_one() {
  local target=$1 corpus=$root/tests/fuzz/corpus/$1 scratch=$build/scratch/$1 log=$build/logs/$1.log
  mkdir -p "$scratch" "$build/logs" "$build/findings/$target"
  "$build/fuzz_$target" -runs=0 "$corpus" > "$log" 2>&1 || return 1
  [ "$seconds" -gt 0 ] || return 0
  "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target/" "$scratch" "$corpus" >> "$log" 2>&1
}

passed=0 failed=0
report() {  # target status
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$1.log" | tail -1)
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
    echo "fuzz_$1: no finding (${runs:-corpus replayed} executions)"
  else
    failed=$((failed + 1))
    echo "fuzz_$1: FINDING, see $build/logs/$1.log and $build/findings/$1/"
    grep -E "ERROR|SUMMARY|Test unit written" "$build/logs/$1.log" | head -5 || true
  fi
}

# Two at a time: the machines have two cores.
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    fuzz_one "$target" & pids+=($!)
  done
  j=0
  for target in "${targets[@]:i:2}"; do
    status=0
    wait "${pids[$j]}" || status=$?
    report "$target" "$status"
    j=$((j + 1))
  done
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

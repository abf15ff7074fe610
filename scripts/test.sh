#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in an optimised
# build and, on four cores or more, once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then the fuzzers.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

solvane_install "${SOLVANE_PACKAGES[@]}" "${SOLVANE_TEST_PACKAGES[@]}"

jobs="$(nproc)"
started=$SECONDS

# A heading with the time since the start, so a slow run shows where its
# minutes went.
phase() {
  local t=$((SECONDS - started))
  printf '=== %s (at %dm%02ds) ===\n' "$1" $((t / 60)) $((t % 60))
}
xvfb=(xvfb-run -a -s "-screen 0 1280x720x24")

run_suite() {
  local dir="$1"
  phase "Tests in $dir"
  "${xvfb[@]}" ctest --test-dir "$SOLVANE_ROOT/$dir" --output-on-failure -j "$jobs" --timeout 300
}

# Each test binary once more, whole, in one process: CTest gives every test
# a process of its own, which hides whatever a test leaves behind for the
# next. The binaries run side by side, as many at a time as there are cores,
# each on an X server of its own, and each in a shuffled order rather than
# the written one: a test whose course depends on what ran before it shows
# it here. The game's binaries start first, the longest two (the soak's and
# the networked matches', one to two minutes each on 8 cores) at their head,
# so that none of them starts last: the engine's and the tools' take about a
# minute between them, most of it the renderer's and the tutorials'. The
# seed is fixed, so a failure comes back in the same order;
# SOLVANE_SHUFFLE_SEED picks another.
run_whole_binaries() {
  local dir="$1"
  local seed="${SOLVANE_SHUFFLE_SEED:-11}"
  phase "Test binaries run whole in $dir, $jobs at a time, shuffled with seed $seed"
  local logs="$SOLVANE_ROOT/$dir/whole-binaries"
  mkdir -p "$logs"
  local tests="$SOLVANE_ROOT/$dir/tests"
  local binary name
  local names=()
  for binary in "$tests"/game_{run,net}_tests "$tests"/game_*_tests "$tests"/engine_*_tests "$tests"/tools_*_tests; do
    name="$(basename "$binary")"
    if [ ! -x "$binary" ] || [[ " ${names[*]} " == *" $name "* ]]; then
      continue
    fi
    names+=("$name")
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
      wait -n || true
    done
    rm -f "$logs/$name.status"
    { run_whole_binary "$dir" "$binary" "$seed" "$logs/$name.log" && echo 0 || echo $?; } >"$logs/$name.status" &
  done
  wait
  local failed=0
  for name in $(printf '%s\n' "${names[@]}" | sort); do
    if [ "$(cat "$logs/$name.status")" = 0 ]; then
      echo "$name: $(grep -E '^\[  PASSED  \]' "$logs/$name.log" | tail -n 1)"
    else
      failed=1
      echo "$name failed run whole with --gtest_shuffle --gtest_random_seed=$seed; its failures (whole output in $logs/$name.log):"
      grep -E '^\[  FAILED  \]|Failure$|^Expected|Which is|^  Actual' "$logs/$name.log" | head -n 60 || tail -n 40 "$logs/$name.log"
    fi
  done
  return "$failed"
}

# run_whole_binary DIR BINARY SEED LOG: one binary, all its tests in one
# process, in the seed's order. The limit is for a binary that hangs: the
# longest, the soak's, takes two and a quarter minutes on 8 idle cores and
# about ten at a load of 48 on them, its soak alone up to the fifteen that
# CTest allows it.
run_whole_binary() {
  (cd "$SOLVANE_ROOT/$1" && ALSOFT_DRIVERS=null timeout 1800 "${xvfb[@]}" "$2" \
    --gtest_shuffle --gtest_random_seed="$3" >"$4" 2>&1)
}

# The real program driven through its menus and a match by synthetic keys
# and mouse, on an X server of its own.
run_end_to_end() {
  phase "End to end in $1"
  "${xvfb[@]}" "$SOLVANE_ROOT/tests/e2e/run.sh" "$SOLVANE_ROOT/$1"
}

# Before any build: an include that runs up the folders' layers fails at once.
phase "Layers"
python3 "$SOLVANE_ROOT/scripts/check-layers.py"

phase "Release build"
solvane_build build Release
run_suite build
run_whole_binaries build
run_end_to_end build

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$SOLVANE_ROOT/tests/lsan.supp:print_suppressions=0"

# The sanitized build and its run of the suite take about 25 minutes on two
# cores, more than the whole run may: below four cores they are left out,
# and the fuzzers after them still run every reader of outside bytes under
# both sanitizers. SOLVANE_SANITIZED_SUITE=1 runs them anyway, 0 never.
sanitized_suite="${SOLVANE_SANITIZED_SUITE:-$([ "$jobs" -ge 4 ] && echo 1 || echo 0)}"
if [ "$sanitized_suite" = 1 ]; then
  phase "Sanitizer build"
  solvane_build build-asan Debug -DSOLVANE_SANITIZE=ON -DSOLVANE_BUILD_BENCH=OFF
  run_suite build-asan
  E2E_HOLD=0.8 E2E_PLAY_SECONDS=15 run_end_to_end build-asan
else
  phase "Sanitizer build and suite left out on $jobs cores (SOLVANE_SANITIZED_SUITE=1 runs them)"
fi

# Every reader of outside bytes under libFuzzer (datagrams, records, scene,
# recording, palette, configuration and text files): replay the committed
# corpora and fuzz each a few seconds more.
phase "Fuzzers"
FUZZ_BUILD_DIR="$SOLVANE_ROOT/build-fuzz" "$SOLVANE_ROOT/tests/fuzz/run.sh"

t=$((SECONDS - started))
echo "All tests passed in ${t} s ($((t / 60))m$((t % 60))s) on $jobs cores."

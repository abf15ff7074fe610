#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan), replays each
# target's committed corpus, then fuzzes each a few seconds more. Targets run
# side by side, as many at once as there are cores. Findings are written to
# the build folder and fail the run.
#   FUZZ_BUILD_DIR  build folder (default: build-fuzz beside the sources)
#   FUZZ_SECONDS    fuzzing time per target after its replay (default: 3)
#   FUZZ_TARGETS    the targets to run, by corpus name (default: all)
#   FUZZ_JOBS       targets at once (default: nproc)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${FUZZ_BUILD_DIR:-$here/../../build-fuzz}"
seconds="${FUZZ_SECONDS:-3}"
jobs="${FUZZ_JOBS:-$(nproc)}"
read -r -a targets <<<"${FUZZ_TARGETS:-net scene text_table font_mapping user_config palette recording level_record record}"

# The longest input each target mutates to: a record's size, or room for a
# file of a few sections.
declare -A max_len=(
  [net]=8192 [scene]=32768 [text_table]=32768 [font_mapping]=4096 [user_config]=4096
  [palette]=4096 [recording]=16384 [level_record]=2212 [record]=64
)

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

# Runs every input of the committed corpus first (libFuzzer's start), then
# fuzzes from it into a scratch folder: the corpus is only read. A failure
# shows the end of the sanitizer's or libFuzzer's report.
run_target() {
  local name="$1" binary="$build/${1}_fuzz" corpus="$here/corpus/$1"
  local scratch="$logs/$1.new" log="$logs/$1.fuzz"
  mkdir -p "$scratch"
  if ! "$binary" -max_total_time="$seconds" -max_len="${max_len[$name]}" -artifact_prefix="$build/$name-" \
    "$scratch" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    return 1
  fi
  grep -o "seed corpus: files: [0-9]*" "$log" | sed 's/seed corpus: files:/Replayed the corpus:/; s/$/ inputs/'
  grep -E "^Done" "$log"
}

failed=()
running=0
for name in "${targets[@]}"; do
  (run_target "$name" >"$logs/$name.log" 2>&1 && touch "$logs/$name.ok") &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

for name in "${targets[@]}"; do
  echo "--- ${name}_fuzz"
  cat "$logs/$name.log"
  [ -e "$logs/$name.ok" ] || failed+=("$name")
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "Fuzz findings in: ${failed[*]} (inputs under $build)"
  exit 1
fi

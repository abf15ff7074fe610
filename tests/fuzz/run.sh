#!/usr/bin/env bash
# Builds the datagram fuzzer with clang (libFuzzer, ASan, UBSan), replays the
# committed corpus, then fuzzes for a few seconds. Findings are written to the
# build folder and fail the run.
#   FUZZ_BUILD_DIR  build folder (default: build-fuzz beside the sources)
#   FUZZ_SECONDS    fuzzing time after the replay (default: 5)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${FUZZ_BUILD_DIR:-$here/../../build-fuzz}"
seconds="${FUZZ_SECONDS:-5}"

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

echo "Replaying $(ls "$here/corpus" | wc -l) corpus inputs"
"$build/net_fuzz" "$here"/corpus/* 2>&1 | tail -n 2

# New inputs go to a scratch folder; the committed corpus is only read.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
echo "Fuzzing for ${seconds} s"
"$build/net_fuzz" -max_total_time="$seconds" -max_len=8192 -artifact_prefix="$build/" \
  "$scratch" "$here/corpus" 2>&1 | tail -n 3

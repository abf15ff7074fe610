#!/usr/bin/env bash
# Captures every tutorial again with the capture tool of a build and packs
# the recordings into recordings.tar.xz beside this script, which the build
# unpacks into data/Tuturials/.
#   tools/tutorials/regenerate.sh [BUILD_FOLDER]    (default: build)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
cmake --build "$build" --target solvane_capture_tutorials solvane_data
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
(cd "$build" && xvfb-run -a -s "-screen 0 1280x720x24" ./tools/tutorials/solvane_capture_tutorials "$out/Tuturials")
# The same recordings give the same archive.
tar --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner -cJf "$here/recordings.tar.xz" -C "$out" Tuturials
echo "Packed $(du -sh "$out/Tuturials" | cut -f1) of recordings into $here/recordings.tar.xz"

#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

solvane_install "${SOLVANE_PACKAGES[@]}"
solvane_build build-release Release -DSOLVANE_BUILD_TESTS=OFF -DSOLVANE_BUILD_BENCH=OFF

# The game finds data/ relative to its working directory.
cd "$SOLVANE_ROOT/build-release"
if [ -x ./solvane ]; then
  exec ./solvane "$@"
fi
echo "The game's program is not built yet; nothing to start."
exit 1

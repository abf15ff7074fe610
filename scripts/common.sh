# Shared by play.sh and test.sh: install what is missing, configure, build.
# Sourced, not run.

SOLVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build and the game need.
SOLVANE_PACKAGES=(
  g++ cmake make pkg-config
  libsdl2-dev libglew-dev libgl-dev libgl1-mesa-dri
  libfreetype-dev libassimp-dev libopenal-dev libalut-dev
  nlohmann-json3-dev libstb-dev libglm-dev
  fonts-dejavu-core
)
# Only the tests need these.
SOLVANE_TEST_PACKAGES=(libx11-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth clang libclang-rt-14-dev
  xdotool imagemagick jq python3)

solvane_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages given that dpkg does not list as installed;
# apt-get update runs once, and only when something is missing.
solvane_install() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  solvane_sudo apt-get update -qq
  solvane_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# solvane_build DIR BUILD_TYPE [extra cmake arguments...]
solvane_build() {
  local dir="$1" type="$2"
  shift 2
  cmake -S "$SOLVANE_ROOT" -B "$SOLVANE_ROOT/$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
  cmake --build "$SOLVANE_ROOT/$dir" -j "$(nproc)"
}

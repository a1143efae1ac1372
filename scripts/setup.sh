#!/usr/bin/env bash
# Installs what the build needs (Debian packages, only when missing),
# configures the build tree and builds the targets named on the command line,
# or everything when none are named:
#
#   bash scripts/setup.sh [TARGET...]
#
# BUILD_DIR (default build) and BUILD_TYPE (default RelWithDebInfo) choose the
# tree. Every failing step stops the script with a message saying which.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  # Compiler and build; ccache is optional to CMake but used when present.
  g++ cmake ninja-build pkg-config ccache
  # Qt Core, Gui, Widgets, Network and Test.
  qt6-base-dev
  # The table engine's XML reader; the menus' JPEG decoder.
  libpugixml-dev libjpeg62-turbo-dev
  # Every sound the presenter plays; the build refuses to go on without it.
  libmpv-dev
  # The lock-key lights on X11 (XKB and XTest).
  libx11-dev libxtst-dev
  # The tests and ziro-bench.
  libgtest-dev libgmock-dev libbenchmark-dev
  # Encodes the generated films of the demo installation, the tests and
  # ziro-bench.
  ffmpeg
  # Speaks the demo's quiz statements in Italian, French and German when the
  # demo installation is written (ffmpeg then encodes them).
  espeak-ng
  # The artwork draws with DejaVu Sans; the demo's program folder carries
  # Liberation Sans Narrow and DSEG7 Classic (the number display), which
  # make-demo finds with fontconfig's fc-match.
  fonts-dejavu-core fonts-liberation fonts-dseg fontconfig
  # The walks on the real desktop platforms: a virtual X server, and the
  # weston compositor with Qt's Wayland platform plugin.
  xvfb weston qt6-wayland
  # The package's smoke test walks a topic with keys sent to a virtual X
  # server.
  xdotool
  # The fuzz targets (scripts/fuzz.sh): clang and its libFuzzer and
  # sanitizer runtimes.
  clang libclang-rt-dev
  # The Debian package: CPack's dependency lookup (dpkg-shlibdeps), the
  # checks of its desktop entry, AppStream metadata and contents.
  dpkg-dev lintian appstream desktop-file-utils file
)

die() {
  echo "setup: $*" >&2
  exit 1
}

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}

command -v dpkg-query >/dev/null ||
  die "dpkg-query not found: this script installs Debian packages. Install these by other means: ${PACKAGES[*]}"

mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: missing Debian packages: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "setup: not running as root and sudo is not installed, so they cannot be installed here." >&2
      echo "setup: as root, run:" >&2
      echo "    apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
      die "stopped: missing packages"
    fi
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq ||
    die "apt-get update failed (see above); the packages were not installed"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
    die "apt-get install failed (see above) for: ${missing[*]}"
  mapfile -t missing < <(missing_packages)
  [ ${#missing[@]} -eq 0 ] || die "still not installed after apt-get: ${missing[*]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null ||
  die "configuring $BUILD_DIR failed (the CMake error is above)"
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}" ||
  die "building ${*:-everything} in $BUILD_DIR failed (the error is above)"

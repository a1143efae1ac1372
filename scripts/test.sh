#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build}
# The demo installation must build as well.
"$BUILD_DIR/ziro-make-demo" "$BUILD_DIR/demo" "$BUILD_DIR/ziro" >/dev/null
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" --timeout 120

# The walks once more on X11 and on Wayland, and the presenter's start on
# both without platform warnings.
bash scripts/platform-walks.sh "$BUILD_DIR"

# Every test once more under AddressSanitizer (with its leak check) and
# UndefinedBehaviorSanitizer: the logic, the windows, the walks and the storms,
# on the offscreen platform.
ASAN_DIR=${ASAN_DIR:-build-asan}
cmake -S . -B "$ASAN_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZIRO_CORE_ONLY=OFF -DZIRO_SANITIZE=ON >/dev/null || {
  echo "test: configuring the sanitizer tree $ASAN_DIR failed (the CMake error is above)" >&2
  exit 1
}
cmake --build "$ASAN_DIR" -j"$(nproc)" || {
  echo "test: building the sanitizer tree $ASAN_DIR failed (the error is above)" >&2
  exit 1
}
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$ASAN_DIR" --output-on-failure -j"$(nproc)" --timeout 300

# Every reader of outside data fuzzed for a few seconds over its corpus, so
# that a reader that breaks again on an input found before is caught.
bash scripts/fuzz.sh "${FUZZ_SECONDS:-3}"

# The Debian package: metadata, lintian and a start of the unpacked program.
bash scripts/package.sh

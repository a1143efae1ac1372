#!/usr/bin/env bash
# Runs the end-to-end walks and the presentation's screen checks on the real
# desktop platforms, besides the offscreen one the test suite uses: X11 on a
# virtual X server, and Wayland on weston (drawn into that X server, which
# gives the compositor a keyboard and a mouse). Then starts the presenter on
# the demo installation on each platform and fails on any platform warning.
#
#   bash scripts/platform-walks.sh BUILD_DIR
#
# Where weston cannot start, the Wayland run is skipped with a message.
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
TESTS="$BUILD_DIR/tests/ziro_ui_tests"
FILTER='Walk.*:PresentationOnLargeScreen.*'
WARNINGS='does not support|qt\.qpa\.|Could not find the Qt platform plugin'

fail() {
  echo "platform: $*" >&2
  exit 1
}

[ -x "$TESTS" ] || fail "$TESTS is missing (build it first)"
command -v Xvfb >/dev/null || fail "Xvfb is missing (Debian package xvfb)"

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$WORK"
}
trap cleanup EXIT

# A display number no other X server holds.
for n in $(seq 91 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISPLAY_NUMBER=$n; break; }
done
[ -n "${DISPLAY_NUMBER:-}" ] || fail "no free X display number between 91 and 140"
Xvfb ":$DISPLAY_NUMBER" -screen 0 1920x1080x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
export DISPLAY=":$DISPLAY_NUMBER"

# The presenter on the demo installation for a few seconds: what it prints
# must hold no platform warning.
check_start() {
  local platform=$1 log="$WORK/start-$1.log"
  [ -x "$BUILD_DIR/demo/ziro/Program/ziro" ] || { echo "platform: no demo installation in $BUILD_DIR/demo, start not checked"; return 0; }
  (cd "$BUILD_DIR/demo/ziro/Program" && QT_QPA_PLATFORM=$platform timeout 8 ./ziro >"$log" 2>&1)
  if grep -E "$WARNINGS" "$log" >/dev/null; then
    grep -E "$WARNINGS" "$log" | sort | uniq -c >&2
    fail "the presenter printed platform warnings at start on $platform"
  fi
  echo "platform: the presenter started on $platform without platform warnings"
}

run_walks() {
  local platform=$1
  echo "platform: walks and screen checks on $platform"
  ZIRO_TEST_PLATFORM=$platform "$TESTS" --gtest_filter="$FILTER" >"$WORK/walks-$platform.log" 2>&1 || {
    cat "$WORK/walks-$platform.log" >&2
    fail "the walks failed on $platform"
  }
  grep -E '^\[  PASSED  \]' "$WORK/walks-$platform.log"
  check_start "$platform"
}

run_walks xcb

if ! command -v weston >/dev/null; then
  echo "platform: weston is missing (Debian package weston): the Wayland run is skipped"
  exit 0
fi
export XDG_RUNTIME_DIR="$WORK/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
SOCKET=ziro-wayland
weston --backend=x11-backend.so --width=1920 --height=1080 --socket="$SOCKET" --idle-time=0 \
  >"$WORK/weston.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$SOCKET" ] && break; sleep 0.1; done
if [ ! -S "$XDG_RUNTIME_DIR/$SOCKET" ]; then
  echo "platform: weston did not start, the Wayland run is skipped:"
  tail -5 "$WORK/weston.log"
  exit 0
fi
# The compositor's own shell needs a moment before the first window.
sleep 1
export WAYLAND_DISPLAY=$SOCKET
run_walks wayland

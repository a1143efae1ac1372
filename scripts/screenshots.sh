#!/usr/bin/env bash
# Takes the README's screenshots: the demo installation at 1920 x 1080 on a
# virtual X server, driven by keys. Writes docs/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-27}
for tool in Xvfb xdotool xwd convert; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (xvfb, xdotool, x11-apps, imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$BUILD_DIR/ziro-make-demo" "$work/demo" "$BUILD_DIR/ziro" >/dev/null
Xvfb ":$DISPLAY_NUMBER" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$DISPLAY_NUMBER"
sleep 2

(cd "$work/demo/ziro/Program" && exec ./ziro) >"$work/log" 2>&1 &
pids+=($!)

key() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep "${2:-1.5}"
}
click() {
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.15
  xdotool mouseup 1
  sleep "${3:-2}"
}
shot() {
  mkdir -p docs
  xwd -root -silent | convert xwd:- -resize 50% "docs/$1.png"
  echo "screenshots: docs/$1.png"
}

# The start question (the display is larger than 640 x 480), the splash,
# then the teacher's access (the generic one).
sleep 10
key Return 6
key Return 3
shot menu-generale
# Group B, its first topic: a lesson with its sign and panels.
key Down 0.5
key Down 0.5
key Return 1
key Return 3
shot lezione
# The quiz statements of the sign.
key F12 3
shot quiz
# Escape leaves the quiz for the menu; the third topic of the group opens
# on a sign with photographs: their previews, then the first with its
# caption.
key Escape 2
key Down 0.5
key Down 0.5
key Return 3
key F9 3
click 840 440 3
shot fotografia
# The crossroads exercise at the end of topic E01: the general menu (its
# topic list of group B), back to the groups, group E, its first topic, then
# forward to the first crossroads record.
key Escape 2
key F7 3
click 1216 136
click 560 780
click 700 233
click 1475 965 4
for _ in 1 2 3 4 5 6; do key Right 1.5; done
shot incrocio
# The lesson editor: the general menu, "Lezioni personalizzate", the first
# lesson with "Modifica"; the block of the source's record dragged onto the
# lesson's name (a new step), then "Nuove foto" and its second picture
# dragged into the new step's strip.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.3
  for i in $(seq 1 20); do
    xdotool mousemove $(($1 + ($3 - $1) * i / 20)) $(($2 + ($4 - $2) * i / 20))
    sleep 0.06
  done
  sleep 0.4
  xdotool mouseup 1
  sleep "${5:-1.5}"
}
key Escape 2
click 1474 606
click 430 158 0.5
click 1042 292 3
drag 1515 34 1500 482
click 380 34 1
click 340 84 2
drag 540 370 720 880
shot editor

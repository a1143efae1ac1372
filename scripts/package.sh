#!/usr/bin/env bash
# Builds the Debian package, checks its metadata, runs lintian on it and
# starts the unpacked program once on a fresh root (no installation, no root
# rights needed).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}
OUT="$BUILD_DIR/package-out"

cmake --build "$BUILD_DIR" -j"$JOBS" --target ziro ziro-make-demo ziro-package-files
rm -rf "$OUT"
mkdir -p "$OUT"
(cd "$BUILD_DIR" && cpack -G DEB -B "$PWD/package-out" >/dev/null) || {
  echo "package: cpack failed; its log is under $OUT/_CPack_Packages" >&2
  exit 1
}
deb=$(ls "$OUT"/ziro_*.deb)
echo "package: built $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/pkg"

# The metadata as installed.
desktop-file-validate "$work/pkg/usr/share/applications/it.ziro.Ziro.desktop"
appstreamcli validate --no-net "$work/pkg/usr/share/metainfo/it.ziro.Ziro.metainfo.xml"
for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
  file "$work/pkg/usr/share/icons/hicolor/$size/apps/it.ziro.Ziro.png" | grep -q "PNG image data, ${size/x/ x }" || {
    echo "package: the $size icon is missing or has the wrong size" >&2
    exit 1
  }
done

# lintian's errors stop the test; its warnings are shown.
echo "package: lintian says:"
lintian --info --display-level ">=warning" --fail-on error "$deb" | sed 's/^/    /' || {
  echo "package: lintian found errors in $deb" >&2
  exit 1
}

# The smoke test: the unpacked program on a fresh root, answering the
# first-start question with the sample content. Home, caches and temporary
# files are the test's own, so that anything written outside the root shows.
pkg="$work/pkg"
root="$work/root"
home="$work/home"
mkdir -p "$root" "$home" "$work/tmp" "$work/run"
chmod 700 "$work/run"
listing() { (cd "$1" && find . -printf '%p %s %T@\n' | sort); }
# The sample's fonts link to the font packages the package depends on;
# unpacked, they are looked up beside it.
for link in "$pkg"/usr/share/ziro/esempio/ziro/Program/*; do
  [ -L "$link" ] || continue
  target=$(readlink "$link")
  font="/usr/share/fonts/${target#../../../../fonts/}"
  mkdir -p "$(dirname "$pkg/usr/share/fonts/${target#../../../../fonts/}")"
  ln -sfn "$font" "$pkg/usr/share/fonts/${target#../../../../fonts/}"
done
listing "$pkg" >"$work/pkg-before"
env -i PATH="$PATH" HOME="$home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" \
  XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
  QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
  "$pkg/usr/bin/ziro" --root "$root" --install=sample >"$work/log" 2>&1 &
pid=$!
# Running for a while after the copy means the splash, the checks and the
# general menu on the sample content went through.
alive=0
for _ in $(seq 1 90); do
  sleep 1
  kill -0 "$pid" 2>/dev/null || break
  if grep -q "Installazione creata" "$work/log"; then
    alive=$((alive + 1))
    [ "$alive" -ge 8 ] && break
  fi
done
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" && rc=0 || rc=$?
  echo "package: the unpacked program ended early (exit $rc); its output:" >&2
  sed 's/^/    /' "$work/log" >&2
  exit 1
fi
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
sed 's/^/    /' "$work/log"

sample="$pkg/usr/share/ziro/esempio"
missing=$(comm -23 <(cd "$sample" && find . | sort) <(cd "$root" && find . | sort))
[ -z "$missing" ] || { echo "package: the root lacks what the sample holds:" >&2; echo "$missing" >&2; exit 1; }
[ -s "$root/ziro/Program/ziro.ini" ] || { echo "package: no settings file in the root" >&2; exit 1; }
listing "$pkg" | cmp -s - "$work/pkg-before" || { echo "package: the program wrote into its own package tree" >&2; exit 1; }
stray=$(find "$home" -path '*/.cache/fontconfig' -prune -o -path '*/.cache/mesa_shader_cache*' -prune -o -type f -print)
[ -z "$stray" ] || { echo "package: the program wrote outside its root:" >&2; echo "$stray" >&2; exit 1; }
echo "package: smoke test passed: $(find "$root" -type f | wc -l) files in the new root"

# The unpacked program again on that root, on a virtual 1920 x 1080 screen:
# the start question, the teacher's access, group B's first topic walked
# three steps, then back to the general menu and out through the program's
# own exit question. It must end by itself, cleanly, with no error in its
# log.
for n in $(seq 141 180); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { walk_display=$n; break; }
done
Xvfb ":$walk_display" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$walk_display" ] && break; sleep 0.1; done
error_lines() { if [ -f "$root/ziro/Program/ERROR.LOG" ]; then wc -l <"$root/ziro/Program/ERROR.LOG"; else echo 0; fi; }
errors_before=$(error_lines)
env -i PATH="$PATH" HOME="$home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" \
  XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
  DISPLAY=":$walk_display" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 \
  "$pkg/usr/bin/ziro" --root "$root" >"$work/walk.log" 2>&1 &
pid=$!
press() {
  kill -0 "$pid" 2>/dev/null || { echo "package: the program ended during the walk; its output:" >&2; sed 's/^/    /' "$work/walk.log" >&2; exit 1; }
  DISPLAY=":$walk_display" xdotool keydown "$1"
  sleep 0.1
  DISPLAY=":$walk_display" xdotool keyup "$1"
  sleep "${2:-1.5}"
}
sleep 12
press Return 6   # the start question
press Return 3   # the teacher's access
press Down 0.5
press Down 0.5
press Return 1.5 # group B
press Return 3   # its first topic
press Right
press Right
press Right
press Escape 2   # the general menu, on the topic's list
press Escape 2   # its groups
press Escape 2   # the exit question
press Return 0
for _ in $(seq 1 20); do kill -0 "$pid" 2>/dev/null || break; sleep 1; done
if kill -0 "$pid" 2>/dev/null; then
  kill -9 "$pid"
  echo "package: the walked program did not end through its exit question; its output:" >&2
  sed 's/^/    /' "$work/walk.log" >&2
  exit 1
fi
wait "$pid" && rc=0 || rc=$?
[ "$rc" -eq 0 ] || { echo "package: the walked program ended with $rc; its output:" >&2; sed 's/^/    /' "$work/walk.log" >&2; exit 1; }
# The log also keeps the start's notes (the access chosen, the version);
# a missing or unreadable file on the walk's way shows as an error there.
if [ -f "$root/ziro/Program/ERROR.LOG" ] &&
   tail -n +"$((errors_before + 1))" "$root/ziro/Program/ERROR.LOG" | grep -qiE "errore|non esiste|non trovat"; then
  echo "package: the walk logged errors:" >&2
  tail -n +"$((errors_before + 1))" "$root/ziro/Program/ERROR.LOG" | sed 's/^/    /' >&2
  exit 1
fi
stray=$(find "$home" -path '*/.cache/fontconfig' -prune -o -path '*/.cache/mesa_shader_cache*' -prune -o -type f -print)
[ -z "$stray" ] || { echo "package: the walked program wrote outside its root:" >&2; echo "$stray" >&2; exit 1; }
echo "package: a topic walked on the new root and the program ended through its exit question"
echo "package: all checks passed"

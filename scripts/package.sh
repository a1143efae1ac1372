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
echo "package: all checks passed"

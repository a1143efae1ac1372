#!/usr/bin/env bash
# The sample installation's program folder holds the fonts the windows are
# drawn with. In the package they point at the distribution's own font files
# (the package depends on them) instead of carrying second copies.
set -euo pipefail
program=$1
link() {
  local family=$1 style=$2 name=$3 file
  file=$(fc-match -f '%{file}' "$family:style=$style")
  [ -f "$file" ] || { echo "link-fonts: no font file for $family $style" >&2; exit 1; }
  case $file in
    /usr/share/fonts/*) ;;
    *) echo "link-fonts: $file is not a packaged font under /usr/share/fonts" >&2; exit 1 ;;
  esac
  # Relative, as Debian wants links within /usr/share: the program folder is
  # /usr/share/ziro/esempio/ziro/Program, four levels below /usr/share.
  ln -sfn "../../../../fonts/${file#/usr/share/fonts/}" "$program/$name"
}
link "Liberation Sans Narrow" Regular ARIALN.TTF
link "Liberation Sans Narrow" Bold ARIALNB.TTF
link "DSEG7 Classic" Regular digital2.ttf

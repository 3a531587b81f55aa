#!/usr/bin/env bash
# Runs qorvex on the demo database under a virtual X server and drives it as a user would (mouse
# and keys through xdotool): the tree expanded, the products table open with its long values, a
# description tooltip, an error in the report pane, the options dialog, and the same window at
# 200% scale. Writes PNG files (ImageMagick's import of the whole screen).
#   scripts/screenshots.sh [output folder]      (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
bash scripts/install-deps.sh
bash scripts/build.sh release >/dev/null
bash scripts/make-demo-db.sh build/demo >/dev/null
qorvex=$PWD/build/release/bin/qorvex
qbreg=$PWD/build/release/bin/qbreg
udl=$PWD/build/demo/shop.udl

# One run: a fresh settings folder with a known window place, the scale factor, the screen size.
shoot() {
  local scale=$1 screen=$2 prefix=$3
  local profile; profile=$(mktemp -d)
  export QUILLBASE_REGISTRY_DIR=$profile XDG_RUNTIME_DIR=$profile QT_SCALE_FACTOR=$scale
  cat > "$profile/layout.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Marrowind\\quillbase\\qorvex\\1.6\\view]
"IsFullWnd" = dword:00000000
"left" = dword:00000000
"top" = dword:00000000
"right" = dword:00000460
"bottom" = dword:000002f8
REG
  "$qbreg" import "$profile/layout.reg" >/dev/null
  xvfb-run -a -s "-screen 0 ${screen}x24" bash scripts/screenshots-drive.sh "$qorvex" "$udl" "$out/$prefix" "$scale"
  rm -rf "$profile"
}

shoot 1 1200x820 qorvex
shoot 2 2400x1640 qorvex-200
ls "$out"/*.png

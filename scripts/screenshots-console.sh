#!/usr/bin/env bash
# Runs tessmar on the demo database under a virtual X server and drives it as a new user would
# (keys through xdotool): a query typed with its colours, run; an SQL file opened and saved; the
# find dialog; the settings dialog; a long run stopped halfway; a drag selection in the result
# window. Writes PNG files (ImageMagick's import of the whole screen).
#   scripts/screenshots-console.sh [output folder]      (default: build/screenshots)
# TESSMAR=path uses that program instead of building build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ -z "${TESSMAR:-}" ]; then
  bash scripts/install-deps.sh
  bash scripts/build.sh release >/dev/null
  TESSMAR=$PWD/build/release/bin/tessmar
fi
bash scripts/make-demo-db.sh build/demo >/dev/null
udl=$PWD/build/demo/shop.udl
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export QUILLBASE_REGISTRY_DIR=$profile XDG_RUNTIME_DIR=$profile HOME=$profile
mkdir -p "$profile/Documents"
printf -- '-- the ten dearest products\nselect id, name, price\nfrom products\norder by price desc\nlimit 10;\n' > "$profile/Documents/dearest.sql"

xvfb-run -a -s "-screen 0 1100x760x24" bash -s "$TESSMAR" "$udl" "$out/tessmar" "$profile/Documents" <<'DRIVE'
set -euo pipefail
tessmar=$1 udl=$2 prefix=$3 docs=$4
"$tessmar" -udl "$udl" -dontsavelayout &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  win=$(xdotool search --name "Vexa@Tessmar" 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "${win:-}" ] || { echo "screenshots: no tessmar window" >&2; exit 1; }
xdotool windowsize --sync "$win" 1000 700
xdotool windowfocus --sync "$win"
settle() { sleep "${1:-1}"; }
shot() { import -window root "$prefix-$1.png"; }
key() { xdotool key --clearmodifiers "$@"; settle 0.6; }
# Without a window manager nothing gives the focus back when a dialog closes; the window's keys
# need it (and a dialog of its own needs it to take typing).
refocus() { xdotool windowfocus --sync "${1:-$win}"; settle 0.3; }
focus_dialog() {
  local d
  d=$(xdotool search --name "^$1\$" 2>/dev/null | tail -1) && [ -n "$d" ] && refocus "$d"
}
settle 2
shot connected
# A query typed as a user does, with its colours, then F5.
xdotool type --delay 15 "select id, name, price /* the cheap ones */ from products where price < 5 order by name; // done"
xdotool key Return
xdotool type --delay 15 "select 'unknown' as what from no_such_table;"
settle 0.5
shot typed
key F5
settle 2
shot run
# An SQL file: the unsaved text first ("No"), then the open dialog.
key ctrl+shift+o
shot save-question
key n
settle 1
focus_dialog "O.*" || true
shot open-dialog
xdotool type --delay 10 "$docs/dearest.sql"
key Return
settle 1
refocus
key F5
settle 1.5
shot opened
# A change, saved under the file's own name.
key ctrl+End
xdotool type --delay 15 -- " -- checked"
key ctrl+shift+s
shot saved
# Find.
key ctrl+Home
key ctrl+f
focus_dialog Find
xdotool type --delay 15 "price"
key Return
settle 0.5
shot find
key Escape
refocus
# The settings dialog from the Tools menu, on its Format page.
key alt+t
key s
settle 1
focus_dialog "Vexa@Tessmar Settings"
shot settings
key ctrl+Tab
key ctrl+Tab
shot settings-format
key Escape
refocus
# A long run stopped halfway.
key ctrl+a
xdotool type --delay 5 "select * from products; with recursive c(x) as (select 1 union all select x + 1 from c) select count(*) from c; select 1;"
key F5
settle 1.5
shot running
key shift+F5
settle 1.5
shot stopped
# A few lines of the result window selected by dragging the mouse over them.
xdotool mousemove 40 470 mousedown 1
xdotool mousemove 200 500
xdotool mousemove 320 530 mouseup 1
settle 0.5
shot result-selection
DRIVE
ls "$out"/tessmar-*.png

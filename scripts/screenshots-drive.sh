#!/usr/bin/env bash
# The user's part of scripts/screenshots.sh, run inside the virtual X server:
#   screenshots-drive.sh QORVEX UDL OUTPUT-PREFIX SCALE
# Positions are in the window's own (unscaled) pixels; SCALE turns them into the screen's.
set -euo pipefail
qorvex=$1 udl=$2 prefix=$3 scale=$4

"$qorvex" -udl "$udl" -dontsavelayout &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# The window is there once xdotool finds it with its title.
for _ in $(seq 1 100); do
  win=$(xdotool search --name "Vexa@Qorvex" 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "${win:-}" ] || { echo "screenshots: no qorvex window" >&2; exit 1; }
xdotool windowfocus --sync "$win"
settle() { sleep "${1:-1}"; }
click() { xdotool mousemove --sync $(( $1 * scale )) $(( $2 * scale )) click "${3:-1}"; settle 0.6; }
shiftclick() { xdotool mousemove --sync $(( $1 * scale )) $(( $2 * scale )) keydown shift click 1 keyup shift; settle 0.6; }
shot() { import -window root "$prefix-$1.png"; }
settle 2
shot start

# The tree: the database, its tables folder, then the products table.
click 11 332
click 30 350
shot tree
click 90 422
settle 2
# The description of a long text cell (Shift + click), then the cursor on a picture.
click 833 104
shiftclick 733 85
shot table
# The SQL pane from its toolbar button.
click 435 38
shot sql
# A statement on a table that is not there: F5, and the error lands in the report pane.
click 130 420
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "select * from missing_table"
xdotool key F5
settle 2
shot report
# The options dialog from the Options menu.
click 183 8
click 230 29
settle 1.5
shot options
xdotool key Escape
settle 0.5

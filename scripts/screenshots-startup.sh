#!/usr/bin/env bash
# Screenshots of qorvex's start-up on a virtual X server without a window manager: the tip of the
# day over the first window, the window on the demo database, a second window from "Open data
# link" in the connected one, a second start handing over to the running process, and a start
# with -newudl showing the Data Link Properties dialog.
#   scripts/screenshots-startup.sh [build folder] [output folder]
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/screenshots-lib.sh
source scripts/screenshots-lib.sh
screenshots_begin 1200x820 "$0" "$@"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$scratch"' EXIT
bash scripts/make-demo-db.sh "$scratch/demo" >/dev/null
cp "$scratch/demo/shop.udl" "$scratch/demo/second look.udl"

# The first start on a fresh profile: the tip of the day over the connected window.
"$build/bin/qorvex" -udl "$scratch/demo/shop.udl" & pids+=($!)
focus "Tip of the Day" >/dev/null
shot startup-1-tip
xdotool key Escape
focus "shop.udl" >/dev/null
shot startup-2-window

# "Open data link" in the connected window: the open dialog, then a second window.
xdotool key ctrl+o
focus "^Open$" >/dev/null
shot startup-3-open-dialog
xdotool type --delay 10 "$scratch/demo/second look.udl"
xdotool key Return
focus "Tip of the Day" >/dev/null
xdotool key Escape
focus "second look.udl" >/dev/null
shot startup-4-second-window

# A second start hands over to the running process and ends at once.
"$build/bin/qorvex" > "$scratch/second.txt" 2>&1 && echo "second start: exit code 0: $(cat "$scratch/second.txt")"
shot startup-5-after-second-start

# -newudl as the whole command line (with SingleInstance off, so it is a process of its own): the
# save dialog, then the datalink program on the new file.
"$build/bin/qbreg" import /dev/stdin >/dev/null <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Marrowind\quillbase\qorvex\1.6\Properties\General]
"SingleInstance" = dword:00000000
REG
"$build/bin/qorvex" -newudl & pids+=($!)
focus "Create a new Microsoft UDL-File" >/dev/null
xdotool type --delay 10 "$scratch/demo/made here.udl"
xdotool key Return
focus "Data Link Properties" >/dev/null
shot startup-6-newudl-editor
xdotool key Escape
sleep 1
echo "the -newudl start after cancelling: $(ls "$scratch/demo")"

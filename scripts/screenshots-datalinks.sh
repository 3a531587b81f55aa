#!/usr/bin/env bash
# Screenshots of the Data Link Properties dialog (each page, both providers) and of the tip of the
# day, on a virtual X server without a window manager, to look at as a user would.
#   scripts/screenshots-datalinks.sh [build folder] [output folder]
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/asan}
out=${2:-build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
build=$(cd "$build" && pwd)

if [ -z "${QB_SCREENSHOTS_INSIDE:-}" ]; then
  export QB_SCREENSHOTS_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$out"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QUILLBASE_REGISTRY_DIR="$scratch/registry"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

shot() { sleep 0.5; import -window root "$out/$1.png"; echo "$out/$1.png"; }
# Waits for a window whose name matches and gives it the keyboard (no window manager here).
focus() {
  local id
  id=$(xdotool search --sync --onlyvisible --name "$1" | head -1)
  xdotool windowfocus --sync "$id"
  echo "$id"
}

# A private ODBC configuration with a user and a system data source, so the lists show something.
mkdir "$scratch/odbc"
cp /etc/odbcinst.ini "$scratch/odbc/odbcinst.ini"
printf '[shop]\nDriver=SQLite3\nDatabase=%s\n' "$scratch/shop.db" > "$scratch/odbc/user.ini"
printf '[warehouse]\nDriver=PostgreSQL Unicode\nServername=localhost\nDatabase=stock\n' > "$scratch/odbc/odbc.ini"
export ODBCSYSINI="$scratch/odbc" ODBCINI="$scratch/odbc/user.ini"
unset ODBCINSTINI

# The Data Link Properties dialog on a new file: Provider, SQLite connection, ODBC connection, All.
sqlite3 "$scratch/shop.db" "create table customers(id integer primary key, name text)"
"$build/bin/datalink" "$scratch/new.udl" & editor=$!
focus "Data Link Properties" >/dev/null
shot datalink-1-provider
xdotool key ctrl+Tab alt+d
xdotool type --delay 10 "$scratch/shop.db"
xdotool key alt+r sleep 0.3 key alt+t
sleep 1
shot datalink-2-sqlite-connection
xdotool key ctrl+shift+Tab alt+k Down ctrl+Tab alt+d sleep 0.3 key Tab Down alt+t
sleep 1
shot datalink-3-odbc-dsn
xdotool key alt+v sleep 0.3 key Down Down
xdotool key alt+u
xdotool type --delay 10 "ann"
xdotool key alt+p
xdotool type --delay 10 "secret"
xdotool key alt+t
sleep 2
shot datalink-4-odbc-driver
xdotool key ctrl+Tab
shot datalink-5-all
xdotool key Escape
wait "$editor" || echo "datalink exit code: $?"

# The tip of the day over a main window, from the real library and the shipped tips file.
"$build/tests/tips_host" -folder "$build/bin" & host=$!
focus "Tip of the Day" >/dev/null
shot tips-1-first
xdotool key alt+n
shot tips-2-next
xdotool key Escape
wait "$host" || true

# A tips file that does not exist: the dialog says so.
mkdir "$scratch/empty-folder"
cp "$build/bin/liboltiva.so" "$scratch/empty-folder/"
"$build/tests/tips_host" -folder "$scratch/empty-folder" & host=$!
focus "Tip of the Day" >/dev/null
shot tips-3-no-file
xdotool key Escape
wait "$host" || true

# The library missing: the host's message.
"$build/tests/tips_host" -folder "$scratch/nowhere" & host=$!
focus "Error message" >/dev/null
shot tips-4-library-missing
xdotool key Return
wait "$host" || true

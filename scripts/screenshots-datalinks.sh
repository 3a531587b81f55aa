#!/usr/bin/env bash
# Screenshots of the Data Link Properties dialog (each page, both providers) and of the tip of the
# day, on a virtual X server without a window manager, to look at as a user would.
#   scripts/screenshots-datalinks.sh [build folder] [output folder]
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/screenshots-lib.sh
source scripts/screenshots-lib.sh
screenshots_begin 1024x768 "$0" "$@"
trap 'rm -rf "$scratch"' EXIT

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

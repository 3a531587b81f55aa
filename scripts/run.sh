#!/usr/bin/env bash
# The main job: installs what is missing, builds, makes the bundled demo database and opens it in
# the explorer, qorvex. Without a display (no DISPLAY or WAYLAND_DISPLAY) it says so and runs a
# script against the database as the SQL console runs it instead, printing the result tables.
#   scripts/run.sh [SQL text for the display-less run]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
bash scripts/make-demo-db.sh build/demo >/dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/bin/qorvex -udl build/demo/shop.udl
fi
echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so qorvex cannot open a window; running the demo queries in batch mode instead."
sql=${1:-"select name from sqlite_schema where type in ('table', 'view') order by name;
select * from customers where id <= 12;
select * from [order items] where order_id = 7;"}
exec build/release/bin/tessmar -batch -udl build/demo/shop.udl -cmd "$sql"

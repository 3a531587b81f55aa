#!/usr/bin/env bash
# The main job: installs what is missing, builds, makes the bundled demo database and runs a
# script against it as the SQL console runs it, printing the result tables.
#   scripts/run.sh [SQL text]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
bash scripts/make-demo-db.sh build/demo >/dev/null
sql=${1:-"select name from sqlite_schema where type in ('table', 'view') order by name;
select * from customers where id <= 12;
select * from [order items] where order_id = 7;"}
exec build/release/bin/qbsql -udl build/demo/shop.udl -cmd "$sql"

#!/usr/bin/env bash
# The ODBC provider on PostgreSQL beside psql, medians of interleaved runs, on the private server
# of scripts/test-services.sh (started and stopped here); then a stop during Load data of
# 10,000,000 rows through the ODBC provider on PostgreSQL and on the SQLite ODBC driver.
#   bench/run-odbc.sh [build folder (default build/bench)] [runs (default 11)]
# Configures the folder as the bench flavour if needed and brings odbc_pg_bench up to date first.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build odbc_pg_bench dataaccess_bench
bin="$build/bin/odbc_pg_bench"
# shellcheck source=scripts/test-services.sh
source scripts/test-services.sh
services_start >/dev/null
work=$(mktemp -d)
trap 'services_stop; rm -rf "$work"' EXIT

export PGPASSWORD="$QB_PG_PASSWORD"
psql_tcp() { psql -X -q -h "$QB_PG_HOST" -p "$QB_PG_PORT" -U "$QB_PG_USER" "$@"; }
psql_tcp -d postgres -c "CREATE DATABASE qbbench" >/dev/null
make_table() {
  psql_tcp -d qbbench -c "CREATE TABLE $1 (id INTEGER PRIMARY KEY, name VARCHAR(40), qty INTEGER, price DOUBLE PRECISION, note TEXT)" \
    -c "INSERT INTO $1 SELECT i, 'name ' || i, i % 1000, i * 0.25, CASE WHEN i % 3 = 0 THEN NULL ELSE 'note ' || i END
        FROM generate_series(1, $2) i" \
    -c "VACUUM ANALYZE $1" >/dev/null
}
make_table t1m 1000000
make_table t10m 10000000
make_table t1k 1000
connection="Provider=ODBC;Driver={PostgreSQL Unicode};Server=$QB_PG_HOST;Port=$QB_PG_PORT;Database=qbbench;Uid=$QB_PG_USER;Pwd={$QB_PG_PASSWORD}"

: >"$work/walk"; : >"$work/load"; : >"$work/psql"
for _ in $(seq "$runs"); do
  "$bin" walk "$connection" t1m >>"$work/walk"
  "$bin" load "$connection" t1m >>"$work/load"
  ms_cmd psql_tcp -d qbbench -c "select * from t1m" >>"$work/psql"
done
walk=$(median <"$work/walk"); load=$(median <"$work/load"); anchor=$(median <"$work/psql")
rss10=$("$bin" rss "$connection" t10m); rss1=$("$bin" rss "$connection" t1k)

printf 'PostgreSQL through the ODBC provider, 1,000,000 rows x 5 columns over TCP, medians of %s runs\n' "$runs"
printf '  psql -c "select * from t" > /dev/null  %8.1f ms\n' "$anchor"
printf '  execute + walk, all columns read       %8.1f ms   ratio %s (goal <= 1.0)\n' "$walk" "$(ratio "$walk" "$anchor")"
printf '  Load data (count + first page)         %8.1f ms   ratio %s\n' "$load" "$(ratio "$load" "$anchor")"
print_peak_growth 'Peak resident memory after Load data through ODBC (VmHWM, separate processes)' "$rss10" "$rss1"

# The 10,000,000-row table: Load data beside the server's own count, one page step at the end.
: >"$work/load10"; : >"$work/count10"; : >"$work/next10"; : >"$work/back10"; : >"$work/stop10"
for _ in $(seq "$runs"); do
  "$bin" load "$connection" t10m >>"$work/load10"
  ms_cmd psql_tcp -d qbbench -c "select count(*) from t10m" >>"$work/count10"
  "$bin" stop "$connection" t10m >>"$work/stop10" || true # exit 4: over before the stop
done
for _ in $(seq "$(( runs < 3 ? runs : 3 ))"); do
  "$bin" pagenext "$connection" t10m 99999 >>"$work/next10"
  "$bin" pageback "$connection" t10m 99999 >>"$work/back10"
done
load10=$(median <"$work/load10"); count10=$(median <"$work/count10")
next10=$(median <"$work/next10"); back10=$(median <"$work/back10"); stop10=$(median <"$work/stop10")
printf 'PostgreSQL through the ODBC provider, 10,000,000 rows x 5 columns (the server counts the table)\n'
printf '  psql -c "select count(*) from t"       %8.1f ms\n' "$count10"
printf '  Load data                              %8.1f ms   ratio %s (goal <= 1.5)\n' "$load10" "$(ratio "$load10" "$count10")"
printf '  Load page 99,998 -> 99,999 (%s runs)    %8.1f ms   (goal <= 50)\n' "$(( runs < 3 ? runs : 3 ))" "$next10"
printf '  Load page 99,999 -> 99,998             %8.1f ms   (goal <= 50)\n' "$back10"
printf '  Load data stopped after 200 ms: stop to end %5.1f ms (goal <= 1000)\n' "$stop10"
print_peak_growth 'Peak resident memory after every page forward and back through ODBC (VmHWM, separate processes)' \
  "$("$bin" rsswalk "$connection" t10m)" "$("$bin" rsswalk "$connection" t1k)"

# The SQLite ODBC driver: the same stop on a 10,000,000-row file.
"$build/bin/dataaccess_bench" make "$work/m10.db" 10000000
sqlite_connection="Provider=ODBC;Driver={SQLite3};Database=$work/m10.db"
: >"$work/stopsqlite"
for _ in $(seq "$runs"); do
  "$bin" stop "$sqlite_connection" t >>"$work/stopsqlite" || true
done
printf 'SQLite through its ODBC driver, 10,000,000 rows: Load data stopped after 200 ms: stop to end %.1f ms (goal <= 1000)\n' \
  "$(median <"$work/stopsqlite")"

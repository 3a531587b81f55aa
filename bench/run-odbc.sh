#!/usr/bin/env bash
# The ODBC provider on PostgreSQL beside psql, medians of interleaved runs, on the private server
# of scripts/test-services.sh (started and stopped here).
#   bench/run-odbc.sh [build folder (default build/bench)] [runs (default 11)]
# Configures the folder as the bench flavour if needed and brings odbc_pg_bench up to date first.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build odbc_pg_bench
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

#!/usr/bin/env bash
# A 100 MB value handed to the hex viewer against reading it alone through the provider's stream,
# on SQLite and on PostgreSQL through ODBC (the private server of scripts/test-services.sh,
# started and stopped here), as a query's result and as a table; the peak memory the open adds,
# and the load before it; Ctrl+End and back repaint times.
#   bench/run-blob.sh [build folder (default build/bench)] [runs (default 11)]
# Configures the folder as the bench flavour if needed and brings the programs up to date first.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build blob_viewer_bench bryndle
bin="$build/bin/blob_viewer_bench"
export QT_QPA_PLATFORM=offscreen
# shellcheck source=scripts/test-services.sh
source scripts/test-services.sh
services_start >/dev/null
work=$(mktemp -d)
trap 'services_stop; rm -rf "$work"' EXIT
size=$((100 * 1024 * 1024))

sqlite3 "$work/blob.db" "CREATE TABLE b (id INTEGER, v BLOB); INSERT INTO b VALUES (1, randomblob($size));"
export PGPASSWORD="$QB_PG_PASSWORD"
psql_tcp() { psql -X -q -h "$QB_PG_HOST" -p "$QB_PG_PORT" -U "$QB_PG_USER" "$@"; }
psql_tcp -d postgres -c "CREATE DATABASE qbblob" >/dev/null
psql_tcp -d qbblob -c "CREATE TABLE b (id INTEGER, v BYTEA)" \
  -c "INSERT INTO b SELECT 1, decode(repeat(md5('x'), $size / 16), 'hex')" >/dev/null

backends=(
  "SQLite|Provider=SQLite;Data Source=$work/blob.db"
  "PostgreSQL (ODBC)|Provider=ODBC;Driver={PostgreSQL Unicode};Server=$QB_PG_HOST;Port=$QB_PG_PORT;Database=qbblob;Uid=$QB_PG_USER;Pwd={$QB_PG_PASSWORD}"
)
read_sql="select v from b"
# The value reached as SQL the user typed (its rows spooled by the load) and as the table opened
# from its element (the plain scan, whose value is read again for the viewer).
sources=("select v from b" "table:b")
printf 'A 100 MB value: Enter + "Binary viewer" until the hex view is painted, against reading the value\n'
printf 'alone through the provider'"'"'s stream; medians of %s interleaved runs, memory the largest of 3\n' "$runs"
for entry in "${backends[@]}"; do
  name=${entry%%|*}; connection=${entry#*|}
  : >"$work/read-memory"
  for _ in 1 2 3; do
    "$bin" read-memory "$connection" "$read_sql" >>"$work/read-memory"
  done
  readmemory=$(sort -n "$work/read-memory" | tail -1)
  printf '%s\n' "$name"
  printf '  peak memory reading alone adds    %8d kB   (the provider'"'"'s own share)\n' "$readmemory"
  for sql in "${sources[@]}"; do
    : >"$work/read"; : >"$work/open"; : >"$work/scroll"; : >"$work/memory"; : >"$work/load-memory"
    for _ in $(seq "$runs"); do
      "$bin" read "$connection" "$read_sql" >>"$work/read"
      "$bin" open "$connection" "$sql" >>"$work/open"
      "$bin" scroll "$connection" "$sql" >>"$work/scroll"
    done
    for _ in 1 2 3; do
      "$bin" memory "$connection" "$sql" >>"$work/memory"
      "$bin" load-memory "$connection" "$sql" >>"$work/load-memory"
    done
    read=$(median <"$work/read"); open=$(median <"$work/open"); scroll=$(sort -n "$work/scroll" | tail -1)
    memory=$(sort -n "$work/memory" | tail -1); loadmemory=$(sort -n "$work/load-memory" | tail -1)
    printf '  %s\n' "$sql"
    printf '    read the value alone              %8.1f ms\n' "$read"
    printf '    Enter to the hex view painted     %8.1f ms   ratio %s (goal <= 1.5)\n' "$open" "$(ratio "$open" "$read")"
    printf '    peak memory the open adds         %8d kB   ratio %s of the value (goal <= 1.3)\n' "$memory" \
      "$(awk -v m="$memory" -v s="$size" 'BEGIN {printf "%.2f", m * 1024 / s}')"
    printf '    peak memory the load adds         %8d kB   ratio %s (the window'"'"'s own, before Enter)\n' "$loadmemory" \
      "$(awk -v m="$loadmemory" -v s="$size" 'BEGIN {printf "%.2f", m * 1024 / s}')"
    printf '    Ctrl+End / Ctrl+Home repaint, slowest of %s runs %6.2f ms (goal <= 16)\n' "$runs" "$scroll"
  done
done

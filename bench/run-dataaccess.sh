#!/usr/bin/env bash
# Data access benchmarks, side by side with their anchors, medians of interleaved runs.
#   bench/run-dataaccess.sh [build folder (default build/bench)] [runs (default 11)]
# Configures the folder as the bench flavour if needed and brings dataaccess_bench up to date first.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build dataaccess_bench
bin="$build/bin/dataaccess_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin" make "$work/m1.db" 1000000
"$bin" make "$work/m10.db" 10000000
"$bin" make "$work/k1.db" 1000

: >"$work/load"; : >"$work/loop"; : >"$work/cli"; : >"$work/page"; : >"$work/skip"; : >"$work/loadsql"; : >"$work/pagesql"
for _ in $(seq "$runs"); do
  "$bin" load "$work/m1.db" >>"$work/load"
  "$bin" loop "$work/m1.db" >>"$work/loop"
  ms_cmd sqlite3 "$work/m1.db" "select * from t" >>"$work/cli"
  "$bin" page "$work/m1.db" 5000 >>"$work/page"
  "$bin" loopskip "$work/m1.db" 500000 >>"$work/skip"
  "$bin" loadsql "$work/m1.db" >>"$work/loadsql"
  "$bin" pagesql "$work/m1.db" 5000 >>"$work/pagesql"
done
# The 10,000,000-row table: the engine's count against a plain count loop, one page step at the end.
: >"$work/load10"; : >"$work/count10"; : >"$work/next10"; : >"$work/back10"; : >"$work/stop10"
for _ in $(seq "$runs"); do
  "$bin" load "$work/m10.db" >>"$work/load10"
  "$bin" loopcount "$work/m10.db" >>"$work/count10"
  "$bin" stop "$work/m10.db" >>"$work/stop10" || true # exit 4: the load was over before the stop
done
for _ in $(seq "$(( runs < 3 ? runs : 3 ))"); do
  "$bin" pagenext "$work/m10.db" 99999 >>"$work/next10"
  "$bin" pageback "$work/m10.db" 99999 >>"$work/back10"
done
load10=$(median <"$work/load10"); count10=$(median <"$work/count10")
next10=$(median <"$work/next10"); back10=$(median <"$work/back10")
load=$(median <"$work/load"); loop=$(median <"$work/loop"); cli=$(median <"$work/cli")
page=$(median <"$work/page"); skip=$(median <"$work/skip")
loadsql=$(median <"$work/loadsql"); pagesql=$(median <"$work/pagesql")
rss10=$("$bin" rss "$work/m10.db"); rss1=$("$bin" rss "$work/k1.db")
rsssql10=$("$bin" rsssql "$work/m10.db"); rsssql1=$("$bin" rsssql "$work/k1.db")

printf 'Load data, 1,000,000 rows x 5 columns (count + first page), medians of %s runs\n' "$runs"
printf '  Load data                       %8.1f ms\n' "$load"
printf '  plain sqlite3_step loop         %8.1f ms   ratio %s (goal <= 1.5)\n' "$loop" "$(ratio "$load" "$loop")"
printf '  sqlite3 CLI select * > /dev/null %7.1f ms   ratio %s\n' "$cli" "$(ratio "$load" "$cli")"
printf 'Load page 5,000\n'
printf '  Load page                       %8.1f ms\n' "$page"
printf '  plain loop stepping 500,000     %8.1f ms   ratio %s (goal <= 1.5)\n' "$skip" "$(ratio "$page" "$skip")"
printf 'The same rows selected by SQL typed by the user (runs once; rows spooled to temporary storage)\n'
printf '  Load data                       %8.1f ms   ratio to the scan %s\n' "$loadsql" "$(ratio "$loadsql" "$load")"
printf '  Load page 5,000                 %8.1f ms   ratio to the scan %s\n' "$pagesql" "$(ratio "$pagesql" "$page")"
printf 'Load data, 10,000,000 rows x 5 columns (the engine counts the table)\n'
printf '  Load data                       %8.1f ms\n' "$load10"
printf '  plain select count(*) loop      %8.1f ms   ratio %s (goal <= 1.2)\n' "$count10" "$(ratio "$load10" "$count10")"
printf '  Load page 99,998 -> 99,999      %8.1f ms   (goal <= 5)\n' "$next10"
printf '  Load page 99,999 -> 99,998      %8.1f ms   (goal <= 5)\n' "$back10"
if [ -s "$work/stop10" ]; then
  printf '  Load data stopped after 200 ms (%s of %s runs still loading then): stop to end %5.1f ms (goal <= 1000)\n' \
    "$(wc -l <"$work/stop10")" "$runs" "$(median <"$work/stop10")"
else
  printf '  Load data stopped after 200 ms: every run had ended before the stop\n'
fi
print_peak_growth 'Peak resident memory after every page forward and back (VmHWM, separate processes)' \
  "$("$bin" rsswalk "$work/m10.db")" "$("$bin" rsswalk "$work/k1.db")"
print_peak_growth 'Peak resident memory after Load data (VmHWM, separate processes)' "$rss10" "$rss1"
print_peak_growth 'Peak resident memory after Load data of the SQL (VmHWM, separate processes)' "$rsssql10" "$rsssql1"

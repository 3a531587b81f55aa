#!/usr/bin/env bash
# Console benchmarks with their goals, medians of interleaved runs.
#   bench/run-console.sh [build folder (default build/bench)] [runs (default 11)]
# Configures the folder as the bench flavour if needed and brings the console bench programs up to date first.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build console_scanner_bench colorizer_bench console_run_bench console_window_bench tessmar
bin="$build/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_LOGGING_RULES="qt.qpa.*=false"
export QUILLBASE_REGISTRY_DIR="$work/registry"
"$bin/console_run_bench" make "$work/t.db"
"$bin/console_window_bench" make "$work/m1.db" 1000000
"$bin/console_window_bench" make "$work/t0.db" 1

# Median real time (ms) and bytes per second (MB/s) of a Google Benchmark program.
gbench() {
  "$1" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"/ {printf "%s %s\n", $3, ($6 == "" ? 0 : $6 / 1048576)}'
}

read -r scan_ms scan_mbs < <(gbench "$bin/console_scanner_bench")
read -r colour_ms _ < <(gbench "$bin/colorizer_bench")

: >"$work/run"; : >"$work/cli"; : >"$work/cli0"
for _ in $(seq "$runs"); do
  "$bin/console_run_bench" once "$work/t.db" >>"$work/run"
  ms_cmd sqlite3 -column "$work/t.db" "select * from t" >>"$work/cli"
  ms_cmd sqlite3 -column "$work/t.db" "select 1" >>"$work/cli0"
done
run=$(median <"$work/run"); cli=$(median <"$work/cli"); cli0=$(median <"$work/cli0")

printf 'Statement scanner, 10 MB script, median of %s\n' "$runs"
printf '  %8.1f ms   %6.1f MB/s   ratio to the goal of 100 MB/s: %s (goal >= 1)\n' "$scan_ms" "$scan_mbs" "$(ratio "$scan_mbs" 100)"
printf 'Colouring, 1 MB SQL text, median of %s\n' "$runs"
printf '  %8.2f ms   ratio to the goal of 10 ms: %s (goal <= 1)\n' "$colour_ms" "$(ratio "$colour_ms" 10)"
printf 'select * from t, 100,000 rows x 5 columns, into a discarding result window, medians of %s interleaved runs\n' "$runs"
printf '  console run (count + table)      %8.1f ms\n' "$run"
printf '  sqlite3 -column > /dev/null      %8.1f ms   ratio %s (goal <= 1)\n' "$cli" "$(ratio "$run" "$cli")"
printf '  (sqlite3 -column "select 1": %.1f ms of that is starting the shell; without it, ratio %s)\n' "$cli0" \
  "$(ratio "$run" "$(awk -v a="$cli" -v b="$cli0" 'BEGIN {print a - b}')")"

# The window: a keystroke in a 1 MB script; 100,000 rows printed with show data on against the
# same script in batch mode; the longest stall meanwhile; Stop during a 1,000,000-row result.
# Batch mode over 1,000,000 rows against sqlite3 -column, and its peak memory.
batch() { "$bin/tessmar" -batch -constr "Provider=SQLite;Data Source=$1" -cmd "select * from t;"; }
# Peak resident memory (kB) of a batch run over the file.
peak_kb() {
  /usr/bin/time -f %M "$bin/tessmar" -batch -constr "Provider=SQLite;Data Source=$1" -cmd "select * from t;" 2>&1 >/dev/null | tail -1
}
: >"$work/type"; : >"$work/win"; : >"$work/batch"; : >"$work/stall"; : >"$work/stop"; : >"$work/b1m"; : >"$work/c1m"
for _ in $(seq "$runs"); do
  "$bin/console_window_bench" type >>"$work/type"
  "$bin/console_window_bench" results "$work/t.db" >>"$work/win"
  ms_cmd batch "$work/t.db" >>"$work/batch"
  "$bin/console_window_bench" stall "$work/t.db" >>"$work/stall"
  "$bin/console_window_bench" stop "$work/m1.db" >>"$work/stop"
done
for _ in $(seq $(( (runs + 1) / 2 ))); do
  ms_cmd batch "$work/m1.db" >>"$work/b1m"
  ms_cmd sqlite3 -column "$work/m1.db" "select * from t" >>"$work/c1m"
done
type=$(median <"$work/type"); win=$(median <"$work/win"); bat=$(median <"$work/batch")
stall=$(median <"$work/stall"); worst=$(sort -n "$work/stall" | tail -1); stop=$(median <"$work/stop")
b1m=$(median <"$work/b1m"); c1m=$(median <"$work/c1m")
rss=$(peak_kb "$work/m1.db"); rss0=$(peak_kb "$work/t0.db")

printf 'Console window (offscreen), medians of %s runs\n' "$runs"
printf '  one keystroke in a 1 MB script, recolouring included  %8.2f ms (goal <= 16)\n' "$type"
printf '  100,000 rows into the result window, show data on     %8.1f ms\n' "$win"
printf '  the same script, tessmar -batch > /dev/null           %8.1f ms   ratio %s (goal <= 3)\n' "$bat" "$(ratio "$win" "$bat")"
printf '  GUI thread longest stall while printing               %8.1f ms (goal <= 100), worst run %s ms\n' "$stall" "$worst"
printf '  Stop during a 1,000,000-row result until it ended     %8.1f ms (goal <= 1000)\n' "$stop"
printf 'Batch mode, select * from t, 1,000,000 rows x 5 columns, medians of %s runs\n' "$(( (runs + 1) / 2 ))"
printf '  tessmar -batch > /dev/null                            %8.1f ms\n' "$b1m"
printf '  sqlite3 -column > /dev/null                           %8.1f ms   ratio %s (goal <= 1)\n' "$c1m" "$(ratio "$b1m" "$c1m")"
printf '  peak resident memory of tessmar -batch                %8d kB (goal <= 20480)\n' "$rss"
printf '  (the same program over a 1-row table: %d kB; the million rows add %d kB)\n' "$rss0" "$((rss - rss0))"

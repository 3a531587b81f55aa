#!/usr/bin/env bash
# Console benchmarks with their goals, medians of interleaved runs.
#   bench/run-console.sh [build folder (default build/bench)] [runs (default 11)]
# Configures the folder as the bench flavour if needed and brings the console bench programs up to date first.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build console_scanner_bench colorizer_bench console_run_bench
bin="$build/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/console_run_bench" make "$work/t.db"

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

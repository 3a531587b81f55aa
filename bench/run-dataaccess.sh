#!/usr/bin/env bash
# Data access benchmarks, side by side with their anchors, medians of interleaved runs.
#   bench/run-dataaccess.sh [build folder (default build/bench)] [runs (default 11)]
# Builds the bench flavour if the folder has no dataaccess_bench yet.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${2:-11}
bin="$build/bin/dataaccess_bench"
if [ ! -x "$bin" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQB_TESTS=OFF -DQB_BENCH=ON >/dev/null
  cmake --build "$build" -j2 --target dataaccess_bench >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin" make "$work/m1.db" 1000000
"$bin" make "$work/m10.db" 10000000
"$bin" make "$work/k1.db" 1000

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
ms_cmd() { local s e; s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N); awk -v a="$s" -v b="$e" 'BEGIN {printf "%.2f\n", (b - a) / 1e6}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

: >"$work/load"; : >"$work/loop"; : >"$work/cli"; : >"$work/page"; : >"$work/skip"
for _ in $(seq "$runs"); do
  "$bin" load "$work/m1.db" >>"$work/load"
  "$bin" loop "$work/m1.db" >>"$work/loop"
  ms_cmd sqlite3 "$work/m1.db" "select * from t" >>"$work/cli"
  "$bin" page "$work/m1.db" 5000 >>"$work/page"
  "$bin" loopskip "$work/m1.db" 500000 >>"$work/skip"
done
load=$(median <"$work/load"); loop=$(median <"$work/loop"); cli=$(median <"$work/cli")
page=$(median <"$work/page"); skip=$(median <"$work/skip")
rss10=$("$bin" rss "$work/m10.db"); rss1=$("$bin" rss "$work/k1.db")

printf 'Load data, 1,000,000 rows x 5 columns (count + first page), medians of %s runs\n' "$runs"
printf '  Load data                       %8.1f ms\n' "$load"
printf '  plain sqlite3_step loop         %8.1f ms   ratio %s (goal <= 1.5)\n' "$loop" "$(ratio "$load" "$loop")"
printf '  sqlite3 CLI select * > /dev/null %7.1f ms   ratio %s\n' "$cli" "$(ratio "$load" "$cli")"
printf 'Load page 5,000\n'
printf '  Load page                       %8.1f ms\n' "$page"
printf '  plain loop stepping 500,000     %8.1f ms   ratio %s (goal <= 1.5)\n' "$skip" "$(ratio "$page" "$skip")"
printf 'Peak resident memory after Load data (VmHWM, separate processes)\n'
printf '  10,000,000 rows %8d kB\n  1,000 rows      %8d kB\n  difference      %8d kB (goal <= 20480)\n' "$rss10" "$rss1" "$((rss10 - rss1))"

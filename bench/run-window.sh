#!/usr/bin/env bash
# The explorer's main window under the offscreen platform, against its goals, medians of runs.
#   bench/run-window.sh [build folder (default build/bench)] [runs (default 11)]
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
bench_build window_bench dataaccess_bench
win="$build/bin/window_bench"
data="$build/bin/dataaccess_bench"
work=$(mktemp -d)
export QT_LOGGING_RULES="qt.qpa.*=false"
trap 'rm -rf "$work"' EXIT
"$data" make "$work/m1.db" 1000000
"$data" make "$work/m10.db" 10000000
"$data" make "$work/k1.db" 1000

: >"$work/stall"; : >"$work/stop"; : >"$work/open"; : >"$work/load"; : >"$work/scroll"
for _ in $(seq "$runs"); do
  "$win" stall "$work/m10.db" >>"$work/stall"
  "$win" stop "$work/m10.db" >>"$work/stop"
  "$win" open "$work/m1.db" >>"$work/open"
  "$data" load "$work/m1.db" >>"$work/load"
  "$win" scroll "$work/m1.db" >>"$work/scroll"
done
stall=$(median <"$work/stall"); worst=$(sort -n "$work/stall" | tail -1)
stop=$(median <"$work/stop"); open=$(median <"$work/open"); load=$(median <"$work/load")
scroll=$(median <"$work/scroll"); scrollworst=$(sort -n "$work/scroll" | tail -1)
rss10=$("$win" rss "$work/m10.db"); rss1=$("$win" rss "$work/k1.db")

printf 'Main window, medians of %s runs\n' "$runs"
printf '  GUI thread longest stall while counting 10,000,000 rows %6.1f ms (goal <= 50), worst run %s ms\n' "$stall" "$worst"
printf '  Sto&p to idle, 100 ms into that load (the count)        %6.1f ms (goal <= 1000)\n' "$stop"
printf '  1,000,000-row table asked for until its first page painted %6.1f ms\n' "$open"
printf '  Load data alone (connecting included)                   %6.1f ms   ratio %s (goal <= 1.3)\n' "$load" "$(ratio "$open" "$load")"
printf '  Down on the last row of page 0 until page 1 is painted  %6.1f ms (goal <= 16), worst run %s ms\n' "$scroll" "$scrollworst"
printf 'Peak resident memory with the table shown (VmHWM, separate processes)\n'
printf '  10,000,000 rows %8d kB\n  1,000 rows      %8d kB\n  difference      %8d kB (goal <= 30720)\n' "$rss10" "$rss1" "$((rss10 - rss1))"

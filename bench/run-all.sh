#!/usr/bin/env bash
# Every benchmark, one after another on the same build, then each goal with whether it was met.
#   bench/run-all.sh [build folder (default build/bench)] [runs (default 11)]
# The default folder is built as a whole by scripts/build.sh bench; another folder is configured
# as the bench flavour with only the benchmark programs built. The suites run in turn, never at
# once: each compares a product with its anchor back to back, and a neighbour would skew that.
# shellcheck source=bench/bench-common.sh
source "$(dirname "$0")/bench-common.sh" "$@"
if [ "$build" = build/bench ]; then
  quiet_build "$build" scripts/build.sh bench
else
  bench_build qb_benchmarks
fi

out=$(mktemp)
trap 'rm -rf "$out"' EXIT
failed=()
for suite in dataaccess odbc console window; do
  printf '== bench/run-%s.sh\n' "$suite"
  bench/run-"$suite".sh "$build" "$runs" | tee -a "$out" || failed+=("$suite")
  echo
done

# A goal line ends in "(goal <= N)" or "(goal >= N)"; the figure it judges is the last number before that.
echo "== Goals"
awk '
  /^[^ ]/ { heading = $0; next }
  match($0, /\(goal (<=|>=) [0-9.]+\)/) {
    split(substr($0, RSTART + 6, RLENGTH - 7), goal, " ")
    n = split(substr($0, 1, RSTART - 1), words, " ")
    value = ""
    for (i = n; i >= 1 && value == ""; i--)
      if (words[i] ~ /^-?[0-9]+(\.[0-9]+)?$/) value = words[i]
    met = goal[1] == "<=" ? value + 0 <= goal[2] + 0 : value + 0 >= goal[2] + 0
    line = $0; sub(/^ +/, "", line); gsub(/  +/, " ", line)
    printf "  %-6s %s\n         %s\n", (met ? "met" : "MISSED"), heading, line
  }
' "$out"

if [ "${#failed[@]}" -gt 0 ]; then
  echo "bench: run-${failed[*]}.sh failed; their goals are missing above" >&2
  exit 1
fi

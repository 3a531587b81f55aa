#!/usr/bin/env bash
# Sourced by the bench/run-*.sh scripts, with the script's own arguments:
#   source "$(dirname "$0")/bench-common.sh" "$@"
# Leaves the shell in the repository root with strict error handling, and sets
#   build  the build folder (first argument, default build/bench, the folder of scripts/build.sh bench)
#   runs   how many interleaved runs each median takes (second argument, default 11)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build/bench}
# shellcheck disable=SC2034 # read by the scripts that source this file
runs=${2:-11}

# quiet_build WHAT COMMAND...: runs a build command with its output held back, shown (on standard
# error) only when it fails; a failure ends the script.
quiet_build() {
  local what=$1 log
  shift
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "bench: building $what failed" >&2
    exit 1
  fi
  rm -f "$log"
}

# bench_build TARGET...: configures the build folder as the bench flavour unless it already is one,
# then brings the targets up to date (a no-op when they are), so a run never times stale code.
bench_build() {
  if ! grep -qx 'QB_BENCH:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    quiet_build "$build" cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQB_TESTS=OFF -DQB_BENCH=ON
  fi
  quiet_build "$* in $build" cmake --build "$build" -j2 --target "$@"
}

# Median of the numbers on standard input, one a line.
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
# Runs a command with its output discarded and prints its wall-clock milliseconds.
ms_cmd() { local s e; s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N); awk -v a="$s" -v b="$e" 'BEGIN {printf "%.2f\n", (b - a) / 1e6}'; }
# a / b with two decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

# print_peak_growth TITLE BIG SMALL: peak resident memory (kB) after loading 10,000,000 rows and
# after loading 1,000 rows, each measured in its own process; what a large table adds must stay
# within 20 MB.
print_peak_growth() {
  printf '%s\n' "$1"
  printf '  10,000,000 rows %8d kB\n  1,000 rows      %8d kB\n  difference      %8d kB (goal <= 20480)\n' "$2" "$3" "$(($2 - $3))"
}

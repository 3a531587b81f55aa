#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (build/fuzz) and runs each for the given time from its corpus.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
# FUZZ_JOBS sets the processes per target (default: every core; 1 runs in-process).
# New inputs go to build/fuzz/corpus/<target>, faults to build/fuzz/artifacts/<target>; copy an
# input that found a fault into fuzz/corpus/<target> with its fix (fuzz/README.md).
# Limits: 1 s per input, 256 MB per allocation. Ends with one line of figures per target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
jobs=${FUZZ_JOBS:-$(nproc)}

bash scripts/install-deps.sh fuzz
opts=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g"
      -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DQB_FUZZ=ON -DQB_TESTS=OFF)
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  opts+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build/fuzz -G Ninja "${opts[@]}" >/dev/null
cmake --build build/fuzz --target qb_fuzz_targets -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# The scratch files of the targets (data link files, registry hives) on a memory file system
# where there is one: the registry syncs every write.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=64}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
status=0
for t in "${targets[@]}"; do
  work=build/fuzz/corpus/$t
  artifacts=build/fuzz/artifacts/$t
  log=build/fuzz/logs/$t.log
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  before=$(find "$work" -type f | wc -l)
  faultsBefore=$(find "$artifacts" -type f | wc -l)
  args=(-max_total_time="$seconds" -timeout=1 -malloc_limit_mb=256 -rss_limit_mb=2048
        -artifact_prefix="$artifacts/" -print_final_stats=1)
  if [ "$jobs" -gt 1 ]; then
    args+=(-fork="$jobs")
  fi
  echo "== $t: $seconds s, $jobs process(es), log $log"
  set +e
  "build/fuzz/fuzz/fuzz_$t" "${args[@]}" "$work" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  set -e
  after=$(find "$work" -type f | wc -l)
  faults=$(( $(find "$artifacts" -type f | wc -l) - faultsBefore ))
  # Status lines: "#N ... cov: C ft: F ... rss: RMb" (in-process) or "#N: cov: C ft: F ..." (fork).
  runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#' || true)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || true)
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || true)
  rss=$(grep -oE 'rss: [0-9]+Mb' "$log" | grep -oE '[0-9]+' | sort -n | tail -1 || true)
  line="$t: runs ${runs:-0}, coverage ${cov:-?} edges (${ft:-?} features), new inputs $((after - before)), crashes $faults"
  [ -n "$rss" ] && line+=", peak rss ${rss} MB"
  if [ "$faults" -gt 0 ] || { [ "$rc" -ne 0 ] && [ "$faults" -eq 0 ]; }; then
    line+=" (exit $rc, see $log)"
    status=1
  fi
  summary+=("$line")
done
echo
printf '%s\n' "${summary[@]}"
exit $status

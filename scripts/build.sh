#!/usr/bin/env bash
# Configures and builds one flavour of the tree into build/<flavour>.
#   scripts/build.sh release|asan|tsan|bench|package [extra cmake -D options]
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}; shift || true
case "$flavour" in
  release) opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_TESTS=OFF) ;;
  asan)    opts=(-DCMAKE_BUILD_TYPE=Debug -DQB_SANITIZE=ON) ;;
  tsan)    opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_TSAN=ON) ;;
  bench)   opts=(-DCMAKE_BUILD_TYPE=Release -DQB_TESTS=OFF -DQB_BENCH=ON) ;;
  package) opts=(-DCMAKE_BUILD_TYPE=Release -DQB_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr) ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac
# A compiler cache, where one is installed, lets several checkouts of the tree share their objects.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  opts+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "build/$flavour" -G Ninja "${opts[@]}" "$@" >/dev/null
cmake --build "build/$flavour" -j"$(nproc)"

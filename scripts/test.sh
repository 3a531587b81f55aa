#!/usr/bin/env bash
# The test command: installs what is missing, builds with AddressSanitizer + UndefinedBehaviorSanitizer,
# starts the test services (a private PostgreSQL server, private ODBC configuration), runs every suite.
#   scripts/test.sh [ctest arguments, e.g. -R registry]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh asan
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# shellcheck source=scripts/test-services.sh
source scripts/test-services.sh
services_start
trap services_stop EXIT
ctest --test-dir build/asan --output-on-failure -j"$(nproc)" "$@"

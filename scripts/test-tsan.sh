#!/usr/bin/env bash
# The threaded suites under ThreadSanitizer: run after every change to threaded code.
#   scripts/test-tsan.sh [ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh tsan
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
source scripts/test-services.sh
services_start
trap services_stop EXIT
ctest --test-dir build/tsan --output-on-failure -L threads "$@"

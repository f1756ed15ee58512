#!/bin/sh
# Builds ZAV with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test against that build. Any sanitizer report aborts the process
# that met it, so the test fails. Usage: tools/run_sanitized_tests.sh [build-directory]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-asan}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAV_SANITIZE=ON
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
ctest --test-dir "$build" --output-on-failure

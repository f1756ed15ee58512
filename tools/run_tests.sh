#!/bin/sh
# Builds ZAV and runs every test: unit tests, end-to-end scenarios and the
# terminal tests. Usage: tools/run_tests.sh [build-directory]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
ctest --test-dir "$build" --output-on-failure

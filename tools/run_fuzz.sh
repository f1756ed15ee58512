#!/bin/sh
# Builds the fuzz targets with clang and libFuzzer (address and
# undefined-behaviour sanitizers on) and runs each for a short while from
# seeds: the end-to-end scenarios (their format is the targets' input format)
# and the example workspace's ZAV.cfg and CMD.zav. A crash, a sanitizer report, a
# hang or runaway memory fails the run; libFuzzer leaves the input that did
# it in the build directory as crash-*, timeout-*, oom-* or leak-*.
# Usage: tools/run_fuzz.sh [seconds-per-target] [build-directory]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-fuzz}
mkdir -p "$build"
# The targets work in a scratch directory of their own, so every path
# handed to them must be absolute.
build=$(cd "$build" && pwd)
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZAV_FUZZ=ON -DZAV_BUILD_TESTS=OFF
targets=$(sed -n 's/^set(ZAV_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/CMakeLists.txt)
for target in $targets; do
  cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "fuzz_$target"
done
rm -rf "$build/seeds"
mkdir -p "$build/seeds"
for scenario in tests/e2e/scenarios/*/*.test; do
  folder=${scenario%/*}
  cp "$scenario" "$build/seeds/${folder##*/}_${scenario##*/}"
done
cp examples/ZAV.cfg examples/CMD.zav "$build/seeds/"
failed=0
for target in $targets; do
  corpus="$build/corpus/$target"
  log="$build/fuzz_$target.log"
  mkdir -p "$corpus"
  echo "== fuzz_$target for $seconds s (log: $log)"
  # -timeout: one input may take this long before it counts as a hang.
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -max_len=16384 -print_final_stats=1 -artifact_prefix="$build/" \
    "$corpus" "$build/seeds" > "$log" 2>&1; then
    grep -E '^Done|^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" || true
  else
    failed=1
    echo "fuzz_$target FAILED; the end of its log:"
    tail -n 80 "$log"
  fi
done
exit $failed

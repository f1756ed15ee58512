#!/bin/sh
# Builds ZAV if needed, makes the sample captures if needed, and starts ZAV in
# the example workspace, where ZAV.cfg selects captures/sample.pcap.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -x build/zav ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target zav
tools/make_sample_captures.sh
cd examples
exec ../build/zav

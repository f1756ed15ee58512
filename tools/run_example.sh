#!/bin/sh
# Builds ZAV if needed and starts it in the example workspace.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -x build/zav ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target zav
cd examples
exec ../build/zav

#!/bin/sh
# Installs the Debian packages that are missing (tools/debian_packages.sh),
# builds ZAV if needed, makes the sample captures if needed, and starts ZAV
# in the example workspace, where ZAV.cfg selects captures/sample.pcap.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/debian_packages.sh
# shellcheck disable=SC2086 # one word per package
zav_install_missing_packages $ZAV_BUILD_PACKAGES $ZAV_RUN_PACKAGES
if [ ! -x build/zav ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target zav
tools/make_sample_captures.sh
exec build/zav -C examples

#!/bin/sh
# Installs the Debian packages that are missing (tools/debian_packages.sh),
# builds ZAV, runs every test (unit tests, end-to-end scenarios, terminal
# tests, ..., and the Debian package: tools/check_debian_package.sh) and
# checks what `cmake --install` lays out. The Windows packages are checked
# by tests/windows/smoke_test.sh.
# Usage: tools/run_tests.sh [build-directory]
set -eu
cd "$(dirname "$0")/.."
. tools/debian_packages.sh
# shellcheck disable=SC2086 # one word per package
zav_install_missing_packages $ZAV_BUILD_PACKAGES $ZAV_TEST_PACKAGES $ZAV_PACKAGING_PACKAGES
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
ctest --test-dir "$build" --output-on-failure

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for installed in bin/zav share/man/man1/zav.1.gz share/zav/examples/ZAV.cfg share/zav/examples/CMD.zav \
  share/zav/examples/captures/sample.pcap share/doc/zav/README.md; do
  [ -f "$prefix/$installed" ] || { echo "install: $installed is missing" >&2; exit 1; }
done
"$prefix/bin/zav" --version >/dev/null
echo "install: bin/zav, the man page, the docs and the examples with captures are in place"

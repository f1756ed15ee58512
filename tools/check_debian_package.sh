#!/bin/sh
# Makes the Debian package of a build and checks it as a new user meets it:
# lintian --pedantic finds no error or warning, the package holds exactly
# the expected files, and the shell unpacked from it (dpkg-deb -x, no
# installation) runs its installed examples through TShark, writes nothing
# into them, and lays out a workspace of its own with --init.
# Usage: tools/check_debian_package.sh [build-directory]   (default: build)
# CTest runs it as the test "package".
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
for tool in cpack dpkg-deb lintian; do
  command -v "$tool" >/dev/null 2>&1 ||
    { echo "package: skipped, $tool is missing (apt-get install -y lintian)"; exit 0; }
done
rm -f "$build"/zav_*.deb
(cd "$build" && cpack -G DEB >cpack-deb.log 2>&1) || { cat "$build/cpack-deb.log" >&2; exit 1; }
deb=$(echo "$build"/zav_*.deb)

status=0
report=$(lintian --pedantic --fail-on error,warning "$deb" 2>&1) || status=$?
# Root gets a note from lintian on every run; it says nothing about the package.
printf '%s\n' "$report" | grep -v -e "running with root privileges" -e '^$' || true
[ "$status" -eq 0 ] || { echo "package: lintian found errors or warnings (above)" >&2; exit 1; }

# The files, derived from the tree, so that a new page of docs/ is expected
# without editing this list.
examples=./usr/share/zav/examples
{
  printf '%s\n' ./usr/bin/zav ./usr/share/man/man1/zav.1.gz ./usr/share/lintian/overrides/zav \
    ./usr/share/doc/zav/README.md ./usr/share/doc/zav/copyright ./usr/share/doc/zav/changelog.Debian.gz \
    "$examples/captures/sample.pcap"
  for page in docs/*.md; do echo "./usr/share/doc/zav/$page"; done
  for file in examples/*; do [ -f "$file" ] && echo "$examples/${file#examples/}"; done
  for dump in examples/captures/src/*.txt; do echo "$examples/captures/$(basename "$dump" .txt).pcap"; done
} | LC_ALL=C sort >"$build/expected-files.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort >"$build/package-files.txt"
if ! cmp -s "$build/expected-files.txt" "$build/package-files.txt"; then
  echo "package: its files differ from the expected ones (< expected, > in the package):" >&2
  diff "$build/expected-files.txt" "$build/package-files.txt" >&2 || true
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
zav=$work/root/usr/bin/zav
installed=$work/root/usr/share/zav/examples
# expect <what> <output> <line>...: each line is a whole line of the output.
expect() {
  what=$1 output=$2
  shift 2
  for line; do
    printf '%s\n' "$output" | grep -qxF -- "$line" ||
      { printf 'package: %s: no line "%s" in:\n%s\n' "$what" "$line" "$output" >&2; exit 1; }
  done
}
out=$("$zav" -C "$installed" -c getpcap -c dns_queries 2>/dev/null)
expect "the unpacked zav in its installed examples" "$out" "+ Current pcap file name is: sample.pcap" \
  "35	192.168.1.23	1	nosuch.example.com"
[ ! -e "$installed/.zav_history" ] ||
  { echo "package: zav wrote .zav_history into the installed examples" >&2; exit 1; }
if "$zav" --help | grep -q -- --init; then
  out=$("$zav" --init "$work/mine")
  library=$(find examples -maxdepth 1 -type f \( -name ZAV.cfg -o -name '*.zav' -o -name '*.lst' \) | wc -l)
  samples=$(($(find examples/captures/src -name '*.txt' | wc -l) + 1))  # and sample.pcap, all merged
  expect "zav --init DIR" "$out" "zav: copied $library configuration and command files and $samples sample captures from $(cd "$installed" && pwd -P) into $work/mine" \
    "Start ZAV there with: zav -C $work/mine"
  out=$("$zav" -C "$work/mine" -c getpcap -c captures 2>/dev/null)
  expect "zav --init DIR, then zav -C DIR" "$out" "+ Current pcap file name is: sample.pcap"
  printf '%s\n' "$out" | grep -q ' sample\.pcap$' ||
    { printf 'package: "captures" did not list the workspace'"'"'s captures:\n%s\n' "$out" >&2; exit 1; }
else
  echo "package: skipped zav --init (this zav has no such option yet)"
fi
echo "package: $(basename "$deb") is lintian-clean, holds the expected files and runs unpacked"

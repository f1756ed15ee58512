#!/bin/sh
# Makes the sample captures of the example workspace from the annotated hex
# dumps in examples/captures/src/: one capture per dump, and sample.pcap, all
# of them merged in time order. A capture is rebuilt only when it is missing
# or older than its source, so running this again is cheap.
#
# Needs text2pcap and mergecap, which Debian ships in wireshark-common (a
# dependency of the tshark package).
#
# Usage: tools/make_sample_captures.sh [capture-directory]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/examples/captures/src"
out=${1:-"$root/examples/captures"}

for tool in text2pcap mergecap; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool was not found. Install it with: apt-get install -y tshark" >&2
    exit 1
  fi
done

mkdir -p "$out"
parts=""
rebuilt=no
for dump in "$src"/*.txt; do
  name=$(basename "$dump" .txt)
  capture="$out/$name.pcap"
  parts="$parts $capture"
  if [ ! -f "$capture" ] || [ "$dump" -nt "$capture" ]; then
    # The time lines of the dumps are UTC; text2pcap reads them as local time,
    # so it runs in UTC to give every machine the same time stamps. Classic
    # pcap, not pcapng, so the files match their .pcap names. text2pcap 4.0
    # prints a separator line on standard error even with -q, so its
    # messages are shown only when it fails.
    if ! messages=$(TZ=UTC text2pcap -q -F pcap -t '%Y-%m-%dT%H:%M:%S.%f' "$dump" "$capture" 2>&1); then
      echo "$messages" >&2
      rm -f "$capture"
      exit 1
    fi
    rebuilt=yes
  fi
done

sample="$out/sample.pcap"
if [ "$rebuilt" = yes ] || [ ! -f "$sample" ]; then
  # shellcheck disable=SC2086 # the part names hold no blanks of their own
  mergecap -F pcap -w "$sample" $parts
fi

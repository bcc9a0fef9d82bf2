#!/bin/sh
# Makes the CSV export's test file beneath $1 (a Unix path): one second of
# LAME-encoded mono audio at 64 kbit/s, without tags.
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 DIR" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out"
head -c 88200 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 - "$out/one.mp3" 2>/dev/null
echo "csv music ready: $out"

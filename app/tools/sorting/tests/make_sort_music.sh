#!/bin/sh
# Makes the sorting wizard's seed files beneath $1 (a Unix path): MP3 files
# encoded by LAME, tagged by the independent id3v2 tool (both versions) and
# eyeD3 (ID3v2 only), some with values no folder may be named.
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 DIR" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out"
seed="$out/seed.raw.mp3"
head -c 44100 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 - "$seed" 2>/dev/null
for f in q1 q2 hostile evil untagged named same1 same2 r h ro held; do cp "$seed" "$out/$f.mp3"; done
id3v2 -a "The Quiet Ones" -A "Silent Evenings" -t "Morning Hush" "$out/q1.mp3"
id3v2 -a "The Quiet Ones" -A "Silent Evenings" -t "Low Tide" "$out/q2.mp3"
id3v2 -a "AC/DC: Live" -A "Con" "$out/hostile.mp3"
eyeD3 --quiet -a '..\..\Escape' -A 'nul.x' "$out/evil.mp3" >/dev/null
id3v2 -a "Unknown" -A "Should Not Appear" "$out/named.mp3"
id3v2 -a "Meeting" -A "Point" -t "First" "$out/same1.mp3"
id3v2 -a "Meeting" -A "Point" -t "Second" "$out/same2.mp3"
for f in r h ro held; do id3v2 -a "Mara Lindqvist" -A "Northern Lights" -t "$f" "$out/$f.mp3"; done
rm -f "$seed"
echo "sorting seed ready: $out"

#!/bin/sh
# The benchmark's tree beneath $1: $2 files (default 10000) in $3 folders
# (default 500), each a copy of one LAME-encoded file tagged by id3v2.
set -e
out=$1
files=${2:-10000}
folders=${3:-500}
[ -n "$out" ] || { echo "usage: $0 DIR [FILES] [FOLDERS]" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out"
seed="$out/seed.mp3"
head -c 44100 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 - "$seed" 2>/dev/null
id3v2 -a "Bench Artist" -A "Bench Album" -t "Bench Title" -y 2000 -g 13 -T 1 --TCOM "Bench Composer" "$seed"
per=$((files / folders))
d=0
while [ $d -lt "$folders" ]; do
  mkdir -p "$out/tree/f$d"
  i=0
  while [ $i -lt $per ]; do cp "$seed" "$out/tree/f$d/$i.mp3"; i=$((i + 1)); done
  d=$((d + 1))
done
rm -f "$seed"

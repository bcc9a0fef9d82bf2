#!/bin/sh
# The sorting benchmark's two equal trees beneath $1 (wizard/ and bare/):
# $2 files (default 10000) in $3 folders (default 500), copies of one
# LAME-encoded file tagged by id3v2 per folder: 50 artists, an album a
# folder, file names unique over the tree.
set -e
out=$1
files=${2:-10000}
folders=${3:-500}
[ -n "$out" ] || { echo "usage: $0 DIR [FILES] [FOLDERS]" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out"
seed="$out/seed.mp3"
head -c 44100 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 - "$seed" 2>/dev/null
per=$((files / folders))
d=0
while [ $d -lt "$folders" ]; do
  tagged="$out/tagged.mp3"
  cp "$seed" "$tagged"
  id3v2 -a "Artist $((d % 50))" -A "Album $d" -t "Title" "$tagged"
  for tree in wizard bare; do
    mkdir -p "$out/$tree/f$d"
    i=0
    while [ $i -lt $per ]; do cp "$tagged" "$out/$tree/f$d/t${d}_$i.mp3"; i=$((i + 1)); done
  done
  d=$((d + 1))
done
rm -f "$seed" "$out/tagged.mp3"
mkdir -p "$out/wizard-out" "$out/bare-out"

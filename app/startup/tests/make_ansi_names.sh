#!/bin/sh
# Makes, beneath $1 (a Unix path), a folder and a file whose names hold
# characters of the Western ANSI code page outside ASCII, named in UTF-8 as
# a Linux disk or a music collection copied onto one has them:
#   Musique é ü Œ €/Café ü Œ €.mp3   (4 KB of silence-like bytes, no tag)
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 DIR" >&2; exit 2; }
rm -rf "$out"
folder="$out/Musique é ü Œ €"
mkdir -p "$folder"
head -c 4096 /dev/zero >"$folder/Café ü Œ €.mp3"
echo "ANSI names ready: $out"

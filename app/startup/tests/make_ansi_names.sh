#!/bin/sh
# Makes, beneath $1 (a Unix path), a folder and files whose names hold
# characters outside ASCII, named in UTF-8 as a Linux disk or a music
# collection copied onto one has them:
#   Musique é ü Œ €/Café ü Œ €.mp3         4096 bytes, a frame sync then
#                                           zeros (audio to the tag
#                                           libraries): the Western ANSI
#                                           code page holds the name
#   Musique é ü Œ €/Dvořák - Largo.mp3     5000 bytes: it does not
#   Musique é ü Œ €/Dvořák/Vltava.mp3      6000 bytes, in a folder it
#                                           does not hold
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 DIR" >&2; exit 2; }
rm -rf "$out"
folder="$out/Musique é ü Œ €"
mkdir -p "$folder"
{ printf '\377\373'; head -c 4094 /dev/zero; } >"$folder/Café ü Œ €.mp3"
LANG=en_US.UTF-8 python3 - "$folder" <<'PY'
import os, sys
folder = os.fsencode(sys.argv[1])
beyond = os.path.join(folder, "Dvořák".encode("utf-8"))
os.mkdir(beyond)
with open(os.path.join(folder, "Dvořák - Largo.mp3".encode("utf-8")), "wb") as f:
    f.write(bytes(5000))
with open(os.path.join(beyond, b"Vltava.mp3"), "wb") as f:
    f.write(bytes(6000))
PY
echo "ANSI names ready: $out"

#!/bin/sh
# Makes the case tool's test files beneath $1 (a Unix path): LAME-encoded
# audio, tagged by the independent id3v2 tool, and by mutagen for text in
# UTF-16 that the ANSI code page cannot carry.
#   caps.mp3      ID3v1 and ID3v2, title and artist in capitals
#   greek.mp3     ID3v2 only: a title of Greek letters alone, a mixed artist
#   cjk.mp3       ID3v2 only: a CJK title with Latin letters
#   plain.mp3     no tag
set -e
out=$1
peer=$2
[ -n "$out" ] && [ -n "$peer" ] || { echo "usage: $0 DIR MUTAGEN_PEER" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out"
seed="$out/seed.mp3"
head -c 88200 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 - "$seed" 2>/dev/null
for f in caps greek cjk plain; do cp "$seed" "$out/$f.mp3"; done
id3v2 -t "MORNING HUSH" -a "THE QUIET ONES" -A "SILENT EVENINGS" "$out/caps.mp3"
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
/usr/bin/python3 "$peer" write "$out/greek.mp3" --encoding=1 "TIT2=u$(hex 'Ελληνικά')" "TPE1=u$(hex 'Ωmega live')"
/usr/bin/python3 "$peer" write "$out/cjk.mp3" --encoding=1 "TIT2=u$(hex '東京 tokyo')"
rm -f "$seed"
echo "case music ready: $out"

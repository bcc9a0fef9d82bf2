#!/bin/sh
# Makes the main window's test folders beneath $1 (a Unix path): real MP3
# files encoded by LAME and tagged by the independent id3v2 tool.
#   three/       three tagged files (ID3v1 and ID3v2; the third with a
#                composer and an encoder frame)
#   other/       one tagged file
#   taggers/     one file each tagged by id3v2, eyeD3 and mutagen, both
#                versions, the track as "n/12" and the genre Rock as those
#                tools store it ("(17)", the name, or "17" in mutagen's
#                ID3v2.4 tag, which also holds a player's two described
#                comments around the plain one)
#   empty/       no MP3 file
#   beyond/      one tagged file named in UTF-8 with a letter that the
#                Western ANSI code page lacks ("Dvořák - Largo.mp3")
#   tree/a..h/   eight sub-folders of 40 files each, untagged but one
#   asound.conf  a sound device that discards everything, so that files
#                play on machines without sound (ALSA_CONFIG_PATH)
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 DIR" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out/three" "$out/other" "$out/taggers" "$out/empty" "$out/tree"
seed="$out/seed.mp3"
head -c 88200 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 - "$seed" 2>/dev/null
for i in 1 2 3; do cp "$seed" "$out/three/0$i - Track $i.mp3"; done
id3v2 -a "The Quiet Ones" -A "Silent Evenings" -t "Morning Hush" -y 1998 -g 13 -T 1 -c "first take" \
  "$out/three/01 - Track 1.mp3"
id3v2 -a "The Quiet Ones" -A "Silent Evenings" -t "Low Tide" -y 1998 -g 13 -T 2 "$out/three/02 - Track 2.mp3"
id3v2 -a "Mara Lindqvist" -A "Northern Lights" -t "Aurora" -y 2001 -g 8 -T 7 --TCOM "J. Berg" \
  --TENC "LAME 3.100" "$out/three/03 - Track 3.mp3"
cp "$seed" "$out/other/Elsewhere.mp3"
id3v2 -a "Someone Else" -t "Elsewhere" "$out/other/Elsewhere.mp3"
for t in id3v2 eyeD3 mutagen; do cp "$seed" "$out/taggers/$t.mp3"; done
id3v2 -a "Tagged Elsewhere" -t "By id3v2" -T 1/12 -g 17 "$out/taggers/id3v2.mp3"
eyeD3 --to-v2.3 -a "Tagged Elsewhere" -t "By eyeD3" -n 1 -N 12 -G Rock "$out/taggers/eyeD3.mp3" >/dev/null
eyeD3 -1 -a "Tagged Elsewhere" -t "By eyeD3" -n 1 -G Rock "$out/taggers/eyeD3.mp3" >/dev/null
/usr/bin/python3 - "$out/taggers/mutagen.mp3" <<'PY'
import sys
from mutagen.id3 import COMM, ID3, TCON, TIT2, TPE1, TRCK
tag = ID3()
for frame in (TPE1(text="Tagged Elsewhere"), TIT2(text="By mutagen"), TRCK(text="1/12"), TCON(text="17"),
              COMM(encoding=0, lang="eng", desc="iTunNORM", text=" 0000044E 00000453"),
              COMM(lang="eng", desc="", text="My own words"),
              COMM(encoding=0, lang="eng", desc="iTunSMPB", text=" 00000000 00000210 000007E4 0000000000013A88")):
    tag.add(frame)
# mutagen puts the shortest frames first: here the player's volume data
# comes before the plain comment.
tag.save(sys.argv[1], v1=2)
PY
echo "not music" >"$out/empty/readme.txt"
mkdir -p "$out/beyond"
beyond=$(LANG=en_US.UTF-8 python3 -c 'import os, shutil, sys
path = os.path.join(os.fsencode(sys.argv[1]), "Dvořák - Largo.mp3".encode("utf-8"))
shutil.copyfile(os.fsencode(sys.argv[2]), path)
sys.stdout.buffer.write(path)' "$out/beyond" "$seed")
id3v2 -a "Antonin Dvorak" -A "New World" -t "Largo" -y 1893 -T 2 "$beyond"
for d in a b c d e f g h; do
  mkdir -p "$out/tree/$d"
  i=0
  while [ $i -lt 40 ]; do cp "$seed" "$out/tree/$d/$i.mp3"; i=$((i + 1)); done
done
id3v2 -t "Deep One" "$out/tree/h/39.mp3"
rm -f "$seed"
cat >"$out/asound.conf" <<'EOF'
</usr/share/alsa/alsa.conf>
pcm.!default { type null }
EOF
echo "music ready: $out"

#!/bin/sh
# Makes what the shell tests read, beneath $1 (a Unix path):
#  tree/   folders and files for the folder search, with a link that leads
#          back up the tree and one that reaches a sibling folder again;
#  audio/  a 3-second MP3 made by lame from a generated tone;
#  asound.conf  a sound device that discards everything, for machines
#          without sound (the tests point ALSA_CONFIG_PATH at it).
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 DIR" >&2; exit 2; }
rm -rf "$out/tree" "$out/audio"
mkdir -p "$out/tree/a/b" "$out/tree/c" "$out/tree/empty" "$out/tree/with blanks" "$out/audio"

t=$out/tree
: >"$t/root1.mp3"
: >"$t/Root2.MP3"
: >"$t/notes.txt"
: >"$t/README"
: >"$t/a/a1.mp3"
: >"$t/a/b/b1.mp3"
: >"$t/c/c1.mp3"
: >"$t/with blanks/song one.mp3"
# A cycle (a/b/up is the tree itself) and a second way into a/.
ln -s ../.. "$t/a/b/up"
ln -s ../a "$t/c/again"

# The full ALSA configuration with a default device that discards the sound.
cat >"$out/asound.conf" <<'EOF'
</usr/share/alsa/alsa.conf>
pcm.!default { type null }
EOF

# 3 seconds of a 440 Hz tone, 44.1 kHz 16-bit mono.
command -v lame >/dev/null 2>&1 || { echo "lame is missing" >&2; exit 1; }
python3 - "$out/audio/tone.wav" <<'EOF'
import math, struct, sys, wave
rate = 44100
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                           for i in range(3 * rate)))
EOF
lame --quiet -b 128 "$out/audio/tone.wav" "$out/audio/tone.mp3"
rm -f "$out/audio/tone.wav"
echo "shell test data ready: $out"

#!/usr/bin/env python3
"""Reads the files lame_enc_tests wrote, from outside: mpg123 decodes each
with the channels asked for at 44.1 kHz, two seconds long (exact where the
VBR header tells the encoder delay), each channel's main frequency the one
generated; the frame header carries the flags and bit rate of the record;
mediainfo sees VBR where the record asked for it."""
import math
import os
import struct
import subprocess
import sys
import tempfile

SAMPLES = 150 * 588
FRAME = 1152
DELAY = 576 + 529
BITRATES = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
MODES = ['stereo', 'joint', 'dual', 'mono']

# name: (channels, bit rate or VBR level as "V0", mode, flags set, samples,
# main frequencies left and right)
TONES = (440, 880)
FILES = {
    'cbr128_stereo_flags.mp3': (2, 128, 'stereo', True, SAMPLES, TONES),
    'cbr320_joint.mp3': (2, 320, 'joint', False, SAMPLES, TONES),
    'cbr192_dual.mp3': (2, 192, 'dual', False, SAMPLES, TONES),
    'cbr128_mono.mp3': (1, 128, 'mono', False, SAMPLES, TONES),
    'vbr0_joint.mp3': (2, 'V0', 'joint', False, SAMPLES, TONES),
    'vbr6_stereo.mp3': (2, 'V6', 'stereo', False, SAMPLES, TONES),
    # track 1 of the tones image (173 frames), ripped through cdaudio.dll
    # beside an older file of its name
    'rip_track1 (2).mp3': (2, 128, 'stereo', False, 173 * 588, TONES),
    # the whole run over the tones image: VBR 2, joint stereo, tagged
    'run/01 one tone.mp3': (2, 'V2', 'joint', False, 173 * 588, TONES),
    'run/02 two tone.mp3': (2, 'V2', 'joint', False, 100 * 588, (660, 660)),
    # the run into a folder that held an 01.mp3 of another disc
    'keep/01 (2).mp3': (2, 128, 'stereo', False, 173 * 588, TONES),
    # the same, and then a Cancel during the second track
    'cancel/01 (2).mp3': (2, 128, 'stereo', False, 173 * 588, TONES),
}

# The run's tags (the case option in the tags only): ID3v2 frames and the
# ID3v1 fields, as mutagen reads them (the tag library stores the track
# number without its leading zero).
TAGS = {
    'run/01 one tone.mp3': {'TIT2': 'One Tone', 'TPE1': 'The Band', 'TALB': 'First Album', 'TRCK': '1',
                            'TCON': 'Rock', 'TYER': '2001'},
    'run/02 two tone.mp3': {'TIT2': 'Two Tone', 'TPE1': 'The Band', 'TALB': 'First Album', 'TRCK': '2',
                            'TCON': 'Rock', 'TYER': '2001'},
    'keep/01 (2).mp3': {'TIT2': 'one tone', 'TPE1': 'the band', 'TALB': 'first album', 'TRCK': '1', 'TCON': 'Rock',
                        'TYER': '2001'},
}
TAGS['cancel/01 (2).mp3'] = TAGS['keep/01 (2).mp3']


def goertzel(xs, hz):
    k = 2 * math.cos(2 * math.pi * hz / 44100)
    s1 = s2 = 0.0
    for x in xs:
        s1, s2 = x + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def main_frequency(xs):
    xs = xs[4410:4410 + 8820]  # past the start, 0.2 s
    return max((440, 660, 880), key=lambda hz: goertzel(xs, hz))


def first_header(data):
    at = 0
    if data[:3] == b'ID3':
        at = 10 + ((data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9])
    while not (data[at] == 0xFF and data[at + 1] & 0xE0 == 0xE0):
        at += 1
    return data[at:at + 4]


def check(folder, name, channels, kbps, mode, flags, samples, tones):
    path = os.path.join(folder, name)
    data = open(path, 'rb').read()
    h = first_header(data)
    problems = []
    if (h[1] >> 3) & 3 != 3 or (h[1] >> 1) & 3 != 1:
        problems.append('not MPEG-1 layer III')
    if (h[2] >> 2) & 3 != 0:
        problems.append('not 44.1 kHz')
    if MODES[h[3] >> 6] != mode:
        problems.append('mode %s' % MODES[h[3] >> 6])
    got_flags = (h[1] & 1 == 0, h[2] & 1 == 1, (h[3] >> 3) & 1 == 1, (h[3] >> 2) & 1 == 1)
    if got_flags != (flags,) * 4:
        problems.append('CRC, private, copyright, original = %s' % (got_flags,))
    variable = isinstance(kbps, str)
    if not variable:
        out = subprocess.run(['mp3info', '-r', 'a', '-p', '%r %E %C %O', path], capture_output=True,
                             text=True).stdout.split()
        yes = 'Yes' if flags else 'No'
        if len(out) != 4 or float(out[0]) != kbps or out[1:] != [yes] * 3:
            problems.append('mp3info says %r' % out)
    info = subprocess.run(['mediainfo', '--Inform=Audio;%BitRate_Mode%|%Encoded_Library_Settings%', path],
                          capture_output=True, text=True).stdout.strip()
    if variable != info.startswith('VBR') or (variable and ' -V %s ' % kbps[1:] not in info):
        problems.append('mediainfo: %s' % info)
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, 'out.raw')
        subprocess.run(['mpg123', '-q', '-w', raw, path], check=True, capture_output=True)
        wav = open(raw, 'rb').read()
    rate, chans = struct.unpack('<I', wav[24:28])[0], struct.unpack('<H', wav[22:24])[0]
    pcm = wav[44:]
    n = len(pcm) // (2 * chans)
    if rate != 44100 or chans != channels:
        problems.append('decoded %d Hz, %d channels' % (rate, chans))
    exact = variable  # the VBR header tells the decoder the encoder's delay
    if (exact and n != samples) or not (samples <= n <= samples + FRAME + DELAY + FRAME):
        problems.append('decoded %d samples' % n)
    values = struct.unpack('<%dh' % (n * chans), pcm[:n * chans * 2])
    if channels == 2:
        left, right = main_frequency(values[0::2]), main_frequency(values[1::2])
        if (left, right) != tones:
            problems.append('main frequencies %d/%d' % (left, right))
    want = TAGS.get(name)
    if want:
        import mutagen.id3
        tag = mutagen.id3.ID3(path, v2_version=3)
        got = {k: str(tag[k]) if k in tag else None for k in want}
        if 'TYER' in want and got['TYER'] is None and 'TDRC' in tag:
            got['TYER'] = str(tag['TDRC'])
        if got != want:
            problems.append('ID3v2 %s' % got)
        v1 = data[-128:]
        title = v1[3:33].rstrip(b'\0 ').decode('latin-1')
        artist = v1[33:63].rstrip(b'\0 ').decode('latin-1')
        if v1[:3] != b'TAG' or title != want['TIT2'] or artist != want['TPE1'] or v1[126] != int(want['TRCK']):
            problems.append('ID3v1 %r' % v1)
    return problems


def main(folder):
    failed = False
    for name, want in FILES.items():
        problems = check(folder, name, *want)
        print('%s: %s' % (name, '; '.join(problems) or 'ok'))
        failed |= bool(problems)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
